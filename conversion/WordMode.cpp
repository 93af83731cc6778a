#include "conversion/WordMode.h"

#include "toolkit/Cp932.h"

namespace sorvanti {

const uint8_t* WordMode::marks(std::string_view line) {
    if (boundaries_.ofCp932(line, set_))
        return set_.marks();
    ++failures_;
    return nullptr;
}

void WordMode::beginText(std::u16string_view text) {
    text_ = text;
    textState_ = TextState::NotAnalysed;
}

BoundarySource& WordMode::textRun(size_t from, size_t to) {
    run_.from = from;
    run_.to = to;
    return run_;
}

// The run's k-th character is the line's character at from + k: every character of a run
// is one UTF-16 unit with a code page 932 form, and the run's bytes decode back to them.
const uint8_t* WordMode::TextRun::marks(std::string_view bytes) {
    WordMode& mode = owner_;
    if (mode.textState_ == TextState::NotAnalysed) {
        const bool ok = mode.boundaries_.ofUtf16(mode.text_, mode.set_);
        mode.textState_ = ok ? TextState::Analysed : TextState::Failed;
        mode.failures_ += ok ? 0 : 1;
    }
    if (mode.textState_ == TextState::Failed)
        return nullptr;
    const words::BoundarySet& set = mode.set_;
    std::vector<uint8_t>& marks = mode.runMarks_;
    marks.assign(bytes.size() + 1, 0);
    const cp932::Boundaries& characters = cp932::boundaries();
    size_t unit = from;
    for (size_t at = 0; at < bytes.size() && unit < to; at += characters.length(bytes, at))
        marks[at] = set.at(unit++) ? 1 : 0;
    marks[bytes.size()] = set.at(to) ? 1 : 0;
    return marks.data();
}

const words::WordAnalyser* WordAnalyserHolder::get() {
    if (!analyser_) {
        words::WordAnalyser::Created created = words::WordAnalyser::create();
        analyser_ = std::move(created.analyser);
        error_ = analyser_ ? std::string() : created.error;
    }
    return analyser_.get();
}

} // namespace sorvanti
