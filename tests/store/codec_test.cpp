#include "store/codec.h"

#include <gtest/gtest.h>
#include <iconv.h>

namespace quillet {
namespace {

std::string Utf8Of(char32_t c) {
    std::string out;
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
    return out;
}

// Every double-byte code decodes as the converter decodes it, alone and between other text.
TEST(Codec, everyDoubleByteCode_decodesAsTheConverterDoes) {
    iconv_t converter = iconv_open("UTF-8", "CP936");
    ASSERT_NE(converter, reinterpret_cast<iconv_t>(-1));
    for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
        for (unsigned trail = 0x40; trail <= 0xFE; ++trail) {
            char in[2] = {static_cast<char>(lead), static_cast<char>(trail)};
            char out[8];
            char* inPtr = in;
            char* outPtr = out;
            size_t inLeft = 2;
            size_t outLeft = sizeof out;
            if (iconv(converter, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1)) {
                continue;
            }
            const std::string expected(out, sizeof out - outLeft);
            ASSERT_EQ(ToUtf8(std::string(in, 2)), expected) << lead << " " << trail;
            ASSERT_EQ(ToUtf8("a" + std::string(in, 2) + "\x80"), "a" + expected + "€") << lead << " " << trail;
        }
    }
    iconv_close(converter);
}

TEST(Codec, codePageText_keepsItsCodePageBytes) {
    const std::pair<std::string, std::string> cases[] = {
        {"编程", "\xB1\xE0\xB3\xCC"},
        {"Qulan.001", "Qulan.001"},
        {"€", "\x80"},
        {"资料卡片数：", "\xD7\xCA\xC1\xCF\xBF\xA8\xC6\xAC\xCA\xFD\xA3\xBA"},
    };
    for (const auto& [utf8, stored] : cases) {
        EXPECT_EQ(ToStoredText(utf8), stored) << utf8;
        EXPECT_EQ(ToUtf8(stored), utf8) << utf8;
    }
}

TEST(Codec, textOutsideCodePage_isStoredAsGb18030AndComesBack) {
    const std::pair<std::string, std::string> cases[] = {
        {"𠀀", "\x95\x32\x82\x36"},         {"😀", "\x94\x39\xFC\x36"}, {"\U000E0067", "\xD3\x36\xA0\x31"},
        {"\U0010FFFF", "\xE3\x32\x9A\x35"}, {"ǹ", "\xA8\xBF"},         {"a😀b编", "a\x94\x39\xFC\x36\x62\xB1\xE0"},
    };
    for (const auto& [utf8, stored] : cases) {
        EXPECT_EQ(ToStoredText(utf8), stored) << utf8;
        EXPECT_EQ(ToUtf8(stored), utf8) << utf8;
    }
}

TEST(Codec, everyCharacter_survivesTheRoundTrip) {
    std::string all;
    for (char32_t c = 1; c < 0x110000; c += (c < 0x10000 ? 1 : 97)) {
        // Private-use characters whose GB18030 codes went to standard characters in 2005 have no code left.
        const bool privateUse = c >= 0xE000 && c <= 0xF8FF;
        if ((c < 0xD800 || c > 0xDFFF) && !privateUse) {
            all += Utf8Of(c);
        }
    }
    EXPECT_TRUE(ToUtf8(ToStoredText(all)) == all);
}

TEST(Codec, malformedInput_becomesReplacementCharacter) {
    EXPECT_EQ(ToUtf8("a\xFF\x62"), "a\xEF\xBF\xBD\x62");
    EXPECT_EQ(ToUtf8("\xB1"), "\xEF\xBF\xBD") << "a lead byte at the end";
    EXPECT_EQ(ToUtf8(ToStoredText("x\xC3(y")), "x\xEF\xBF\xBD(y");
    EXPECT_EQ(Utf16LeToStoredText(std::string("A\0\x00\xD8\x42\0", 6)), "A\x84\x31\xA4\x37\x42")
        << "an unpaired surrogate";
}

}  // namespace
}  // namespace quillet
