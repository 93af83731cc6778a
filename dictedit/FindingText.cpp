#include "dictedit/FindingText.h"

#include "toolkit/Cp932.h"
#include "toolkit/Utf16.h"

#include <algorithm>

namespace sorvanti::findingtext {

namespace {

const QString kSideName[2] = {QStringLiteral("標準語"), QStringLiteral("変換語")};
const QString kDirection[2] = {QStringLiteral("変換"), QStringLiteral("逆変換")};

QString fieldText(const DictionaryDocument& document, int64_t line, int side) {
    return toQString(document.text(size_t(line - 1), side == 0 ? DictionaryDocument::Standard
                                                               : DictionaryDocument::Converted));
}

// The word of `side` of the entry that line `line` gave, as the table holds it (cut).
QString tableWord(const CheckReport& report, int64_t line, int side) {
    const auto at = std::lower_bound(report.entryLine.begin(), report.entryLine.end(), line);
    if (at == report.entryLine.end() || *at != line)
        return {};
    return toQString(
        cp932::decode(report.table->word(int32_t(at - report.entryLine.begin()), side)));
}

QString wordOf(const DictionaryDocument& document, const std::string& bytes) {
    return toQString(document.decode(bytes));
}

} // namespace

QString brief(const CheckFinding& f, const CheckReport& report,
              const DictionaryDocument& document) {
    switch (f.kind) {
    case FindingKind::InvalidUtf8:
        return QStringLiteral("UTF-8 として正しくない");
    case FindingKind::NoCp932Form:
        return QStringLiteral("CP932 にない文字");
    case FindingKind::StrayBytes:
        return QStringLiteral("CP932 として正しくないバイト");
    case FindingKind::LongLine:
        return QStringLiteral("255 バイト以上の行");
    case FindingKind::BlankOnly:
        return QStringLiteral("空白だけ");
    case FindingKind::SingleWord:
        return QStringLiteral("単語が一つだけ");
    case FindingKind::WordCut:
        return QStringLiteral("%1は 40 バイトで「%2」に")
            .arg(kSideName[f.side & 1], tableWord(report, f.line, f.side & 1));
    case FindingKind::PastCapacity:
        return QStringLiteral("2000 組を超えた");
    case FindingKind::SizeLimit:
        return QStringLiteral("16 MB を超えた");
    case FindingKind::Duplicate:
        return QStringLiteral("%1 行目と同じ").arg(f.cause);
    case FindingKind::Hidden:
        return QStringLiteral("%1では %2 行目「%3」が先")
            .arg(kDirection[f.side & 1])
            .arg(f.cause)
            .arg(fieldText(document, f.cause, f.side & 1));
    case FindingKind::StartsInsideWord:
        return QStringLiteral("%1は単語の頭にならない").arg(kSideName[f.side & 1]);
    case FindingKind::LateDeclaration:
        return QStringLiteral("単語単位の指定が遅い");
    case FindingKind::NoWordBoundaries:
        return QStringLiteral("単語の切れ目を求められない");
    case FindingKind::IgnoredRest:
        return QStringLiteral("三つ目から先の語は読まれない");
    }
    return QString::fromStdString(f.message);
}

QString full(const CheckFinding& f) {
    const QString message = QString::fromStdString(f.message);
    if (f.kind == FindingKind::Hidden)
        return kDirection[f.side & 1] + QStringLiteral(": ") + message;
    return message;
}

QString misreadBrief(const DictionaryDocument& document, const DictionaryDocument::Line& read) {
    if (read.comment())
        return QStringLiteral("注釈として読まれる");
    return QStringLiteral("「%1」「%2」と読まれる")
        .arg(wordOf(document, read.parts[1]), wordOf(document, read.parts[3]));
}

QString misreadFull(const DictionaryDocument& document, const DictionaryDocument::Line& read) {
    if (read.comment())
        return QStringLiteral("この行は「#」で始まるため、注釈として読まれます");
    return QStringLiteral("この行は標準語「%1」、変換語「%2」の対として読まれます")
        .arg(wordOf(document, read.parts[1]), wordOf(document, read.parts[3]));
}

} // namespace sorvanti::findingtext
