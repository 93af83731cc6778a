#pragma once

#include "documents/RtfDecoders.h"
#include "documents/RtfFormat.h"

#include <QColor>
#include <QString>
#include <QStringView>

#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <vector>

// The reading of RTF source into text runs with their formatting (RtfReader builds the
// document from them). RtfControlWords holds the control words as tables of actions.
namespace sorvanti::rtf {

// What the text of the current group is for.
enum class Dest : unsigned char {
    Text,       // body text
    Skip,       // ignored with everything nested in it
    FontTable,  // font entries
    ColorTable, // colour entries
    Container,  // an object or shape: only its result group holds text
};

// A run's format and whether it is hidden (\v): hidden text is dropped.
struct CharProps : RunFormat {
    bool hidden = false;
    bool operator==(const CharProps&) const = default;
};

// Which kind of characters the next associated properties (\af, \afs, \ab, \ai) are for.
// Only those given for double-byte text matter here: they format the East Asian characters.
enum class CharKind : unsigned char { Low, High, DoubleByte, RightToLeft };

// Properties of East Asian characters that differ from the others; unset fields follow them.
struct AsianProps {
    int font = -1;
    int halfPoints = 0;
    int bold = -1;
    int italic = -1;
    bool any() const { return font >= 0 || halfPoints > 0 || bold >= 0 || italic >= 0; }
};

// The state a group keeps and restores when it closes.
struct GroupState {
    CharProps props;
    AsianProps asian;
    CharKind kind = CharKind::Low;
    Dest dest = Dest::Text;
    int uc = 1; // characters of fallback after \uN
};

struct Font {
    QString name;
    std::string nameBytes; // not yet decoded
    int charset = -1;
    int codepage = 0; // \cpg, overrides the character set
    bool nameDone = false;
};

struct Run {
    qsizetype start;
    CharProps props;
};

// What a document's source gives: its text, with a paragraph separator where each block ends,
// the runs of equal format in it, and the tables the formats refer to.
struct ParsedDocument {
    QString text;
    std::vector<Run> runs;
    // The character properties of each paragraph mark, in order: the formatting of the
    // paragraph it ends (an empty paragraph has no other). One more than the marks left in
    // `text`, for the last paragraph.
    std::vector<CharProps> marks;
    std::map<int, Font> fonts;
    int defaultFont = 0;
    std::vector<QColor> colors;
};

// A control word's parameter: `param` when `hasParam`.
struct WordParam {
    bool hasParam;
    int param;
    // A flag word without a parameter or with one other than 0 switches on.
    bool on() const { return !hasParam || param != 0; }
};

class Parser {
public:
    // `src` starts with the document's "{\rtf".
    explicit Parser(std::string_view src) : src_(src) {}

    ParsedDocument parse();

private:
    friend struct ControlWords;

    // The source, token by token.
    void readControl();
    void readControlWord();
    void readHexByte();
    void finish();

    void controlWord(std::string_view word, WordParam param);
    void controlSymbol(char c);
    void unicodeCharacter(int param);
    bool dropsByte();
    void textByte(unsigned char b);
    void hexByte(unsigned char b);
    void pendingByte(unsigned char b);
    void flushBytes();
    void appendText(QStringView text);
    void appendRun(QStringView text, const CharProps& props);
    void appendChar(char16_t c) { appendText(QStringView(&c, 1)); }
    // Appends `c` even inside hidden text (a paragraph mark, a cell's tab).
    void appendVisible(char16_t c);
    void paragraph();
    void cellEnd();
    void openGroup();
    void closeGroup();

    // The font table.
    Font* fontEntry();
    void startFontEntry(int number);
    void finishFontName();
    int codepageOf(const Font& font) const;
    int currentCodepage() const;
    // The colour table.
    void colorComponent(int& component, int value);
    void endColorEntry();

    std::string_view src_;
    size_t pos_ = 0;
    std::vector<GroupState> stack_;
    GroupState state_;
    size_t tooDeep_ = 0; // groups open beyond kMaxGroupDepth, skipped whole
    bool started_ = false;
    bool finished_ = false;

    int documentCodepage_ = 1252;
    int fontEntry_ = -1;
    int red_ = 0, green_ = 0, blue_ = 0;
    bool colorGiven_ = false;

    std::string pending_; // bytes of text not yet decoded
    int pendingCodepage_ = 0;
    int skip_ = 0; // fallback characters still to skip after \uN
    bool cellTab_ = false;
    bool eastAsianText_ = false; // the script of the last letter, for the characters after it

    ParsedDocument doc_;
    Decoders decoders_;
};

} // namespace sorvanti::rtf
