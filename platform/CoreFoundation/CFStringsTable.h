// Reads localized strings tables (internal): `"key" = "value";` pairs with /* */ and // comments.
#ifndef HALYX_PLATFORM_COREFOUNDATION_CFSTRINGSTABLE_H
#define HALYX_PLATFORM_COREFOUNDATION_CFSTRINGSTABLE_H

#include <string>

#include "CoreFoundation/CFDictionary.h"

namespace halyxcf {

// Parses a table in UTF-8 or, with a byte-order mark, UTF-16 of either order; a table in neither
// is read as Mac OS Roman. Keys and values are quoted strings (escapes \" \\ \n \t \r, octal
// \ooo and \Uxxxx) or bare words of letters, digits and _$+/:.-; `"key";` alone maps the key to
// itself; a later entry for a key replaces an earlier one. Returns a new immutable dictionary
// (string keys and values), or NULL with *error set when the table is malformed.
CFDictionaryRef ParseStringsTable(const UInt8* bytes, size_t length, std::string* error);

}  // namespace halyxcf

#endif  // HALYX_PLATFORM_COREFOUNDATION_CFSTRINGSTABLE_H
