#include "foundation/BoyerMoore.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

namespace {

long Find(const std::string& pattern, std::string data) {
    BoyerMoore bm(pattern.data(), static_cast<short>(pattern.size()), &data[0],
                  static_cast<long>(data.size()));
    return bm.Search();
}

TEST(BoyerMoore, FindsFirstOccurrenceOrNothing) {
    EXPECT_EQ(Find("*PCFileName", "xPCFileName: \"x.ppd\""), -1);
    EXPECT_EQ(Find("*PCFileName", "*PPD-Adobe: \"4.3\"\n*PCFileName: \"A.PPD\""), 18);
    EXPECT_EQ(Find("a", "bbabab"), 2);
    EXPECT_EQ(Find("", "anything"), -1);
    EXPECT_EQ(Find("longer than data", "short"), -1);
    EXPECT_EQ(Find("abc", "abc"), 0);
    EXPECT_EQ(Find("abc", "xxabc"), 2);
    EXPECT_EQ(Find("ABC", "abc"), -1);  // byte-exact whatever the case setting
}

TEST(BoyerMoore, AgreesWithAPlainSearchOnRandomTexts) {
    std::mt19937 rng(7);
    for (int round = 0; round < 2000; ++round) {
        std::string data(rng() % 64, ' ');
        for (char& c : data) c = static_cast<char>('a' + rng() % 3);
        std::string pattern(1 + rng() % 5, ' ');
        for (char& c : pattern) c = static_cast<char>('a' + rng() % 3);
        size_t expected = data.find(pattern);
        long want = expected == std::string::npos ? -1 : static_cast<long>(expected);
        ASSERT_EQ(Find(pattern, data), want) << pattern << " in " << data;
    }
}

TEST(BoyerMoore, SearchesFromAStartOffsetAndReportsRelativeToIt) {
    char data[] = "key key key";
    BoyerMoore bm("key", 3, data, static_cast<long>(std::strlen(data)));
    EXPECT_EQ(bm.Search(0, nullptr, 0), 0);
    EXPECT_EQ(bm.Search(1, nullptr, 0), 3);
    EXPECT_EQ(bm.Search(9, nullptr, 0), -1);
    EXPECT_EQ(bm.Search(50, nullptr, 0), -1);
    EXPECT_EQ(bm.Search(-3, nullptr, 0), -1);
    unsigned char pascal[] = {2, 'e', 'y'};
    EXPECT_EQ(bm.Search(2, pascal), 3);  // "y key key": "ey" at 3
    EXPECT_EQ(bm.GetSearchStringLength(), 2);
    bm.SetSearchData(data, static_cast<long>(std::strlen(data)));  // back to offset 0
    EXPECT_EQ(bm.Search(), 1);
}

TEST(BoyerMoore, KeepsPatternAndSettings) {
    BoyerMoore bm;
    EXPECT_EQ(bm.Search(), -1);
    EXPECT_TRUE(bm.GetCaseSensitive());
    bm.SetCaseSensitve(false);
    EXPECT_FALSE(bm.GetCaseSensitive());

    std::string longPattern(300, 'p');
    bm.SetSearchString(longPattern.data(), 300);
    EXPECT_EQ(bm.GetSearchStringLength(), 255);
    char out[256];
    bm.SetSearchString("Model", 5);
    bm.GetSearchString(out);
    EXPECT_STREQ(out, "Model");
    bm.SetSearchString(nullptr, 4);
    EXPECT_EQ(bm.GetSearchStringLength(), 0);

    BoyerMoore noData("x", 1, nullptr, 10);
    EXPECT_EQ(noData.Search(), -1);
}

}  // namespace
