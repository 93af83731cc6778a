#include "cli/LineConversion.h"

#include "conversion/Engine.h"
#include "conversion/UnicodeConversion.h"
#include "conversion/WordMode.h"
#include "toolkit/Cp932.h"
#include "toolkit/Utf8Lead.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <memory>
#include <string_view>
#include <thread>

namespace sorvanti::cli {

namespace {

// Converts lines with its own engine; the buffers are reused, so a line costs no
// allocation once they have grown to the longest line. One per thread.
class LineConverter {
public:
    LineConverter(const DictionaryTable& table, int side, bool utf8,
                  const words::WordAnalyser* analyser)
        : engine_(table), side_(side), utf8_(utf8),
          words_(analyser ? std::make_unique<WordMode>(*analyser) : nullptr) {}

    // Lines the analyser failed on so far (word mode).
    int64_t wordFailures() const { return words_ ? words_->failures() : 0; }
    // The lines of the last convertLines() call that the analyser failed on, counted from 1.
    const std::vector<int64_t>& failedLines() const { return failedLines_; }

    // Appends the converted `line` and `lineEnd` ("\n", "\r\n" or nothing) to `out`.
    // Returns false when the line is not valid UTF-8 (in UTF-8 mode).
    bool convert(std::string_view line, std::string_view lineEnd, std::string& out) {
        if (!utf8_) {
            engine_.convertLine(line, side_, out, nullptr, words_.get());
        } else {
            text_.clear();
            if (!cp932::fromUtf8Append(line, text_))
                return false;
            converted_.clear();
            convertUnicodeLine(engine_, text_, side_, converted_, RawByteEscapes::AsCharacters,
                               nullptr, words_.get());
            cp932::toUtf8Append(converted_, out);
        }
        out.append(lineEnd);
        return true;
    }

    // A line too long to hold at once is handed over in parts with feed() and ended with
    // finish(); the result is the same as convert() of the whole line. Only a few dozen
    // bytes of it stay behind between parts: the matcher never looks further ahead than
    // one word. Both return false when the line is not valid UTF-8 (in UTF-8 mode).
    bool feed(std::string_view part, std::string& out) {
        if (!utf8_) {
            held_.append(part);
            convertHeld(out);
            return true;
        }
        heldUtf8_.append(part);
        const size_t complete = completeUtf8(heldUtf8_);
        text_.clear();
        if (!cp932::fromUtf8Append(std::string_view(heldUtf8_).substr(0, complete), text_))
            return false;
        heldUtf8_.erase(0, complete);
        takeUnicode(out);
        convertHeld(converted8_);
        decodeConverted(out, true);
        return true;
    }

    bool finish(std::string_view lineEnd, std::string& out) {
        if (!utf8_) {
            engine_.convertLine(held_, side_, out);
            held_.clear();
        } else {
            if (!heldUtf8_.empty()) {
                heldUtf8_.clear(); // a sequence cut off by the end of the line
                return false;
            }
            endRun(out);
        }
        out.append(lineEnd);
        return true;
    }

    // Converts `region`, whole lines each ending with LF, appending to `out`. Returns
    // the number of lines converted; when a line is not valid UTF-8 it stops there and
    // sets `invalid`.
    int64_t convertLines(std::string_view region, std::string& out, bool& invalid) {
        int64_t count = 0;
        invalid = false;
        failedLines_.clear();
        while (!region.empty()) {
            const auto* lf =
                static_cast<const char*>(std::memchr(region.data(), '\n', region.size()));
            size_t length = static_cast<size_t>(lf - region.data());
            std::string_view line = region.substr(0, length);
            std::string_view lineEnd = "\n";
            if (!line.empty() && line.back() == '\r') {
                line.remove_suffix(1);
                lineEnd = "\r\n";
            }
            const int64_t failures = wordFailures();
            if (!convert(line, lineEnd, out)) {
                invalid = true;
                return count;
            }
            ++count;
            if (wordFailures() != failures)
                failedLines_.push_back(count);
            region.remove_prefix(length + 1);
        }
        return count;
    }

private:
    // Bytes kept back from a part: more than the longest word.
    static constexpr size_t kKeep = DictionaryTable::kMaxWordBytes + 1;

    // Converts what the bytes held decide (code page 932 text, in UTF-8 mode the run of
    // encodable characters not yet ended) and keeps the rest.
    void convertHeld(std::string& out) {
        if (held_.size() < 2 * kKeep)
            return;
        const size_t done = engine_.convertPart(held_, held_.size() - kKeep, side_, out);
        held_.erase(0, done);
    }

    // Length of `s` without an incomplete UTF-8 sequence at its end, which the next part
    // completes.
    static size_t completeUtf8(std::string_view s) {
        for (size_t back = 1; back <= 3 && back <= s.size(); ++back) {
            const auto c = static_cast<unsigned char>(s[s.size() - back]);
            if ((c & 0xC0) == 0x80)
                continue;
            const size_t length = 1 + static_cast<size_t>(std::max(utf8Lead(c).more, 0));
            return length > back ? s.size() - back : s.size();
        }
        return s.size();
    }

    // UTF-8 mode: splits text_ as convertUnicodeLine() does, into runs of characters with a
    // code page 932 form, each converted on its own, and the characters between them.
    void takeUnicode(std::string& out) {
        const std::u16string_view text = text_;
        size_t pos = 0;
        while (pos < text.size()) {
            size_t runEnd = cp932::findUnencodable(text.substr(pos), false);
            runEnd = runEnd == std::u16string_view::npos ? text.size() : pos + runEnd;
            cp932::encodeAppend(text.substr(pos, runEnd - pos), held_);
            pos = runEnd;
            if (pos < text.size()) {
                endRun(out);
                size_t units = 1;
                cp932::encodable(text, pos, &units);
                cp932::toUtf8Append(text.substr(pos, units), out);
                pos += units;
            }
        }
    }

    void endRun(std::string& out) {
        engine_.convertLine(held_, side_, converted8_);
        held_.clear();
        decodeConverted(out, false);
    }

    // Decodes the converted bytes of the run; with `more`, a last byte that may start a
    // character with the next one waits for it.
    void decodeConverted(std::string& out, bool more) {
        decoded_.clear();
        cp932::decodeAppend(converted8_, decoded_);
        size_t keep = 0;
        if (more && !decoded_.empty() &&
            decoded_.back() ==
                cp932::kRawByteBase + static_cast<unsigned char>(converted8_.back())) {
            decoded_.pop_back();
            keep = 1;
        }
        cp932::toUtf8Append(decoded_, out);
        converted8_.erase(0, converted8_.size() - keep);
    }

    Engine engine_;
    int side_;
    bool utf8_;
    std::unique_ptr<WordMode> words_;
    std::vector<int64_t> failedLines_;
    std::u16string text_;
    std::u16string converted_;
    // A line handed over in parts: its bytes not yet converted (code page 932 text, or in
    // UTF-8 mode the open run in code page 932), an incomplete UTF-8 sequence, converted
    // bytes not yet decoded.
    std::string held_;
    std::string heldUtf8_;
    std::string converted8_;
    std::u16string decoded_;
};

// Reads the inputs block by block, converts their lines and hands the result to the
// output. With `parallel`, the whole lines of a large block are split in two halves at
// a line end and the second half is converted on a second thread with an engine of its
// own (lines are independent, and the table is only read), then appended in order.
class Converter {
public:
    Converter(const DictionaryTable& table, int side, bool utf8, const words::WordAnalyser* words,
              bool parallel, size_t block, Output& output, Progress& progress)
        : table_(table), side_(side), utf8_(utf8), words_(words), parallel_(parallel),
          output_(output), progress_(progress), lines_(table, side, utf8, words),
          block_(std::max<size_t>(block, 1), '\0') {
        pending_.reserve(2 * block_.size());
    }

    void run(Input& input) {
        carry_.clear();
        lineNumber_ = 0;
        longLine_ = false;
        const size_t blockSize = block_.size();
        for (;;) {
            size_t n = input.read(block_.data(), block_.size());
            if (n == 0)
                break;
            done_ += static_cast<int64_t>(n);
            std::string_view block(block_.data(), n);
            const auto* lastLf = static_cast<const char*>(memrchr(block.data(), '\n', n));
            if (!lastLf) {
                carry_.append(block); // a line longer than a block
                if (carry_.size() >= blockSize && !words_)
                    feedLongLine(input); // word mode analyses the line whole
            } else {
                size_t end = static_cast<size_t>(lastLf - block.data()) + 1;
                std::string_view lines = block.substr(0, end);
                if (!carry_.empty() || longLine_) {
                    // The line begun in the previous block ends in this one.
                    size_t lf = lines.find('\n') + 1;
                    carry_.append(lines.substr(0, lf));
                    if (longLine_)
                        finishLongLine(input, true);
                    else
                        convertRegion(input, carry_);
                    carry_.clear();
                    lines.remove_prefix(lf);
                }
                convertRegion(input, lines);
                carry_.append(block.substr(end));
            }
            if (pending_.size() >= blockSize) {
                output_.write(pending_);
                pending_.clear();
            }
            progress_.update(done_);
        }
        // A last line without a line feed: converted whole, a CR at its end included.
        if (longLine_) {
            finishLongLine(input, false);
        } else if (!carry_.empty()) {
            ++lineNumber_;
            const int64_t failures = lines_.wordFailures();
            if (!lines_.convert(carry_, {}, pending_))
                throw notUtf8(input);
            if (lines_.wordFailures() != failures)
                warnNotAnalysed(input, {lineNumber_});
        }
        carry_.clear();
    }

    void finish() {
        output_.write(pending_);
        pending_.clear();
    }

private:
    static constexpr size_t kParallelMin = 256 * 1024;

    // Hands the line held in carry_ to the line converter, all but a CR at its end (it
    // stays out of the line if a line feed follows), so that memory stays flat however
    // long the line is.
    void feedLongLine(const Input& input) {
        const size_t keep = carry_.back() == '\r' ? 1 : 0;
        if (!lines_.feed(std::string_view(carry_).substr(0, carry_.size() - keep), pending_)) {
            ++lineNumber_;
            throw notUtf8(input);
        }
        carry_.erase(0, carry_.size() - keep);
        longLine_ = true;
    }

    // Ends the line begun by feedLongLine() with the rest in carry_ (and its LF when `lf`).
    void finishLongLine(const Input& input, bool lf) {
        std::string_view rest = carry_;
        std::string_view lineEnd;
        if (lf) {
            rest.remove_suffix(1);
            lineEnd = "\n";
            if (!rest.empty() && rest.back() == '\r') {
                rest.remove_suffix(1);
                lineEnd = "\r\n";
            }
        }
        ++lineNumber_;
        if (!lines_.feed(rest, pending_) || !lines_.finish(lineEnd, pending_))
            throw notUtf8(input);
        longLine_ = false;
    }

    void convertRegion(const Input& input, std::string_view region) {
        size_t split = region.size();
        if (parallel_ && region.size() >= kParallelMin)
            split = region.find('\n', region.size() / 2) + 1;
        if (split >= region.size()) {
            bool invalid = false;
            const int64_t before = lineNumber_;
            lineNumber_ += lines_.convertLines(region, pending_, invalid);
            warnNotAnalysed(input, lines_.failedLines(), before);
            if (invalid) {
                ++lineNumber_;
                throw notUtf8(input);
            }
            return;
        }
        if (!second_)
            second_ = std::make_unique<LineConverter>(table_, side_, utf8_, words_);
        std::string_view firstHalf = region.substr(0, split);
        std::string_view secondHalf = region.substr(split);
        int64_t secondLines = 0;
        bool secondInvalid = false;
        std::exception_ptr secondError;
        std::thread worker([&] {
            try {
                secondLines = second_->convertLines(secondHalf, secondPending_, secondInvalid);
            } catch (...) {
                secondError = std::current_exception();
            }
        });
        bool firstInvalid = false;
        int64_t firstLines = 0;
        std::exception_ptr firstError;
        try {
            firstLines = lines_.convertLines(firstHalf, pending_, firstInvalid);
        } catch (...) {
            firstError = std::current_exception();
        }
        worker.join();
        if (firstError)
            std::rethrow_exception(firstError);
        if (secondError)
            std::rethrow_exception(secondError);
        warnNotAnalysed(input, lines_.failedLines(), lineNumber_);
        warnNotAnalysed(input, second_->failedLines(), lineNumber_ + firstLines);
        lineNumber_ += firstLines;
        if (firstInvalid) {
            ++lineNumber_;
            throw notUtf8(input);
        }
        lineNumber_ += secondLines;
        if (secondInvalid) {
            ++lineNumber_;
            throw notUtf8(input);
        }
        // Written in order straight away rather than copied behind the first half.
        output_.write(pending_);
        pending_.clear();
        output_.write(secondPending_);
        secondPending_.clear();
    }

    // Word mode: the lines (counted from 1 after line `before`) that the analyser failed on,
    // which were converted in plain mode.
    void warnNotAnalysed(const Input& input, const std::vector<int64_t>& lines,
                         int64_t before = 0) {
        for (const int64_t line : lines)
            progress_.warn(std::string("ファイル ") + input.name() + " の " +
                           std::to_string(before + line) +
                           " 行目は単語に分けられなかったため、単語単位にせずに変換しました");
    }

    Failure notUtf8(const Input& input) const {
        return Failure(std::string("ファイル ") + input.name() + " の " +
                       std::to_string(lineNumber_) + " 行目は UTF-8 ではありません");
    }

    const DictionaryTable& table_;
    int side_;
    bool utf8_;
    const words::WordAnalyser* words_;
    bool parallel_;
    Output& output_;
    Progress& progress_;
    LineConverter lines_;
    std::unique_ptr<LineConverter> second_;
    std::string block_;
    std::string carry_;
    bool longLine_ = false; // part of the current line has gone to lines_.feed()
    std::string pending_;
    std::string secondPending_;
    int64_t done_ = 0;
    int64_t lineNumber_ = 0;
};

} // namespace

void convertInputs(const DictionaryTable& table, int side, bool utf8,
                   const words::WordAnalyser* words, const ConvertEnv& env,
                   const std::vector<std::string>& paths, std::istream& in, Output& output,
                   Progress& progress) {
    Converter converter(table, side, utf8, words, env.parallel, env.blockBytes, output, progress);
    for (const std::string& path : paths) {
        Input input(path, in);
        converter.run(input);
    }
    converter.finish();
}

} // namespace sorvanti::cli
