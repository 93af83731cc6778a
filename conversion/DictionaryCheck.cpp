#include "conversion/DictionaryCheck.h"

#include "conversion/DictionaryEncoding.h"
#include "conversion/DictionaryLoader.h"
#include "conversion/DuplicateCodes.h"
#include "conversion/Shadowing.h"
#include "toolkit/Cp932.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace sorvanti {

namespace {

constexpr size_t kLinePieceBytes = 255; // as the loader's line buffer takes them
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

bool isSeparator(char c) {
    return c == ' ' || c == '\t';
}

class Checker {
public:
    Checker(CheckReport& report, int side) : report_(report), side_(side) {}

    void line(int64_t number, std::string_view bytes, bool lineFeed) {
        number_ = number;
        if (report_.encoding == textencoding::Encoding::Utf8) {
            cp932_.clear();
            switch (utf8LineToCp932(bytes, cp932_)) {
            case Utf8LineFault::Invalid:
                return find("UTF-8 として正しくないバイトがあるため、行を読み飛ばします", true);
            case Utf8LineFault::NoCp932Form:
                return find("CP932 にない文字があるため、行を読み飛ばします", true);
            case Utf8LineFault::None:
                break;
            }
            bytes = cp932_;
        } else if (cp932::firstStrayByte(bytes) != std::string_view::npos) {
            find("CP932 として正しくないバイトがあります", true);
        }
        if (bytes.size() >= kLinePieceBytes)
            find("行が 255 バイト以上あるため、255 バイトずつ別の行として読まれます", true);
        // The line and its line feed in the loader's pieces; only the last piece, which
        // takes the line feed, is copied.
        const size_t length = bytes.size() + (lineFeed ? 1 : 0);
        for (size_t at = 0; at < length; at += kLinePieceBytes) {
            if (at + kLinePieceBytes <= bytes.size()) {
                piece(bytes.substr(at, kLinePieceBytes));
            } else {
                std::string last(bytes.substr(at));
                if (lineFeed)
                    last += '\n';
                piece(last);
            }
        }
    }

    // Reading stopped at kMaxDictionaryBytes, inside line `number` or before it.
    void cut(int64_t number) {
        number_ = number;
        finishing_ = true; // kept whatever came before
        find("辞書が " + std::to_string(kMaxDictionaryBytes >> 20) +
                 " MB を超えるため、ここから先は読み込まれません",
             true);
    }

    void finish() {
        finishing_ = true;
        DictionaryTable& table = *report_.table;
        for (int32_t i = 0; i < table.count(); ++i) {
            number_ = report_.entryLine[i];
            const int32_t twin = duplicateOf(i);
            if (twin >= 0) {
                find("単語対が " + std::to_string(report_.entryLine[twin]) +
                         " 行目と同じため、使われません",
                     true);
                continue;
            }
            const int32_t earlier = shadowingEntry(table, side_, i);
            if (earlier < 0)
                continue;
            const std::string mine = shown(table.word(i, side_));
            const std::string theirs = shown(table.word(earlier, side_));
            const std::string where = std::to_string(report_.entryLine[earlier]) + " 行目";
            if (mine == theirs || duplicatecodes::canonical(table.word(i, side_)) ==
                                      duplicatecodes::canonical(table.word(earlier, side_)))
                find(std::string(kSideName[side_]) + "「" + mine + "」は " + where +
                         "にもあり、そちらが先に一致するため、この対は使われません",
                     true);
            else
                find(where + "の" + kSideName[side_] + "「" + theirs + "」が「" + mine +
                         "」の先頭に一致するため、この対は使われません",
                     true);
        }
        std::vector<CheckFinding>& findings = report_.findings;
        std::stable_sort(
            findings.begin(), findings.end(),
            [](const CheckFinding& a, const CheckFinding& b) { return a.line < b.line; });
        if (findings.size() > kMaxKeptFindings)
            findings.erase(findings.begin() + kMaxKeptFindings, findings.end());
    }

private:
    // Findings of lines are met in line order; once the report keeps as many as it will,
    // the later ones are only counted. Those of entries (finish) come on top and are
    // sorted in.
    void find(std::string message, bool lost) {
        ++report_.findingCount;
        report_.lostCount += lost ? 1 : 0;
        if (lineFindings_++ < kMaxKeptFindings || finishing_)
            report_.findings.push_back({number_, std::move(message), lost});
    }

    // Takes one piece apart as the loader's field reader does.
    void piece(std::string_view bytes) {
        size_t start = 0;
        while (start < bytes.size() && isSeparator(bytes[start]))
            ++start;
        const bool empty = start >= bytes.size() || bytes[start] == '\n' || bytes[start] == '\0';
        if (empty) {
            if (start > 0)
                find("空白だけの行です (読み飛ばします)", false);
            return;
        }
        if (bytes[start] == '#')
            return;
        DictionaryEntry& slot = scratch_;
        const size_t end0 = readField(bytes, 0, 0, slot);
        size_t end1 = std::string_view::npos;
        if (end0 != std::string_view::npos)
            end1 = readField(bytes, end0, 1, slot);
        if (end1 == std::string_view::npos)
            return find("単語が一つしかないため、行を読み飛ばします", true);

        size_t start1 = end0;
        while (isSeparator(bytes[start1]))
            ++start1;
        const size_t full[2] = {end0 - start, end1 - start1};
        ignoredRest(bytes, end1, bytes.substr(start, full[0]), bytes.substr(start1, full[1]));
        for (int s = 0; s < 2; ++s) {
            if (full[s] > size_t{DictionaryTable::kMaxWordBytes})
                find(std::string(kSideName[s]) + "が 40 バイトを超えるため、「" +
                         shown({slot.word[s], size_t(slot.length[s])}) + "」に切り詰められます",
                     false);
        }
        DictionaryTable& table = *report_.table;
        if (table.full())
            return find("項目が 2000 を超えたため、使われません", true);
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
            find("「" + shown(word0) + "」→「" + shown(word1) + "」として読みます。「" +
                     shown(bytes.substr(rest, end - rest)) + "」は読みません",
                 false);
    }

    // The first earlier entry with the same two words, duplicate codes made one.
    int32_t duplicateOf(int32_t i) const {
        const DictionaryTable& table = *report_.table;
        const std::string a = duplicatecodes::canonical(table.word(i, 0));
        const std::string b = duplicatecodes::canonical(table.word(i, 1));
        for (int32_t e = 0; e < i; ++e) {
            if (table.word(e, 0).size() == a.size() && table.word(e, 1).size() == b.size() &&
                duplicatecodes::canonical(table.word(e, 0)) == a &&
                duplicatecodes::canonical(table.word(e, 1)) == b)
                return e;
        }
        return -1;
    }

    CheckReport& report_;
    int side_;
    size_t lineFindings_ = 0;
    bool finishing_ = false;
    int64_t number_ = 0;
    std::string cp932_;
    DictionaryEntry scratch_{};
};

} // namespace

CheckReport checkDictionary(std::string_view fileBytes, int side) {
    CheckReport report;
    if (fileBytes.size() > size_t(kMaxDictionaryBytes)) {
        fileBytes = fileBytes.substr(0, size_t(kMaxDictionaryBytes));
        report.sizeLimitReached = true;
    }
    const textencoding::Detected detected = textencoding::detect(fileBytes);
    report.encoding = detected.encoding;
    if (detected.bom)
        fileBytes.remove_prefix(textencoding::kUtf8Bom.size());
    Checker checker(report, side);
    int64_t number = 0;
    bool lastLineFeed = true;
    while (!fileBytes.empty()) {
        const size_t lf = fileBytes.find('\n');
        std::string_view line = fileBytes.substr(0, lf);
        const bool lineFeed = lf != std::string_view::npos;
        // A CR before the LF, or ending the file, ends the line.
        if (!line.empty() && line.back() == '\r' && (lineFeed || !report.sizeLimitReached))
            line.remove_suffix(1);
        checker.line(++number, line, lineFeed);
        lastLineFeed = lineFeed;
        fileBytes.remove_prefix(lineFeed ? lf + 1 : fileBytes.size());
    }
    if (report.sizeLimitReached)
        checker.cut(lastLineFeed ? number + 1 : number);
    checker.finish();
    return report;
}

} // namespace sorvanti
