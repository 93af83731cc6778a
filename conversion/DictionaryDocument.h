#pragma once

#include "conversion/DictionaryCheck.h"
#include "toolkit/TextEncoding.h"

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace sorvanti {

// A dictionary file held for editing: its lines in file order, each with its own bytes and
// line end, and the encoding, byte-order mark and line end of the file. A line is kept in the
// parts that the loader's field reader finds in it, so that a changed word keeps the blanks
// around it and the note after it, and a line nobody changed is written back byte for byte.
// Fields are given and taken as UTF-16 text; the bytes are in the file's encoding.
class DictionaryDocument {
public:
    // The fields of a line that can be edited.
    enum Field { Standard = 0, Converted = 1, Note = 2 };

    // One line: [lead][standard word][gap][converted word][gap][note] and its line end.
    struct Line {
        std::array<std::string, 6> parts;
        std::string ending; // as read: "\r\n", "\n", a last "\r" or ""; empty for a new line
        std::string bytes() const;
        // The loader takes the line as a comment: its first word begins with "#".
        bool comment() const;
        bool operator==(const Line&) const = default;
    };

    // Why a text cannot go into a field.
    struct Refusal {
        enum Reason {
            Separator,  // a blank or a tab in a word: the loader would split it there
            LineBreak,  // a line break, or a zero byte, which ends the line for the loader
            NoFileForm, // `character` cannot be written in the file's encoding
        } reason;
        std::u16string character;
    };

    // How the bytes of the whole file will read at the next load.
    enum class Reading {
        Same,          // in the file's own encoding
        NeedsMark,     // as code page 932 unless a UTF-8 file gets its byte-order mark
        OtherEncoding, // a code page 932 file as UTF-8
    };

    // An empty dictionary, written the program's own way: code page 932, CR LF.
    DictionaryDocument() = default;
    // A dictionary file's bytes, in the encoding textencoding::detect finds.
    explicit DictionaryDocument(std::string_view fileBytes);
    // The bytes of a dictionary in `encoding`, whatever they would read as alone: a table kept
    // unsaved, which its save may still have to give a byte-order mark (Reading::NeedsMark).
    DictionaryDocument(std::string_view fileBytes, textencoding::Encoding encoding);

    textencoding::Encoding encoding() const { return encoding_; }
    bool bom() const { return bom_; }
    void setBom(bool bom) { bom_ = bom; }
    // What new lines end with: the end of the file's first line, CR LF when it has none.
    const std::string& lineEnd() const { return lineEnd_; }

    size_t size() const { return lines_.size(); }
    const Line& line(size_t i) const { return lines_[i]; }

    // The text of a field. A comment line's note is the whole line, its words are empty.
    std::u16string text(size_t i, Field field) const;
    // Line `i` with `field` set to `text`, or why that cannot be. A word holds no blank, tab or
    // line break; a note no line break. A comment line's note is the whole line, taken apart
    // again (it may so become a pair). A word or note put where there was none gets a gap: two
    // tabs before the converted word, one before the note.
    std::variant<Line, Refusal> withText(size_t i, Field field, std::u16string_view text) const;
    // Line `i` as the loader takes it apart when that gives other words than its fields (a
    // note read as the converted word once that is emptied, a comment); nullopt when it gives
    // the same, or a line the check reports anyway (one word only, none).
    std::optional<Line> misread(size_t i) const;

    void setLine(size_t i, Line line) { lines_[i] = std::move(line); }
    void insertLines(size_t at, std::vector<Line> lines);
    std::vector<Line> removeLines(size_t at, size_t count);
    // Reorders the first order.size() lines: line p becomes the line that was at order[p].
    void permute(std::span<const size_t> order);

    // Every finding of the check on the lines as they stand, both directions; `words` as
    // checkDictionaryLines takes it (word mode's rules where the lines declare it).
    CheckReport check(const CheckWords& words = {}) const;

    // The file as it is saved: the mark, then each line and its end. A line keeps the end
    // it was read with; a new line, and one that had none or only a lone CR before lines
    // followed it, gets the file's line end (that of its first line; CR LF when it has none).
    // The last line ends as the file's last line did, so a file without a final line end
    // stays without one.
    std::string fileBytes() const;
    Reading reading() const;

    // Takes `appended`, bytes added to the end of the file since it was read (a "登録"
    // elsewhere), in as lines at the end. False, changing nothing, when they would not make
    // whole lines of their own (they go on with the file's last line).
    bool appendFileBytes(std::string_view appended);

    // Bytes of the file's encoding as text.
    std::u16string decode(std::string_view bytes) const;

private:
    std::optional<std::string> encode(std::u16string_view text, Refusal& refusal) const;

    textencoding::Encoding encoding_ = textencoding::Encoding::Cp932;
    bool bom_ = false;
    std::string lineEnd_ = "\r\n";
    std::string lastEnding_ = "\r\n"; // how the file's last line ends
    std::vector<Line> lines_;
};

} // namespace sorvanti
