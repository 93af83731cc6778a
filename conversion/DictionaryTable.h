#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace sorvanti {

// One word pair. Side 0 is the standard word, side 1 the converted word.
// Words are code page 932 bytes, at most 40 of them, followed by a zero byte.
struct DictionaryEntry {
    char word[2][41];
    int16_t length[2];
};

// The fixed table of word pairs that a conversion works from, plus the path of the
// dictionary file last chosen. Entries [0, count()) are in force, in match order.
// Copying is allowed but costly (about 170 KB); the window owns exactly one. A copy
// starts a generation of its own, so an index over the original never takes it for
// the table it indexed.
class DictionaryTable {
public:
    static constexpr int32_t kCapacity = 2000;
    static constexpr int kMaxWordBytes = 40;

    DictionaryTable();
    DictionaryTable(const DictionaryTable& other);
    DictionaryTable& operator=(const DictionaryTable& other);

    int32_t count() const { return count_; }
    bool full() const { return count_ >= kCapacity; }
    const DictionaryEntry& entry(int32_t i) const { return entries_[i]; }
    // The line of the dictionary file that entry `i` came from (1 for the first line), or 0
    // when the entry came from elsewhere.
    int32_t line(int32_t i) const { return lines_[i]; }
    std::string_view word(int32_t i, int side) const {
        return {entries_[i].word[side], static_cast<size_t>(entries_[i].length[side])};
    }

    // Stores the first 40 bytes of each word in the slot at count() and raises the count.
    // Returns false, changing nothing, when the table is full.
    // Example: appendEntry("abc", "") stores (abc, empty); "abc" then converts to nothing.
    // `line`: the file line that holds the pair, when it has one.
    bool appendEntry(std::string_view standard, std::string_view converted, int32_t line = 0);

    // Empties the table (count 0). Starts a new generation: indexes over the old
    // contents are stale.
    void clear();

    // The loader's access: the slot at count() is scratch space until commitSlot().
    // There is one scratch slot beyond the last entry, so this is valid when full.
    DictionaryEntry& scratchSlot() { return entries_[count_]; }
    // Puts the scratch slot, read from file line `line`, in force. Returns false, changing
    // nothing, when full.
    bool commitSlot(int32_t line = 0);

    // Changes whenever the table is cleared or reloaded (not on append), so that an
    // index can tell a reload from appended entries. Unique within the process.
    uint64_t generation() const { return generation_; }

    const std::string& path() const { return path_; }
    void setPath(std::string path) { path_ = std::move(path); }

    // Whether the dictionary asks that its words match only on word boundaries (its
    // declaration line, WordModeDeclaration.h). Set by the load, kept by appends, reset by
    // clear().
    bool wordMode() const { return wordMode_; }
    void setWordMode(bool on) { wordMode_ = on; }

private:
    std::array<DictionaryEntry, kCapacity + 1> entries_{}; // +1: scratch slot when full
    std::array<int32_t, kCapacity> lines_{};
    int32_t count_ = 0;
    uint64_t generation_ = 0;
    std::string path_;
    bool wordMode_ = false;
};

} // namespace sorvanti
