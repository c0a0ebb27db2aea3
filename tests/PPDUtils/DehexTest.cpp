#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "PPDUtils/TextConverter.h"

namespace {

// De-hexes into a heap block of exactly strlen + 1 bytes, so that a write past it is caught by the
// address sanitizer; returns the text written (without its terminator) and checks the count.
std::string Dehex(const std::string& text) {
    std::unique_ptr<char[]> out(new char[text.size() + 1]);
    const UInt32 length = TextConverter::DehexBufferFill(text.c_str(), out.get());
    EXPECT_GE(length, 1u);
    EXPECT_LE(length, text.size() + 1);
    EXPECT_EQ('\0', out[length - 1]);
    return std::string(out.get(), length - 1);
}

TEST(Dehex, SegmentsBecomeTheirBytes) {
    EXPECT_EQ("Hello", Dehex("<48656C6C6F>"));
    EXPECT_EQ("AAB", Dehex("A<41>B"));
    EXPECT_EQ("He", Dehex("<48 65>"));
    EXPECT_EQ("Rotate by 180\xB0", Dehex("Rotate by 180<B0>"));
    EXPECT_EQ("\xab\xcd", Dehex("<abCD>"));
    EXPECT_EQ("x\xB0y\xB1", Dehex("x<B0>y<B1>"));
    // Blanks, tabs and line ends may sit anywhere between the digits.
    EXPECT_EQ("He", Dehex("< 4\t8\r\n6 5>"));
    EXPECT_EQ("H", Dehex("<48 >"));
    EXPECT_EQ("ab", Dehex("a<>b"));
}

TEST(Dehex, TextOutsideSegmentsIsCopiedAsIs) {
    EXPECT_EQ("", Dehex(""));
    EXPECT_EQ("plain text", Dehex("plain text"));
    EXPECT_EQ("caf\xE9 > \x82\xA0", Dehex("caf\xE9 > \x82\xA0"));
}

TEST(Dehex, UnreadableSegmentLeavesTheRestAsWritten) {
    EXPECT_EQ("<4>", Dehex("<4>"));  // a lone digit
    EXPECT_EQ("<4 >", Dehex("<4 >"));
    EXPECT_EQ("<486>", Dehex("<486>"));  // an odd count
    EXPECT_EQ("<48", Dehex("<48"));      // no closing ">"
    EXPECT_EQ("abc<", Dehex("abc<"));    // "<" as the last byte
    EXPECT_EQ("<4G>", Dehex("<4G>"));    // not a digit
    EXPECT_EQ("<4\xB0>", Dehex("<4\xB0>"));
    // Segments before the bad one are decoded; from its "<" on nothing is.
    EXPECT_EQ("AAB<4>C<42>", Dehex("A<41>B<4>C<42>"));
    EXPECT_EQ("x<<41>", Dehex("x<<41>"));
}

TEST(Dehex, NullTextGivesAnEmptyResult) {
    char out[1] = {'x'};
    EXPECT_EQ(1u, TextConverter::DehexBufferFill(nullptr, out));
    EXPECT_EQ('\0', out[0]);
    EXPECT_EQ(0u, TextConverter::DehexBufferFill("<41>", nullptr));
}

}  // namespace
