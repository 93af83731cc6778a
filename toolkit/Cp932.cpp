#include "toolkit/Cp932.h"

#include "toolkit/Utf8Lead.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <iconv.h>
#include <memory>
#include <stdexcept>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace sorvanti::cp932 {

namespace {

constexpr size_t npos = std::u16string_view::npos;

// Encoder table values: 0 = no code page 932 form; kSingle | b = the one byte b;
// otherwise lead << 8 | trail (every lead byte is >= 0x81, so the two never collide).
constexpr uint16_t kNone = 0;
constexpr uint16_t kSingle = 0x100;
constexpr uint16_t kDouble = 0x200; // values from here on are two-byte codes

// What glibc's converter says, asked once per byte and per byte pair, then kept in
// tables so that converting never goes through iconv (a call per character is far
// too slow for the command line's throughput).
struct Tables {
    std::array<char16_t, 256> single{};      // a byte on its own (raw-byte escape if invalid)
    std::array<bool, 256> lead{};            // isLeadByte, as a table
    std::array<char16_t, 0x80 * 256> pair{}; // [(lead - 0x80) * 256 + trail], 0 = invalid
    std::array<uint16_t, 0x10000> encode{};
    // Every code of each character that has more than one, sorted by character: the
    // encoder's way round a raw lead byte that would take the canonical code's first byte
    // as its trail.
    std::vector<std::pair<char16_t, uint16_t>> twins;

    Tables() {
        iconv_t dec = iconv_open("UTF-16LE", "CP932");
        iconv_t enc = iconv_open("CP932", "UTF-16LE");
        if (dec == reinterpret_cast<iconv_t>(-1) || enc == reinterpret_cast<iconv_t>(-1)) {
            if (dec != reinterpret_cast<iconv_t>(-1))
                iconv_close(dec);
            if (enc != reinterpret_cast<iconv_t>(-1))
                iconv_close(enc);
            throw std::runtime_error("iconv has no CP932 converter");
        }
        readDecoder(dec);
        std::array<uint8_t, 0x10000> codes{}; // how many codes decode to each character
        invert(codes);
        listTwins(codes);
        // Where several codes decode to one character, glibc's encoder names the
        // canonical one.
        for (int c = 0; c < 0x10000; ++c) {
            if (codes[c] > 1) {
                uint16_t canonical = encodeOne(enc, static_cast<char16_t>(c));
                if (canonical != kNone && decodes(canonical) == c)
                    encode[c] = canonical;
            }
        }
        for (int b = 0; b < 256; ++b)
            encode[kRawByteBase + b] = static_cast<uint16_t>(kSingle | b);
        iconv_close(dec);
        iconv_close(enc);
    }

    // Decodes exactly `n` bytes to exactly one UTF-16 unit; 0 otherwise.
    static char16_t decodeOne(iconv_t dec, const unsigned char* bytes, size_t n) {
        iconv(dec, nullptr, nullptr, nullptr, nullptr);
        char* in = reinterpret_cast<char*>(const_cast<unsigned char*>(bytes));
        size_t inLeft = n;
        char16_t buf[4];
        char* outp = reinterpret_cast<char*>(buf);
        size_t outLeft = sizeof buf;
        size_t r = iconv(dec, &in, &inLeft, &outp, &outLeft);
        if (r == static_cast<size_t>(-1) || inLeft != 0 || outLeft != sizeof buf - 2)
            return char16_t{0};
        return buf[0];
    }

    static uint16_t encodeOne(iconv_t enc, char16_t c) {
        iconv(enc, nullptr, nullptr, nullptr, nullptr);
        char* in = reinterpret_cast<char*>(&c);
        size_t inLeft = 2;
        unsigned char buf[4];
        char* outp = reinterpret_cast<char*>(buf);
        size_t outLeft = sizeof buf;
        if (iconv(enc, &in, &inLeft, &outp, &outLeft) == static_cast<size_t>(-1))
            return kNone;
        size_t n = sizeof buf - outLeft;
        if (n == 1)
            return static_cast<uint16_t>(kSingle | buf[0]);
        if (n == 2)
            return static_cast<uint16_t>(buf[0] << 8 | buf[1]);
        return kNone;
    }

    void readDecoder(iconv_t dec) {
        for (int b = 0; b < 256; ++b) {
            unsigned char byte = static_cast<unsigned char>(b);
            char16_t c = decodeOne(dec, &byte, 1);
            lead[b] = isLeadByte(byte);
            bool ok = (c != 0 || b == 0) && !lead[b];
            single[b] = ok ? c : static_cast<char16_t>(kRawByteBase + b);
        }
        for (int l = 0x80; l < 256; ++l) {
            if (!lead[l])
                continue;
            for (int t = 0; t < 256; ++t) {
                unsigned char bytes[2] = {static_cast<unsigned char>(l),
                                          static_cast<unsigned char>(t)};
                pair[(l - 0x80) * 256 + t] = decodeOne(dec, bytes, 2);
            }
        }
    }

    // The encoder is the inverse of the decoder; `codes` receives how many codes decode to
    // each character, and each character's first code is its code for now.
    void invert(std::array<uint8_t, 0x10000>& codes) {
        for (int b = 0; b < 256; ++b) {
            if (!lead[b] && !isRawByteEscape(single[b])) {
                encode[single[b]] = static_cast<uint16_t>(kSingle | b);
                ++codes[single[b]];
            }
        }
        for (int l = 0x81; l < 256; ++l) {
            for (int t = 0; t < 256; ++t) {
                char16_t c = lead[l] ? pair[(l - 0x80) * 256 + t] : 0;
                if (c == 0)
                    continue;
                if (codes[c]++ == 0)
                    encode[c] = static_cast<uint16_t>(l << 8 | t);
            }
        }
    }

    void listTwins(const std::array<uint8_t, 0x10000>& codes) {
        for (int l = 0x81; l < 256; ++l) {
            for (int t = 0; t < 256; ++t) {
                char16_t c = lead[l] ? pair[(l - 0x80) * 256 + t] : 0;
                if (c != 0 && codes[c] > 1)
                    twins.emplace_back(c, static_cast<uint16_t>(l << 8 | t));
            }
        }
        for (int b = 0; b < 256; ++b) {
            if (!lead[b] && !isRawByteEscape(single[b]) && codes[single[b]] > 1)
                twins.emplace_back(single[b], static_cast<uint16_t>(kSingle | b));
        }
        // Within a character, in the order Microsoft prefers them: JIS rows, NEC row 13,
        // the IBM extensions, then the NEC-selected IBM extensions.
        auto rank = [](uint16_t code) {
            const int lead = code < kDouble ? 0 : code >> 8;
            return lead == 0x87 ? 1 : lead >= 0xFA ? 2 : lead >= 0xED ? 3 : 0;
        };
        std::sort(twins.begin(), twins.end(), [&](const auto& a, const auto& b) {
            return std::tuple(a.first, rank(a.second), a.second) <
                   std::tuple(b.first, rank(b.second), b.second);
        });
    }

    char16_t decodes(uint16_t code) const {
        if (code < kDouble)
            return single[code & 0xFF];
        return lead[code >> 8] ? pair[((code >> 8) - 0x80) * 256 + (code & 0xFF)] : 0;
    }

    // True when the raw byte `rawLead` written just before `code` would be read back
    // together with the code's first byte as one character.
    bool fuses(unsigned char rawLead, uint16_t code) const {
        const unsigned char first = code < kDouble ? code & 0xFF : code >> 8;
        return pair[(rawLead - 0x80) * 256 + first] != 0;
    }

    // The code of `c` to write after the raw lead byte `rawLead`: its usual one unless
    // that would fuse with the raw byte, then a twin code that does not; kNone when every
    // code of `c` would fuse.
    uint16_t codeAfterRawLead(unsigned char rawLead, char16_t c) const {
        const uint16_t code = encode[c];
        if (code == kNone || !fuses(rawLead, code))
            return code;
        auto it = std::lower_bound(twins.begin(), twins.end(), c,
                                   [](const auto& twin, char16_t key) { return twin.first < key; });
        for (; it != twins.end() && it->first == c; ++it)
            if (!fuses(rawLead, it->second))
                return it->second;
        return kNone;
    }
};

const Tables& tables() {
    static const std::unique_ptr<const Tables> t = std::make_unique<const Tables>();
    return *t;
}

} // namespace

struct BoundariesBuilder {
    static std::unique_ptr<const Boundaries> build() {
        const Tables& t = tables();
        auto b = std::make_unique<Boundaries>();
        for (unsigned code = 0x8000; code < 0x10000; ++code) {
            if (t.lead[code >> 8] && t.pair[code - 0x8000] != 0)
                b->bits_[code >> 6] |= uint64_t{1} << (code & 63);
        }
        return b;
    }
};

const Boundaries& boundaries() {
    static const std::unique_ptr<const Boundaries> b = BoundariesBuilder::build();
    return *b;
}

namespace {

constexpr bool isHighSurrogate(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
constexpr bool isLowSurrogate(char16_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

} // namespace

void decodeAppend(std::string_view bytes, std::u16string& out) {
    const Tables& t = tables();
    size_t start = out.size();
    out.resize(start + bytes.size()); // one unit per byte at most
    char16_t* o = out.data() + start;
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* end = p + bytes.size();
    // Characters begin where Boundaries says: a lead byte and the next byte are one character
    // exactly when the pair table has a character for them.
    while (p < end) {
        unsigned char b = *p;
        if (b < 0x80) {
            *o++ = b;
            ++p;
        } else if (t.lead[b] && p + 1 < end) {
            char16_t c = t.pair[(b - 0x80) * 256 + p[1]];
            if (c != 0) {
                *o++ = c;
                p += 2;
            } else {
                // A stray lead byte: the next byte begins the next character.
                *o++ = static_cast<char16_t>(kRawByteBase + b);
                ++p;
            }
        } else {
            *o++ = t.single[b]; // a raw-byte escape for a lead byte at the end, too
            ++p;
        }
    }
    out.resize(static_cast<size_t>(o - out.data()));
}

size_t firstStrayByte(std::string_view bytes) {
    const Tables& t = tables();
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    for (size_t i = 0; i < bytes.size();) {
        if (t.lead[p[i]] && i + 1 < bytes.size() && t.pair[(p[i] - 0x80) * 256 + p[i + 1]] != 0)
            i += 2;
        else if (isRawByteEscape(t.single[p[i]]))
            return i;
        else
            ++i;
    }
    return npos;
}

std::u16string decode(std::string_view bytes) {
    std::u16string out;
    decodeAppend(bytes, out);
    return out;
}

void encodeAppend(std::u16string_view text, std::string& out, size_t* firstUnencodable) {
    const Tables& t = tables();
    size_t first = npos;
    size_t start = out.size();
    out.resize(start + 2 * text.size());
    char* o = out.data() + start;
    // A raw lead byte just written (with its position in `text`), or -1: the next code must
    // not begin with a byte that the reader would take as its trail, or the two bytes would
    // come back as one different character.
    int rawLead = -1;
    size_t rawLeadAt = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        uint16_t code = t.encode[text[i]];
        if (rawLead >= 0 && code != kNone) {
            code = t.codeAfterRawLead(static_cast<unsigned char>(rawLead), text[i]);
            if (code == kNone) {
                // No code of this character keeps the raw byte apart: the raw byte is what
                // cannot be written here.
                first = std::min(first, rawLeadAt);
                code = t.encode[text[i]];
            }
        }
        rawLead = -1;
        if (code == kNone) {
            if (first == npos)
                first = i;
            if (isHighSurrogate(text[i]) && i + 1 < text.size() && isLowSurrogate(text[i + 1]))
                ++i;
        } else if (code < kDouble) {
            *o++ = static_cast<char>(code & 0xFF);
            if (isRawByteEscape(text[i]) && t.lead[code & 0xFF]) {
                rawLead = code & 0xFF;
                rawLeadAt = i;
            }
        } else {
            *o++ = static_cast<char>(code >> 8);
            *o++ = static_cast<char>(code & 0xFF);
        }
    }
    out.resize(static_cast<size_t>(o - out.data()));
    if (firstUnencodable)
        *firstUnencodable = first;
}

std::string encode(std::u16string_view text, size_t* firstUnencodable) {
    std::string out;
    encodeAppend(text, out, firstUnencodable);
    return out;
}

bool encodable(std::u16string_view text, size_t pos, size_t* units) {
    char16_t c = text[pos];
    size_t n = 1;
    if (isHighSurrogate(c) && pos + 1 < text.size() && isLowSurrogate(text[pos + 1]))
        n = 2;
    if (units)
        *units = n;
    return n == 1 && tables().encode[c] != kNone;
}

size_t findUnencodable(std::u16string_view text, bool escapesAreBytes) {
    const Tables& t = tables();
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (t.encode[c] == kNone)
            return i;
        if (!isRawByteEscape(c))
            continue;
        if (!escapesAreBytes)
            return i;
        // A raw lead byte that every code of the next character would fuse with.
        const uint16_t code = t.encode[c];
        if (i + 1 < text.size() && t.lead[code & 0xFF] && t.encode[text[i + 1]] != kNone &&
            t.codeAfterRawLead(static_cast<unsigned char>(code & 0xFF), text[i + 1]) == kNone)
            return i;
    }
    return npos;
}

bool fromUtf8Append(std::string_view utf8, std::u16string& out) {
    bool valid = true;
    size_t start = out.size();
    out.resize(start + utf8.size()); // never more units than bytes
    char16_t* o = out.data() + start;
    const auto* p = reinterpret_cast<const unsigned char*>(utf8.data());
    const auto* end = p + utf8.size();
    while (p < end) {
        unsigned char b = *p;
        if (b < 0x80) {
            *o++ = b;
            ++p;
            continue;
        }
        const Utf8Lead lead = utf8Lead(b);
        if (lead.more < 0) {
            *o++ = 0xFFFD;
            valid = false;
            ++p;
            continue;
        }
        const int more = lead.more;
        unsigned char lo = lead.low, hi = lead.high;
        // The lead byte's payload bits: 5, 4 or 3 of them.
        char32_t cp = b & (0x7F >> (more + 1));
        const unsigned char* q = p + 1;
        bool ok = true;
        for (int k = 0; k < more; ++k, ++q) {
            if (q >= end || *q < lo || *q > hi) {
                ok = false;
                break;
            }
            cp = cp << 6 | (*q & 0x3F);
            lo = 0x80;
            hi = 0xBF;
        }
        if (!ok) {
            *o++ = 0xFFFD; // the maximal invalid subsequence p..q becomes one replacement
            valid = false;
            p = q;
            continue;
        }
        p = q;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            *o++ = static_cast<char16_t>(0xD800 + (cp >> 10));
            *o++ = static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
        } else {
            *o++ = static_cast<char16_t>(cp);
        }
    }
    out.resize(static_cast<size_t>(o - out.data()));
    return valid;
}

std::u16string fromUtf8(std::string_view utf8, bool* valid) {
    std::u16string out;
    bool ok = fromUtf8Append(utf8, out);
    if (valid)
        *valid = ok;
    return out;
}

void toUtf8Append(std::u16string_view text, std::string& out) {
    size_t start = out.size();
    out.resize(start + 3 * text.size()); // a BMP unit takes at most 3 bytes, a pair 4
    char* o = out.data() + start;
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c < 0x80) {
            *o++ = static_cast<char>(c);
            continue;
        }
        if (isHighSurrogate(text[i]) && i + 1 < text.size() && isLowSurrogate(text[i + 1])) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        if (c < 0x800) {
            *o++ = static_cast<char>(0xC0 | c >> 6);
            *o++ = static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            *o++ = static_cast<char>(0xE0 | c >> 12);
            *o++ = static_cast<char>(0x80 | (c >> 6 & 0x3F));
            *o++ = static_cast<char>(0x80 | (c & 0x3F));
        } else {
            *o++ = static_cast<char>(0xF0 | c >> 18);
            *o++ = static_cast<char>(0x80 | (c >> 12 & 0x3F));
            *o++ = static_cast<char>(0x80 | (c >> 6 & 0x3F));
            *o++ = static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    out.resize(static_cast<size_t>(o - out.data()));
}

std::string toUtf8(std::u16string_view text) {
    std::string out;
    toUtf8Append(text, out);
    return out;
}

} // namespace sorvanti::cp932
