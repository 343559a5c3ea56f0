#pragma once
// A property the fuzz targets assert: a broken one aborts, and libFuzzer keeps the input.

#include <cstdlib>

inline void verifica(bool condizione) {
    return condizione ? void() : std::abort();
}
