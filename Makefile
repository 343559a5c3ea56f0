# The two ways in: `make run` plays the game, `make test` runs every test.
# Both install what is missing first (Debian packages, through scripts/install-deps.sh).

BUILD ?= build
JOBS ?= $(shell nproc)
RECORDS ?= $(CURDIR)/$(BUILD)/records
VERSION := $(shell sed -n 's/^project.cifrolandia VERSION \([^ ]*\) .*/\1/p' CMakeLists.txt)

.PHONY: all deps configure build run test clean package dist source-package bench mutate

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
# then a short run of every fuzz target (scripts/fuzz.sh); then the core tests again under
# AddressSanitizer and UndefinedBehaviorSanitizer.
test: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)
	./scripts/fuzz.sh 30 $(BUILD)-fuzz
	cmake -S . -B $(BUILD)-sanitizers -DCMAKE_BUILD_TYPE=Debug -DCIFROLANDIA_CORE_ONLY=ON \
		-DCIFROLANDIA_SANITIZE=ON
	cmake --build $(BUILD)-sanitizers -j $(JOBS)
	ctest --test-dir $(BUILD)-sanitizers --output-on-failure -j $(JOBS)

# Every fuzz target for 10 minutes (two at a time).
fuzz-long: deps
	./scripts/fuzz.sh 600 $(BUILD)-fuzz

# The game against a bare Qt window: start-up, memory, question round, key to verdict, idle and
# clock, in one table (README, "Performance"); fails when the game misses a target. A few minutes;
# BENCH_QUICK=1 for a shorter, rougher run.
bench: deps
	cmake -S . -B $(BUILD)-bench -DCMAKE_BUILD_TYPE=Release
	cmake --build $(BUILD)-bench -j $(JOBS) --target cifrolandia bench_run bench_reference \
		bench_inprocess
	xvfb-run -a -s "-screen 0 1920x1080x24 -nolisten tcp" $(BUILD)-bench/bench/bench_run \
		$(BUILD)-bench/cifrolandia $(BUILD)-bench/bench/bench_reference \
		$(BUILD)-bench/bench/bench_inprocess

# Mutation testing of core/ (scripts/mutate.py): a fixed sample of small faults, each built and
# run against core_tests; prints the score per file and the mutants that survived. About ten
# minutes on two cores. FILES=core/x.cpp mutates one file (FILES=ui/x.cpp: against ui_tests),
# SAMPLE=0 runs every mutant, SEED=n draws another sample, UCCISORI=1 names each test's own kills.
mutate: deps
	FILES="$(FILES)" SAMPLE="$(SAMPLE)" SEED="$(SEED)" UCCISORI="$(UCCISORI)" BUILD=$(BUILD)-mutate \
		python3 scripts/mutate.py

# The Debian package for the computers of a school lab, built by dpkg-buildpackage from this
# tree as it stands (scripts/costruisci-deb.sh, in $(BUILD)/deb) and copied here:
# sudo apt install ./cifrolandia_<version>-<revision>_<arch>.deb (see the README), which
# lintian --fail-on error,warning accepts. DEB_BUILD_OPTIONS=nocheck skips the tests.
package: deps
	DEB_BUILD_OPTIONS="$(or $(DEB_BUILD_OPTIONS),parallel=$(JOBS))" \
		./scripts/costruisci-deb.sh $(BUILD)/deb
	cp $(BUILD)/deb/cifrolandia_$(VERSION)-*.deb .

# The upstream tarball of the last commit, without debian/: cifrolandia_<version>.orig.tar.gz.
dist:
	git archive --format=tar --prefix=cifrolandia-$(VERSION)/ HEAD -- . ':(exclude)debian' \
		| gzip -9n >cifrolandia_$(VERSION).orig.tar.gz

# The Debian source package of the last commit (the tarball above with debian/ beside it), in
# $(BUILD)/sorgente, checked by lintian: what a distribution builds from.
source-package: deps dist
	rm -rf $(BUILD)/sorgente
	mkdir -p $(BUILD)/sorgente/cifrolandia-$(VERSION)
	cp cifrolandia_$(VERSION).orig.tar.gz $(BUILD)/sorgente/
	tar -xzf cifrolandia_$(VERSION).orig.tar.gz -C $(BUILD)/sorgente
	git archive --format=tar HEAD debian | tar -xf - -C $(BUILD)/sorgente/cifrolandia-$(VERSION)
	cd $(BUILD)/sorgente && dpkg-source -b cifrolandia-$(VERSION)
	lintian --fail-on error,warning $(BUILD)/sorgente/cifrolandia_*.dsc

clean:
	rm -rf $(BUILD) $(BUILD)-sanitizers $(BUILD)-fuzz $(BUILD)-bench $(BUILD)-mutate
