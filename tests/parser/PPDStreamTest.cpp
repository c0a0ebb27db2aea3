#include "parser/PPDStream.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Every line GetLine delivers until it returns false, and the characters of that last call.
struct Lines {
    std::vector<std::string> whole;
    std::string last;
    bool cut = false;
};

Lines ReadAll(PPDStream& stream) {
    Lines out;
    char buffer[PPDStream::kLineBufferSize];
    while (stream.GetLine(buffer)) out.whole.push_back(buffer);
    out.last = buffer;
    out.cut = stream.LineWasCut();
    return out;
}

Lines ReadAll(const std::string& text) {
    PPDStream stream(text.data(), static_cast<long>(text.size()));
    return ReadAll(stream);
}

TEST(PPDStream, StatusFollowsTheData) {
    PPDStream empty;
    EXPECT_TRUE(empty.Good());
    char c = 'x';
    EXPECT_FALSE(empty.GetChar(c));
    EXPECT_EQ(static_cast<unsigned char>(c), 0xFF);
    EXPECT_TRUE(empty.EndOfFile());

    const char data[] = "ab";
    PPDStream stream(data, 2);
    stream.Setup(nullptr, 5);  // refused: the old position stays
    EXPECT_TRUE(stream.Bad());
    EXPECT_EQ(stream.PeekChar(), 'a');
    stream.Setup(data, 0);
    EXPECT_TRUE(stream.Bad());
    EXPECT_TRUE(stream.GetChar(c));
    EXPECT_EQ(c, 'a');
    EXPECT_TRUE(stream.Good());

    PPDStream copy(stream);  // shares memory and position
    EXPECT_TRUE(copy.GetChar(c));
    EXPECT_EQ(c, 'b');
    EXPECT_EQ(stream.PeekChar(), 'b');
    EXPECT_EQ(copy.PeekChar(), -1);
}

TEST(PPDStream, SkipWhiteSpaceStopsAtOtherBytes) {
    const char data[] = " \t \nx";
    PPDStream stream(data, 5);
    stream.SkipWhiteSpace();
    EXPECT_EQ(stream.PeekChar(), '\n');
}

TEST(PPDStream, CrLfAndCrLfLineEndsYieldTheSameLines) {
    std::vector<std::string> expected = {"*PPD-Adobe: \"4.3\"", "", "*ModelName: \"M\""};
    for (const char* end : {"\n", "\r", "\r\n"}) {
        std::string text;
        for (const std::string& line : expected) text += line + end;
        Lines lines = ReadAll(text);
        EXPECT_EQ(lines.whole, expected) << "line end " << static_cast<int>(end[0]);
        EXPECT_FALSE(lines.cut);
    }
}

TEST(PPDStream, LastLineWithoutLineEndIsNotDelivered) {
    Lines lines = ReadAll("first\nsecond");
    EXPECT_EQ(lines.whole, std::vector<std::string>{"first"});
    EXPECT_EQ(lines.last, "second");
    EXPECT_FALSE(lines.cut);
    EXPECT_TRUE(ReadAll("").whole.empty());
}

TEST(PPDStream, LinesLongerThan254CharactersAreCutAndCanBeSkipped) {
    std::string fits(254, 'a');
    std::string tooLong(255, 'b');
    std::string text = fits + "\n" + tooLong + "\r\nnext\n";
    PPDStream stream(text.data(), static_cast<long>(text.size()));
    char buffer[PPDStream::kLineBufferSize];
    ASSERT_TRUE(stream.GetLine(buffer));
    EXPECT_EQ(std::string(buffer), fits);

    EXPECT_FALSE(stream.GetLine(buffer));
    EXPECT_EQ(std::string(buffer), tooLong);  // the buffer holds its first 255 characters
    EXPECT_TRUE(stream.LineWasCut());
    EXPECT_TRUE(stream.SkipLine());  // only the CR LF was left
    ASSERT_TRUE(stream.GetLine(buffer));
    EXPECT_STREQ(buffer, "next");
}

TEST(PPDStream, SkipLineConsumesThroughTheLineEnd) {
    const char text[] = "rest of line\r\nafter\rlast";
    PPDStream stream(text, sizeof text - 1);
    char buffer[PPDStream::kLineBufferSize];
    EXPECT_TRUE(stream.SkipLine());
    ASSERT_TRUE(stream.GetLine(buffer));
    EXPECT_STREQ(buffer, "after");
    EXPECT_FALSE(stream.SkipLine());
    EXPECT_TRUE(stream.EndOfFile());
}

TEST(PPDStream, ByteFFIsAnOrdinaryCharacter) {
    std::string text = "*Translation: \"Rotate \xff\"\n*Next: x\n";
    Lines lines = ReadAll(text);
    ASSERT_EQ(lines.whole.size(), 2u);
    EXPECT_EQ(lines.whole[0], "*Translation: \"Rotate \xff\"");
    EXPECT_EQ(lines.whole[1], "*Next: x");

    PPDStream stream("\xff", 1);
    char c = 0;
    EXPECT_TRUE(stream.GetChar(c));
    EXPECT_EQ(static_cast<unsigned char>(c), 0xFF);
    EXPECT_TRUE(stream.Good());
    EXPECT_TRUE(stream.AtEnd());
}

}  // namespace
