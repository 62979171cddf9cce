#include <gtest/gtest.h>

#include "store/byte_source.h"
#include "store/field_reader.h"
#include "store/field_writer.h"

namespace quillet {
namespace {

std::string Written(std::string_view text) {
    StringSink sink;
    FieldWriter(sink).WriteString(text);
    return sink.Bytes();
}

struct PrefixCase {
    std::size_t length;
    std::string prefix;
};

TEST(FieldCodec, stringLengthPrefix_usesShortestFormAtEachBoundary) {
    const PrefixCase cases[] = {
        {0, std::string("\x00", 1)},
        {1, "\x01"},
        {254, "\xFE"},
        {255, std::string("\xFF\xFF\x00", 3)},
        {65533, "\xFF\xFD\xFF"},
        {65534, std::string("\xFF\xFF\xFF\xFE\xFF\x00\x00", 7)},
        {70000, std::string("\xFF\xFF\xFF\x70\x11\x01\x00", 7)},
    };
    for (const PrefixCase& c : cases) {
        SCOPED_TRACE(c.length);
        const std::string text(c.length, 'x');
        const std::string bytes = Written(text);
        EXPECT_EQ(bytes, c.prefix + text);

        MemorySource source(bytes);
        FieldReader reader(source);
        std::string back;
        ASSERT_TRUE(reader.ReadString(back));
        EXPECT_EQ(back, text);
        EXPECT_EQ(source.Remaining(), 0u);
    }
}

TEST(FieldCodec, int32_isLittleEndianAndSigned) {
    StringSink sink;
    FieldWriter(sink).WriteInt32(-2);
    EXPECT_EQ(sink.Bytes(), "\xFE\xFF\xFF\xFF");
    MemorySource source(std::string_view("\x01\x02\x00\x80", 4));
    FieldReader reader(source);
    std::int32_t value = 0;
    ASSERT_TRUE(reader.ReadInt32(value));
    EXPECT_EQ(value, static_cast<std::int32_t>(0x80000201u));
}

struct WideCase {
    const char* what;
    std::string bytes;
    std::string stored;
};

TEST(FieldCodec, wideString_isReadAsStoredText) {
    const WideCase cases[] = {
        {"ascii, short count", std::string("\xFF\xFE\xFF\x02\x41\0\x42\0", 8), "AB"},
        {"chinese", std::string("\xFF\xFE\xFF\x02\x16\x7F\x0B\x7A", 8), "\xB1\xE0\xB3\xCC"},
        {"count in the 3-byte form", std::string("\xFF\xFE\xFF\xFF\x01\x00\x43\0", 8), "C"},
        {"empty", std::string("\xFF\xFE\xFF\x00", 4), ""},
        {"outside code page 936", std::string("\xFF\xFE\xFF\x02\x40\xD8\x00\xDC", 8), "\x95\x32\x82\x36"},
    };
    for (const WideCase& c : cases) {
        SCOPED_TRACE(c.what);
        MemorySource source(c.bytes);
        FieldReader reader(source);
        std::string value = "old";
        ASSERT_TRUE(reader.ReadString(value)) << reader.Failure();
        EXPECT_EQ(value, c.stored);
        EXPECT_EQ(Written(value), Written(c.stored)) << "written back in the 8-bit form";
    }
}

TEST(FieldCodec, damagedString_failsWithoutTouchingTheValue) {
    const std::pair<const char*, std::string> cases[] = {
        {"no bytes at all", ""},
        {"length beyond the end", "\x05\x61\x62"},
        {"3-byte prefix cut", "\xFF\x01"},
        {"32-bit length of gigabytes", std::string("\xFF\xFF\xFF\xFF\xFF\xFF\x7F\x61\x62\x63", 10)},
        {"32-bit prefix cut", "\xFF\xFF\xFF\x01\x00"},
        {"wide text cut", std::string("\xFF\xFE\xFF\x02\x41\0\x42", 7)},
        {"wide count of gigabytes", std::string("\xFF\xFE\xFF\xFF\xFF\xFF\xFF\xFF\xFF\x7F\x41\0", 12)},
        {"wide marker twice", "\xFF\xFE\xFF\xFF\xFE\xFF"},
    };
    for (const auto& [what, bytes] : cases) {
        SCOPED_TRACE(what);
        MemorySource source(bytes);
        FieldReader reader(source);
        std::string value = "kept";
        EXPECT_FALSE(reader.ReadString(value));
        EXPECT_EQ(value, "kept");
        EXPECT_TRUE(reader.Failed());
        EXPECT_FALSE(reader.Failure().empty());
        std::int32_t number = 7;
        EXPECT_FALSE(reader.ReadInt32(number)) << "a failed reader stays failed";
    }
}

}  // namespace
}  // namespace quillet
