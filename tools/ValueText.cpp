#include "tools/ValueText.h"

#include <cstdio>

namespace halyx::tools {

namespace {

std::string Named(unsigned code) {
    static const struct {
        unsigned code;
        const char* name;
    } kNames[] = {{0x08, "backspace"}, {0x09, "tab"},    {0x0A, "line feed"},
                  {0x0D, "return"},    {0x1B, "escape"}, {0x7F, "delete"}};
    char text[40];
    std::snprintf(text, sizeof text, "U+%04X", code);
    for (const auto& entry : kNames)
        if (entry.code == code) return std::string(text) + " (" + entry.name + ")";
    return text;
}

}  // namespace

std::string ControlCharacterIn(const std::string& value) {
    for (size_t i = 0; i < value.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(value[i]);
        if (c < 0x20 || c == 0x7F) return Named(c);
        // U+0080 to U+009F are written as C2 80 to C2 9F.
        if (c == 0xC2 && i + 1 < value.size()) {
            const unsigned char next = static_cast<unsigned char>(value[i + 1]);
            if (next >= 0x80 && next <= 0x9F) return Named(next);
        }
    }
    return std::string();
}

}  // namespace halyx::tools
