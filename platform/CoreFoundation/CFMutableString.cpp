// Changing mutable strings; every call is ignored on an immutable string.
#include <cstring>
#include <vector>

#include "CoreFoundation/CFString.h"
#include "CoreFoundation/CFStringConverter.h"
#include "CoreFoundation/CFStringObject.h"

using halyxcf::CastTo;

namespace {

__CFString* Mutable(CFMutableStringRef theString) {
    __CFString* str = CastTo<__CFString>(theString);
    return str != nullptr && str->mMutable ? str : nullptr;
}

// Replaces `range` (clipped) of `str` with `chars`.
void ReplaceChars(__CFString* str, CFRange range, const std::vector<UniChar>& chars) {
    size_t size = str->mChars.size();
    if (range.location < 0 || range.length < 0 || static_cast<size_t>(range.location) > size)
        return;
    size_t start = static_cast<size_t>(range.location);
    size_t count = static_cast<size_t>(range.length);
    if (count > size - start) count = size - start;
    str->mChars.erase(str->mChars.begin() + start, str->mChars.begin() + start + count);
    str->mChars.insert(str->mChars.begin() + start, chars.begin(), chars.end());
    str->Changed();
}

std::vector<UniChar> CharsOf(CFStringRef theString) {
    const __CFString* str = CastTo<__CFString>(theString);
    return str == nullptr ? std::vector<UniChar>() : str->mChars;
}

}  // namespace

extern "C" {

void CFStringAppend(CFMutableStringRef theString, CFStringRef appendedString) {
    __CFString* str = Mutable(theString);
    if (str == nullptr || CastTo<__CFString>(appendedString) == nullptr) return;
    ReplaceChars(str, CFRangeMake(static_cast<CFIndex>(str->mChars.size()), 0),
                 CharsOf(appendedString));
}

void CFStringAppendCharacters(CFMutableStringRef theString, const UniChar* chars,
                              CFIndex numChars) {
    __CFString* str = Mutable(theString);
    if (str == nullptr || chars == nullptr || numChars <= 0) return;
    ReplaceChars(str, CFRangeMake(static_cast<CFIndex>(str->mChars.size()), 0),
                 std::vector<UniChar>(chars, chars + numChars));
}

void CFStringAppendCString(CFMutableStringRef theString, const char* cStr,
                           CFStringEncoding encoding) {
    __CFString* str = Mutable(theString);
    if (str == nullptr || cStr == nullptr) return;
    std::vector<UniChar> chars;
    if (!halyxcf::DecodeBytes(reinterpret_cast<const UInt8*>(cStr), std::strlen(cStr), encoding,
                              &chars))
        return;
    ReplaceChars(str, CFRangeMake(static_cast<CFIndex>(str->mChars.size()), 0), chars);
}

void CFStringAppendPascalString(CFMutableStringRef theString, ConstStr255Param pStr,
                                CFStringEncoding encoding) {
    __CFString* str = Mutable(theString);
    if (str == nullptr || pStr == nullptr) return;
    std::vector<UniChar> chars;
    if (!halyxcf::DecodeBytes(pStr + 1, pStr[0], encoding, &chars)) return;
    ReplaceChars(str, CFRangeMake(static_cast<CFIndex>(str->mChars.size()), 0), chars);
}

void CFStringInsert(CFMutableStringRef theString, CFIndex idx, CFStringRef insertedStr) {
    __CFString* str = Mutable(theString);
    if (str == nullptr || CastTo<__CFString>(insertedStr) == nullptr) return;
    ReplaceChars(str, CFRangeMake(idx, 0), CharsOf(insertedStr));
}

void CFStringDelete(CFMutableStringRef theString, CFRange range) {
    __CFString* str = Mutable(theString);
    if (str != nullptr) ReplaceChars(str, range, {});
}

void CFStringReplace(CFMutableStringRef theString, CFRange range, CFStringRef replacement) {
    __CFString* str = Mutable(theString);
    if (str == nullptr || CastTo<__CFString>(replacement) == nullptr) return;
    ReplaceChars(str, range, CharsOf(replacement));
}

void CFStringReplaceAll(CFMutableStringRef theString, CFStringRef replacement) {
    __CFString* str = Mutable(theString);
    if (str == nullptr || CastTo<__CFString>(replacement) == nullptr) return;
    ReplaceChars(str, CFRangeMake(0, static_cast<CFIndex>(str->mChars.size())),
                 CharsOf(replacement));
}

}  // extern "C"
