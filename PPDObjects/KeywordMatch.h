// The keyword comparison every model search uses.
#ifndef HALYX_PPDOBJECTS_KEYWORDMATCH_H
#define HALYX_PPDOBJECTS_KEYWORDMATCH_H

#include <cstring>

#include "foundation/SameText.h"

// Exact: the keyword equals `text` byte for byte. Not exact: the keyword holds `text` anywhere
// (case-sensitive). A member without keyword, or a null text, never matches.
inline bool KeywordMatches(const char* keyword, const char* text, bool exact) {
    if (keyword == nullptr || text == nullptr) return false;
    return exact ? SameText(keyword, text) : std::strstr(keyword, text) != nullptr;
}

#endif  // HALYX_PPDOBJECTS_KEYWORDMATCH_H
