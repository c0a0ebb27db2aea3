// Base64 for the <data> elements of property lists (internal).
#ifndef HALYX_PLATFORM_COREFOUNDATION_CFBASE64_H
#define HALYX_PLATFORM_COREFOUNDATION_CFBASE64_H

#include <string>
#include <vector>

#include "Base/MacTypes.h"

namespace halyxcf {

// Appends the Base64 text of `bytes` to `out`, `lineLength` characters per line, each line
// starting with `indent` and ending with a line feed.
void AppendBase64(const UInt8* bytes, size_t length, size_t lineLength, const std::string& indent,
                  std::string* out);
void AppendBase64(const UInt8* bytes, size_t length, size_t lineLength, const std::string& indent,
                  std::vector<UInt8>* out);

// Decodes `text`, skipping spaces, tabs and line breaks. Padding may be left off; anything else
// outside the alphabet, or text after the padding, makes it false.
bool DecodeBase64(const std::string& text, std::vector<UInt8>* out);

}  // namespace halyxcf

#endif  // HALYX_PLATFORM_COREFOUNDATION_CFBASE64_H
