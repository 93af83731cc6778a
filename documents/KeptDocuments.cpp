#include "documents/KeptDocuments.h"

#include <QTextDocument>

#include <algorithm>
#include <charconv>

namespace sorvanti::kept {

namespace {

constexpr std::string_view kFirstLine = "sorvanti-kept 1";

// The kept form of a plain text: UTF-8 with the mark (so that it always reads as UTF-8) and
// LF line ends.
constexpr plaintext::Format kKeptPlain{textencoding::Encoding::Utf8, true, true};

std::string escaped(const QString& name) {
    std::string out;
    for (const char c : name.toStdString()) {
        if (c == '%')
            out += "%25";
        else if (c == '\r')
            out += "%0D";
        else if (c == '\n')
            out += "%0A";
        else
            out += c;
    }
    return out;
}

QString unescaped(std::string_view text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size()) {
            int value = 0;
            const auto [end, error] =
                std::from_chars(text.data() + i + 1, text.data() + i + 3, value, 16);
            if (error == std::errc() && end == text.data() + i + 3) {
                out += char(value);
                i += 2;
                continue;
            }
        }
        out += text[i];
    }
    return QString::fromStdString(out);
}

std::string formatText(const plaintext::Format& f) {
    if (f.encoding == textencoding::Encoding::Cp932)
        return "cp932";
    return std::string("utf-8") + (f.bom ? " bom" : "") + (f.lf ? " lf" : "");
}

plaintext::Format formatFrom(std::string_view text) {
    plaintext::Format f;
    if (text.substr(0, 5) != "utf-8")
        return f;
    f.encoding = textencoding::Encoding::Utf8;
    f.bom = text.find(" bom") != std::string_view::npos;
    f.lf = text.find(" lf") != std::string_view::npos;
    return f;
}

// A kept file's name as the store writes it: `prefix`, "-", a number, "." and an extension,
// nothing that could lead out of the slot's folder.
bool isKeptFileName(std::string_view name, std::string_view prefix) {
    return name.size() > prefix.size() + 2 && name.substr(0, prefix.size()) == prefix &&
           name.find('/') == std::string_view::npos && name.find("..") == std::string_view::npos;
}

std::string tableText(const TableIndex& table) {
    const TableState& t = table.state;
    return "editor-path " + escaped(t.path) + "\neditor-encoding " +
           (t.encoding == textencoding::Encoding::Utf8 ? "utf-8" : "cp932") + "\neditor-stamp " +
           (t.existed ? "1 " : "0 ") + std::to_string(t.size) + ' ' + std::to_string(t.hash) +
           "\neditor-file " + table.file + '\n';
}

// An "editor-" line of the index into `table`; false when `key` is none.
bool readTableLine(std::string_view key, std::string_view value, std::optional<TableIndex>& table) {
    if (key.substr(0, 7) != "editor-")
        return false;
    if (!table)
        table.emplace();
    TableState& t = table->state;
    if (key == "editor-path") {
        t.path = unescaped(value);
    } else if (key == "editor-encoding") {
        t.encoding =
            value == "utf-8" ? textencoding::Encoding::Utf8 : textencoding::Encoding::Cp932;
    } else if (key == "editor-stamp") {
        t.existed = value.substr(0, 1) == "1";
        const char* end = value.data() + value.size();
        const char* at = value.data() + std::min<size_t>(2, value.size());
        at = std::from_chars(at, end, t.size).ptr;
        if (at < end)
            std::from_chars(at + 1, end, t.hash);
    } else if (key == "editor-file" && isKeptFileName(value, "editor")) {
        table->file = value;
    }
    return true;
}

} // namespace

Snapshot Snapshot::take(const QTextDocument& doc, bool rich) {
    Snapshot s;
    s.rich_ = rich;
    s.capture_ = rich ? RtfWriter::capture(doc) : RtfWriter::captureText(doc);
    return s;
}

Snapshot::Content Snapshot::content() const {
    if (!rich_) {
        try {
            return {plaintext::encodeRaw(capture_.text, kKeptPlain), false};
        } catch (const Error&) {
            // Carried bytes that would spell a character: RTF keeps them apart.
        }
    }
    return {RtfWriter::write(capture_), true};
}

std::string writeIndex(const Index& index) {
    std::string out = std::string(kFirstLine) + "\nsaved " + std::to_string(index.savedAt) + '\n';
    for (size_t p = 0; p < index.panes.size(); ++p) {
        const PaneIndex& pane = index.panes[p];
        if (pane.files.empty())
            continue;
        out += "pane " + std::to_string(p) + '\n';
        out += "name " + escaped(pane.state.fileName) + '\n';
        out += std::string("plain ") + (pane.state.plainText ? "1" : "0") + '\n';
        out += "format " + formatText(pane.state.format) + '\n';
        for (const KeptFile& file : pane.files)
            out += "file " + file.name + '\n';
    }
    if (index.table)
        out += tableText(*index.table);
    return out;
}

std::optional<Index> readIndex(std::string_view text) {
    const size_t firstEnd = text.find('\n');
    if (text.substr(0, firstEnd) != kFirstLine)
        return std::nullopt;
    Index index;
    PaneIndex* pane = nullptr;
    size_t at = firstEnd == std::string_view::npos ? text.size() : firstEnd + 1;
    while (at < text.size()) {
        size_t end = text.find('\n', at);
        if (end == std::string_view::npos)
            end = text.size();
        const std::string_view line = text.substr(at, end - at);
        at = end + 1;
        const size_t blank = line.find(' ');
        const std::string_view key = line.substr(0, blank);
        const std::string_view value =
            blank == std::string_view::npos ? std::string_view() : line.substr(blank + 1);
        if (readTableLine(key, value, index.table))
            continue;
        if (key == "saved")
            std::from_chars(value.data(), value.data() + value.size(), index.savedAt);
        else if (key == "pane")
            pane = value == "0" ? &index.panes[0] : value == "1" ? &index.panes[1] : nullptr;
        else if (!pane)
            continue;
        else if (key == "name")
            pane->state.fileName = unescaped(value);
        else if (key == "plain")
            pane->state.plainText = value == "1";
        else if (key == "format")
            pane->state.format = formatFrom(value);
        else if (key == "file" && isKeptFileName(value, "pane"))
            pane->files.push_back(
                {std::string(value), value.size() > 4 && value.substr(value.size() - 4) == ".rtf"});
    }
    // A table without its file keeps nothing.
    if (index.table && index.table->file.empty())
        index.table.reset();
    return index;
}

} // namespace sorvanti::kept
