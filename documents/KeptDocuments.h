#pragma once

#include "documents/PlainText.h"
#include "documents/RtfWriter.h"

#include <QString>

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class QTextDocument;

// The unsaved documents of the panes as the hot-exit store keeps them between runs: what a
// document's file holds, and the index that says which file belongs to which pane.
namespace sorvanti::kept {

// A document's text taken where the document lives (the GUI thread), in a moment; bytes()
// then turns it into the content of its kept file on any thread. A rich-text pane's document
// is kept as RTF with its formatting, a plain-text pane's as UTF-8 text with the mark and LF
// line ends, which holds every character (its own encoding may not); a text that UTF-8 cannot
// carry as it stands (bytes of a file that spell a character side by side) goes as RTF too.
class Snapshot {
public:
    static Snapshot take(const QTextDocument& doc, bool rich);

    struct Content {
        std::string bytes;
        bool rtf = false;
    };
    Content content() const;

private:
    bool rich_ = false;
    RtfWriter::Capture capture_; // for a plain text: its text and the default font only
};

// How a pane stands, apart from its texts.
struct PaneState {
    QString fileName;
    bool plainText = false;
    plaintext::Format format;
};

struct KeptFile {
    std::string name; // in the slot's folder, "pane0-3.rtf"
    bool rtf = false;
};

struct PaneIndex {
    PaneState state;
    std::vector<KeptFile> files; // the pane's unsaved documents, the oldest first
};

// The dictionary editor's unsaved table, apart from its bytes (those the editor would save,
// in a file of their own): the dictionary file, the encoding the bytes are in, and what the
// file held when it was read or last written, so that the next start can tell whether it
// changed meanwhile.
struct TableState {
    QString path;
    textencoding::Encoding encoding = textencoding::Encoding::Cp932;
    bool existed = false;
    int64_t size = 0;
    uint64_t hash = 0;
    bool operator==(const TableState&) const = default;
};

struct TableIndex {
    TableState state;
    std::string file; // in the slot's folder, "editor-4.txt"
};

// A slot's index file: when it was written (milliseconds since the epoch), each pane's, and
// the editor's table.
struct Index {
    int64_t savedAt = 0;
    std::array<PaneIndex, 2> panes;
    std::optional<TableIndex> table;
    bool empty() const { return panes[0].files.empty() && panes[1].files.empty() && !table; }
};

// The index as text: a first line naming the format, then "key value" lines (UTF-8; a
// document name has "%", CR and LF written as %25, %0D and %0A).
// Example:
//   sorvanti-kept 1
//   saved 1733745600123
//   pane 0
//   name /home/u/メモ.txt
//   plain 1
//   format utf-8 bom lf
//   file pane0-3.txt
// and for the editor's table, lines whose keys a reader of the panes alone passes over:
//   editor-path /home/u/辞書/練習.txt
//   editor-encoding cp932
//   editor-stamp 1 812 1234567890123456789   (existed, size, hash)
//   editor-file editor-4.txt
std::string writeIndex(const Index& index);
// nullopt when `text` is no index of this format.
std::optional<Index> readIndex(std::string_view text);

} // namespace sorvanti::kept
