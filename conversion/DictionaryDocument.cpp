#include "conversion/DictionaryDocument.h"

#include "conversion/DictionaryLoader.h"
#include "toolkit/Cp932.h"

#include <algorithm>

namespace sorvanti {

namespace {

using Line = DictionaryDocument::Line;
constexpr size_t npos = std::string_view::npos;
const std::string kCrLf = "\r\n";
const std::string kLf = "\n";

size_t skipSeparators(std::string_view text, size_t pos) {
    while (pos < text.size() && isSeparator(text[pos]))
        ++pos;
    return pos;
}

bool isLineEnd(std::string_view ending) {
    return ending == "\r\n" || ending == "\n";
}

// The parts of a line where the field reader finds its words. The reader's side 1 takes a
// word wherever one starts (a "#" or a lone word too), so it gives the end of each.
Line parseLine(std::string_view text, std::string_view ending) {
    DictionaryEntry scratch;
    size_t cut[5];
    cut[0] = skipSeparators(text, 0);
    size_t end = readField(text, cut[0], 1, scratch);
    cut[1] = end == npos ? cut[0] : end;
    cut[2] = cut[1] == cut[0] ? cut[1] : skipSeparators(text, cut[1]);
    end = cut[1] == cut[0] ? npos : readField(text, cut[2], 1, scratch);
    cut[3] = end == npos ? cut[2] : end;
    cut[4] = cut[3] == cut[2] ? cut[3] : skipSeparators(text, cut[3]);
    Line line;
    size_t from = 0;
    for (int p = 0; p < 5; ++p) {
        line.parts[p] = text.substr(from, cut[p] - from);
        from = cut[p];
    }
    line.parts[5] = text.substr(from);
    line.ending = ending;
    return line;
}

bool sameWords(const Line& a, const Line& b) {
    return a.parts[1] == b.parts[1] && a.parts[3] == b.parts[3];
}

} // namespace

std::string Line::bytes() const {
    std::string out;
    for (const std::string& part : parts)
        out += part;
    return out;
}

bool Line::comment() const {
    return !parts[1].empty() && parts[1][0] == '#';
}

DictionaryDocument::DictionaryDocument(std::string_view fileBytes)
    : DictionaryDocument(fileBytes, textencoding::detect(fileBytes).encoding) {}

DictionaryDocument::DictionaryDocument(std::string_view fileBytes,
                                       textencoding::Encoding encoding) {
    encoding_ = encoding;
    bom_ =
        encoding == textencoding::Encoding::Utf8 && fileBytes.starts_with(textencoding::kUtf8Bom);
    if (bom_)
        fileBytes.remove_prefix(textencoding::kUtf8Bom.size());
    bool lineEndSeen = false;
    for (const DictionaryFileLine& l : splitDictionaryLines(fileBytes)) {
        lines_.push_back(parseLine(l.text, l.ending));
        if (!lineEndSeen && isLineEnd(l.ending)) {
            lineEnd_ = l.ending;
            lineEndSeen = true;
        }
    }
    lastEnding_ = lines_.empty() ? lineEnd_ : lines_.back().ending;
}

std::u16string DictionaryDocument::decode(std::string_view bytes) const {
    return encoding_ == textencoding::Encoding::Utf8 ? cp932::fromUtf8(bytes)
                                                     : cp932::decode(bytes);
}

std::optional<std::string> DictionaryDocument::encode(std::u16string_view text,
                                                      Refusal& refusal) const {
    if (encoding_ == textencoding::Encoding::Utf8)
        return cp932::toUtf8(text);
    size_t bad = std::u16string_view::npos;
    std::string bytes = cp932::encode(text, &bad);
    if (bad == std::u16string_view::npos)
        return bytes;
    size_t units = 1;
    cp932::encodable(text, bad, &units);
    refusal = {Refusal::NoFileForm, std::u16string(text.substr(bad, units))};
    return std::nullopt;
}

std::u16string DictionaryDocument::text(size_t i, Field field) const {
    const Line& line = lines_[i];
    if (line.comment())
        return field == Note ? decode(line.bytes()) : std::u16string();
    return decode(line.parts[field == Standard ? 1 : field == Converted ? 3 : 5]);
}

std::variant<Line, DictionaryDocument::Refusal>
DictionaryDocument::withText(size_t i, Field field, std::u16string_view text) const {
    const Line& old = lines_[i];
    const bool wholeLine = field == Note && old.comment();
    for (const char16_t c : text) {
        if (c == u'\r' || c == u'\n' || c == 0)
            return Refusal{Refusal::LineBreak, std::u16string(1, c)};
        if (field != Note && (c == u' ' || c == u'\t'))
            return Refusal{Refusal::Separator, std::u16string(1, c)};
    }
    Refusal refusal{};
    const std::optional<std::string> bytes = encode(text, refusal);
    if (!bytes)
        return refusal;
    if (wholeLine)
        return parseLine(*bytes, old.ending);

    Line line = old;
    const int part = field == Standard ? 1 : field == Converted ? 3 : 5;
    line.parts[part] = *bytes;
    if (field == Converted && !bytes->empty() && line.parts[2].empty())
        line.parts[2].assign(2, '\t');
    if (field == Note && !bytes->empty() && line.parts[4].empty())
        line.parts[4].assign(1, '\t');
    // Taken apart again when the loader reads the same words (blanks typed before a note go
    // into its gap); else the fields stay as typed and misread() tells what the loader sees.
    Line read = parseLine(line.bytes(), line.ending);
    return sameWords(read, line) ? read : line;
}

std::optional<Line> DictionaryDocument::misread(size_t i) const {
    const Line& line = lines_[i];
    Line read = parseLine(line.bytes(), line.ending);
    if (sameWords(read, line))
        return std::nullopt;
    // A line read as one word only, or none, is the check's to tell.
    if (!read.comment() && (read.parts[1].empty() || read.parts[3].empty()))
        return std::nullopt;
    return read;
}

void DictionaryDocument::insertLines(size_t at, std::vector<Line> lines) {
    lines_.insert(lines_.begin() + ptrdiff_t(at), std::make_move_iterator(lines.begin()),
                  std::make_move_iterator(lines.end()));
}

std::vector<Line> DictionaryDocument::removeLines(size_t at, size_t count) {
    const auto first = lines_.begin() + ptrdiff_t(at);
    std::vector<Line> removed(std::make_move_iterator(first),
                              std::make_move_iterator(first + ptrdiff_t(count)));
    lines_.erase(first, first + ptrdiff_t(count));
    return removed;
}

void DictionaryDocument::permute(std::span<const size_t> order) {
    std::vector<Line> moved;
    moved.reserve(order.size());
    for (const size_t from : order)
        moved.push_back(std::move(lines_[from]));
    std::move(moved.begin(), moved.end(), lines_.begin());
}

CheckReport DictionaryDocument::check(const CheckWords& words) const {
    std::vector<std::string> bytes;
    bytes.reserve(lines_.size());
    for (const Line& line : lines_)
        bytes.push_back(line.bytes());
    const std::vector<std::string_view> views(bytes.begin(), bytes.end());
    return checkDictionaryLines(views, encoding_, isLineEnd(lastEnding_), words);
}

std::string DictionaryDocument::fileBytes() const {
    std::string out;
    if (bom_)
        out += textencoding::kUtf8Bom;
    for (size_t i = 0; i < lines_.size(); ++i) {
        const Line& line = lines_[i];
        for (const std::string& part : line.parts)
            out += part;
        if (i + 1 == lines_.size() && !isLineEnd(lastEnding_))
            out += lastEnding_;
        else
            out += isLineEnd(line.ending) ? line.ending : lineEnd_;
    }
    return out;
}

DictionaryDocument::Reading DictionaryDocument::reading() const {
    const std::string bytes = fileBytes();
    if (textencoding::detect(bytes).encoding == encoding_)
        return Reading::Same;
    // ASCII reads the same in either encoding.
    if (std::all_of(bytes.begin(), bytes.end(), [](char c) { return (c & 0x80) == 0; }))
        return Reading::Same;
    return encoding_ == textencoding::Encoding::Utf8 ? Reading::NeedsMark : Reading::OtherEncoding;
}

bool DictionaryDocument::appendFileBytes(std::string_view appended) {
    if (appended.empty())
        return true;
    std::string ending = lastEnding_;
    // A last line without its end (or with only a lone CR) is ended by what comes first.
    if (!isLineEnd(lastEnding_)) {
        if ((lastEnding_ == "\r" && appended.starts_with("\n")) ||
            (lastEnding_.empty() && appended.starts_with("\r\n")))
            ending = kCrLf;
        else if (lastEnding_.empty() && appended.starts_with("\n"))
            ending = kLf;
        else
            return false;
        appended.remove_prefix(ending.size() - lastEnding_.size());
        if (!lines_.empty() && !isLineEnd(lines_.back().ending))
            lines_.back().ending = ending;
    }
    for (const DictionaryFileLine& l : splitDictionaryLines(appended))
        lines_.push_back(parseLine(l.text, l.ending));
    lastEnding_ = appended.empty() ? ending : lines_.back().ending;
    return true;
}

} // namespace sorvanti
