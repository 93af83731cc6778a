#include "conversion/DictionaryCheck.h"

#include "conversion/DictionaryEncoding.h"
#include "conversion/DictionaryLoader.h"
#include "conversion/DuplicateCodes.h"
#include "conversion/Shadowing.h"
#include "conversion/WordCheck.h"
#include "conversion/WordMode.h"
#include "conversion/WordModeDeclaration.h"
#include "toolkit/Cp932.h"
#include "words/WordBoundaries.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <unordered_map>

namespace sorvanti {

namespace {

constexpr const char* kSideName[2] = {"標準語", "変換語"};

// A code page 932 word as the author sees it; bytes that are no character show as \xNN.
std::string shown(std::string_view word) {
    std::string out;
    for (const char16_t c : cp932::decode(word)) {
        if (cp932::isRawByteEscape(c)) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", unsigned(c - cp932::kRawByteBase));
            out += hex;
        } else {
            out += cp932::toUtf8(std::u16string_view(&c, 1));
        }
    }
    return out;
}

class Checker {
public:
    // `sides`: the directions whose hidden pairs are looked for.
    Checker(CheckReport& report, std::vector<int> sides, const CheckWords& words)
        : report_(report), sides_(std::move(sides)), words_(words) {}

    void line(int64_t number, std::string_view bytes, bool lineFeed) {
        number_ = number;
        if (report_.encoding == textencoding::Encoding::Utf8) {
            cp932_.clear();
            switch (utf8LineToCp932(bytes, cp932_)) {
            case Utf8LineFault::Invalid:
                return find(FindingKind::InvalidUtf8,
                            "UTF-8 として正しくないバイトがあるため、行を読み飛ばします", true);
            case Utf8LineFault::NoCp932Form:
                return find(FindingKind::NoCp932Form,
                            "CP932 にない文字があるため、行を読み飛ばします", true);
            case Utf8LineFault::None:
                break;
            }
            bytes = cp932_;
        } else if (cp932::firstStrayByte(bytes) != std::string_view::npos) {
            find(FindingKind::StrayBytes, "CP932 として正しくないバイトがあります", true);
        }
        if (bytes.size() >= kLinePieceBytes)
            find(FindingKind::LongLine,
                 "行が 255 バイト以上あるため、255 バイトずつ別の行として読まれます", true);
        // The line and its line feed in the loader's pieces; only the last piece, which
        // takes the line feed, is copied.
        const size_t length = bytes.size() + (lineFeed ? 1 : 0);
        for (size_t at = 0; at < length; at += kLinePieceBytes) {
            if (at + kLinePieceBytes <= bytes.size()) {
                piece(bytes.substr(at, kLinePieceBytes), at == 0);
            } else {
                std::string last(bytes.substr(at));
                if (lineFeed)
                    last += '\n';
                piece(last, at == 0);
            }
        }
    }

    // Reading stopped at kMaxDictionaryBytes, inside line `number` or before it.
    void cut(int64_t number) {
        number_ = number;
        finishing_ = true; // kept whatever came before
        find(FindingKind::SizeLimit,
             "辞書が " + std::to_string(kMaxDictionaryBytes >> 20) +
                 " MB を超えるため、ここから先は読み込まれません",
             true);
    }

    void finish() {
        finishing_ = true;
        DictionaryTable& table = *report_.table;
        const std::unique_ptr<words::WordBoundaries> boundaries = wordRules();
        const std::vector<int32_t> twins = duplicates();
        std::vector<std::vector<int32_t>> hiding;
        for (const int side : sides_)
            hiding.push_back(report_.wordRules ? wordcheck::hidingEntries(
                                                     table, side, boundaries.get(), words_.cache)
                                               : shadowingEntries(table, side));
        for (int32_t i = 0; i < table.count(); ++i) {
            number_ = report_.entryLine[i];
            if (twins[i] >= 0) {
                cause_ = report_.entryLine[twins[i]];
                find(FindingKind::Duplicate,
                     "単語対が " + std::to_string(cause_) + " 行目と同じため、使われません", true);
                continue;
            }
            for (size_t s = 0; s < sides_.size(); ++s) {
                const int side = sides_[s];
                if (report_.wordRules && wordcheck::startsInsideWord(table.word(i, side))) {
                    side_ = side;
                    find(FindingKind::StartsInsideWord,
                         std::string(kSideName[side]) + "「" + shown(table.word(i, side)) +
                             "」は単語の切れ目から始まることがないため、単語単位では一致しません",
                         true);
                    continue;
                }
                if (hiding[s][i] >= 0)
                    hidden(i, hiding[s][i], side);
            }
        }
        cause_ = 0;
        side_ = -1;
        std::vector<CheckFinding>& findings = report_.findings;
        std::stable_sort(
            findings.begin(), findings.end(),
            [](const CheckFinding& a, const CheckFinding& b) { return a.line < b.line; });
        if (findings.size() > kMaxKeptFindings)
            findings.erase(findings.begin() + kMaxKeptFindings, findings.end());
    }

private:
    // Decides whether word mode's rules hold; with them, the boundaries of words come from
    // the analyser when there is one (null otherwise, and a finding says so).
    std::unique_ptr<words::WordBoundaries> wordRules() {
        report_.wordRules = words_.force.value_or(report_.wordMode);
        if (!report_.wordRules)
            return nullptr;
        if (const words::WordAnalyser* analyser =
                words_.analyser ? words_.analyser->get() : nullptr)
            return std::make_unique<words::WordBoundaries>(*analyser);
        number_ = declarationLine_;
        find(FindingKind::NoWordBoundaries,
             "単語の切れ目を求められないため、先の対に隠れる対は同じ単語のものだけを示します" +
                 (words_.analyser ? " (" + words_.analyser->error() + ")" : std::string()),
             false);
        return nullptr;
    }

    // The declaration of word mode, which counts only before the first entry line.
    void declaration() {
        if (!entrySeen_) {
            report_.wordMode = true;
            report_.declarationLines.push_back(number_);
            declarationLine_ = number_;
        } else {
            find(FindingKind::LateDeclaration,
                 std::string(wordmode::kDeclarationUtf8) +
                     " が最初の単語対より後にあるため、単語単位にはなりません",
                 false);
        }
    }

    // Findings of lines are met in line order; once the report keeps as many as it will,
    // the later ones are only counted. Those of entries (finish) come on top and are
    // sorted in.
    void find(FindingKind kind, std::string message, bool lost) {
        ++report_.findingCount;
        report_.lostCount += lost ? 1 : 0;
        if (lineFindings_++ < kMaxKeptFindings || finishing_)
            report_.findings.push_back({number_, std::move(message), lost, kind, side_, cause_});
    }

    // Entry `i`, which entry `earlier` hides in the direction that reads `side`.
    void hidden(int32_t i, int32_t earlier, int side) {
        const DictionaryTable& table = *report_.table;
        const std::string mine = shown(table.word(i, side));
        const std::string theirs = shown(table.word(earlier, side));
        cause_ = report_.entryLine[earlier];
        side_ = side;
        const std::string where = std::to_string(cause_) + " 行目";
        if (mine == theirs || duplicatecodes::canonical(table.word(i, side)) ==
                                  duplicatecodes::canonical(table.word(earlier, side)))
            find(FindingKind::Hidden,
                 std::string(kSideName[side]) + "「" + mine + "」は " + where +
                     "にもあり、そちらが先に一致するため、この対は使われません",
                 true);
        else
            find(FindingKind::Hidden,
                 where + "の" + kSideName[side] + "「" + theirs + "」が「" + mine +
                     "」の先頭に一致するため、この対は使われません",
                 true);
    }

    // Takes one piece apart as the loader's field reader does.
    void piece(std::string_view bytes, bool startsLine) {
        size_t start = 0;
        while (start < bytes.size() && isSeparator(bytes[start]))
            ++start;
        const bool empty = start >= bytes.size() || bytes[start] == '\n' || bytes[start] == '\0';
        if (empty) {
            if (start > 0)
                find(FindingKind::BlankOnly, "空白だけの行です (読み飛ばします)", false);
            return;
        }
        if (bytes[start] == '#') {
            if (startsLine && wordmode::isDeclaration(bytes))
                declaration();
            return;
        }
        DictionaryEntry& slot = scratch_;
        const size_t end0 = readField(bytes, 0, 0, slot);
        size_t end1 = std::string_view::npos;
        if (end0 != std::string_view::npos)
            end1 = readField(bytes, end0, 1, slot);
        if (end1 == std::string_view::npos)
            return find(FindingKind::SingleWord, "単語が一つしかないため、行を読み飛ばします",
                        true);
        entrySeen_ = true;

        size_t start1 = end0;
        while (isSeparator(bytes[start1]))
            ++start1;
        const size_t full[2] = {end0 - start, end1 - start1};
        ignoredRest(bytes, end1, bytes.substr(start, full[0]), bytes.substr(start1, full[1]));
        for (int s = 0; s < 2; ++s) {
            if (full[s] > size_t{DictionaryTable::kMaxWordBytes}) {
                side_ = s;
                find(FindingKind::WordCut,
                     std::string(kSideName[s]) + "が 40 バイトを超えるため、「" +
                         shown({slot.word[s], size_t(slot.length[s])}) + "」に切り詰められます",
                     false);
                side_ = -1;
            }
        }
        DictionaryTable& table = *report_.table;
        if (table.full())
            return find(FindingKind::PastCapacity, "項目が 2000 を超えたため、使われません", true);
        table.scratchSlot() = slot;
        table.commitSlot();
        report_.entryLine.push_back(number_);
    }

    // Words after the pair, which the loader does not read: a registration of words with
    // blanks inside, or a pair with a remark after it. The finding names the pair the line
    // reads as and the rest it ignores.
    void ignoredRest(std::string_view bytes, size_t end1, std::string_view word0,
                     std::string_view word1) {
        size_t rest = end1;
        while (rest < bytes.size() && isSeparator(bytes[rest]))
            ++rest;
        size_t end = rest;
        while (end < bytes.size() && bytes[end] != '\n' && bytes[end] != '\0')
            ++end;
        while (end > rest && isSeparator(bytes[end - 1]))
            --end;
        if (end > rest)
            find(FindingKind::IgnoredRest,
                 "「" + shown(word0) + "」→「" + shown(word1) + "」として読みます。「" +
                     shown(bytes.substr(rest, end - rest)) + "」は読みません",
                 false);
    }

    // For each entry the first earlier entry with the same two words, duplicate codes made
    // one, or -1.
    std::vector<int32_t> duplicates() const {
        const DictionaryTable& table = *report_.table;
        std::vector<int32_t> twins(size_t(table.count()), -1);
        std::unordered_map<std::string, int32_t> first;
        for (int32_t i = 0; i < table.count(); ++i) {
            // Words hold no tab: it separates them.
            const auto [at, added] =
                first.try_emplace(duplicatecodes::canonical(table.word(i, 0)) + '\t' +
                                      duplicatecodes::canonical(table.word(i, 1)),
                                  i);
            if (!added)
                twins[i] = at->second;
        }
        return twins;
    }

    CheckReport& report_;
    const std::vector<int> sides_;
    const CheckWords& words_;
    int side_ = -1;               // the side of the finding being made, when it has one
    int64_t cause_ = 0;           // the line that causes it, when one does
    bool entrySeen_ = false;      // a line has yielded an entry
    int64_t declarationLine_ = 1; // where word mode was declared
    size_t lineFindings_ = 0;
    bool finishing_ = false;
    int64_t number_ = 0;
    std::string cp932_;
    DictionaryEntry scratch_{};
};

} // namespace

std::vector<DictionaryFileLine> splitDictionaryLines(std::string_view bytes, bool finalCrEndsLine) {
    std::vector<DictionaryFileLine> lines;
    while (!bytes.empty()) {
        const size_t lf = bytes.find('\n');
        const bool lineFeed = lf != std::string_view::npos;
        const size_t length = lineFeed ? lf : bytes.size();
        size_t text = length;
        if (text > 0 && bytes[text - 1] == '\r' && (lineFeed || finalCrEndsLine))
            --text;
        const size_t end = lineFeed ? lf + 1 : length;
        lines.push_back({bytes.substr(0, text), bytes.substr(text, end - text)});
        bytes.remove_prefix(end);
    }
    return lines;
}

CheckReport checkDictionary(std::string_view fileBytes, int side, const CheckWords& words) {
    CheckReport report;
    if (fileBytes.size() > size_t(kMaxDictionaryBytes)) {
        fileBytes = fileBytes.substr(0, size_t(kMaxDictionaryBytes));
        report.sizeLimitReached = true;
    }
    const textencoding::Detected detected = textencoding::detect(fileBytes);
    report.encoding = detected.encoding;
    if (detected.bom)
        fileBytes.remove_prefix(textencoding::kUtf8Bom.size());
    Checker checker(report, {side}, words);
    int64_t number = 0;
    bool lastLineFeed = true;
    for (const DictionaryFileLine& line :
         splitDictionaryLines(fileBytes, !report.sizeLimitReached)) {
        lastLineFeed = line.ending.find('\n') != std::string_view::npos;
        checker.line(++number, line.text, lastLineFeed);
    }
    if (report.sizeLimitReached)
        checker.cut(lastLineFeed ? number + 1 : number);
    checker.finish();
    return report;
}

CheckReport checkDictionaryLines(std::span<const std::string_view> lines,
                                 textencoding::Encoding encoding, bool lastLineFeed,
                                 const CheckWords& words) {
    CheckReport report;
    report.encoding = encoding;
    Checker checker(report, {0, 1}, words);
    for (size_t i = 0; i < lines.size(); ++i)
        checker.line(int64_t(i) + 1, lines[i], i + 1 < lines.size() || lastLineFeed);
    checker.finish();
    return report;
}

} // namespace sorvanti
