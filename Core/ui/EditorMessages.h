// The editor's messages: localized printf formats from the bundle, filled with their arguments.
#ifndef HALYX_CORE_UI_EDITORMESSAGES_H
#define HALYX_CORE_UI_EDITORMESSAGES_H

#include <stddef.h>

namespace halyx_editor {

// Room for a composed message (the message area keeps up to 511 characters).
constexpr size_t kMessageSize = 512;

// Fills `out` (kMessageSize bytes) with the localized text for `key` used as a printf format.
// `kinds` names the arguments that follow, 's' for a text and 'd' for an int. A key the bundle
// does not define is its own format; a format whose conversions do not take exactly those
// arguments is not trusted and the key is shown as it is.
void ComposeMessage(char* out, const char* key, const char* kinds, ...);
// As ComposeMessage, with a fixed format of the editor's own.
void ComposeFixed(char* out, const char* format, const char* kinds, ...);

}  // namespace halyx_editor

#endif  // HALYX_CORE_UI_EDITORMESSAGES_H
