#include "tools/ValueText.h"

#include <gtest/gtest.h>

#include <string>

using halyx::tools::ControlCharacterIn;

TEST(ValueTextTest, NamesTheFirstControlCharacter) {
    const struct {
        std::string value;
        const char* named;
    } kCases[] = {
        {"Rush job, 3 copies", ""},
        {"R\xC3\xA9"
         "f. \xE6\x97\xA5\xE6\x9C\xAC \xC2\xA0",
         ""},  // letters, no-break space
        {"abc\tXYZ", "U+0009 (tab)"},
        {"ab\bc\n", "U+0008 (backspace)"},
        {"x\x1B[Dy", "U+001B (escape)"},
        {"a\x7F", "U+007F (delete)"},
        {std::string("a\0b", 3), "U+0000"},
        {"a\xC2\x85"
         "b",
         "U+0085"},  // next line, a C1 control
        {"two\r\nlines", "U+000D (return)"},
    };
    for (const auto& c : kCases) EXPECT_EQ(c.named, ControlCharacterIn(c.value)) << c.value;
}
