// iconv handles are opened once per thread, encoding and direction, and kept for the life of the
// thread (a handle is never used by two threads at once). Each use starts from the initial shift
// state: a handle is reset before a use only when iconv worked on it since it was last known to be
// in that state.
#include "CoreFoundation/CFStringConverter.h"

#include <errno.h>
#include <iconv.h>

#include <cstring>

namespace halyxcf {
namespace {

// Bytes converted per round when only measuring.
constexpr size_t kMeasureChunk = 4096;

enum Direction { kToUnicode, kFromUnicode };

const iconv_t kNoIconv = reinterpret_cast<iconv_t>(-1);

struct CachedConverter {
    CFStringEncoding encoding;
    Direction direction;
    iconv_t cd;
    bool needsReset;  // iconv worked on it since it was last in its initial state
};

// Room for both directions of every encoding the names table knows.
constexpr size_t kCacheSize = 64;

struct ConverterCache {
    CachedConverter entries[kCacheSize];
    size_t count = 0;
    bool closed = false;  // the thread is ending: no handle is opened or handed out any more

    ~ConverterCache() {
        for (size_t i = 0; i < count; ++i) iconv_close(entries[i].cd);
        count = 0;
        closed = true;
    }
};

thread_local ConverterCache tConverters;

// The handle for `encoding` in `direction`, in its initial state; null when iconv cannot convert.
CachedConverter* OpenConverter(CFStringEncoding encoding, Direction direction) {
    ConverterCache& cache = tConverters;
    if (cache.closed) return nullptr;
    for (size_t i = 0; i < cache.count; ++i) {
        CachedConverter& entry = cache.entries[i];
        if (entry.encoding != encoding || entry.direction != direction) continue;
        if (entry.needsReset) {
            iconv(entry.cd, nullptr, nullptr, nullptr, nullptr);
            entry.needsReset = false;
        }
        return &entry;
    }
    const char* name = HalyxIconvNameForEncoding(encoding);
    const char* unicode = HalyxIconvNameForEncoding(kCFStringEncodingUnicode);
    if (name == nullptr || cache.count == kCacheSize) return nullptr;
    iconv_t cd = direction == kToUnicode ? iconv_open(unicode, name) : iconv_open(name, unicode);
    if (cd == kNoIconv) return nullptr;
    cache.entries[cache.count] = CachedConverter{encoding, direction, cd, false};
    return &cache.entries[cache.count++];
}

// Encodings of one byte per character, all of them writing ASCII as itself.
bool IsSingleByte(CFStringEncoding encoding) {
    switch (encoding) {
        case kCFStringEncodingMacRoman:
        case kCFStringEncodingMacCyrillic:
        case kCFStringEncodingMacCentralEurRoman:
        case kCFStringEncodingISOLatin1:
        case kCFStringEncodingISOLatin2:
        case kCFStringEncodingISOLatinCyrillic:
        case kCFStringEncodingISOLatinGreek:
        case kCFStringEncodingISOLatin5:
        case kCFStringEncodingISOLatin9:
        case kCFStringEncodingWindowsLatin1:
        case kCFStringEncodingWindowsLatin2:
        case kCFStringEncodingWindowsCyrillic:
        case kCFStringEncodingWindowsGreek:
        case kCFStringEncodingWindowsLatin5:
        case kCFStringEncodingASCII:
            return true;
        default:
            return false;
    }
}

// The characters iconv reads for the bytes from 0x80 up of a single-byte encoding, asked of iconv
// one byte at a time, so that reading through the table gives iconv's own answers.
constexpr UniChar kNoCharacter = 0xFFFF;  // iconv refuses the byte
struct ByteTable {
    CFStringEncoding encoding;
    bool usable;  // every byte gave at most one UTF-16 unit, none of them U+FFFF
    UniChar chars[0x80];
};
constexpr size_t kMaxByteTables = 16;
thread_local ByteTable tTables[kMaxByteTables];
thread_local size_t tTableCount = 0;

// The table of a single-byte encoding; null when iconv cannot read it or reads a byte as more than
// one unit.
const ByteTable* TableFor(CFStringEncoding encoding) {
    for (size_t i = 0; i < tTableCount; ++i) {
        if (tTables[i].encoding == encoding) return tTables[i].usable ? &tTables[i] : nullptr;
    }
    CachedConverter* converter = OpenConverter(encoding, kToUnicode);
    if (converter == nullptr || tTableCount == kMaxByteTables) return nullptr;
    ByteTable& table = tTables[tTableCount++];
    table.encoding = encoding;
    table.usable = true;
    for (unsigned byte = 0x80; byte <= 0xFF && table.usable; ++byte) {
        char in = static_cast<char>(byte);
        char* inPtr = &in;
        size_t inLeft = 1;
        UniChar units[4];
        char* outPtr = reinterpret_cast<char*>(units);
        size_t outLeft = sizeof units;
        iconv(converter->cd, nullptr, nullptr, nullptr, nullptr);
        const size_t result = iconv(converter->cd, &inPtr, &inLeft, &outPtr, &outLeft);
        const size_t produced = (sizeof units - outLeft) / sizeof(UniChar);
        if (result == static_cast<size_t>(-1) || inLeft != 0) {
            table.chars[byte - 0x80] = kNoCharacter;
        } else if (produced == 1 && units[0] != kNoCharacter) {
            table.chars[byte - 0x80] = units[0];
        } else {
            table.usable = false;
        }
    }
    converter->needsReset = true;
    return table.usable ? &table : nullptr;
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
    if (IsASCIICompatible(encoding)) {
        // Widen every byte; ASCII bytes are their own characters.
        const size_t start = out->size();
        out->resize(start + length);
        UniChar* chars = out->data() + start;
        UInt8 high = 0;
        for (size_t i = 0; i < length; ++i) {
            chars[i] = bytes[i];
            high |= bytes[i];
        }
        if (high < 0x80) return true;
        const ByteTable* table = IsSingleByte(encoding) ? TableFor(encoding) : nullptr;
        if (table != nullptr) {
            for (size_t i = 0; i < length; ++i) {
                if (chars[i] < 0x80) continue;
                chars[i] = table->chars[chars[i] - 0x80];
                if (chars[i] == kNoCharacter) {
                    out->resize(start);
                    return false;
                }
            }
            return true;
        }
        out->resize(start);
    }
    CachedConverter* converter = OpenConverter(encoding, kToUnicode);
    if (converter == nullptr) return false;
    iconv_t cd = converter->cd;
    converter->needsReset = true;

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
    // Flush any pending shift state; the handle is back in its initial state.
    iconv(cd, nullptr, nullptr, &outPtr, &outLeft);
    converter->needsReset = false;
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
    if (IsASCIICompatible(encoding)) {
        // Characters below 0x80 are their own byte in these encodings: copy the leading run of
        // them; iconv takes over from the first other character.
        CFIndex limit = buffer != nullptr && maxBufLen < count ? maxBufLen : count;
        if (buffer != nullptr) {
            while (done < limit && chars[done] < 0x80) {
                buffer[done] = static_cast<UInt8>(chars[done]);
                ++done;
            }
        } else {
            while (done < limit && chars[done] < 0x80) ++done;
        }
        used = done;
        if (done == count || done == maxBufLen) {
            if (usedBufLen != nullptr) *usedBufLen = used;
            return done;
        }
    }
    CachedConverter* converter = OpenConverter(encoding, kFromUnicode);
    if (converter == nullptr) {
        if (usedBufLen != nullptr) *usedBufLen = 0;
        return 0;
    }
    iconv_t cd = converter->cd;
    converter->needsReset = true;

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
