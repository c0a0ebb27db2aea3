// Text that leaves the program: everything the tool prints is UTF-8.
//
// Names in the model are platform strings already; raw bytes kept from the PPD (defaults, codes,
// choice texts, keywords) are in the PPD's declared encoding, and error descriptions in the system
// encoding (Mac OS Roman). These helpers turn each kind into UTF-8.
#ifndef HALYX_TOOLS_PPDTEXT_H
#define HALYX_TOOLS_PPDTEXT_H

#include <cstddef>
#include <string>

#include "CoreFoundation/CFString.h"

namespace halyx::tools {

// The encoding of a *LanguageEncoding value; Mac OS Roman for null and for names not known.
CFStringEncoding EncodingOfPPD(const char* languageEncoding);

// The string as UTF-8; empty for null.
std::string Utf8FromCFString(CFStringRef string);

// `length` bytes in `encoding` as UTF-8. Bytes the encoding cannot read are taken as Mac OS Roman,
// in which every byte is a character, so the result is always valid UTF-8.
std::string Utf8FromBytes(const void* bytes, size_t length, CFStringEncoding encoding);
// The same for a NUL-terminated text; empty for null.
std::string Utf8FromText(const char* text, CFStringEncoding encoding);

}  // namespace halyx::tools

#endif  // HALYX_TOOLS_PPDTEXT_H
