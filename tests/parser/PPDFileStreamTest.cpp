#include "parser/PPDFileStream.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Memory/MacMemory.h"
#include "parser/PPDFile.h"
#include "testing/FailureInjection.h"
#include "tests/parser/TempPPD.h"

namespace {

struct Read {
    std::vector<std::string> lines;
    bool endedCut = false;
};

// Every line the stream delivers; a cut line is skipped (and noted) so reading goes on.
Read ReadAll(PPDFileStream& stream) {
    Read out;
    char buffer[PPDFileStream::kJoinedLineBufferSize];
    while (true) {
        if (stream.GetLine(buffer)) {
            out.lines.push_back(buffer);
            continue;
        }
        if (!stream.LineWasCut()) break;
        out.endedCut = true;
        out.lines.push_back("<cut:" + std::string(buffer).substr(0, 8) + ">");
        stream.SkipLine();
    }
    return out;
}

Read ReadFile(const std::string& bytes, bool chunked) {
    TempPPD file(bytes);
    PPDFile ppd(file.Spec());
    PPDFileStream stream(&ppd, chunked);
    EXPECT_TRUE(stream.Good());
    return ReadAll(stream);
}

// Lines of many lengths, long enough that chunked reading refills several times.
std::vector<std::string> ManyLines() {
    std::vector<std::string> lines;
    for (int i = 0; lines.size() < 600; ++i)
        lines.push_back("*Line" + std::to_string(i) + ": \"" + std::string(i * 7 % 120, 'v') +
                        "\"");
    lines.push_back("");
    lines.push_back("*Last: end");
    return lines;
}

std::string Join(const std::vector<std::string>& lines, const char* end) {
    std::string text;
    for (const std::string& line : lines) text += line + end;
    return text;
}

TEST(PPDFileStream, AllLineEndsYieldTheSameLinesInBothModes) {
    std::vector<std::string> expected = ManyLines();
    ASSERT_GT(Join(expected, "\n").size(), 3u * PPDFileStream::kChunkSize);
    for (const char* end : {"\n", "\r", "\r\n"}) {
        std::string text = Join(expected, end);
        Read whole = ReadFile(text, false);
        Read chunked = ReadFile(text, true);
        // A CR LF split by a chunk boundary reads as the line and one empty line: drop those.
        std::vector<std::string> chunkedLines;
        for (const std::string& line : chunked.lines) {
            bool splitCrLf = std::string(end) == "\r\n" && line.empty() &&
                             chunkedLines.size() < expected.size() &&
                             !expected[chunkedLines.size()].empty();
            if (!splitCrLf) chunkedLines.push_back(line);
        }
        EXPECT_EQ(whole.lines, expected) << "line end " << static_cast<int>(end[0]);
        EXPECT_EQ(chunkedLines, expected) << "line end " << static_cast<int>(end[0]);
    }
}

TEST(PPDFileStream, LineAcrossAChunkBoundaryIsDeliveredWhole) {
    std::string straddling = "*Straddling: \"" + std::string(150, 's') + "\"";
    std::string head(PPDFileStream::kChunkSize - 100, 'h');
    // Lines of 99 characters fill the first chunk up to 100 bytes before its end.
    std::string text;
    while (text.size() + 100 <= head.size()) text += std::string(99, 'f') + "\n";
    text += straddling + "\n*After: x\n";
    ASSERT_LT(text.find(straddling), static_cast<size_t>(PPDFileStream::kChunkSize));
    ASSERT_GT(text.find(straddling) + straddling.size(),
              static_cast<size_t>(PPDFileStream::kChunkSize));

    Read chunked = ReadFile(text, true);
    ASSERT_GE(chunked.lines.size(), 2u);
    EXPECT_EQ(chunked.lines[chunked.lines.size() - 2], straddling);
    EXPECT_EQ(chunked.lines.back(), "*After: x");
    EXPECT_FALSE(chunked.endedCut);
}

TEST(PPDFileStream, CrLfSplitByAChunkBoundaryGivesOneEmptyLine) {
    std::string text(PPDFileStream::kChunkSize - 1, 'a');
    text[0] = '*';
    text.replace(200, 1, "\n");  // lines stay below the limit
    for (size_t i = 400; i + 1 < text.size(); i += 200) text[i] = '\n';
    text += "\r\n*Next: 1\n";
    Read chunked = ReadFile(text, true);
    ASSERT_GE(chunked.lines.size(), 3u);
    EXPECT_EQ(chunked.lines[chunked.lines.size() - 2], "");
    EXPECT_EQ(chunked.lines.back(), "*Next: 1");
    Read whole = ReadFile(text, false);
    EXPECT_EQ(whole.lines.back(), "*Next: 1");
    EXPECT_EQ(whole.lines.size() + 1, chunked.lines.size());
}

TEST(PPDFileStream, OverLongLinesAreCutInBothModesAndJoinedPiecesKeepTheirLimit) {
    std::string longLine = "*Long: \"" + std::string(300, 'x') + "\"";
    std::string text = "*A: 1\n" + longLine + "\n*B: 2\n";
    for (bool chunked : {false, true}) {
        Read read = ReadFile(text, chunked);
        EXPECT_EQ(read.lines, (std::vector<std::string>{"*A: 1", "<cut:*Long: \">", "*B: 2"}));
    }

    // A line of 400 characters that starts 200 bytes before the end of a chunk is joined from
    // two pieces below the line limit; one that needs a third piece is cut.
    std::string filler;
    for (int i = 0; i < 98; ++i) filler += std::string(99, 'f') + "\n";
    ASSERT_EQ(filler.size(), static_cast<size_t>(PPDFileStream::kChunkSize - 200));
    std::string joined = "*Joined: " + std::string(391, 'j');
    Read read = ReadFile(filler + joined + "\n*C: 3\n", true);
    ASSERT_GE(read.lines.size(), 2u);
    EXPECT_EQ(read.lines[read.lines.size() - 2], joined);
    EXPECT_EQ(read.lines.back(), "*C: 3");

    std::string tooLong = "*Joined: " + std::string(600, 'j');
    read = ReadFile(filler + tooLong + "\n*C: 3\n", true);
    ASSERT_GE(read.lines.size(), 2u);
    EXPECT_EQ(read.lines[read.lines.size() - 2], "<cut:*Joined:>");
    EXPECT_EQ(read.lines.back(), "*C: 3");
}

TEST(PPDFileStream, ByteFFDoesNotEndTheFile) {
    std::string text = ReadFixture("header.ppd");
    ASSERT_NE(text.find('\xff'), std::string::npos);
    for (bool chunked : {false, true}) {
        Read read = ReadFile(text, chunked);
        ASSERT_FALSE(read.lines.empty());
        EXPECT_EQ(read.lines.back(), "*NickName: \"Halyx Office 9000 v1.2\"");
    }
}

TEST(PPDFileStream, LastLineWithoutLineEndIsNotDelivered) {
    for (bool chunked : {false, true})
        EXPECT_EQ(ReadFile("*A: 1\n*B: 2", chunked).lines, std::vector<std::string>{"*A: 1"});
}

TEST(PPDFileStream, EmptyMissingAndNullFiles) {
    {
        TempPPD empty("");
        PPDFile ppd(empty.Spec());
        PPDFileStream whole(&ppd, false);  // no buffer at all: good, and nothing to read
        EXPECT_TRUE(whole.Good());
        EXPECT_EQ(whole.BufferSize(), 0);
        EXPECT_TRUE(ReadAll(whole).lines.empty());
    }
    {
        TempPPD empty("");
        PPDFile ppd(empty.Spec());
        PPDFileStream chunked(&ppd, true);  // a chunk that reads nothing
        EXPECT_TRUE(chunked.Bad());
        EXPECT_TRUE(ReadAll(chunked).lines.empty());
    }
    PPDFileStream none(nullptr, true);
    EXPECT_TRUE(none.Bad());

    FSSpec missing;
    ASSERT_EQ(HalyxFSSpecFromPath("/tmp/halyx-no-such-file.ppd", &missing), fnfErr);
    PPDFile absent(missing);
    PPDFileStream fails(&absent, true);
    EXPECT_TRUE(fails.Bad());
}

TEST(PPDFileStream, ReadErrorMakesTheStreamBad) {
    HalyxFailureScope scope;
    TempPPD file("*A: 1\n");
    PPDFile ppd(file.Spec());
    HalyxInjectFailures(kHalyxFailFileRead, 0, 1);
    PPDFileStream stream(&ppd, true);
    EXPECT_TRUE(stream.Bad());
}

TEST(PPDFileStream, WholeFileBufferFallsBackToTheHeapThenHalves) {
    HalyxFailureScope scope;
    std::vector<std::string> expected = ManyLines();
    std::string text = Join(expected, "\n");
    TempPPD file(text);
    long size = static_cast<long>(text.size());
    {
        PPDFile ppd(file.Spec());
        PPDFileStream stream(&ppd, false);
        EXPECT_TRUE(stream.Temporary());
        EXPECT_FALSE(stream.Chunked());
        EXPECT_EQ(stream.BufferSize(), size);
    }
    {
        PPDFile ppd(file.Spec());
        HalyxInjectFailures(kHalyxFailAllocation, 0, 1);  // the temporary pool is out
        PPDFileStream stream(&ppd, false);
        EXPECT_FALSE(stream.Temporary());
        EXPECT_FALSE(stream.Chunked());
        EXPECT_EQ(stream.BufferSize(), size);
        EXPECT_EQ(ReadAll(stream).lines, expected);
    }
    {
        PPDFile ppd(file.Spec());
        HalyxInjectFailures(kHalyxFailAllocation, 0, 4);  // both pools, twice: a quarter is had
        PPDFileStream stream(&ppd, false);
        EXPECT_TRUE(stream.Chunked());
        EXPECT_TRUE(stream.Temporary());
        EXPECT_EQ(stream.BufferSize(), size / 2 / 2);
        Read read = ReadAll(stream);
        EXPECT_EQ(read.lines.front(), expected.front());
        EXPECT_EQ(read.lines.back(), expected.back());
        EXPECT_FALSE(read.endedCut);
    }
    {
        PPDFile ppd(file.Spec());
        HalyxInjectFailures(kHalyxFailAllocation, 0, -1);  // nothing at all
        PPDFileStream stream(&ppd, false);
        HalyxResetFailures();
        EXPECT_TRUE(stream.Good());
        EXPECT_EQ(stream.BufferSize(), 0);
        EXPECT_TRUE(ReadAll(stream).lines.empty());
    }
}

TEST(PPDFileStream, ChunkedBufferFallsBackToTheHeap) {
    HalyxFailureScope scope;
    TempPPD file("*A: 1\n");
    PPDFile ppd(file.Spec());
    HalyxInjectFailures(kHalyxFailAllocation, 0, 1);
    PPDFileStream stream(&ppd, true);
    EXPECT_FALSE(stream.Temporary());
    EXPECT_EQ(stream.BufferSize(), PPDFileStream::kChunkSize);
    EXPECT_EQ(ReadAll(stream).lines, std::vector<std::string>{"*A: 1"});

    HalyxInjectFailures(kHalyxFailAllocation, 0, 2);  // neither pool: good, but nothing to read
    PPDFileStream empty(&ppd, true);
    EXPECT_TRUE(empty.Good());
    EXPECT_EQ(empty.BufferSize(), 0);
    EXPECT_TRUE(ReadAll(empty).lines.empty());
}

}  // namespace
