// The indexed engine against the character-matching reference on random dictionaries and
// texts and on the benchmark corpus, whole and in parts, in plain and in word mode.

#include "conversion/DictionaryLoader.h"
#include "conversion/DictionaryTable.h"
#include "conversion/Engine.h"
#include "toolkit/Cp932.h"

#include "bench/Corpus.h"
#include "support/PlainScan.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace sorvanti {
namespace {

// Pieces that random words and texts are made of. A small alphabet makes words that
// are prefixes of each other, duplicates, and matches at odd places common.
const std::vector<std::string> kUnits = {
    "a", "b", "\\", " ",                // ASCII, the backslash byte among them
    "\xB1", "\xB2", "\xDF",             // half-width katakana
    "\x82\xa0", "\x82\xa2", "\x83\x5c", // double-byte, one with a 0x5C second byte
    "\x81\x40", "\x88\x9f", "\xE0\x40", // full-width space, kanji, 0xE0 lead
    "\xA0", "\xFD", "\xFF",             // single bytes beyond the lead ranges
    "\x82", "\xF0", "\xFC",             // lone lead bytes
    "\x5c\x82",                         // straddles a character boundary in text
    // IBM extension kanji (髙, 﨑, 羡: second bytes that are lead bytes or ASCII), a
    // user-defined code, and codes that the code page leaves undefined.
    "\xFB\xFC", "\xFA\xB1", "\xFB\x91", "\xFB\x5C", "\xF0\x40", "\xEB\xF0", "\x85\x40", "\x82\x20",
    // Duplicate codes and their twins: NEC row 13 and row 2, NEC-selected and IBM
    // extensions, an IBM code with a NEC twin, and one character with three codes.
    "\x87\x90", "\x81\xE0", "\xEE\xAC", "\xFB\xC8", "\xED\x40", "\xFA\x5C", "\xFA\x4A", "\x87\x54",
    "\xFA\x54", "\xEE\xF9", "\x81\xCA", "\x87", "\xFA", "\xED", // their lead bytes alone
};

class RandomCorpus {
public:
    explicit RandomCorpus(uint32_t seed) : rng_(seed) {}

    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
    bool chance(int percent) { return pick(100) < percent; }

    std::string units(int count) {
        std::string s;
        for (int i = 0; i < count; ++i)
            s += kUnits[pick(static_cast<int>(kUnits.size()))];
        return s;
    }

    // Share of words that start with one of a few four-byte stems, so that many words
    // begin alike (the index treats crowded beginnings in a way of their own).
    int stemPercent = 0;

    std::string word(const std::vector<std::string>& earlier) {
        static const std::string kStems[] = {"\x82\xa0\x82\xa2", "ab\\ ", "\xB1\x83\x5c\xF0"};
        if (chance(stemPercent))
            return kStems[pick(3)] + units(pick(4));
        if (!earlier.empty() && chance(40)) {
            const std::string& base = earlier[pick(static_cast<int>(earlier.size()))];
            switch (pick(3)) {
            case 0:
                return base; // duplicate
            case 1:
                return base + units(1 + pick(2)); // extends an earlier word
            default:
                return base.substr(0, 1 + pick(static_cast<int>(base.size()))); // a prefix
            }
        }
        if (chance(5))
            return units(25 + pick(10)); // beyond 40 bytes: stored cut
        return units(1 + pick(4));
    }

    void fillTable(DictionaryTable& table, int entries, std::vector<std::string>& words) {
        for (int i = 0; i < entries && !table.full(); ++i)
            appendRandom(table, words);
    }

    void appendRandom(DictionaryTable& table, std::vector<std::string>& words) {
        std::string a = word(words);
        std::string b = word(words);
        // Registration may store an empty word on either side.
        if (chance(5))
            a.clear();
        else if (chance(5))
            b.clear();
        if (!table.appendEntry(a, b))
            return;
        // Texts use both the words as given and as stored, so cut words meet their
        // full form as well as their first 40 bytes.
        for (const std::string& w : {a, b}) {
            if (w.empty())
                continue;
            words.push_back(w);
            if (w.size() > DictionaryTable::kMaxWordBytes)
                words.push_back(w.substr(0, DictionaryTable::kMaxWordBytes));
        }
    }

    std::string line(const std::vector<std::string>& words) {
        std::string s;
        const int pieces = pick(30);
        for (int i = 0; i < pieces; ++i) {
            if (!words.empty() && chance(35))
                s += words[pick(static_cast<int>(words.size()))];
            else
                s += units(1);
        }
        if (chance(15))
            s += "\x82"; // a lone lead byte at the end of the line
        else if (chance(5))
            s += "\xEF";
        return s;
    }

private:
    std::mt19937 rng_;
};

// `line` handed to convertPart as sorvanti-convert hands over a long line: `block` bytes
// at a time, converting all but the last kMaxWordBytes + 1 bytes it holds.
std::string convertInParts(Engine& engine, std::string_view line, int side, size_t block) {
    constexpr size_t kKeep = DictionaryTable::kMaxWordBytes + 1;
    std::string out;
    std::string held;
    for (size_t at = 0; at < line.size(); at += block) {
        held.append(line.substr(at, block));
        if (held.size() >= 2 * kKeep)
            held.erase(0, engine.convertPart(held, held.size() - kKeep, side, out));
    }
    engine.convertLine(held, side, out);
    return out;
}

// The output put together again from the line and the replacements the engine reports:
// what lies between them is copied, each one is its entry's other word at its own place.
std::string rebuilt(const DictionaryTable& table, std::string_view line, int side,
                    const std::vector<EngineMatch>& matches) {
    std::string out;
    size_t at = 0;
    for (const EngineMatch& m : matches) {
        out.append(line.substr(at, m.from - at));
        EXPECT_EQ(m.outFrom, out.size());
        EXPECT_EQ(line.substr(m.from, m.length).size(), table.word(m.entry, side).size());
        out.append(table.word(m.entry, 1 - side));
        EXPECT_EQ(m.outLength, table.word(m.entry, 1 - side).size());
        at = m.from + m.length;
    }
    return out.append(line.substr(at));
}

void expectSameAsPlainScan(Engine& engine, const DictionaryTable& table, RandomCorpus& corpus,
                           const std::vector<std::string>& words, int lines) {
    for (int i = 0; i < lines; ++i) {
        const std::string line = corpus.line(words);
        for (int side = 0; side < 2; ++side) {
            const std::string expected = test::plainConvertLine(table, line, side);
            const std::string actual = engine.convertLine(line, side);
            ASSERT_EQ(actual, expected)
                << "side " << side << " line " << testing::PrintToString(line) << " entries "
                << table.count();
            std::string reported;
            std::vector<EngineMatch> matches;
            engine.convertLine(line, side, reported, &matches);
            ASSERT_EQ(reported, expected);
            ASSERT_EQ(rebuilt(table, line, side, matches), expected);
        }
    }
}

TEST(EngineDifferential, MatchesThePlainScanOnRandomDictionaries) {
    RandomCorpus corpus(20240611);
    for (int round = 0; round < 300; ++round) {
        SCOPED_TRACE(round);
        DictionaryTable table;
        std::vector<std::string> words;
        corpus.fillTable(table, corpus.pick(60), words);
        Engine engine(table);
        expectSameAsPlainScan(engine, table, corpus, words, 20);

        // Entries registered after the first conversion join the index.
        for (int step = 0; step < 3; ++step) {
            const int more = 1 + corpus.pick(8);
            for (int j = 0; j < more; ++j)
                corpus.appendRandom(table, words);
            expectSameAsPlainScan(engine, table, corpus, words, 10);
        }

        // A fresh engine over the same table builds the index in one go; it must agree.
        Engine fresh(table);
        expectSameAsPlainScan(fresh, table, corpus, words, 10);
    }
}

// Word mode's boundaries: character starts marked at random, the line's ends always; one line
// in ten fails to be analysed. Counts how often the engine asks.
struct RandomMarks final : BoundarySource {
    void draw(std::string_view line, RandomCorpus& corpus) {
        bits.assign(line.size() + 1, 0);
        for (size_t at = 0; at < line.size(); at += cp932::boundaries().length(line, at))
            bits[at] = corpus.chance(50);
        bits.front() = bits.back() = 1;
        fails = corpus.chance(10);
    }
    const uint8_t* marks(std::string_view) override {
        return ++calls, fails ? nullptr : bits.data();
    }
    std::vector<uint8_t> bits;
    bool fails = false;
    int calls = 0;
};

// The first word in table order that begins and ends on marks (also where the plain index
// drops a word that an earlier one begins); asked once a line, only when a word occurs in it.
TEST(EngineDifferential, WordModeMatchesTheReferenceOnTheSameBoundaries) {
    RandomCorpus corpus(1818);
    RandomMarks source;
    for (int round = 0; round < 200; ++round) {
        corpus.stemPercent = round % 2 * 60;
        DictionaryTable table;
        std::vector<std::string> words;
        corpus.fillTable(table, corpus.pick(120), words);
        Engine engine(table);
        for (int i = 0; i < 30; ++i) {
            if (i == 15)
                corpus.appendRandom(table, words); // appended entries join the index
            const std::string line = corpus.line(words);
            source.draw(line, corpus);
            for (int side = 0; side < 2; ++side) {
                std::string expected, actual, plain;
                test::CharacterReference(table, side)
                    .convertLine(line, expected, source.fails ? nullptr : source.bits.data());
                std::vector<EngineMatch> matches, plainMatches;
                source.calls = 0;
                engine.convertLine(line, side, actual, &matches, &source);
                ASSERT_EQ(actual, expected) << round << testing::PrintToString(line);
                ASSERT_EQ(rebuilt(table, line, side, matches), expected);
                engine.convertLine(line, side, plain, &plainMatches);
                ASSERT_EQ(source.calls, plainMatches.empty() ? 0 : 1);
            }
        }
    }
}

TEST(EngineDifferential, GrowsEntryByEntryFromEmpty) {
    // Every entry arrives as an append, so the index is built only by insertion.
    RandomCorpus corpus(77);
    DictionaryTable table;
    std::vector<std::string> words;
    Engine engine(table);
    for (int i = 0; i < 600; ++i) {
        corpus.appendRandom(table, words);
        if (i % 20 == 0)
            expectSameAsPlainScan(engine, table, corpus, words, 5);
    }
    expectSameAsPlainScan(engine, table, corpus, words, 200);
}

TEST(EngineDifferential, ManyWordsWithTheSameBeginning) {
    RandomCorpus corpus(9001);
    corpus.stemPercent = 60;
    for (int round = 0; round < 40; ++round) {
        SCOPED_TRACE(round);
        DictionaryTable table;
        std::vector<std::string> words;
        corpus.fillTable(table, 50 + corpus.pick(250), words);
        Engine engine(table);
        expectSameAsPlainScan(engine, table, corpus, words, 30);
        for (int j = 0; j < 20; ++j)
            corpus.appendRandom(table, words);
        expectSameAsPlainScan(engine, table, corpus, words, 30);
    }
}

TEST(EngineDifferential, FullTableWithRandomReloads) {
    RandomCorpus corpus(4242);
    DictionaryTable table;
    Engine engine(table);
    for (int round = 0; round < 3; ++round) {
        table.clear();
        std::vector<std::string> words;
        corpus.fillTable(table, DictionaryTable::kCapacity, words);
        ASSERT_TRUE(table.full());
        expectSameAsPlainScan(engine, table, corpus, words, 100);
    }
}

// A line converted in parts gives what the whole line gives, for every block size: the
// parts meet duplicate codes, 0xF0-0xFC characters and words ending on lead bytes.
TEST(EngineDifferential, PartsGiveWhatTheWholeLineGives) {
    RandomCorpus corpus(1402);
    for (int round = 0; round < 40; ++round) {
        SCOPED_TRACE(round);
        DictionaryTable table;
        std::vector<std::string> words;
        corpus.fillTable(table, 20 + corpus.pick(40), words);
        Engine engine(table);
        std::string line;
        while (line.size() < 600)
            line += corpus.line(words);
        for (int side = 0; side < 2; ++side) {
            const std::string whole = engine.convertLine(line, side);
            for (size_t block = 1; block <= 64; ++block)
                ASSERT_EQ(convertInParts(engine, line, side, block), whole)
                    << "side " << side << " block " << block << testing::PrintToString(line);
        }
    }
}

// The benchmark corpus, whose text holds IBM extension kanji (lead 0xFA-0xFC) and their
// NEC-selected twins in front of dictionary words, converts as the reference says.
TEST(EngineDifferential, BenchCorpusMatchesTheCharacterReference) {
    const benchcorpus::Corpus bench = benchcorpus::make();
    test::TempFolder folder;
    DictionaryTable table;
    ASSERT_TRUE(loadDictionaryFile(table, folder.write("bench.txt", bench.dictionary)).opened);
    ASSERT_EQ(table.count(), DictionaryTable::kCapacity);
    Engine engine(table);
    std::string text = bench.text;
    for (int side = 0; side < 2; ++side) {
        const test::CharacterReference reference(table, side);
        std::string converted;
        size_t differing = 0;
        for (size_t at = 0; at < text.size();) {
            const size_t lf = text.find('\n', at);
            const std::string_view line = std::string_view(text).substr(at, lf - at);
            const std::string mine = engine.convertLine(line, side);
            if (mine != reference.convertLine(line) && differing++ == 0)
                ADD_FAILURE() << "side " << side << ": " << testing::PrintToString(line);
            converted += mine + '\n';
            at = lf + 1;
        }
        EXPECT_EQ(differing, 0u) << "side " << side;
        text = converted; // side 1 converts the conversion back
    }
}

} // namespace
} // namespace sorvanti
