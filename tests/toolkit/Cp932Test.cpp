#include "toolkit/Cp932.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iconv.h>
#include <random>
#include <set>
#include <string>

using namespace sorvanti;

namespace {

std::string bytes(std::initializer_list<int> values) {
    std::string s;
    for (int v : values)
        s += static_cast<char>(v);
    return s;
}

// The duplicate codes of code page 932 that encode to another, preferred code.
bool isNonCanonicalDuplicate(int code) {
    bool necSelectedIbm = code >= 0xED40 && code <= 0xEEFC && (code & 0xFF) >= 0x40 &&
                          (code & 0xFF) <= 0xFC && (code & 0xFF) != 0x7F && code != 0xEEED &&
                          code != 0xEEEE;
    return necSelectedIbm || (code >= 0x8790 && code <= 0x8792) ||
           (code >= 0x8795 && code <= 0x8797) || (code >= 0x879A && code <= 0x879C) ||
           (code >= 0xFA4A && code <= 0xFA54) || (code >= 0xFA58 && code <= 0xFA5B);
}

} // namespace

TEST(Cp932, MicrosoftMappings) {
    EXPECT_EQ(cp932::decode("\x5C"), u"\\");
    EXPECT_EQ(cp932::decode("\x7E"), u"~");
    EXPECT_EQ(cp932::decode(bytes({0x81, 0x60})), u"\uFF5E");
    EXPECT_EQ(cp932::decode(bytes({0x81, 0x5C})), u"\u2015");
    EXPECT_EQ(cp932::decode(bytes({0x87, 0x40})), u"\u2460");
    EXPECT_EQ(cp932::decode(bytes({0xFB, 0xFC})), u"\u9AD9");
    EXPECT_EQ(cp932::decode(bytes({0x82, 0xA0, 0xB1})), u"あｱ");

    EXPECT_EQ(cp932::encode(u"\\"), "\x5C");
    EXPECT_EQ(cp932::encode(u"\uFF5E"), bytes({0x81, 0x60}));
    EXPECT_EQ(cp932::encode(u"①"), bytes({0x87, 0x40}));
    EXPECT_EQ(cp932::encode(u"髙"), bytes({0xFB, 0xFC}));
    EXPECT_EQ(cp932::encode(u"漢字ｶﾅ"), bytes({0x8A, 0xBF, 0x8E, 0x9A, 0xB6, 0xC5}));
}

TEST(Cp932, UserDefinedAreaIsPrivateUse) {
    EXPECT_EQ(cp932::decode(bytes({0xF0, 0x40})), u"\uE000");
    EXPECT_EQ(cp932::decode(bytes({0xF9, 0xFC})), u"\uE757");
    EXPECT_EQ(cp932::encode(u"\uE000\uE757"), bytes({0xF0, 0x40, 0xF9, 0xFC}));
}

TEST(Cp932, DuplicatesEncodeToThePreferredCode) {
    // NEC-selected IBM extension -> IBM extension, IBM Roman numeral -> NEC row 13,
    // NEC row 13 math symbol -> JIS row 2.
    EXPECT_EQ(cp932::encode(cp932::decode(bytes({0xED, 0x40}))), bytes({0xFA, 0x5C}));
    EXPECT_EQ(cp932::encode(cp932::decode(bytes({0xEE, 0xEF}))), bytes({0xFA, 0x40}));
    EXPECT_EQ(cp932::encode(cp932::decode(bytes({0xFA, 0x4A}))), bytes({0x87, 0x54}));
    EXPECT_EQ(cp932::encode(cp932::decode(bytes({0xFA, 0x54}))), bytes({0x81, 0xCA}));
    EXPECT_EQ(cp932::encode(cp932::decode(bytes({0x87, 0x9A}))), bytes({0x81, 0xE6}));
    // The preferred codes themselves stay as they are.
    EXPECT_EQ(cp932::encode(cp932::decode(bytes({0xFA, 0x40}))), bytes({0xFA, 0x40}));
    EXPECT_EQ(cp932::encode(cp932::decode(bytes({0x87, 0x54}))), bytes({0x87, 0x54}));
}

TEST(Cp932, EverySingleByteRoundTrips) {
    for (int b = 0; b < 256; ++b) {
        std::string in(1, static_cast<char>(b));
        std::u16string text = cp932::decode(in);
        ASSERT_EQ(text.size(), 1u) << std::hex << b;
        EXPECT_EQ(cp932::encode(text), in) << std::hex << b;
        bool valid = b < 0x80 || (b >= 0xA1 && b <= 0xDF);
        EXPECT_EQ(cp932::isRawByteEscape(text[0]), !valid) << std::hex << b;
    }
}

TEST(Cp932, EveryByteRoundTripsExceptTheDuplicates) {
    int duplicates = 0;
    int valid = 0;
    for (int lead = 0x80; lead < 256; ++lead) {
        for (int trail = 0; trail < 256; ++trail) {
            std::string in = bytes({lead, trail});
            std::u16string text = cp932::decode(in);
            std::string back = cp932::encode(text);
            if (text.size() == 1) {
                ++valid;
                ASSERT_FALSE(cp932::isRawByteEscape(text[0]));
            }
            if (isNonCanonicalDuplicate(lead << 8 | trail)) {
                ++duplicates;
                ASSERT_EQ(text.size(), 1u);
                EXPECT_NE(back, in);
                EXPECT_EQ(cp932::decode(back), text); // same character, other code
            } else {
                EXPECT_EQ(back, in) << std::hex << lead << ' ' << trail;
            }
        }
    }
    EXPECT_EQ(duplicates, 398);
    // JIS rows, NEC row 13, both IBM extension sets and the 1880 user-defined codes.
    EXPECT_EQ(valid, 9604);
}

TEST(Cp932, InvalidSequencesAreKept) {
    // A lone lead byte at the end, a lead byte with an invalid trail (the trail then
    // starts a character of its own), bytes that are never valid.
    std::string cases[] = {
        bytes({'a', 0x82}),        bytes({0x82, 0x20, 'b'}),  bytes({0x85, 0x40}),
        bytes({0x81, 0x81, 0x40}), bytes({0x80, 0xA0, 0xFD}), bytes({0xFE, 0xFF, 0x00}),
        bytes({0x85, 0x82, 0xA0}), bytes({0xEF, 0x40, 0xFC}),
    };
    for (const std::string& in : cases)
        EXPECT_EQ(cp932::encode(cp932::decode(in)), in);
    EXPECT_EQ(cp932::decode(bytes({'a', 0x82})), u"a\uF782");
    EXPECT_EQ(cp932::decode(bytes({0x82, 0x20, 'b'})), u"\uF782 b");
    EXPECT_EQ(cp932::decode(bytes({0x85, 0x82, 0xA0})), u"\uF785あ");
    EXPECT_EQ(cp932::decode(bytes({0x80, 0xA0, 0xFD})), u"\uF780\uF7A0\uF7FD");
}

// The decoder takes characters where cp932::Boundaries puts them, also around codes the
// code page leaves undefined: read one by one, the characters decode to the whole text.
TEST(Cp932, TheDecoderReadsTheCharactersBoundariesGives) {
    EXPECT_EQ(cp932::decode(bytes({0xEB, 0xF0, 0xFA, 0x54})), u"\uF7EB\uE0B9T");
    EXPECT_EQ(cp932::decode(bytes({0x82, 0xFA, 0x4A})), u"\uF782\u2160");
    EXPECT_EQ(cp932::decode(bytes({0xFB, 0x91, 0xFB, 0xFC, 0xFA, 0xB1})), u"羡髙﨑");
    std::mt19937 rng(8);
    for (int round = 0; round < 2000; ++round) {
        std::string in;
        for (int i = static_cast<int>(rng() % 30); i > 0; --i)
            in += static_cast<char>(rng() % 2 ? 0x81 + rng() % 0x7C : rng() % 256);
        std::u16string pieces;
        for (size_t at = 0; at < in.size();) {
            const size_t length = cp932::boundaries().length(in, at);
            pieces += cp932::decode(std::string_view(in).substr(at, length));
            at += length;
        }
        ASSERT_EQ(pieces, cp932::decode(in)) << testing::PrintToString(in);
        ASSERT_EQ(cp932::firstStrayByte(in) == std::string::npos,
                  std::none_of(pieces.begin(), pieces.end(), cp932::isRawByteEscape));
    }
}

TEST(Cp932, RandomBytesRoundTrip) {
    std::mt19937 rng(932);
    for (int round = 0; round < 2000; ++round) {
        std::string in;
        int n = static_cast<int>(rng() % 40);
        for (int i = 0; i < n; ++i) {
            // Lean towards lead bytes, so that pairs and broken pairs are frequent.
            int b = rng() % 3 == 0 ? 0x81 + static_cast<int>(rng() % 0x7C) : rng() % 256;
            in += static_cast<char>(b);
        }
        std::u16string text = cp932::decode(in);
        std::string back = cp932::encode(text);
        ASSERT_EQ(back.size(), in.size());
        ASSERT_EQ(cp932::decode(back), text);
        bool hasDuplicate = false;
        for (size_t i = 0; i + 1 < in.size(); ++i) {
            int code =
                static_cast<unsigned char>(in[i]) << 8 | static_cast<unsigned char>(in[i + 1]);
            hasDuplicate = hasDuplicate || isNonCanonicalDuplicate(code);
        }
        if (!hasDuplicate) {
            ASSERT_EQ(back, in);
        }
    }
}

TEST(Cp932, CharactersWithoutAFormAreReported) {
    std::u16string text = u"猫😀犬";
    size_t first = 0;
    EXPECT_EQ(cp932::encode(text, &first), bytes({0x94, 0x4C, 0x8C, 0xA2}));
    EXPECT_EQ(first, 1u);
    EXPECT_EQ(cp932::findUnencodable(text), 1u);
    size_t units = 0;
    EXPECT_FALSE(cp932::encodable(text, 1, &units));
    EXPECT_EQ(units, 2u);
    EXPECT_TRUE(cp932::encodable(text, 3, &units));
    EXPECT_EQ(units, 1u);

    cp932::encode(u"abc", &first);
    EXPECT_EQ(first, std::u16string_view::npos);
    EXPECT_EQ(cp932::findUnencodable(u"abc①髙"), std::u16string_view::npos);

    // One-way mappings of the system converter are not taken: these characters would
    // come back as other characters (\, ～, ¬, ...).
    for (char16_t c : {u'\u00A5', u'\u301C', u'\u00AC', u'\u2014', u'\u203E', u'\u00E9'}) {
        std::u16string one(1, c);
        EXPECT_FALSE(cp932::encodable(one, 0)) << std::hex << int(c);
    }
    // Raw-byte escapes encode as their bytes, unless the caller takes them as characters.
    EXPECT_EQ(cp932::findUnencodable(u"a\uF741"), std::u16string_view::npos);
    EXPECT_EQ(cp932::findUnencodable(u"a\uF741", false), 1u);
    // A lone surrogate has no form either.
    EXPECT_EQ(cp932::findUnencodable(u"a\xD800"), 1u);
}

TEST(Cp932, Utf8Conversions) {
    EXPECT_EQ(cp932::fromUtf8("abc"), u"abc");
    EXPECT_EQ(cp932::fromUtf8("犬と①"), u"犬と①");
    EXPECT_EQ(cp932::fromUtf8("\xF0\x9F\x98\x80"), u"\xD83D\xDE00");
    EXPECT_EQ(cp932::toUtf8(u"\xD83D\xDE00"), "\xF0\x9F\x98\x80");
    EXPECT_EQ(cp932::toUtf8(u"犬と①é"), "犬と①é");
    EXPECT_EQ(cp932::toUtf8(u"a\xD800z"), "a\xEF\xBF\xBDz");
    EXPECT_EQ(cp932::toUtf8(u"\xDE00"), "\xEF\xBF\xBD");

    bool valid = false;
    cp932::fromUtf8("\xE2\x82\xAC\xC2\xA0", &valid);
    EXPECT_TRUE(valid);

    struct Case {
        const char* in;
        std::u16string out;
    } invalid[] = {
        {"a\x80z", u"a\uFFFDz"},                           // stray continuation byte
        {"\xE3\x81z", u"\uFFFDz"},                         // cut three-byte form: one replacement
        {"\xE3\x81", u"\uFFFD"},                           // cut at the end
        {"\xC0\x80", u"\uFFFD\uFFFD"},                     // overlong NUL
        {"\xE0\x80\x80", u"\uFFFD\uFFFD\uFFFD"},           // overlong
        {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},           // encoded surrogate
        {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"}, // past U+10FFFF
        {"\xF5", u"\uFFFD"},
        {"\xF0\x9F\x98", u"\uFFFD"},
    };
    for (const Case& c : invalid) {
        valid = true;
        EXPECT_EQ(cp932::fromUtf8(c.in, &valid), c.out) << c.in;
        EXPECT_FALSE(valid) << c.in;
    }

    std::u16string appended = u"x";
    EXPECT_TRUE(cp932::fromUtf8Append("犬", appended));
    EXPECT_EQ(appended, u"x犬");
    std::string utf8 = "y";
    cp932::toUtf8Append(u"猫", utf8);
    EXPECT_EQ(utf8, "y猫");
}

TEST(Cp932, EncoderAgreesWithTheSystemConverter) {
    // For every BMP character: where glibc's encoder gives a code that decodes back to
    // the character, that code; otherwise no form at all.
    iconv_t cd = iconv_open("CP932", "UTF-16LE");
    ASSERT_NE(cd, reinterpret_cast<iconv_t>(-1));
    int encodableCount = 0;
    for (int c = 0; c < 0x10000; ++c) {
        if ((c >= 0xD800 && c <= 0xDFFF) || cp932::isRawByteEscape(static_cast<char16_t>(c)))
            continue;
        char16_t unit = static_cast<char16_t>(c);
        char* in = reinterpret_cast<char*>(&unit);
        size_t inLeft = 2;
        char buf[8];
        char* out = buf;
        size_t outLeft = sizeof buf;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        bool ok = iconv(cd, &in, &inLeft, &out, &outLeft) != static_cast<size_t>(-1);
        std::string system(buf, sizeof buf - outLeft);
        std::u16string one(1, unit);
        if (ok && cp932::decode(system) == one) {
            ++encodableCount;
            ASSERT_EQ(cp932::encode(one), system) << std::hex << c;
        } else {
            size_t first = 0;
            ASSERT_EQ(cp932::encode(one, &first), "") << std::hex << c;
            ASSERT_EQ(first, 0u);
        }
    }
    iconv_close(cd);
    EXPECT_EQ(encodableCount, 9206 + 128 + 63); // two-byte, ASCII and half-width katakana
}

// A raw lead byte followed by a character whose usual code starts with a byte the reader
// would take as its trail: written so, the two would come back as another character.
TEST(Cp932, RawLeadByteNeverFusesWithTheNextCharacter) {
    struct Case {
        std::string file;
        std::u16string text;
    } cases[] = {
        {bytes({0x81, 0xFA, 0x4A}), u"\uF781Ⅰ"},                  // not 81 87 54 ("∞T")
        {bytes({0xEE, 0xEE, 0x46}), u"\uF7EE\u73D6"},             // not EE FB 62 ("＇b")
        {bytes({'x', 0x87, 0xFA, 0x54, 'y'}), u"x\uF787\uFFE2y"}, // ￢ has three codes
    };
    for (const Case& c : cases) {
        const std::u16string text = cp932::decode(c.file);
        EXPECT_EQ(text, c.text);
        size_t first = 0;
        const std::string saved = cp932::encode(text, &first);
        EXPECT_EQ(saved, c.file);
        EXPECT_EQ(first, std::u16string_view::npos);
        EXPECT_EQ(cp932::findUnencodable(text), std::u16string_view::npos);
        EXPECT_EQ(cp932::decode(saved), text);
    }

    // Every raw lead byte before every character it does not pair with comes back as the
    // same text, and as the same bytes unless the character's code is a duplicate.
    int fused = 0;
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        for (int code = 0x8140; code <= 0xFCFC; ++code) {
            const std::string file = bytes({lead, code >> 8, code & 0xFF});
            const std::u16string text = cp932::decode(file);
            if (text.size() != 2 || !cp932::isRawByteEscape(text[0]))
                continue; // the lead byte pairs with the next byte, or the code is invalid
            const std::string saved = cp932::encode(text);
            ASSERT_EQ(cp932::decode(saved), text) << std::hex << lead << ' ' << code;
            if (!isNonCanonicalDuplicate(code)) {
                ASSERT_EQ(saved, file) << std::hex << lead << ' ' << code;
            }
            std::string usual = bytes({lead});
            usual += cp932::encode(text.substr(1));
            fused += cp932::decode(usual) != text;
        }
    }
    EXPECT_GT(fused, 400) << "cases where the usual code would have fused";

    // Text that no file reads as: a raw lead byte before a character with one code only,
    // which would fuse. The raw byte is what cannot be written there.
    const std::u16string cannot[] = {u"\uF781A", u"ab\uF781\uF740"};
    for (const std::u16string& text : cannot) {
        size_t first = 0;
        cp932::encode(text, &first);
        EXPECT_EQ(first, text.size() - 2);
        EXPECT_EQ(cp932::findUnencodable(text), text.size() - 2);
    }
}
