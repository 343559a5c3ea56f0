#pragma once
// Roman numerals.

#include <string>

namespace core {

// The Roman numeral of `numero`, built greedily from the thirteen values M, CM, D, CD, C, XC,
// L, XL, X, IX, V, IV, I; 0 gives the empty text. Values of 4000 and more repeat M once per
// thousand. A negative number has no numeral: the result is empty.
std::string numeroRomano(int numero);

} // namespace core
