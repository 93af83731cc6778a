#pragma once

#include <array>

// The character formatting of a run of RTF text as the reader and the writer both see it,
// and the control words that switch its flags on, so that what the writer writes is what the
// reader reads.
namespace sorvanti::rtf {

struct RunFormat {
    int font = -1;       // font table entry; -1: the document's default font (\deff)
    int halfPoints = 24; // \fs
    int color = 0;       // colour table entry (\cf); 0: automatic
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    bool operator==(const RunFormat&) const = default;
};

// The flags and their control words, in the order the writer writes them. A word without a
// parameter, or with one other than 0, switches its flag on; with 0 it switches it off. The
// reader takes further words for some of them (the other underline styles, \striked).
struct FlagWord {
    const char* word;
    bool RunFormat::*flag;
};
inline constexpr std::array<FlagWord, 4> kFlagWords{{
    {"b", &RunFormat::bold},
    {"i", &RunFormat::italic},
    {"ul", &RunFormat::underline},
    {"strike", &RunFormat::strike},
}};

} // namespace sorvanti::rtf
