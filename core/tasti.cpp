#include "core/tasti.hpp"

namespace core {
namespace {

int maiuscola(int c) {
    if ((c >= 'a' && c <= 'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7)) {
        return c - 0x20;
    }
    switch (c) {
    case 0x9A: // š
    case 0x9C: // œ
    case 0x9E: // ž
        return c - 0x10;
    case 0xFF: // ÿ
        return 0x9F;
    default:
        return c;
    }
}

} // namespace

int normalizzaTasto(int codice) {
    if (codice == 'a' || codice == 'A') {
        return 'B';
    }
    return maiuscola(codice);
}

} // namespace core
