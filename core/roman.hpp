#pragma once
// Roman numerals.

#include <cstdint>
#include <string>

namespace core {

// The Roman numeral of `numero`, built greedily from the thirteen values M, CM, D, CD, C, XC,
// L, XL, X, IX, V, IV, I. The argument is counted down in place and holds 0 afterwards; 0 gives
// the empty text. Values of 4000 and more repeat M once per thousand. A negative argument has
// no numeral: the result is empty and the argument is left as it is.
std::string NumeroRomano(std::int16_t& numero);

} // namespace core
