#include "conversion/DuplicateCodes.h"

#include "toolkit/Cp932.h"

#include <array>

namespace sorvanti::duplicatecodes {

namespace {

// The canonical code is what the encoder gives for the character a code decodes to:
// the same choice the panes and the UTF-8 paths make, taken from the one code page
// table the program has.
struct Table {
    std::array<uint8_t, 256> slot{}; // per lead byte: 0 = none, s + 1 = kDuplicateLeads[s]
    std::array<std::array<uint16_t, 256>, std::size(kDuplicateLeads) + 1> code{};

    Table() {
        for (size_t s = 0; s < std::size(kDuplicateLeads); ++s) {
            const unsigned char lead = kDuplicateLeads[s];
            slot[lead] = static_cast<uint8_t>(s + 1);
            for (int trail = 0; trail < 256; ++trail) {
                const uint16_t self = static_cast<uint16_t>(lead << 8 | trail);
                code[s + 1][trail] = self;
                const char bytes[2] = {static_cast<char>(lead), static_cast<char>(trail)};
                const std::u16string text = cp932::decode({bytes, 2});
                if (text.size() != 1 || cp932::isRawByteEscape(text[0]))
                    continue;
                size_t bad = std::u16string_view::npos;
                const std::string back = cp932::encode(text, &bad);
                if (bad == std::u16string_view::npos && back.size() == 2)
                    code[s + 1][trail] =
                        static_cast<uint16_t>(static_cast<unsigned char>(back[0]) << 8 |
                                              static_cast<unsigned char>(back[1]));
            }
        }
    }
};

const Table& table() {
    static const Table t;
    return t;
}

} // namespace

uint16_t canonicalCode(uint16_t code) {
    const Table& t = table();
    const uint8_t s = t.slot[code >> 8];
    return s == 0 ? code : t.code[s][code & 0xFF];
}

bool canonicalize(std::string_view bytes, char* out, bool* fuses) {
    const Table& t = table();
    const cp932::Boundaries& boundaries = cp932::boundaries();
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const size_t n = bytes.size();
    bool changed = false;
    bool strayBefore = false; // the character before i is a lead byte on its own
    for (size_t i = 0; i < n;) {
        out[i] = bytes[i];
        if (i + 1 == n || !boundaries.pair(p[i], p[i + 1])) {
            strayBefore = cp932::isLeadByte(p[i]);
            ++i;
            continue;
        }
        out[i + 1] = bytes[i + 1];
        if (const uint8_t s = t.slot[p[i]]; s != 0) {
            const uint16_t c = t.code[s][p[i + 1]];
            if (c != (p[i] << 8 | p[i + 1])) {
                out[i] = static_cast<char>(c >> 8);
                out[i + 1] = static_cast<char>(c & 0xFF);
                changed = true;
                if (fuses && strayBefore && boundaries.pair(p[i - 1], static_cast<uint8_t>(c >> 8)))
                    *fuses = true;
            }
        }
        strayBefore = false;
        i += 2;
    }
    return changed;
}

std::string canonical(std::string_view bytes) {
    std::string out(bytes.size(), '\0');
    canonicalize(bytes, out.data());
    return out;
}

bool endsWithLoneLead(std::string_view bytes) {
    const cp932::Boundaries& boundaries = cp932::boundaries();
    size_t i = 0;
    while (i + 1 < bytes.size())
        i += boundaries.length(bytes, i);
    return i + 1 == bytes.size() && cp932::isLeadByte(static_cast<unsigned char>(bytes[i]));
}

bool isCharacterPrefix(std::string_view prefix, std::string_view text) {
    const cp932::Boundaries& boundaries = cp932::boundaries();
    const auto* p = reinterpret_cast<const unsigned char*>(prefix.data());
    const auto* q = reinterpret_cast<const unsigned char*>(text.data());
    for (size_t j = 0; j < prefix.size();) {
        if (j >= text.size())
            return false;
        const size_t length = boundaries.length(prefix, j);
        if (boundaries.length(text, j) != length)
            return false;
        if (length == 1 ? p[j] != q[j]
                        : canonicalCode(static_cast<uint16_t>(p[j] << 8 | p[j + 1])) !=
                              canonicalCode(static_cast<uint16_t>(q[j] << 8 | q[j + 1])))
            return false;
        j += length;
    }
    return true;
}

} // namespace sorvanti::duplicatecodes
