#pragma once

// The benchmark corpus: a 2000-pair dictionary and a Japanese text of more than 10 MB in
// which about a third of the tokens are dictionary words, both as code page 932 bytes.
// It depends only on the fixed seed. Written to files by make_corpus; the engine's test
// against the character-matching reference runs over it too.

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace sorvanti::benchcorpus {

constexpr int kPairs = 2000;
constexpr size_t kTextBytes = 12u << 20;

// std::mt19937 is the same everywhere; the distributions of the library are not, so
// numbers are drawn by plain modulo.
class Draw {
public:
    explicit Draw(uint32_t seed) : rng_(seed) {}
    uint32_t below(uint32_t n) { return rng_() % n; }
    bool chance(uint32_t percent) { return below(100) < percent; }

private:
    std::mt19937 rng_;
};

inline void put(std::string& s, unsigned lead, unsigned trail) {
    s += static_cast<char>(lead);
    s += static_cast<char>(trail);
}

inline void hiragana(std::string& s, Draw& d) {
    put(s, 0x82, 0x9F + d.below(0xF1 - 0x9F + 1));
}

inline void katakana(std::string& s, Draw& d) {
    unsigned trail = 0x40 + d.below(0x96 - 0x40);
    if (trail >= 0x7F)
        ++trail; // 0x7F is never a second byte
    put(s, 0x83, trail);
}

// A kanji among the IBM extensions (lead 0xFA-0xFC: 髙 FB FC, 﨑 FA B1, 羡 FB 91), whose
// second byte is often a lead byte itself; one in four written with its NEC-selected
// twin code (lead 0xED-0xEE), which matches the IBM code.
inline void extensionKanji(std::string& s, Draw& d) {
    const bool necSelected = d.below(4) == 0;
    const unsigned lead = necSelected ? 0xED + d.below(2) : 0xFA + d.below(3);
    const unsigned first = lead == 0xFA ? 0x5C : 0x40;
    const unsigned last = lead == 0xFC ? 0x4B : lead == 0xEE ? 0xEC : 0xFC;
    const unsigned count = last - first + 1 - (first < 0x7F && last > 0x7F ? 1 : 0);
    unsigned trail = first + d.below(count);
    if (trail >= 0x7F)
        ++trail; // 0x7F is never a second byte
    put(s, lead, trail);
}

// Level 1 kanji: lead 0x88 (from 0x9F) to 0x98 (up to 0x72); one in twenty from the
// IBM extensions.
inline void kanji(std::string& s, Draw& d) {
    if (d.below(20) == 0)
        return extensionKanji(s, d);
    for (;;) {
        const unsigned lead = 0x88 + d.below(0x98 - 0x88 + 1);
        unsigned trail = 0x40 + d.below(0xFC - 0x40);
        if (trail >= 0x7F)
            ++trail;
        if ((lead == 0x88 && trail < 0x9F) || (lead == 0x98 && trail > 0x72))
            continue;
        put(s, lead, trail);
        return;
    }
}

inline void japaneseChar(std::string& s, Draw& d) {
    const uint32_t r = d.below(10);
    if (r < 5)
        kanji(s, d);
    else if (r < 8)
        hiragana(s, d);
    else
        katakana(s, d);
}

inline std::string word(Draw& d, int chars) {
    std::string w;
    for (int i = 0; i < chars; ++i)
        japaneseChar(w, d);
    return w;
}

// 2 to 16 characters, mostly short.
inline int wordLength(Draw& d) {
    int n = 2;
    while (n < 16 && d.chance(45))
        ++n;
    return n;
}

// A tenth of the words extend another word of the same side (that word is their prefix).
inline std::vector<std::string> makeSide(Draw& d) {
    std::vector<std::string> words;
    for (int i = 0; i < kPairs; ++i) {
        if (i > 0 && i % 10 == 0) {
            const std::string& base = words[d.below(static_cast<uint32_t>(words.size()))];
            const int baseChars = static_cast<int>(base.size() / 2);
            const int extra =
                1 + static_cast<int>(
                        d.below(static_cast<uint32_t>(std::max(1, std::min(4, 16 - baseChars)))));
            words.push_back(base + word(d, std::min(extra, 16 - baseChars)));
            if (words.back().size() == base.size())
                words.back() = base + word(d, 1);
        } else {
            words.push_back(word(d, wordLength(d)));
        }
    }
    // Shuffle so that extensions come before their prefix as often as after it.
    for (size_t i = words.size() - 1; i > 0; --i)
        std::swap(words[i], words[d.below(static_cast<uint32_t>(i + 1))]);
    return words;
}

// A token that is not taken from the dictionary.
inline void otherToken(std::string& s, Draw& d) {
    static const char* const kPunctuation[] = {"\x81\x41", "\x81\x42", "\x81\x75", "\x81\x76",
                                               "\x81\x45", "\x81\x5B", "\x81\x49", "\x81\x48"};
    static const char* const kAscii[] = {"2024", "OK", "PC", "Web", "No.", "3", "CD", "A4"};
    const uint32_t r = d.below(20);
    if (r < 8) { // particles and endings
        const int n = 1 + static_cast<int>(d.below(3));
        for (int i = 0; i < n; ++i)
            hiragana(s, d);
    } else if (r < 13) {
        const int n = 1 + static_cast<int>(d.below(3));
        for (int i = 0; i < n; ++i)
            kanji(s, d);
    } else if (r < 15) {
        const int n = 2 + static_cast<int>(d.below(4));
        for (int i = 0; i < n; ++i)
            katakana(s, d);
    } else if (r < 18) {
        s += kPunctuation[d.below(8)];
    } else {
        s += ' ';
        s += kAscii[d.below(8)];
        s += ' ';
    }
}

struct Corpus {
    std::string dictionary; // "standard\t\tconverted\r\n" lines
    std::string text;       // lines ending in LF
};

inline Corpus make() {
    Corpus corpus;
    std::string& dict = corpus.dictionary;
    std::string& text = corpus.text;
    Draw d(0x50524E54);
    const std::vector<std::string> standard = makeSide(d);
    const std::vector<std::string> converted = makeSide(d);

    for (int i = 0; i < kPairs; ++i)
        dict += standard[i] + "\t\t" + converted[i] + "\r\n";

    text.reserve(kTextBytes + 4096);
    while (text.size() < kTextBytes) {
        const int tokens = 12 + static_cast<int>(d.below(30));
        for (int t = 0; t < tokens; ++t) {
            if (d.below(3) == 0)
                text += standard[d.below(kPairs)];
            else
                otherToken(text, d);
        }
        text += "\x81\x42\n"; // 。
    }
    return corpus;
}

} // namespace sorvanti::benchcorpus
