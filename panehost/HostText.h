// Texts that hosts take from the pane and the toolkit, as the UTF-8 that GTK, JSON and terminals
// want.
#ifndef HALYX_PANEHOST_HOSTTEXT_H
#define HALYX_PANEHOST_HOSTTEXT_H

#include <string>

#include "CoreFoundation/CFString.h"

namespace halyx::panehost {

// A platform string as UTF-8; empty for nullptr or a string that cannot be converted.
std::string ToUTF8(CFStringRef text);

// Bytes in the system encoding (what the toolkit's port records) as UTF-8.
std::string SystemToUTF8(const char* bytes, long length);

}  // namespace halyx::panehost

#endif  // HALYX_PANEHOST_HOSTTEXT_H
