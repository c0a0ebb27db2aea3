// Comparing and searching strings.
#include <vector>

#include "CoreFoundation/CFString.h"
#include "CoreFoundation/CFStringObject.h"

using halyxcf::CastTo;

namespace {

// Simple one-to-one lower-casing for the scripts the system's texts use: Latin (ASCII, Latin-1,
// Latin Extended-A), Greek, Cyrillic and the full-width Latin letters.
UniChar FoldCase(UniChar c) {
    if (c < 0x80) return (c >= 'A' && c <= 'Z') ? static_cast<UniChar>(c + 32) : c;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<UniChar>(c + 32);
    if (c >= 0x100 && c <= 0x17F) {
        if (c == 0x130 || c == 0x131 || c == 0x138 || c == 0x149 || c == 0x17F) return c;
        if (c == 0x178) return 0xFF;
        bool oddUpper = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
        if (oddUpper) return (c & 1) ? static_cast<UniChar>(c + 1) : c;
        return (c & 1) ? c : static_cast<UniChar>(c + 1);
    }
    if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) return static_cast<UniChar>(c + 32);
    if (c >= 0x410 && c <= 0x42F) return static_cast<UniChar>(c + 32);
    if (c >= 0x400 && c <= 0x40F) return static_cast<UniChar>(c + 80);
    if (c >= 0xFF21 && c <= 0xFF3A) return static_cast<UniChar>(c + 32);
    return c;
}

bool IsDigit(UniChar c) {
    return c >= '0' && c <= '9';
}

// Compares the digit runs starting at a[*i] and b[*j] by value and moves past them.
int CompareNumbers(const UniChar* a, size_t na, size_t* i, const UniChar* b, size_t nb, size_t* j) {
    while (*i < na && a[*i] == '0' && *i + 1 < na && IsDigit(a[*i + 1])) ++*i;
    while (*j < nb && b[*j] == '0' && *j + 1 < nb && IsDigit(b[*j + 1])) ++*j;
    size_t ai = *i, bj = *j;
    while (ai < na && IsDigit(a[ai])) ++ai;
    while (bj < nb && IsDigit(b[bj])) ++bj;
    size_t lenA = ai - *i, lenB = bj - *j;
    int result = 0;
    if (lenA != lenB) {
        result = lenA < lenB ? -1 : 1;
    } else {
        for (size_t k = 0; k < lenA && result == 0; ++k) {
            if (a[*i + k] != b[*j + k]) result = a[*i + k] < b[*j + k] ? -1 : 1;
        }
    }
    *i = ai;
    *j = bj;
    return result;
}

CFComparisonResult CompareChars(const UniChar* a, size_t na, const UniChar* b, size_t nb,
                                CFStringCompareFlags options) {
    bool fold = (options & kCFCompareCaseInsensitive) != 0;
    bool numeric = (options & kCFCompareNumerically) != 0;
    size_t i = 0, j = 0;
    while (i < na && j < nb) {
        if (numeric && IsDigit(a[i]) && IsDigit(b[j])) {
            int result = CompareNumbers(a, na, &i, b, nb, &j);
            if (result != 0) return result;
            continue;
        }
        UniChar ca = fold ? FoldCase(a[i]) : a[i];
        UniChar cb = fold ? FoldCase(b[j]) : b[j];
        if (ca != cb) return ca < cb ? kCFCompareLessThan : kCFCompareGreaterThan;
        ++i;
        ++j;
    }
    if (i < na) return kCFCompareGreaterThan;
    if (j < nb) return kCFCompareLessThan;
    return kCFCompareEqualTo;
}

bool MatchesAt(const std::vector<UniChar>& text, size_t at, const std::vector<UniChar>& pattern,
               bool fold) {
    for (size_t k = 0; k < pattern.size(); ++k) {
        UniChar a = text[at + k], b = pattern[k];
        if (a != b && (!fold || FoldCase(a) != FoldCase(b))) return false;
    }
    return true;
}

}  // namespace

extern "C" {

CFComparisonResult CFStringCompare(CFStringRef theString1, CFStringRef theString2,
                                   CFStringCompareFlags compareOptions) {
    return CFStringCompareWithOptions(
        theString1, theString2, CFRangeMake(0, CFStringGetLength(theString1)), compareOptions);
}

CFComparisonResult CFStringCompareWithOptions(CFStringRef theString1, CFStringRef theString2,
                                              CFRange range, CFStringCompareFlags compareOptions) {
    const __CFString* a = CastTo<__CFString>(theString1);
    const __CFString* b = CastTo<__CFString>(theString2);
    if (a == nullptr || b == nullptr) {
        if (a == b) return kCFCompareEqualTo;
        return a == nullptr ? kCFCompareLessThan : kCFCompareGreaterThan;
    }
    size_t size = a->mChars.size();
    if (range.location < 0 || range.length < 0 || static_cast<size_t>(range.location) > size)
        range = CFRangeMake(0, static_cast<CFIndex>(size));
    if (static_cast<size_t>(range.location + range.length) > size)
        range.length = static_cast<CFIndex>(size) - range.location;
    return CompareChars(a->mChars.data() + range.location, static_cast<size_t>(range.length),
                        b->mChars.data(), b->mChars.size(), compareOptions);
}

CFRange CFStringFind(CFStringRef theString, CFStringRef stringToFind,
                     CFStringCompareFlags compareOptions) {
    const __CFString* text = CastTo<__CFString>(theString);
    const __CFString* pattern = CastTo<__CFString>(stringToFind);
    CFRange none = CFRangeMake(kCFNotFound, 0);
    if (text == nullptr || pattern == nullptr || pattern->mChars.empty() ||
        pattern->mChars.size() > text->mChars.size())
        return none;
    bool fold = (compareOptions & kCFCompareCaseInsensitive) != 0;
    bool backwards = (compareOptions & kCFCompareBackwards) != 0;
    bool anchored = (compareOptions & kCFCompareAnchored) != 0;
    size_t last = text->mChars.size() - pattern->mChars.size();
    CFIndex length = static_cast<CFIndex>(pattern->mChars.size());
    if (anchored) {
        size_t at = backwards ? last : 0;
        if (MatchesAt(text->mChars, at, pattern->mChars, fold))
            return CFRangeMake(static_cast<CFIndex>(at), length);
        return none;
    }
    for (size_t k = 0; k <= last; ++k) {
        size_t at = backwards ? last - k : k;
        if (MatchesAt(text->mChars, at, pattern->mChars, fold))
            return CFRangeMake(static_cast<CFIndex>(at), length);
    }
    return none;
}

Boolean CFStringHasPrefix(CFStringRef theString, CFStringRef prefix) {
    if (CFStringGetLength(prefix) == 0) return CastTo<__CFString>(prefix) != nullptr;
    return CFStringFind(theString, prefix, kCFCompareAnchored).location == 0;
}

Boolean CFStringHasSuffix(CFStringRef theString, CFStringRef suffix) {
    if (CFStringGetLength(suffix) == 0) return CastTo<__CFString>(suffix) != nullptr;
    return CFStringFind(theString, suffix, kCFCompareAnchored | kCFCompareBackwards).location !=
           kCFNotFound;
}

SInt32 CFStringGetIntValue(CFStringRef theString) {
    const __CFString* str = CastTo<__CFString>(theString);
    if (str == nullptr) return 0;
    const std::vector<UniChar>& c = str->mChars;
    size_t i = 0;
    while (i < c.size() && (c[i] == ' ' || c[i] == '\t')) ++i;
    bool negative = false;
    if (i < c.size() && (c[i] == '-' || c[i] == '+')) negative = c[i++] == '-';
    SInt64 value = 0;
    for (; i < c.size() && IsDigit(c[i]); ++i) {
        value = value * 10 + (c[i] - '0');
        if (value > 0x80000000LL) value = 0x80000000LL;  // saturate
    }
    if (negative) value = -value;
    if (value > 0x7fffffffLL) value = 0x7fffffffLL;
    return static_cast<SInt32>(value);
}

}  // extern "C"
