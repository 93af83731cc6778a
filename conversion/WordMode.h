#pragma once

// Word mode: a dictionary's words match only on word boundaries, which come from the
// morphological analyser (words/). The engine takes them through a BoundarySource (Engine.h).

#include "conversion/Engine.h"
#include "words/WordAnalyser.h"
#include "words/WordBoundaries.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace sorvanti {

// Word mode on one thread: the boundaries of each line from the run's analyser, for lines of
// code page 932 (marks()) and for lines of Unicode text that are converted in code page 932
// runs (textRun()): such a line is analysed once, whole, and each run reads its part. Counts
// the lines the analyser failed on; those are converted in plain mode. Not to be shared
// between threads: each makes its own from the one analyser.
class WordMode final : public BoundarySource {
public:
    explicit WordMode(const words::WordAnalyser& analyser) : boundaries_(analyser) {}

    const uint8_t* marks(std::string_view line) override;

    // Starts a line of Unicode text, which the runs below belong to; nothing is analysed yet.
    void beginText(std::u16string_view text);
    // The boundaries of the run text[from, to) of the line begun last, as the engine reads
    // the run's code page 932 bytes: each character's mark at its first byte. The run's
    // characters must all have a code page 932 form (cp932::findUnencodable).
    BoundarySource& textRun(size_t from, size_t to);

    // Lines the analyser failed on, so far.
    int64_t failures() const { return failures_; }

private:
    class TextRun final : public BoundarySource {
    public:
        explicit TextRun(WordMode& owner) : owner_(owner) {}
        const uint8_t* marks(std::string_view bytes) override;
        size_t from = 0;
        size_t to = 0;

    private:
        WordMode& owner_;
    };

    words::WordBoundaries boundaries_;
    words::BoundarySet set_;
    int64_t failures_ = 0;
    std::u16string_view text_;
    enum class TextState { NotAnalysed, Analysed, Failed } textState_ = TextState::NotAnalysed;
    TextRun run_{*this};
    std::vector<uint8_t> runMarks_;
};

// The analyser of a run, created on first need and then kept: loading its dictionary takes
// a noticeable moment. A creation that failed is tried again at the next need, since the
// dictionary may have been installed in between.
class WordAnalyserHolder {
public:
    // The analyser; null when it cannot be created, and error() says why (for the user).
    const words::WordAnalyser* get();
    const std::string& error() const { return error_; }

private:
    std::unique_ptr<words::WordAnalyser> analyser_;
    std::string error_;
};

} // namespace sorvanti
