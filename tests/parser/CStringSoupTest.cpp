#include "parser/CStringSoup.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(CStringSoup, IdsFollowFirstInsertionAndRepeatsKeepTheirId) {
    CStringSoup soup;
    EXPECT_EQ(soup.Insert("*Duplex"), 0);
    EXPECT_EQ(soup.Insert(""), 1);
    EXPECT_EQ(soup.Insert("*PageSize"), 2);
    EXPECT_EQ(soup.Insert("*Duplex"), 0);
    EXPECT_EQ(soup.Insert(""), 1);
    EXPECT_EQ(soup.size(), 3u);

    EXPECT_STREQ(soup.Find(0L), "*Duplex");
    EXPECT_STREQ(soup.Find(1L), "");
    EXPECT_STREQ(soup.Find(2L), "*PageSize");
    EXPECT_EQ(soup.Find(3L), nullptr);
    EXPECT_EQ(soup.Find(-1L), nullptr);
}

TEST(CStringSoup, FindByTextIsExactAndCaseSensitive) {
    CStringSoup soup;
    soup.Insert("Legal");
    EXPECT_EQ(soup.Find("Legal"), 0);
    EXPECT_EQ(soup.Find("legal"), -1);
    EXPECT_EQ(soup.Find("Lega"), -1);
    EXPECT_EQ(soup.Find("Legal "), -1);
    EXPECT_EQ(soup.Find(static_cast<const char*>(nullptr)), -1);
    EXPECT_EQ(soup.Insert(nullptr), -1);
    EXPECT_EQ(soup.size(), 1u);
}

TEST(CStringSoup, ClearStartsIdsAgainAndForgetsTexts) {
    CStringSoup soup;
    soup.Insert("a");
    soup.Insert("b");
    soup.Clear();
    EXPECT_EQ(soup.size(), 0u);
    EXPECT_EQ(soup.Find("a"), -1);
    EXPECT_EQ(soup.Insert("b"), 0);
    EXPECT_STREQ(soup.Find(0L), "b");
}

TEST(CStringSoup, ManyTextsKeepDistinctIdsAfterTheTableGrows) {
    // The hash index points into the stored strings: growing the table must not disturb it.
    CStringSoup soup;
    const int count = 5000;
    for (int i = 0; i < count; ++i)
        ASSERT_EQ(soup.Insert(("Choice" + std::to_string(i)).c_str()), i);
    for (int i = 0; i < count; i += 97) {
        std::string text = "Choice" + std::to_string(i);
        EXPECT_EQ(soup.Find(text.c_str()), i);
        EXPECT_EQ(std::string(soup.Find(static_cast<long>(i))), text);
    }
}

TEST(CStringSoup, EveryLengthAndEveryBytePositionTellsTextsApart) {
    // Short texts are hashed and compared in overlapping words: a text met again at another
    // address keeps its id, and one changed byte anywhere makes a new text.
    CStringSoup soup;
    std::vector<std::string> texts;
    for (size_t length = 0; length <= 24; ++length) {
        std::string text;
        for (size_t i = 0; i < length; ++i) text += static_cast<char>('a' + i);
        texts.push_back(text);
        for (size_t at = 0; at < length; ++at) {
            std::string changed = text;
            changed[at] = 'Z';
            texts.push_back(changed);
        }
    }
    for (size_t i = 0; i < texts.size(); ++i)
        ASSERT_EQ(soup.Insert(texts[i].data(), texts[i].size()), static_cast<long>(i)) << i;
    for (size_t i = 0; i < texts.size(); ++i) {
        const std::string framed = "*" + texts[i] + " rest";
        EXPECT_EQ(soup.Insert(framed.data() + 1, texts[i].size()), static_cast<long>(i)) << i;
        EXPECT_EQ(soup.Find(texts[i].c_str()), static_cast<long>(i)) << i;
    }
    EXPECT_EQ(soup.size(), texts.size());
}

TEST(CStringSoup, PairsGiveTheIdsOfTwoInsertsSecondFirstWhetherMetBeforeOrNot) {
    // Spans as constraint lines hold them: a keyword, blanks, a choice (or no choice). Each pair
    // must leave the table as inserting the choice, then the keyword, would.
    struct Case {
        const char* span;
        size_t first;
        size_t second;
    };
    const Case cases[] = {
        {"*Duplex DuplexNoTumble", 7, 14},
        {"*MediaType Labels", 10, 6},
        {"*Duplex DuplexNoTumble", 7, 14},
        {"*Duplex\t\tDuplexNoTumble", 7, 14},
        {"*Duplex", 7, 0},
        {"*Collate True", 8, 4},
        {"", 0, 0},
        {"*MediaType Labels", 10, 6},
        {"*A a", 2, 1},
        {"*a A", 2, 1},
    };
    CStringSoup pairs;
    CStringSoup plain;
    for (int round = 0; round < 2; ++round) {
        for (const Case& c : cases) {
            const std::string span = c.span;
            long first = -2;
            long second = -2;
            ASSERT_TRUE(
                pairs.InsertPair(span.data(), span.size(), c.first, c.second, first, second))
                << c.span;
            const long expectedSecond =
                plain.Insert(span.data() + span.size() - c.second, c.second);
            EXPECT_EQ(second, expectedSecond) << c.span;
            EXPECT_EQ(first, plain.Insert(span.data(), c.first)) << c.span;
        }
        ASSERT_EQ(pairs.size(), plain.size());
        for (unsigned long id = 0; id < plain.size(); ++id)
            EXPECT_STREQ(pairs.Find(static_cast<long>(id)), plain.Find(static_cast<long>(id)));
        pairs.Clear();
        plain.Clear();
    }
}
