// A value given on the command line is text for a field, not keys to press: a control character
// in it (a tab that would move the focus, a backspace that would edit, a line end) has no place
// there.
#ifndef HALYX_TOOLS_VALUETEXT_H
#define HALYX_TOOLS_VALUETEXT_H

#include <string>

namespace halyx::tools {

// The first control character of the UTF-8 `value` (U+0000 to U+001F, U+007F, U+0080 to U+009F)
// named for a person, as "U+0009 (tab)"; empty when the value holds none.
std::string ControlCharacterIn(const std::string& value);

}  // namespace halyx::tools

#endif  // HALYX_TOOLS_VALUETEXT_H
