#include "documents/RtfControlWords.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

namespace sorvanti::rtf {

namespace {

using Action = void (*)(Parser&, WordParam);
using Table = std::unordered_map<std::string_view, Action>;

Action find(const Table& table, std::string_view word) {
    const auto it = table.find(word);
    return it == table.end() ? nullptr : it->second;
}

// Destinations whose content is never body text.
// clang-format off
constexpr std::string_view kSkippedDestinations[] = {
    "stylesheet", "info", "pict", "header", "headerl", "headerr", "headerf", "footer",
    "footerl", "footerr", "footerf", "footnote", "annotation", "atnid", "atnauthor", "atndate",
    "atnref", "fldinst", "xe", "tc", "txe", "rxe", "private", "pntext", "pntxta", "pntxtb",
    "pn", "listtext", "filetbl", "revtbl", "listtable", "listoverridetable", "objdata",
    "objclass", "objname", "template", "bkmkstart", "bkmkend", "nonshppict", "themedata",
    "colorschememapping", "datastore", "latentstyles", "docvar", "userprops", "rsidtbl",
    "generator", "xmlnstbl", "pgdsctbl", "ftnsep", "ftnsepc", "ftncn", "aftnsep", "aftnsepc",
    "aftncn", "do", "datafield", "macpict", "pmmetafile", "wmetafile", "dibitmap", "wbitmap",
    "blipuid", "shpinst", "sp", "sn", "sv", "mmathPr", "fchars", "lchars", "keywords",
    "comment", "title", "subject", "author", "operator", "doccomm", "company",
};
// clang-format on

const std::unordered_set<std::string_view>& skippedDestinations() {
    static const std::unordered_set<std::string_view> names(std::begin(kSkippedDestinations),
                                                            std::end(kSkippedDestinations));
    return names;
}

// The underline styles, all read as underline.
constexpr std::string_view kUnderlineWords[] = {
    "uld",   "uldash",   "uldashd",   "uldashdd",   "uldb",      "ulhwave",    "ulldash", "ulth",
    "ulthd", "ulthdash", "ulthdashd", "ulthdashdd", "ulthldash", "ululdbwave", "ulw",     "ulwave",
};

// Body words that stand for one character.
const std::unordered_map<std::string_view, char16_t>& characterWords() {
    static const std::unordered_map<std::string_view, char16_t> words{
        {"line", QChar::LineSeparator},
        {"tab", u'\t'},
        {"emdash", u'\u2014'},
        {"endash", u'\u2013'},
        {"bullet", u'\u2022'},
        {"lquote", u'\u2018'},
        {"rquote", u'\u2019'},
        {"ldblquote", u'\u201C'},
        {"rdblquote", u'\u201D'},
        {"emspace", u'\u2003'},
        {"enspace", u'\u2002'},
        {"qmspace", u'\u2005'},
        {"zwj", u'\u200D'},
        {"zwnj", u'\u200C'},
    };
    return words;
}

} // namespace

template <size_t Flag> void ControlWords::setFlag(Parser& parser, WordParam param) {
    parser.state_.props.*kFlagWords[Flag].flag = param.on();
}

void ControlWords::apply(Parser& parser, std::string_view word, WordParam param) {
    if (applyDestination(parser, word))
        return;
    const Dest dest = parser.state_.dest;
    if (dest == Dest::FontTable || dest == Dest::ColorTable) {
        applyTableWord(parser, word, param);
        return;
    }
    applyProperty(parser, word, param);
    if (parser.state_.dest == Dest::Text)
        applyBodyWord(parser, word);
}

bool ControlWords::applyDestination(Parser& parser, std::string_view word) {
    static const Table table{
        {"fonttbl", [](Parser& p, WordParam) { p.state_.dest = Dest::FontTable; }},
        {"colortbl", [](Parser& p, WordParam) { p.state_.dest = Dest::ColorTable; }},
        {"fldrslt",
         [](Parser& p, WordParam) {
             if (p.state_.dest != Dest::Container)
                 p.state_.dest = Dest::Text;
         }},
        {"object", [](Parser& p, WordParam) { p.state_.dest = Dest::Container; }},
        {"shp", [](Parser& p, WordParam) { p.state_.dest = Dest::Container; }},
        {"result",
         [](Parser& p, WordParam) {
             if (p.state_.dest == Dest::Container)
                 p.state_.dest = Dest::Text;
         }},
        {"shprslt",
         [](Parser& p, WordParam) {
             if (p.state_.dest == Dest::Container)
                 p.state_.dest = Dest::Text;
         }},
    };
    if (const Action action = find(table, word)) {
        action(parser, {});
        return true;
    }
    if (skippedDestinations().contains(word)) {
        parser.state_.dest = Dest::Skip;
        return true;
    }
    return false;
}

void ControlWords::applyTableWord(Parser& parser, std::string_view word, WordParam param) {
    static const Table fontTable{
        {"f", [](Parser& p, WordParam a) { p.startFontEntry(a.param); }},
        {"fcharset",
         [](Parser& p, WordParam a) {
             if (Font* font = p.fontEntry())
                 font->charset = a.param;
         }},
        {"cpg",
         [](Parser& p, WordParam a) {
             if (Font* font = p.fontEntry())
                 font->codepage = a.param;
         }},
    };
    static const Table colorTable{
        {"red", [](Parser& p, WordParam a) { p.colorComponent(p.red_, a.param); }},
        {"green", [](Parser& p, WordParam a) { p.colorComponent(p.green_, a.param); }},
        {"blue", [](Parser& p, WordParam a) { p.colorComponent(p.blue_, a.param); }},
    };
    const Table& table = parser.state_.dest == Dest::FontTable ? fontTable : colorTable;
    if (const Action action = find(table, word))
        action(parser, param);
}

void ControlWords::applyProperty(Parser& parser, std::string_view word, WordParam param) {
    static const Table table = [] {
        Table t{
            {"ansicpg",
             [](Parser& p, WordParam a) {
                 if (a.param > 0)
                     p.documentCodepage_ = a.param;
             }},
            {"ansi", [](Parser& p, WordParam) { p.documentCodepage_ = 1252; }},
            {"mac", [](Parser& p, WordParam) { p.documentCodepage_ = 10000; }},
            {"pc", [](Parser& p, WordParam) { p.documentCodepage_ = 437; }},
            {"pca", [](Parser& p, WordParam) { p.documentCodepage_ = 850; }},
            {"deff", [](Parser& p, WordParam a) { p.doc_.defaultFont = a.param; }},
            {"uc", [](Parser& p, WordParam a) { p.state_.uc = std::clamp(a.param, 0, 16); }},
            {"plain",
             [](Parser& p, WordParam) {
                 p.state_.props = CharProps{};
                 p.state_.asian = AsianProps{};
             }},
            {"loch", [](Parser& p, WordParam) { p.state_.kind = CharKind::Low; }},
            {"ltrch", [](Parser& p, WordParam) { p.state_.kind = CharKind::Low; }},
            {"hich", [](Parser& p, WordParam) { p.state_.kind = CharKind::High; }},
            {"dbch", [](Parser& p, WordParam) { p.state_.kind = CharKind::DoubleByte; }},
            {"rtlch", [](Parser& p, WordParam) { p.state_.kind = CharKind::RightToLeft; }},
            // Associated properties count for double-byte text only.
            {"af",
             [](Parser& p, WordParam a) {
                 if (p.state_.kind == CharKind::DoubleByte)
                     p.state_.asian.font = a.param;
             }},
            {"afs",
             [](Parser& p, WordParam a) {
                 if (p.state_.kind == CharKind::DoubleByte)
                     p.state_.asian.halfPoints = a.hasParam ? a.param : 24;
             }},
            {"ab",
             [](Parser& p, WordParam a) {
                 if (p.state_.kind == CharKind::DoubleByte)
                     p.state_.asian.bold = a.on() ? 1 : 0;
             }},
            {"ai",
             [](Parser& p, WordParam a) {
                 if (p.state_.kind == CharKind::DoubleByte)
                     p.state_.asian.italic = a.on() ? 1 : 0;
             }},
            {"f", [](Parser& p, WordParam a) { p.state_.props.font = a.param; }},
            {"fs",
             [](Parser& p, WordParam a) { p.state_.props.halfPoints = a.hasParam ? a.param : 24; }},
            {"ulnone", [](Parser& p, WordParam) { p.state_.props.underline = false; }},
            {"striked", [](Parser& p, WordParam a) { p.state_.props.strike = a.on(); }},
            {"cf", [](Parser& p, WordParam a) { p.state_.props.color = a.param; }},
            {"v", [](Parser& p, WordParam a) { p.state_.props.hidden = a.on(); }},
            {kFlagWords[0].word, &setFlag<0>},
            {kFlagWords[1].word, &setFlag<1>},
            {kFlagWords[2].word, &setFlag<2>},
            {kFlagWords[3].word, &setFlag<3>},
        };
        for (std::string_view underline : kUnderlineWords)
            t.emplace(underline, [](Parser& p, WordParam a) { p.state_.props.underline = a.on(); });
        return t;
    }();
    static_assert(kFlagWords.size() == 4, "every flag word has its row above");
    if (const Action action = find(table, word))
        action(parser, param);
}

void ControlWords::applyBodyWord(Parser& parser, std::string_view word) {
    static const Table table{
        {"par", [](Parser& p, WordParam) { p.paragraph(); }},
        {"sect", [](Parser& p, WordParam) { p.paragraph(); }},
        {"row", [](Parser& p, WordParam) { p.paragraph(); }},
        {"nestrow", [](Parser& p, WordParam) { p.paragraph(); }},
        {"cell", [](Parser& p, WordParam) { p.cellEnd(); }},
        {"nestcell", [](Parser& p, WordParam) { p.cellEnd(); }},
    };
    if (const Action action = find(table, word)) {
        action(parser, {});
        return;
    }
    const auto& characters = characterWords();
    if (const auto it = characters.find(word); it != characters.end())
        parser.appendChar(it->second);
}

} // namespace sorvanti::rtf
