#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "parser/PPDFileStream.h"
#include "parser/PPDStream.h"
#include "tests/parser/TestPPDX.h"

namespace {

// A tokenizer over `line`, whose continuation lines come from `rest`.
class Tokenizer {
public:
    Tokenizer(const std::string& line, const std::string& rest = "")
        : mLine(line),
          mRest(rest),
          mLineStream(mLine.data(), static_cast<long>(mLine.size())),
          mRestStream(mRest.data(), static_cast<long>(mRest.size())) {
        mPPD.CurrentStream(&mRestStream);
    }

    PPDStream& Line() { return mLineStream; }
    PPDStream& Rest() { return mRestStream; }
    TestPPDX& PPD() { return mPPD; }

    std::string NextRestLine() {
        char buffer[PPDFileStream::kJoinedLineBufferSize];
        return mRestStream.GetLine(buffer) ? buffer : "<none>";
    }

private:
    std::string mLine;
    std::string mRest;
    PPDStream mLineStream;
    PPDStream mRestStream;
    TestPPDX mPPD;
};

std::string Token(PPDStream& stream, const char* delimiters, bool strip, bool* found = nullptr) {
    char token[PPDX::kTokenBufferSize];
    std::memset(token, '#', sizeof token);
    bool ok = PPDX::NextToken(stream, token, delimiters, strip);
    if (found != nullptr) *found = ok;
    return token;
}

TEST(NextToken, SplitsAKeywordLine) {
    PPDStream line("*OpenUI *PageSize/Page Size: PickOne", 36);
    EXPECT_EQ(Token(line, " \t:", true), "*OpenUI");
    EXPECT_EQ(Token(line, "/:", true), "*PageSize");
    EXPECT_EQ(Token(line, ":", true), "Page Size");
    EXPECT_EQ(Token(line, "\n\r", true), "PickOne");
    bool found = true;
    EXPECT_EQ(Token(line, "\n\r", true, &found), "");
    EXPECT_FALSE(found);
}

TEST(NextToken, LeadingDelimiterGivesAnEmptyToken) {
    PPDStream line(":value", 6);
    bool found = true;
    EXPECT_EQ(Token(line, ":", true, &found), "");
    EXPECT_FALSE(found);
    EXPECT_EQ(Token(line, ":", true, &found), "value");
    EXPECT_TRUE(found);
    char* none = nullptr;
    EXPECT_FALSE(PPDX::NextToken(line, none, ":", true));
}

TEST(NextToken, LineEndsEndTheToken) {
    const char text[] = "one\r\ntwo\rthree\nfour";
    PPDStream stream(text, sizeof text - 1);
    EXPECT_EQ(Token(stream, nullptr, false), "one");  // CR LF: the CR is dropped
    EXPECT_EQ(Token(stream, nullptr, false), "two");
    EXPECT_EQ(Token(stream, nullptr, false), "three");
    EXPECT_EQ(Token(stream, nullptr, false), "four");
}

TEST(NextToken, BlanksAreStrippedOnlyWhenAsked) {
    PPDStream a(" \t Letter \t:", 12);
    EXPECT_EQ(Token(a, ":", true), "Letter");
    PPDStream b(" Letter :", 9);
    EXPECT_EQ(Token(b, ":", false), " Letter ");
    PPDStream blank("   :", 4);  // all blanks: found, and empty once stripped
    bool found = false;
    EXPECT_EQ(Token(blank, ":", true, &found), "");
    EXPECT_TRUE(found);
}

TEST(NextToken, NulAndCrBeforeLfAreTokenBytesAndTheStatusTellsWhereTheReadStopped) {
    const char text[] = "a\0b:c\r\nd\re\0";
    PPDStream stream(text, sizeof text - 1);
    char token[PPDX::kTokenBufferSize];
    ASSERT_TRUE(PPDX::NextToken(stream, token, ":", true));
    EXPECT_EQ(std::string(token, 3), std::string("a\0b", 3));  // NUL is no delimiter
    EXPECT_EQ(Token(stream, ":", false), "c");
    EXPECT_TRUE(stream.Good());
    EXPECT_EQ(Token(stream, ":", false), "d");  // a lone CR ends the token
    EXPECT_EQ(Token(stream, ":", false), "e");
    EXPECT_TRUE(stream.EndOfFile());
    bool found = true;
    EXPECT_EQ(Token(stream, ":", false, &found), "");
    EXPECT_FALSE(found);
}

TEST(NextToken, KeepsAtMost255CharactersAndLeavesTheRest) {
    std::string text = std::string(300, 'k') + ":tail";
    PPDStream stream(text.data(), static_cast<long>(text.size()));
    EXPECT_EQ(Token(stream, ":", false), std::string(255, 'k'));
    EXPECT_EQ(Token(stream, ":", false), std::string(45, 'k'));
    EXPECT_EQ(Token(stream, ":", false), "tail");
}

TEST(StripWhiteSpace, RemovesBlanksAndTabsAtEitherEnd) {
    char a[] = " \t value \t";
    PPDX::StripLeadingWhiteSpace(a);
    EXPECT_STREQ(a, "value \t");
    PPDX::StripTrailingWhiteSpace(a);
    EXPECT_STREQ(a, "value");
    char blank[] = " \t ";
    PPDX::StripLeadingWhiteSpace(blank);
    EXPECT_STREQ(blank, "");
    char single[] = " ";
    PPDX::StripTrailingWhiteSpace(single);  // never the first character
    EXPECT_STREQ(single, " ");
    PPDX::StripLeadingWhiteSpace(nullptr);
    PPDX::StripTrailingWhiteSpace(nullptr);
}

TEST(ParseMainKeyword, CopiesWhatFollowsTheFirstSlash) {
    char out[PPDX::kTokenBufferSize];
    EXPECT_FALSE(PPDX::ParseMainKeyword("*PageSize/Page Size/x", out));
    EXPECT_STREQ(out, "Page Size/x");
    PPDX::ParseMainKeyword("*PageSize", out);
    EXPECT_STREQ(out, "");
    std::string longText = "a/" + std::string(400, 'z');
    PPDX::ParseMainKeyword(longText.c_str(), out);
    EXPECT_EQ(std::strlen(out), static_cast<size_t>(PPDX::kMaxTokenLength));
}

unsigned long Quoted(Tokenizer& t, char* value, unsigned long max) {
    std::memset(value, '#', max);
    return t.PPD().GetQuotedString(t.Line(), value, max);
}

TEST(GetQuotedString, ReadsTheValueOnItsLine) {
    char value[PPDX::kMaxQuotedValue];
    Tokenizer t(" \"Halyx Office\" trailing");
    EXPECT_EQ(Quoted(t, value, sizeof value), 13u);  // count + 1
    EXPECT_STREQ(value, "Halyx Office");

    Tokenizer empty(" \"\"");
    EXPECT_EQ(Quoted(empty, value, sizeof value), 0u);
    EXPECT_STREQ(value, "");
}

TEST(GetQuotedString, ContinuesOnFollowingLines) {
    char value[PPDX::kMaxQuotedValue];
    Tokenizer t(" \"first", "\nsecond\" rest\n*Next: 1\n");
    unsigned long n = Quoted(t, value, sizeof value);
    EXPECT_EQ(n, 13u);  // "first", a NUL separator, "second", + 1
    EXPECT_STREQ(value, "first");
    EXPECT_STREQ(value + 6, "second");
    EXPECT_EQ(t.NextRestLine(), "*Next: 1");
}

TEST(GetQuotedString, KeywordLineEndsAnUnclosedValueAndIsConsumed) {
    char value[PPDX::kMaxQuotedValue];
    Tokenizer t(" \"unclosed", "*ModelName: \"M\"\n*After: 2\n");
    EXPECT_EQ(Quoted(t, value, sizeof value), 9u);  // the text and its separator
    EXPECT_STREQ(value, "unclosed");
    EXPECT_EQ(t.NextRestLine(), "*After: 2");
}

TEST(GetQuotedString, CutsAtTheLimitWithoutWritingPastIt) {
    char value[16];
    Tokenizer t(" \"" + std::string(40, 'q') + "\"");
    EXPECT_EQ(Quoted(t, value, sizeof value), 15u);
    EXPECT_EQ(std::string(value), std::string(15, 'q'));

    Tokenizer spread(" \"abc", std::string(40, 'r') + "\"\n");
    EXPECT_EQ(Quoted(spread, value, sizeof value), 15u);
    EXPECT_STREQ(value, "abc");
}

TEST(GetQuotedString, UnreadableValuesGiveZero) {
    char value[PPDX::kMaxQuotedValue];
    Tokenizer noQuote(" value", "");  // no quote and nothing after: the reads fail
    EXPECT_EQ(Quoted(noQuote, value, sizeof value), 0u);
    // No opening quote at all: nothing is read from the following lines.
    Tokenizer unquoted(" 20", "*ModelName: \"M\"\n");
    EXPECT_EQ(Quoted(unquoted, value, sizeof value), 0u);
    EXPECT_STREQ(value, "");
    EXPECT_EQ(unquoted.NextRestLine(), "*ModelName: \"M\"");
    Tokenizer runsOut(" \"open", "\n\nno end");
    EXPECT_EQ(Quoted(runsOut, value, sizeof value), 0u);
    TestPPDX alone;  // no current stream to continue on
    PPDStream line(" \"open", 6);
    EXPECT_EQ(alone.GetQuotedString(line, value, sizeof value), 0u);
}

std::string PostScript(Tokenizer& t, unsigned long max, unsigned long* count) {
    std::string value(max, '\0');
    *count = t.PPD().GetPostscriptString(t.Line(), &value[0], max);
    return value.substr(0, *count);
}

TEST(GetPostscriptString, OneLineValueEndsWithLineFeed) {
    unsigned long n = 0;
    Tokenizer t(" \"<</Duplex true>>setpagedevice\"");
    EXPECT_EQ(PostScript(t, PPDX::kMaxPostScriptValue, &n), "<</Duplex true>>setpagedevice\n");
    EXPECT_EQ(n, 30u);
    Tokenizer empty(" \"\"");
    EXPECT_EQ(PostScript(empty, PPDX::kMaxPostScriptValue, &n), "");
    Tokenizer noQuote(" Duplex", "\"next\"\n");
    EXPECT_EQ(PostScript(noQuote, PPDX::kMaxPostScriptValue, &n), "");
    EXPECT_EQ(noQuote.NextRestLine(), "\"next\"");  // nothing was read ahead
}

TEST(GetPostscriptString, JoinsLinesWithLineFeeds) {
    unsigned long n = 0;
    Tokenizer t(" \"line one", "\nline two\" \n*Next: 1\n");
    EXPECT_EQ(PostScript(t, PPDX::kMaxPostScriptValue, &n), "line one\nline two\n");
    EXPECT_EQ(n, 18u);
    EXPECT_EQ(t.NextRestLine(), "*Next: 1");

    Tokenizer comment(" \"a", "*%b\n*End\n*After\n");  // "*%" lines add what follows
    EXPECT_EQ(PostScript(comment, PPDX::kMaxPostScriptValue, &n), "a\nb\n\n");
    EXPECT_EQ(comment.NextRestLine(), "*After");

    Tokenizer runsOut(" \"a", "b");  // the file ends: the value ends
    EXPECT_EQ(PostScript(runsOut, PPDX::kMaxPostScriptValue, &n), "a\n");
}

TEST(GetPostscriptString, CutsAtTheLimit) {
    unsigned long n = 0;
    Tokenizer t(" \"" + std::string(100, 'p') + "\"");
    EXPECT_EQ(PostScript(t, 10, &n), std::string(9, 'p') + "\n");
    EXPECT_EQ(n, 10u);
    Tokenizer spread(" \"pp", std::string(100, 'p') + "\"\n");
    EXPECT_EQ(PostScript(spread, 10, &n), "pp\n" + std::string(6, 'p') + "\n");
}

}  // namespace
