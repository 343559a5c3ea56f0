#pragma once
// The journal of a save of the record: both new file contents, with their lengths and an end
// marker, so that a copy cut off by a crash is told from a whole one.

#include <optional>
#include <string>
#include <string_view>

namespace core {

// The two file contents, as bytes of the code page, line ends included.
struct Coppia {
    std::string punti;
    std::string nome;
    bool operator==(const Coppia&) const = default;
};

std::string componiGiornale(const Coppia& coppia);
// The pair a journal holds, if it is whole: header, the two lengths, exactly that many bytes,
// end marker, nothing after it.
std::optional<Coppia> leggiGiornale(std::string_view testo);

} // namespace core
