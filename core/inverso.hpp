#pragma once
// Practice from numeral to number: the game shows a Roman numeral and the pupil types its
// number in digits. What is read from the answer box, and which keys it takes.

#include <optional>
#include <string_view>

namespace core {

// The number a pupil typed: decimal digits and nothing else, leading zeros allowed ("024" is
// 24). No digits, any other character (blanks and signs included), or a value beyond what an
// int holds give no number.
std::optional<int> leggiRispostaInversa(std::string_view testo);

// The key handler of the answer box in this direction, on Windows-1252 codes like
// normalizzaTasto: digits pass, and so do the control codes of the editing keys (Backspace 8,
// Enter 13, Delete 127...); every other typed character becomes 0 and never reaches the box.
int filtraTastoInverso(int codice);

} // namespace core
