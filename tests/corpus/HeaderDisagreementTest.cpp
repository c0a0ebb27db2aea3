// The table of known differences explains only what it names: a difference it does not know
// stays unexplained, so the corpus test fails on it.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/corpus/CorpusFiles.h"
#include "tests/corpus/HeaderDisagreement.h"

namespace {

const std::string kFile =
    "*PPD-Adobe: \"4.3\"\r\n"
    "*LanguageEncoding: ISOLatin1 \r\n"
    "*FileVersion:      20\n"
    "*%FileVersion: \"9\"\n"
    "*ModelName: \"Model\"\n"
    "*ModelName: \"Other\"\n";

TEST(HeaderLines, FindsStatementsAtLineStartsOnly) {
    EXPECT_EQ(RawHeaderLines(kFile, "*FileVersion"), (std::vector<std::string>{"      20"}));
    EXPECT_EQ(RawHeaderLines(kFile, "*LanguageEncoding"),
              (std::vector<std::string>{" ISOLatin1 "}));
    EXPECT_EQ(RawHeaderLines(kFile, "*ModelName").size(), 2u);
    EXPECT_TRUE(RawHeaderLines(kFile, "*PCFileName").empty());
}

TEST(HeaderDisagreement, ReportedUtf8IsExplainedOnlyWhenOursIsTheDeclaredName) {
    std::string declared = "ISOLatin1", utf8 = "UTF-8", other = "JIS83-RKSJ";
    EXPECT_FALSE(ExplainDisagreement(kFile, "*LanguageEncoding", &declared, &utf8).reason.empty());
    EXPECT_TRUE(ExplainDisagreement(kFile, "*LanguageEncoding", &other, &utf8).reason.empty());
    EXPECT_TRUE(ExplainDisagreement(kFile, "*LanguageEncoding", nullptr, &utf8).reason.empty());
}

TEST(HeaderDisagreement, UnquotedValueIsExplainedOnlyWhenOursHasNone) {
    std::string raw = "20", empty, wrong = "2";
    Disagreement none = ExplainDisagreement(kFile, "*FileVersion", nullptr, &raw);
    EXPECT_FALSE(none.reason.empty());
    EXPECT_EQ(none.ours, "(none)");
    EXPECT_EQ(none.reference, "\"20\"");
    EXPECT_FALSE(ExplainDisagreement(kFile, "*FileVersion", &empty, &raw).reason.empty());
    EXPECT_TRUE(ExplainDisagreement(kFile, "*FileVersion", &wrong, &raw).reason.empty());
    EXPECT_TRUE(ExplainDisagreement(kFile, "*FileVersion", nullptr, &wrong).reason.empty());
}

TEST(HeaderDisagreement, QuotedOrRepeatedValuesAreNeverExplained) {
    std::string first = "Model", second = "Other";
    EXPECT_TRUE(ExplainDisagreement(kFile, "*ModelName", &second, &first).reason.empty());
    EXPECT_TRUE(ExplainDisagreement(kFile, "*PCFileName", nullptr, &first).reason.empty());
}

TEST(CorpusSample, KeepsEveryStrideThFileAndTheLargest) {
    std::vector<CorpusFile> files;
    for (int i = 0; i < 7; ++i) files.push_back({"/nonexistent/" + std::to_string(i), ""});
    EXPECT_EQ(SampleCorpus(files, 1, 0).size(), 7u);
    std::vector<CorpusFile> sample = SampleCorpus(files, 3, 0);
    ASSERT_EQ(sample.size(), 3u);
    EXPECT_EQ(sample[1].path, "/nonexistent/3");
    EXPECT_EQ(sample[2].path, "/nonexistent/6");

    char name[] = "/tmp/halyx-corpus-sample-XXXXXX";
    int fd = mkstemp(name);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(write(fd, "*PPD-Adobe", 10), 10);
    close(fd);
    files[4].path = name;
    sample = SampleCorpus(files, 3, 1);
    std::remove(name);
    ASSERT_EQ(sample.size(), 4u);
    EXPECT_EQ(sample[2].path, name);
}

}  // namespace
