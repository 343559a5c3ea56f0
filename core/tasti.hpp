#pragma once
// What a typed character becomes on its way into the answer box.

namespace core {

// Works on the Windows-1252 code of the character (0 to 255): "a" and "A" become "B", then
// letters are upper-cased (a to z, and the accented small letters that have a capital in the
// code page). Every other code passes unchanged, Backspace (8) and Enter (13) included.
int normalizzaTasto(int codice);

} // namespace core
