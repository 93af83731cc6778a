#include "settings/Oini.h"

#include "toolkit/Cp932.h"
#include "toolkit/Cp932Lead.h"
#include "toolkit/Utf8Lead.h"

#include <limits>

namespace sorvanti {

namespace {

// Marks a value stored as UTF-8 because it holds characters that code page 932 has no
// form for. 0xEF 0xBB is not a code page 932 character, so no value written in code
// page 932 can begin with it.
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

constexpr size_t kMaxValueBytes = 2047;

// Length of the longest prefix of `s` made of complete UTF-8 sequences, or npos when `s`
// holds a malformed sequence before its end.
size_t completeUtf8Prefix(std::string_view s) {
    size_t i = 0;
    while (i < s.size()) {
        const size_t n = utf8SequenceLength(s.substr(i));
        if (n > 0) {
            i += n;
            continue;
        }
        // No whole character here: the start of one that the end cuts off, or malformed.
        const Utf8Lead lead = utf8Lead(static_cast<unsigned char>(s[i]));
        if (lead.more < 0 || s.size() - i > size_t(lead.more))
            return std::string_view::npos;
        unsigned char low = lead.low, high = lead.high;
        for (size_t k = i + 1; k < s.size(); ++k, low = 0x80, high = 0xBF)
            if (static_cast<unsigned char>(s[k]) < low || static_cast<unsigned char>(s[k]) > high)
                return std::string_view::npos;
        return i;
    }
    return i;
}

// UTF-8 text -> the bytes stored in the file: code page 932 when every character has a
// code page 932 form (bytes the reader could not decode come back as the same bytes),
// otherwise the mark followed by the UTF-8 text, so nothing is lost or turned into "?".
std::string toFile(std::string_view utf8) {
    std::u16string text = cp932::fromUtf8(utf8);
    size_t unencodable = std::u16string_view::npos;
    std::string bytes = cp932::encode(text, &unencodable);
    if (unencodable == std::u16string_view::npos)
        return bytes;
    std::string marked(kUtf8Mark);
    marked += cp932::toUtf8(text);
    return marked;
}

// The file's bytes of a value -> UTF-8. A value of the greatest length may have been cut
// inside a character; that partial character is dropped rather than shown as junk.
std::string fromFile(std::string_view bytes) {
    const bool cut = bytes.size() >= kMaxValueBytes;
    if (bytes.substr(0, kUtf8Mark.size()) == kUtf8Mark) {
        std::string_view rest = bytes.substr(kUtf8Mark.size());
        size_t complete = completeUtf8Prefix(rest);
        if (complete == rest.size() || (cut && complete != std::string_view::npos))
            return std::string(rest.substr(0, complete));
    }
    if (cut) {
        // The cut leaves at most the lead byte of the last character, alone at the end.
        const cp932::Boundaries& characters = cp932::boundaries();
        size_t last = 0;
        for (size_t i = 0; i < bytes.size(); i += characters.length(bytes, i))
            last = i;
        if (last + 1 == bytes.size() && cp932::isLeadByte(static_cast<unsigned char>(bytes[last])))
            bytes = bytes.substr(0, last);
    }
    return cp932::toUtf8(cp932::decode(bytes));
}

bool isHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    return (c | 0x20) - 'a' + 10;
}

} // namespace

std::string settingsFileName(const std::string& programPath) {
    size_t slash = programPath.rfind('/');
    size_t nameBegin = slash == std::string::npos ? 0 : slash + 1;
    size_t dot = programPath.rfind('.');
    // Only a dot inside the file name marks an extension; a leading dot marks a hidden
    // file on Linux, not an extension.
    if (dot == std::string::npos || dot <= nameBegin)
        return programPath + ".ini";
    return programPath.substr(0, dot + 1) + "ini";
}

int32_t parseSettingsInteger(std::string_view text, int32_t fallback) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);

    std::string_view hex;
    bool isHex = false;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        hex = text.substr(2);
        isHex = true;
    } else if (!text.empty() && text[0] == '$') {
        hex = text.substr(1);
        isHex = true;
    }

    if (isHex) {
        if (hex.empty())
            return fallback;
        uint64_t value = 0;
        for (char c : hex) {
            if (!isHexDigit(c))
                return fallback;
            value = (value << 4) | static_cast<uint64_t>(hexValue(c));
            if (value > 0xFFFFFFFFu) // a ninth significant digit
                return fallback;
        }
        return static_cast<int32_t>(static_cast<uint32_t>(value));
    }

    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    if (text.empty())
        return fallback;
    int64_t value = 0;
    const int64_t limit = negative ? -static_cast<int64_t>(std::numeric_limits<int32_t>::min())
                                   : std::numeric_limits<int32_t>::max();
    for (char c : text) {
        if (c < '0' || c > '9')
            return fallback;
        value = value * 10 + (c - '0');
        if (value > limit)
            return fallback;
    }
    return static_cast<int32_t>(negative ? -value : value);
}

Oini::Oini(const std::string& programPath) : file_(settingsFileName(programPath)) {}

// Every write has already reached the file; nothing is pending.
Oini::~Oini() = default;

int32_t Oini::ReadInteger(std::string_view section, std::string_view key, int32_t fallback) const {
    std::optional<std::string> value = file_.read(toFile(section), toFile(key));
    return value ? parseSettingsInteger(*value, fallback) : fallback;
}

std::string Oini::ReadString(std::string_view section, std::string_view key,
                             std::string_view fallback) const {
    std::optional<std::string> value = file_.read(toFile(section), toFile(key));
    return value ? fromFile(*value) : std::string(fallback);
}

void Oini::WriteInteger(std::string_view section, std::string_view key, int32_t value) {
    file_.write(toFile(section), toFile(key), std::to_string(value));
}

void Oini::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    file_.write(toFile(section), toFile(key), toFile(value));
}

} // namespace sorvanti
