#pragma once

#include "conversion/WordMode.h"

#include <QString>

#include <memory>

namespace sorvanti {

class DictionaryTable;

// The window's word mode: follows the dictionary loaded last. A dictionary that declares
// word mode converts on word boundaries when the analyser can be had; when it cannot, one
// notice says what is missing and the dictionary converts in plain mode ("単語単位 (無効)").
// The analyser is created at the first word-mode dictionary and kept for the run.
class WindowWordMode {
public:
    // After a load into `table`: word mode or not. Gives the notice to show when the
    // dictionary asks for word mode that cannot be had, else an empty text.
    QString follow(const DictionaryTable& table);

    // What the conversion command takes: null in plain mode.
    WordMode* active() { return words_.get(); }

    // For the status bar: empty in plain mode, "単語単位", or "単語単位 (無効)"; after a
    // conversion in which the analyser failed on lines, how many were converted plainly.
    QString label() const;
    // Notes the lines the analyser has failed on since the last call (a conversion's).
    void conversionDone();

private:
    WordAnalyserHolder analyser_;
    std::unique_ptr<WordMode> words_;
    bool declared_ = false;
    int64_t failuresBefore_ = 0;
    int64_t lastFailures_ = 0;
};

} // namespace sorvanti
