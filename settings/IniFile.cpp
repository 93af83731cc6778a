#include "settings/IniFile.h"

#include "toolkit/AsciiCase.h"
#include "toolkit/Cp932Lead.h"
#include "toolkit/Error.h"
#include "toolkit/FileReplacement.h"

#include <cerrno>
#include <cstdio>

namespace sorvanti {

namespace {

constexpr size_t kMaxValueBytes = 2047;

// The byte after a code page 932 lead byte belongs to the same character, and that second
// byte may look like ASCII ('A', ']', '\\'), so names are scanned character-wise.
using cp932::isLeadByte;

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

// Equal ignoring the case of ASCII letters; the bytes of double-byte characters compare
// exactly (0x83 0x41 "ア" and 0x83 0x61 "ダ" differ only in an ASCII-looking second byte).
bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size();) {
        if (isLeadByte(static_cast<unsigned char>(a[i])) && i + 1 < a.size()) {
            if (a[i] != b[i] || a[i + 1] != b[i + 1])
                return false;
            i += 2;
        } else {
            if (ascii::toLower(a[i]) != ascii::toLower(b[i]))
                return false;
            ++i;
        }
    }
    return true;
}

// Position of the last character ']' in s, or npos; second bytes of double-byte
// characters are stepped over.
size_t lastCloseBracket(std::string_view s) {
    size_t found = std::string_view::npos;
    for (size_t i = 0; i < s.size();) {
        if (isLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size()) {
            i += 2;
            continue;
        }
        if (s[i] == ']')
            found = i;
        ++i;
    }
    return found;
}

enum class Kind { Blank, Section, Key, Other };

struct Line {
    size_t begin = 0;   // first byte of the line
    size_t end = 0;     // end of its content (before CR LF, LF or a CR at the end of the file)
    size_t next = 0;    // first byte of the next line
    bool ended = false; // has a line feed
    Kind kind = Kind::Other;
    std::string_view name; // section name or key, trimmed
    std::string_view value;
    size_t keyBegin = 0; // offset of the key within the file (Key lines)
};

Line classify(std::string_view text, size_t begin) {
    Line line;
    line.begin = begin;
    size_t lf = text.find('\n', begin);
    line.ended = lf != std::string_view::npos;
    line.next = line.ended ? lf + 1 : text.size();
    line.end = line.ended ? lf : text.size();
    if (line.end > begin && text[line.end - 1] == '\r')
        --line.end;

    std::string_view content = text.substr(begin, line.end - begin);
    std::string_view body = trim(content);
    if (body.empty()) {
        line.kind = Kind::Blank;
    } else if (body.front() == '[') {
        size_t close = lastCloseBracket(body);
        if (close != std::string_view::npos) {
            line.kind = Kind::Section;
            line.name = trim(body.substr(1, close - 1));
        }
    } else if (body.front() != ';') {
        // '=' is below 0x40, so it is never the second byte of a double-byte character.
        size_t eq = body.find('=');
        if (eq != std::string_view::npos) {
            line.kind = Kind::Key;
            line.name = trim(body.substr(0, eq));
            line.value = trim(body.substr(eq + 1));
            line.keyBegin = static_cast<size_t>(body.data() - text.data());
        }
    }
    return line;
}

struct Location {
    bool sectionFound = false;
    bool keyFound = false;
    Line key;            // the key's line when keyFound
    size_t insertAt = 0; // where a missing key goes: after the section's last non-blank line
    bool insertNeedsBreak = false; // that line has no line feed
};

Location locate(std::string_view text, std::string_view section, std::string_view key) {
    Location loc;
    bool inSection = false;
    for (size_t pos = 0; pos < text.size();) {
        Line line = classify(text, pos);
        pos = line.next;
        if (line.kind == Kind::Section) {
            if (inSection)
                break; // the first section of that name is the one in force
            if (sameName(line.name, section)) {
                inSection = true;
                loc.sectionFound = true;
                loc.insertAt = line.next;
                loc.insertNeedsBreak = !line.ended;
            }
            continue;
        }
        if (!inSection)
            continue;
        if (line.kind == Kind::Key && sameName(line.name, key)) {
            loc.keyFound = true;
            loc.key = line;
            return loc;
        }
        if (line.kind != Kind::Blank) {
            loc.insertAt = line.next;
            loc.insertNeedsBreak = !line.ended;
        }
    }
    return loc;
}

// Reads the whole file. nullopt when it does not exist; throws `failure` when it exists but
// cannot be read, because a rewrite would then lose its lines.
std::optional<std::string> slurp(const std::string& path, bool throwOnError,
                                 const std::string& failure) {
    std::string data;
    const int error = readFileContent(path, data);
    if (error == 0)
        return data;
    if (error == ENOENT || !throwOnError)
        return std::nullopt;
    throw Error(failure);
}

// True when the last character of `s` is a lead byte without its second byte: written
// before "]" it would take the bracket as that byte, and the line would read back as
// another name (or as no section at all).
bool endsInLoneLead(std::string_view s) {
    size_t i = 0;
    while (i + 1 < s.size())
        i += isLeadByte(static_cast<unsigned char>(s[i])) ? 2 : 1;
    return i + 1 == s.size() && isLeadByte(static_cast<unsigned char>(s[i]));
}

bool validName(std::string_view name, bool isSection) {
    if (name.find_first_of("\r\n") != std::string_view::npos)
        return false;
    if (isSection)
        return lastCloseBracket(name) == std::string_view::npos && !endsInLoneLead(name);
    return !name.empty() && name.find('=') == std::string_view::npos && name.front() != '[' &&
           name.front() != ';';
}

// What ends a last line that has no line feed before more lines follow it. A CR at the end
// of the file already ends the line (the reader drops it); only its LF is missing. Another
// CR after it would leave that first CR inside the line, and so inside its value.
std::string_view lineBreakAfter(std::string_view text, std::string_view eol) {
    return !text.empty() && text.back() == '\r' ? "\n" : eol;
}

} // namespace

std::optional<std::string> IniFile::read(std::string_view section, std::string_view key) const {
    std::optional<std::string> text = slurp(path_, false, {});
    if (!text)
        return std::nullopt;
    Location loc = locate(*text, trim(section), trim(key));
    if (!loc.keyFound)
        return std::nullopt;
    std::string_view value = loc.key.value;
    return std::string(value.substr(0, kMaxValueBytes));
}

void IniFile::write(std::string_view section, std::string_view key, std::string_view value) {
    const std::string failure = path_ + " に書き込めません";
    section = trim(section);
    key = trim(key);
    // A line break would end the line early and leave the rest as a line of its own.
    if (!validName(section, true) || !validName(key, false) ||
        value.find_first_of("\r\n") != std::string_view::npos)
        throw Error(failure);

    std::string text = slurp(path_, true, failure).value_or(std::string());

    // New lines follow the file's own line ends; a new file gets LF.
    size_t firstLf = text.find('\n');
    const std::string_view eol =
        (firstLf != std::string::npos && firstLf > 0 && text[firstLf - 1] == '\r') ? "\r\n" : "\n";

    Location loc = locate(text, section, key);
    std::string out;
    out.reserve(text.size() + section.size() + key.size() + value.size() + 8);
    if (loc.keyFound) {
        // In place: the indentation and the key's own spelling stay, the rest of the line is
        // the new value; the line keeps its line end.
        const Line& line = loc.key;
        out.append(text, 0, line.keyBegin);
        out.append(line.name);
        out += '=';
        out.append(value);
        out.append(text, line.end, std::string::npos);
    } else if (loc.sectionFound) {
        out.append(text, 0, loc.insertAt);
        if (loc.insertNeedsBreak)
            out.append(lineBreakAfter(out, eol));
        out.append(key);
        out += '=';
        out.append(value);
        if (!loc.insertNeedsBreak)
            out.append(eol);
        out.append(text, loc.insertAt, std::string::npos);
    } else {
        out = text;
        if (!out.empty() && out.back() != '\n')
            out.append(lineBreakAfter(out, eol));
        out += '[';
        out.append(section);
        out += ']';
        out.append(eol);
        out.append(key);
        out += '=';
        out.append(value);
        out.append(eol);
    }

    if (replaceFileContent(path_, out) != 0)
        throw Error(failure);
}

} // namespace sorvanti
