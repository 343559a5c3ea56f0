#include "core/cp1252.hpp"

#include <array>

namespace core {
namespace {

// Characters of bytes 0x80 to 0x9F. The five bytes the code page leaves undefined (0x81, 0x8D,
// 0x8F, 0x90, 0x9D) keep the C1 control of the same value.
constexpr std::array<char32_t, 32> kAlti = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

void aggiungiUtf8(std::string& uscita, char32_t c) {
    if (c < 0x80) {
        uscita += static_cast<char>(c);
    } else if (c < 0x800) {
        uscita += static_cast<char>(0xC0 | (c >> 6));
        uscita += static_cast<char>(0x80 | (c & 0x3F));
    } else { // every character of the code page is below U+10000
        uscita += static_cast<char>(0xE0 | (c >> 12));
        uscita += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        uscita += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// The next character of a UTF-8 text, advancing `i`; nothing for a malformed sequence
// (which is then skipped one byte at a time).
std::optional<char32_t> prossimoUtf8(std::string_view s, std::size_t& i) {
    const auto b0 = static_cast<unsigned char>(s[i++]);
    if (b0 < 0x80) {
        return b0;
    }
    int seguito = 0;
    char32_t c = 0;
    char32_t minimo = 0;
    if ((b0 & 0xE0) == 0xC0) {
        seguito = 1, c = b0 & 0x1F, minimo = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        seguito = 2, c = b0 & 0x0F, minimo = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        seguito = 3, c = b0 & 0x07, minimo = 0x10000;
    } else {
        return std::nullopt;
    }
    if (s.size() - i < static_cast<std::size_t>(seguito)) {
        return std::nullopt;
    }
    for (int k = 0; k < seguito; ++k) {
        const auto b = static_cast<unsigned char>(s[i + k]);
        if ((b & 0xC0) != 0x80) {
            return std::nullopt;
        }
        c = (c << 6) | (b & 0x3F);
    }
    if (c < minimo || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        return std::nullopt;
    }
    i += seguito;
    return c;
}

} // namespace

char32_t daWindows1252(unsigned char byte) {
    return byte >= 0x80 && byte <= 0x9F ? kAlti[byte - 0x80] : char32_t{byte};
}

std::optional<unsigned char> inWindows1252(char32_t carattere) {
    if (carattere < 0x80 || (carattere >= 0xA0 && carattere <= 0xFF)) {
        return static_cast<unsigned char>(carattere);
    }
    for (std::size_t k = 0; k < kAlti.size(); ++k) {
        if (kAlti[k] == carattere) {
            return static_cast<unsigned char>(0x80 + k);
        }
    }
    return std::nullopt;
}

std::string windows1252InUtf8(std::string_view byte) {
    std::string uscita;
    uscita.reserve(byte.size() * 2);
    for (char b : byte) {
        aggiungiUtf8(uscita, daWindows1252(static_cast<unsigned char>(b)));
    }
    return uscita;
}

std::string utf8InWindows1252(std::string_view testo) {
    std::string uscita;
    uscita.reserve(testo.size());
    for (std::size_t i = 0; i < testo.size();) {
        const auto c = prossimoUtf8(testo, i);
        const auto b = c ? inWindows1252(*c) : std::nullopt;
        uscita += b ? static_cast<char>(*b) : '?';
    }
    return uscita;
}

bool utf8Valido(std::string_view testo) {
    for (std::size_t i = 0; i < testo.size();) {
        if (!prossimoUtf8(testo, i)) {
            return false;
        }
    }
    return true;
}

} // namespace core
