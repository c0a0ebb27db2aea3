#include "PPDUtils/HexLanguageExceptions.h"

#include <gtest/gtest.h>

#include "PPDUtils/TextConverter.h"

namespace {

TEST(HexLanguageExceptions, HoldsExactlyTheLanguagesWithTheirOwnEncodings) {
    const HexLanguageExceptions& list = TextConverter::mExceptionsList;
    for (const char* language :
         {"Japanese", "ChineseTrad", "ChineseSimp", "Chinese", "Korean", "Czech", "Russian", "Bulg",
          "Estonian", "Greek", "Hungarian", "Latvian", "Lithuanian", "Polish", "Romanian", "Slovak",
          "Slovenian"}) {
        EXPECT_TRUE(list.IsException(language)) << language;
    }
    for (const char* language :
         {"English", "French", "German", "polish", "POLISH", "Polish ", "Bulgarian", "", "Chin"}) {
        EXPECT_FALSE(list.IsException(language)) << language;
    }
    EXPECT_FALSE(list.IsException(nullptr));
}

}  // namespace
