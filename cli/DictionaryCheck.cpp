#include "cli/DictionaryCheck.h"

#include "conversion/DictionaryEncoding.h"
#include "conversion/DictionaryLoader.h"
#include "conversion/DuplicateCodes.h"
#include "conversion/Shadowing.h"
#include "toolkit/Cp932.h"

#include <algorithm>
#include <cstdio>

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
        } else {
            const std::u16string text = cp932::decode(bytes);
            if (std::any_of(text.begin(), text.end(), [](char16_t c) {
                    return cp932::isRawByteEscape(c) && c != cp932::kRawByteBase + '\r';
                }))
                find("CP932 として正しくないバイトがあります", true);
        }
        if (bytes.size() >= kLinePieceBytes)
            find("行が 255 バイト以上あるため、255 バイトずつ別の行として読まれます", true);
        std::string whole(bytes);
        if (lineFeed)
            whole += '\n';
        for (size_t at = 0; at < whole.size(); at += kLinePieceBytes)
            piece(std::string_view(whole).substr(at, kLinePieceBytes));
    }

    void finish() {
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
        std::stable_sort(
            report_.findings.begin(), report_.findings.end(),
            [](const CheckFinding& a, const CheckFinding& b) { return a.line < b.line; });
    }

private:
    void find(std::string message, bool lost) {
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
    int64_t number_ = 0;
    std::string cp932_;
    DictionaryEntry scratch_{};
};

} // namespace

bool CheckReport::anyLost() const {
    return std::any_of(findings.begin(), findings.end(),
                       [](const CheckFinding& f) { return f.lost; });
}

CheckReport checkDictionary(std::string_view fileBytes, int side) {
    CheckReport report;
    const textencoding::Detected detected = textencoding::detect(fileBytes);
    report.encoding = detected.encoding;
    if (detected.bom)
        fileBytes.remove_prefix(textencoding::kUtf8Bom.size());
    Checker checker(report, side);
    int64_t number = 0;
    while (!fileBytes.empty()) {
        const size_t lf = fileBytes.find('\n');
        std::string_view line = fileBytes.substr(0, lf);
        const bool lineFeed = lf != std::string_view::npos;
        if (lineFeed && !line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        checker.line(++number, line, lineFeed);
        fileBytes.remove_prefix(lineFeed ? lf + 1 : fileBytes.size());
    }
    checker.finish();
    return report;
}

int printCheckReport(const CheckReport& report, std::string_view fileName, std::ostream& out) {
    int64_t lost = 0;
    for (const CheckFinding& f : report.findings) {
        out << fileName << ':' << f.line << ": " << f.message << '\n';
        lost += f.lost;
    }
    out << fileName << ": " << (report.encoding == textencoding::Encoding::Utf8 ? "UTF-8" : "CP932")
        << "、" << report.table->count() << " 項目、指摘 " << report.findings.size()
        << " 件 (使われない・失われる対 " << lost << " 件)\n";
    return lost > 0 ? 1 : 0;
}

} // namespace sorvanti
