#include "toolkit/TextEncoding.h"

#include <gtest/gtest.h>

#include <string>

namespace sorvanti::textencoding {
namespace {

struct DetectCase {
    const char* name;
    std::string bytes;
    Encoding encoding;
    bool bom;
};

TEST(TextEncoding, DetectsByMarkOrByValidUtf8BeyondKatakana) {
    const DetectCase cases[] = {
        {"empty", "", Encoding::Cp932, false},
        {"pure ASCII, CR LF", "abc\r\ndef\r\n", Encoding::Cp932, false},
        {"mark only", "\xEF\xBB\xBF", Encoding::Utf8, true},
        {"mark and ASCII",
         "\xEF\xBB\xBF"
         "abc\n",
         Encoding::Utf8, true},
        {"mark before invalid bytes", "\xEF\xBB\xBF\x82\xA0", Encoding::Utf8, true},
        {"UTF-8, LF", "\xE7\x8A\xAC\t\t\xE7\x8C\xAB\n", Encoding::Utf8, false},
        {"UTF-8, CR LF", "a\r\n\xE3\x81\x82\r\n", Encoding::Utf8, false},
        {"UTF-8 with one invalid byte", "\xE7\x8A\xAC\n\xFF\n", Encoding::Cp932, false},
        {"UTF-8 cut inside its last character", "\xE7\x8A\xAC\xE7\x8C", Encoding::Cp932, false},
        {"CP932 kana and kanji", "\x82\xA0\x8C\xA2\r\n", Encoding::Cp932, false},
        // Half-width katakana that pair up as two-byte UTF-8 characters stay code page 932
        // (ﾈｺ is U+023A, ﾃｩ is "é"); a two-byte character with a byte no katakana has does not.
        {"registered katakana pair", "\xC8\xBA\t\tneko\r\n", Encoding::Cp932, false},
        {"UTF-8 e acute alone", "caf\xC3\xA9\n", Encoding::Cp932, false},
        {"UTF-8 a grave", "\xC3\xA0 la\n", Encoding::Utf8, false},
        {"UTF-8 sharp s", "Stra\xC3\x9F\n", Encoding::Utf8, false},
        {"katakana pair with the mark", "\xEF\xBB\xBF\xC3\xA9", Encoding::Utf8, true},
        {"katakana then kanji, valid as UTF-8", "\xC8\x8A\x41", Encoding::Utf8, false},
        {"overlong form", "\xC0\xAF", Encoding::Cp932, false},
        {"encoded surrogate", "\xED\xA0\x80", Encoding::Cp932, false},
        {"past U+10FFFF", "\xF4\x90\x80\x80", Encoding::Cp932, false},
        {"four-byte character", "\xF0\x9F\x98\x80", Encoding::Utf8, false},
    };
    for (const DetectCase& c : cases) {
        SCOPED_TRACE(c.name);
        const Detected d = detect(c.bytes);
        EXPECT_EQ(d.encoding, c.encoding);
        EXPECT_EQ(d.bom, c.bom);
        // Fed a byte at a time, the detector comes to the same answer.
        Detector pieces;
        for (const char b : c.bytes)
            pieces.feed(std::string(1, b));
        EXPECT_EQ(pieces.result().encoding, c.encoding);
        EXPECT_EQ(pieces.result().bom, c.bom);
    }
}

// No pair of half-width katakana is taken for UTF-8, alone or after ASCII.
TEST(TextEncoding, HalfWidthKatakanaPairsAlwaysReadAsCodePage932) {
    for (int a = 0xA1; a <= 0xDF; ++a)
        for (int b = 0xA1; b <= 0xDF; ++b)
            ASSERT_EQ(detect(std::string{'x', char(a), char(b)}).encoding, Encoding::Cp932) << a;
}

} // namespace
} // namespace sorvanti::textencoding
