// iconv handles are opened once per encoding and direction and kept for the life of the process;
// each use starts from the initial shift state.
#include "CoreFoundation/CFStringConverter.h"

#include <errno.h>
#include <iconv.h>

#include <cstring>
#include <map>
#include <utility>

namespace halyxcf {
namespace {

// Bytes converted per round when only measuring.
constexpr size_t kMeasureChunk = 4096;

enum Direction { kToUnicode, kFromUnicode };

iconv_t OpenConverter(CFStringEncoding encoding, Direction direction) {
    static auto* cache = new std::map<std::pair<CFStringEncoding, int>, iconv_t>();
    auto key = std::make_pair(encoding, static_cast<int>(direction));
    auto found = cache->find(key);
    if (found != cache->end()) {
        iconv(found->second, nullptr, nullptr, nullptr, nullptr);
        return found->second;
    }
    const char* name = HalyxIconvNameForEncoding(encoding);
    const char* unicode = HalyxIconvNameForEncoding(kCFStringEncodingUnicode);
    if (name == nullptr) return reinterpret_cast<iconv_t>(-1);
    iconv_t cd = direction == kToUnicode ? iconv_open(unicode, name) : iconv_open(name, unicode);
    if (cd != reinterpret_cast<iconv_t>(-1)) (*cache)[key] = cd;
    return cd;
}

bool AllASCII(const UInt8* bytes, size_t length) {
    for (size_t i = 0; i < length; ++i) {
        if (bytes[i] >= 0x80) return false;
    }
    return true;
}

bool IsHighSurrogate(UniChar c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLowSurrogate(UniChar c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

}  // namespace

bool IsASCIICompatible(CFStringEncoding encoding) {
    switch (encoding) {
        case kCFStringEncodingMacRoman:
        case kCFStringEncodingMacJapanese:
        case kCFStringEncodingMacCyrillic:
        case kCFStringEncodingMacCentralEurRoman:
        case kCFStringEncodingISOLatinCyrillic:
        case kCFStringEncodingISOLatinGreek:
        case kCFStringEncodingISOLatin9:
        case kCFStringEncodingWindowsCyrillic:
        case kCFStringEncodingWindowsGreek:
        case kCFStringEncodingWindowsLatin5:
        case kCFStringEncodingISOLatin1:
        case kCFStringEncodingISOLatin2:
        case kCFStringEncodingISOLatin5:
        case kCFStringEncodingDOSJapanese:
        case kCFStringEncodingWindowsLatin1:
        case kCFStringEncodingWindowsLatin2:
        case kCFStringEncodingASCII:
        case kCFStringEncodingShiftJIS:
        case kCFStringEncodingUTF8:
            return true;
        default:
            return false;
    }
}

bool DecodeBytes(const UInt8* bytes, size_t length, CFStringEncoding encoding,
                 std::vector<UniChar>* out) {
    if (length == 0) return HalyxIconvNameForEncoding(encoding) != nullptr;
    if (encoding == kCFStringEncodingUnicode) {
        if (length % 2 != 0) return false;
        size_t start = out->size();
        out->resize(start + length / 2);
        std::memcpy(out->data() + start, bytes, length);
        return true;
    }
    if (IsASCIICompatible(encoding) && AllASCII(bytes, length)) {
        out->insert(out->end(), bytes, bytes + length);
        return true;
    }
    iconv_t cd = OpenConverter(encoding, kToUnicode);
    if (cd == reinterpret_cast<iconv_t>(-1)) return false;

    size_t start = out->size();
    // Every supported encoding needs at most one UTF-16 unit per input byte, plus one pair.
    out->resize(start + length + 2);
    char* in = reinterpret_cast<char*>(const_cast<UInt8*>(bytes));
    size_t inLeft = length;
    char* outPtr = reinterpret_cast<char*>(out->data() + start);
    size_t outLeft = (length + 2) * sizeof(UniChar);
    size_t result = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    if (result == static_cast<size_t>(-1) || inLeft != 0) {
        out->resize(start);
        return false;
    }
    // Flush any pending shift state.
    iconv(cd, nullptr, nullptr, &outPtr, &outLeft);
    size_t produced = (length + 2) * sizeof(UniChar) - outLeft;
    out->resize(start + produced / sizeof(UniChar));
    return true;
}

CFIndex EncodeChars(const UniChar* chars, CFIndex count, CFStringEncoding encoding, UInt8 lossByte,
                    UInt8* buffer, CFIndex maxBufLen, CFIndex* usedBufLen) {
    CFIndex used = 0;
    CFIndex done = 0;
    if (buffer == nullptr)
        maxBufLen = -1;  // unlimited when measuring
    else if (maxBufLen < 0)
        maxBufLen = 0;
    if (encoding == kCFStringEncodingUnicode) {
        done = count;
        if (maxBufLen >= 0 && done * 2 > maxBufLen) done = maxBufLen / 2;
        if (buffer != nullptr && done > 0) std::memcpy(buffer, chars, done * 2);
        if (usedBufLen != nullptr) *usedBufLen = done * 2;
        return done;
    }
    iconv_t cd = OpenConverter(encoding, kFromUnicode);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        if (usedBufLen != nullptr) *usedBufLen = 0;
        return 0;
    }

    char scratch[kMeasureChunk];
    while (done < count) {
        char* in = reinterpret_cast<char*>(const_cast<UniChar*>(chars + done));
        size_t inLeft = static_cast<size_t>(count - done) * sizeof(UniChar);
        char* outStart = buffer != nullptr ? reinterpret_cast<char*>(buffer + used) : scratch;
        size_t outCap = buffer != nullptr ? static_cast<size_t>(maxBufLen - used) : kMeasureChunk;
        char* outPtr = outStart;
        size_t outLeft = outCap;
        size_t result = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        int error = result == static_cast<size_t>(-1) ? errno : 0;
        done = count - static_cast<CFIndex>(inLeft / sizeof(UniChar));
        used += static_cast<CFIndex>(outCap - outLeft);
        if (error == 0) break;
        if (error == E2BIG) {
            if (buffer != nullptr) break;  // the next character does not fit
            continue;                      // measuring: go on with a fresh scratch buffer
        }
        // EILSEQ or EINVAL: the character at `done` has no form in this encoding.
        if (lossByte == 0) break;
        if (buffer != nullptr) {
            if (used >= maxBufLen) break;
            buffer[used] = lossByte;
        }
        ++used;
        bool pair =
            IsHighSurrogate(chars[done]) && done + 1 < count && IsLowSurrogate(chars[done + 1]);
        done += pair ? 2 : 1;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    if (usedBufLen != nullptr) *usedBufLen = used;
    return done;
}

}  // namespace halyxcf
