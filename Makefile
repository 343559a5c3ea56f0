# The two ways in: `make run` plays the game, `make test` runs every test.
# Both install what is missing first (Debian packages, through scripts/install-deps.sh).

BUILD ?= build
JOBS ?= $(shell nproc)
RECORDS ?= $(CURDIR)/$(BUILD)/records

.PHONY: all deps configure build run test clean

all: build

deps:
	./scripts/install-deps.sh

configure: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	mkdir -p $(RECORDS)
	CIFROLANDIA_RECORD_DIR=$(RECORDS) ./$(BUILD)/cifrolandia

# Every test: the core, the window (offscreen) and the whole game under a virtual X server;
# then the core tests again under AddressSanitizer and UndefinedBehaviorSanitizer.
test: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)
	cmake -S . -B $(BUILD)-sanitizers -DCMAKE_BUILD_TYPE=Debug -DCIFROLANDIA_CORE_ONLY=ON \
		-DCIFROLANDIA_SANITIZE=ON
	cmake --build $(BUILD)-sanitizers -j $(JOBS)
	ctest --test-dir $(BUILD)-sanitizers --output-on-failure -j $(JOBS)

clean:
	rm -rf $(BUILD) $(BUILD)-sanitizers
