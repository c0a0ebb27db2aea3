#include "PPDObjects/Controls/PPDXUserAuthLib.h"

#include <sys/time.h>
#include <unistd.h>

#include <climits>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "CoreFoundation/CFData.h"
#include "CoreFoundation/CFDictionary.h"
#include "CoreFoundation/CFNumber.h"
#include "CoreFoundation/CFString.h"
#include "IOKit/IOKitLib.h"
#include "Memory/MacMemory.h"
#include "crypto/Base64Decoder.h"
#include "crypto/Base64Encoder.h"
#include "crypto/Keys.h"
#include "crypto/SHA1.h"
#include "crypto/Twofish.h"
#include "foundation/Diagnostics.h"

namespace {

const UInt32 kVersion = 1;
const int kRecordHeaderSize = 36;  // version, three lengths, domain type, GUID
const int kDigestSize = 20;
const int kSessionKeySize = 32;
const int kOuterHeaderSize = 40;  // version, L1, session key
const int kOuterTrailerSize = 8;
const int kTwofishBlock = 16;
const int kMACAddressSize = 6;
// Longest user name + password + domain packed: keeps every length below well within an int.
const size_t kMaxPackedText = 1 << 24;

// Internal consistency checks that stop the process: they cannot fail with the lengths computed
// here.
#define UAL_CHECK(condition) \
    ((condition) ? static_cast<void>(0) : CheckFailed(#condition, __LINE__))

[[noreturn]] void CheckFailed(const char* condition, int line) {
    std::fprintf(stderr, "PPDObjects/Controls/PPDXUserAuthLib.cpp:%d: failed assertion \"%s\"\n",
                 line, condition);
    std::abort();
}

void PutBE32(UInt8* p, UInt32 v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<UInt8>(v >> (24 - 8 * i));
}

void PutLE32(UInt8* p, UInt32 v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<UInt8>(v >> (8 * i));
}

UInt32 GetBE32(const UInt8* p) {
    return (static_cast<UInt32>(p[0]) << 24) | (static_cast<UInt32>(p[1]) << 16) |
           (static_cast<UInt32>(p[2]) << 8) | p[3];
}

UInt8* NewBytes(size_t size) {
    return reinterpret_cast<UInt8*>(NewPtrClear(static_cast<Size>(size)));
}

// Clears and releases a buffer (null is ignored).
void DisposeBytes(UInt8* p, size_t size) {
    if (p == nullptr) return;
    std::memset(p, 0, size);
    DisposePtr(reinterpret_cast<Ptr>(p));
}

// Keys `keyInst` with the 32-byte `key`, with the full S-box tables when `fullKeying`. False when
// the cipher refuses.
bool MakeTwofishKey(const UInt8* key, bool fullKeying, halyx::crypto::keyInstance* keyInst) {
    using namespace halyx::crypto;
    if (makeKey(keyInst, DIR_ENCRYPT, 256, nullptr) != TWOFISH_TRUE) return false;
    keyInst->fullKeying = fullKeying ? 1 : 0;
    for (int i = 0; i < 8; ++i) {
        const UInt8* w = key + 4 * i;
        keyInst->key32[i] = w[0] | (static_cast<DWORD>(w[1]) << 8) |
                            (static_cast<DWORD>(w[2]) << 16) | (static_cast<DWORD>(w[3]) << 24);
    }
    return reKey(keyInst) == TWOFISH_TRUE;
}

// Enciphers or deciphers `length` bytes (a multiple of 16) in ECB mode under `keyInst`. 0, or -1
// when the length is not whole blocks or the cipher refuses.
int KeyedBlockOp(bool encrypt, halyx::crypto::keyInstance* keyInst, const UInt8* data,
                 size_t length, UInt8* out) {
    using namespace halyx::crypto;
    if (length % kTwofishBlock != 0 || length > static_cast<size_t>(INT_MAX / 8)) return -1;
    cipherInstance cipherInst;
    if (cipherInit(&cipherInst, MODE_ECB, nullptr) != TWOFISH_TRUE) return -1;
    int bits = static_cast<int>(length * 8);
    int done = encrypt ? blockEncrypt(&cipherInst, keyInst, data, bits, out)
                       : blockDecrypt(&cipherInst, keyInst, data, bits, out);
    return done == bits ? 0 : -1;
}

// Enciphers or deciphers `length` bytes (a multiple of 16) with Twofish in ECB mode under the
// 32-byte `key`. 0, or -1 when the length is not whole blocks or the cipher refuses. The schedule
// is made on the fly (a session key serves only a few blocks) and cleared after use.
int TwofishBlockOp(bool encrypt, const UInt8* key, const UInt8* data, size_t length, UInt8* out) {
    if (length % kTwofishBlock != 0 || length > static_cast<size_t>(INT_MAX / 8)) return -1;
    halyx::crypto::keyInstance keyInst;
    int result = MakeTwofishKey(key, false, &keyInst)
                     ? KeyedBlockOp(encrypt, &keyInst, data, length, out)
                     : -1;
    std::memset(&keyInst, 0, sizeof keyInst);
    return result;
}

// The fixed key's schedule and S-box tables, made once: they are the same for every record, and
// the key is a constant of the program. Only read after it is made, so threads may share it.
struct FixedKeySchedule {
    halyx::crypto::keyInstance keyInst;
    bool made;
    FixedKeySchedule() : made(MakeTwofishKey(halyx::crypto::UserAuthKey(), true, &keyInst)) {}
};

// TwofishBlockOp under the fixed key shared with the print server.
int FixedKeyBlockOp(bool encrypt, const UInt8* data, size_t length, UInt8* out) {
    static FixedKeySchedule schedule;
    return schedule.made ? KeyedBlockOp(encrypt, &schedule.keyInst, data, length, out) : -1;
}

bool gSeeded = false;
unsigned gSeed = 0;

// Eight words, each least significant byte first: r1, process id, r2, time, r3, the key's address,
// r4, r1 again, where r1..r4 are successive values of rand(). The generator is seeded once per
// process so that later keys continue its sequence.
void MakeSessionKey(UInt8* key) {
    if (!gSeeded) {
        gSeed = static_cast<unsigned>(std::time(nullptr)) + static_cast<unsigned>(getpid());
        std::srand(gSeed);
        gSeeded = true;
    }
    UInt32 r1 = static_cast<UInt32>(std::rand());
    UInt32 r2 = static_cast<UInt32>(std::rand());
    UInt32 r3 = static_cast<UInt32>(std::rand());
    UInt32 r4 = static_cast<UInt32>(std::rand());
    UInt32 words[8] = {r1, static_cast<UInt32>(getpid()),
                       r2, static_cast<UInt32>(std::time(nullptr)),
                       r3, static_cast<UInt32>(reinterpret_cast<uintptr_t>(key)),
                       r4, r1};
    for (int i = 0; i < 8; ++i) PutLE32(key + 4 * i, words[i]);
}

// Builds the authentication record in a new zeroed buffer of *dataSize bytes.
bool PackRecord(const char* userName, size_t lenU, const char* password, size_t lenP,
                const char* domain, size_t lenD, UAL_DomainType domainType, const UInt8* guid,
                UInt8** data, int* dataSize) {
    *dataSize = static_cast<int>(kRecordHeaderSize + lenU + lenP + lenD);
    *data = NewBytes(static_cast<size_t>(*dataSize));
    if (*data == nullptr) return false;
    UInt8* pCurrent = *data;
    PutBE32(pCurrent, kVersion);
    PutBE32(pCurrent + 4, static_cast<UInt32>(lenU));
    PutBE32(pCurrent + 8, static_cast<UInt32>(lenP));
    PutBE32(pCurrent + 12, static_cast<UInt32>(lenD));
    PutBE32(pCurrent + 16, static_cast<UInt32>(domainType));
    pCurrent += 20;
    if (guid != nullptr) std::memcpy(pCurrent, guid, kUAL_GUIDSize);
    pCurrent += kUAL_GUIDSize;
    std::memcpy(pCurrent, userName, lenU);
    pCurrent += lenU;
    std::memcpy(pCurrent, password, lenP);
    pCurrent += lenP;
    std::memcpy(pCurrent, domain, lenD);
    pCurrent += lenD;
    UAL_CHECK((int)(pCurrent - *data) == *dataSize);
    return true;
}

void Digest(const UInt8* data, size_t size, UInt8* out) {
    halyx::crypto::SHA1 sha;
    sha.Input(data, static_cast<unsigned>(size));
    unsigned words[5];
    sha.Result(words);
    for (int i = 0; i < 5; ++i) PutLE32(out + 4 * i, words[i]);
}

// Base64 text of `length` bytes into `text`, which holds maxOutLen characters and a terminator.
void EncodeText(const UInt8* data, int length, char* text, int* outLen, int maxOutLen) {
    *outLen = halyx::crypto::Base64Encoder::Encode(data, length, text, false);
    UAL_CHECK(*outLen <= maxOutLen);
}

// The bytes of `length` characters of `text` into `data`, which holds maxOutLen bytes.
void DecodeText(const char* text, int length, UInt8* data, int* outLen, int maxOutLen) {
    *outLen = halyx::crypto::Base64Decoder::Decode(text, length, data);
    UAL_CHECK(*outLen <= maxOutLen);
}

// A new heap string holding `length` bytes of `bytes`.
char* CopyString(const UInt8* bytes, size_t length) {
    char* s = reinterpret_cast<char*>(NewBytes(length + 1));
    if (s != nullptr) std::memcpy(s, bytes, length);
    return s;
}

void SystemClock(long* seconds, long* microseconds) {
    struct timeval now;
    gettimeofday(&now, nullptr);
    *seconds = static_cast<long>(now.tv_sec);
    *microseconds = static_cast<long>(now.tv_usec);
}

UAL_ClockProc gClock = SystemClock;
long gLastSeconds = -1;
long gLastMicroseconds = -1;
UInt32 gLastStamp = 0;
bool gHaveStamp = false;

// Moves a time of day on by `step` microseconds, carrying into the seconds.
void Advance(long* seconds, long* microseconds, long step) {
    *microseconds += step;
    while (*microseconds >= 1000000) {
        *microseconds -= 1000000;
        ++*seconds;
    }
}

// The 32-bit time stamp a client identifier carries: the seconds shifted left by 4, with bits 24-27
// replaced by bits 8-11 of the microseconds.
UInt32 TimeStamp(long seconds, long microseconds) {
    UInt32 v = static_cast<UInt32>(seconds) << 4;
    return (v & ~0x0F000000u) | (((static_cast<UInt32>(microseconds) >> 8) & 0xFu) << 24);
}

// The time of day for a new client identifier: moved on by one microsecond when the clock still
// shows the time handed out last. The stamp keeps only microsecond bits 8-11, so one microsecond
// rarely changes it; when the stamp would repeat the last one, the time moves on to the start of
// the next 256-microsecond step, so that two identifiers made one after the other always differ.
UInt32 UniqueTimeStamp() {
    long seconds = 0, microseconds = 0;
    gClock(&seconds, &microseconds);
    if (seconds == gLastSeconds && microseconds == gLastMicroseconds)
        Advance(&seconds, &microseconds, 1);
    UInt32 stamp = TimeStamp(seconds, microseconds);
    if (gHaveStamp && stamp == gLastStamp) {
        Advance(&seconds, &microseconds, 256 - (microseconds & 0xFF));
        stamp = TimeStamp(seconds, microseconds);
    }
    gLastSeconds = seconds;
    gLastMicroseconds = microseconds;
    gLastStamp = stamp;
    gHaveStamp = true;
    return stamp;
}

UInt8 gMACAddress[kMACAddressSize];

}  // namespace

int UAL_PackAndEncrypt(const char* userName, const char* password, const char* domain,
                       UAL_DomainType domainType, const UInt8* guid, char** outText) {
    if (outText == nullptr) return -1;
    *outText = nullptr;
    if (userName == nullptr || password == nullptr) return -1;
    if (domain == nullptr) domain = "";
    size_t lenU = std::strlen(userName), lenP = std::strlen(password), lenD = std::strlen(domain);
    if (lenU > kMaxPackedText || lenP > kMaxPackedText || lenD > kMaxPackedText ||
        lenU + lenP + lenD > kMaxPackedText)
        return -1;

    UInt8* data = nullptr;
    int dataSize = 0;
    if (!PackRecord(userName, lenU, password, lenP, domain, lenD, domainType, guid, &data,
                    &dataSize))
        return -1;

    size_t total = lenU + lenP + lenD;
    size_t l1 = (total + 60) / kTwofishBlock * kTwofishBlock + kTwofishBlock;
    size_t l2 = l1 + kOuterHeaderSize + kOuterTrailerSize;
    int maxOutLen = static_cast<int>((l2 + 2) / 3 * 4);
    int result = -1;
    UInt8* sessionKey = NewBytes(kSessionKeySize);
    UInt8* sealed = NewBytes(l1);
    UInt8* outer = NewBytes(l2);
    UInt8* enciphered = NewBytes(l2);
    char* text = reinterpret_cast<char*>(NewBytes(static_cast<size_t>(maxOutLen) + 1));
    if (sessionKey != nullptr && sealed != nullptr && outer != nullptr && enciphered != nullptr &&
        text != nullptr) {
        MakeSessionKey(sessionKey);
        PutBE32(sealed, static_cast<UInt32>(dataSize));
        std::memcpy(sealed + 4, data, static_cast<size_t>(dataSize));
        Digest(data, static_cast<size_t>(dataSize), sealed + 4 + dataSize);

        PutBE32(outer, kVersion);
        PutBE32(outer + 4, static_cast<UInt32>(l1));
        std::memcpy(outer + 8, sessionKey, kSessionKeySize);
        if (TwofishBlockOp(true, sessionKey, sealed, l1, outer + kOuterHeaderSize) == 0 &&
            FixedKeyBlockOp(true, outer, l2, enciphered) == 0) {
            int outLen = 0;
            EncodeText(enciphered, static_cast<int>(l2), text, &outLen, maxOutLen);
            *outText = text;
            text = nullptr;
            result = 0;
        }
    }
    DisposeBytes(reinterpret_cast<UInt8*>(text), static_cast<size_t>(maxOutLen) + 1);
    DisposeBytes(enciphered, l2);
    DisposeBytes(outer, l2);
    DisposeBytes(sealed, l1);
    DisposeBytes(sessionKey, kSessionKeySize);
    DisposeBytes(data, static_cast<size_t>(dataSize));
    return result;
}

int UAL_UnpackAndDecrypt(const char* text, char** userName, char** password, char** domain,
                         UAL_DomainType* domainType, UInt8* guid) {
    if (userName != nullptr) *userName = nullptr;
    if (password != nullptr) *password = nullptr;
    if (domain != nullptr) *domain = nullptr;
    if (text == nullptr || userName == nullptr || password == nullptr || domain == nullptr ||
        domainType == nullptr || guid == nullptr)
        return -1;
    size_t length = std::strlen(text);
    if (length > static_cast<size_t>(INT_MAX / 2)) return -1;

    int maxOutLen = halyx::crypto::Base64Decoder::MaxDecodedLength(static_cast<int>(length));
    size_t decodedSize = maxOutLen > 0 ? static_cast<size_t>(maxOutLen) : 1;
    UInt8* decoded = NewBytes(decodedSize);
    if (decoded == nullptr) return -1;
    int outLen = 0;
    DecodeText(text, static_cast<int>(length), decoded, &outLen, maxOutLen);

    int result = -1;
    size_t n = static_cast<size_t>(outLen);
    UInt8* outer = nullptr;
    UInt8* sealed = nullptr;
    size_t l1 = 0;
    char* strings[3] = {nullptr, nullptr, nullptr};
    do {
        if (n < static_cast<size_t>(kOuterHeaderSize + kTwofishBlock)) break;
        outer = NewBytes(n);
        if (outer == nullptr) break;
        if (FixedKeyBlockOp(false, decoded, n, outer) != 0) break;
        if (GetBE32(outer) != kVersion) break;
        l1 = GetBE32(outer + 4);
        if (l1 > n - kOuterHeaderSize) break;
        sealed = NewBytes(l1 > 0 ? l1 : 1);
        if (sealed == nullptr) break;
        if (TwofishBlockOp(false, outer + 8, outer + kOuterHeaderSize, l1, sealed) != 0) break;
        if (l1 < 4 + static_cast<size_t>(kRecordHeaderSize + kDigestSize)) break;

        size_t dataSize = GetBE32(sealed);
        if (dataSize < static_cast<size_t>(kRecordHeaderSize) || dataSize > l1 - 4 - kDigestSize)
            break;
        const UInt8* record = sealed + 4;
        UInt8 digest[kDigestSize];
        Digest(record, dataSize, digest);
        if (std::memcmp(digest, record + dataSize, kDigestSize) != 0) break;

        if (GetBE32(record) != kVersion) break;
        size_t lengths[3] = {GetBE32(record + 4), GetBE32(record + 8), GetBE32(record + 12)};
        if (lengths[0] + lengths[1] + lengths[2] != dataSize - kRecordHeaderSize) break;
        const UInt8* p = record + kRecordHeaderSize;
        bool made = true;
        for (int i = 0; i < 3 && made; ++i) {
            strings[i] = CopyString(p, lengths[i]);
            made = strings[i] != nullptr;
            p += lengths[i];
        }
        if (!made) break;

        *userName = strings[0];
        *password = strings[1];
        *domain = strings[2];
        strings[0] = strings[1] = strings[2] = nullptr;
        *domainType = static_cast<UAL_DomainType>(GetBE32(record + 16));
        std::memcpy(guid, record + 20, kUAL_GUIDSize);
        result = 0;
    } while (false);

    for (char* s : strings)
        if (s != nullptr) DisposePtr(s);
    DisposeBytes(sealed, l1 > 0 ? l1 : 1);
    DisposeBytes(outer, n);
    DisposeBytes(decoded, decodedSize);
    return result;
}

int AUTH_packAndEncrypt(const char* userName, const char* password, const char* /*domain*/,
                        UAL_DomainType domainType, int /*reserved*/, char** outText) {
    if (outText == nullptr) return -1;
    char user[256], pass[256], dom[256];
    std::memset(user, 0, sizeof user);
    std::memset(pass, 0, sizeof pass);
    std::memset(dom, 0, sizeof dom);
    UInt8 guid[kUAL_GUIDSize];
    if (!CreateGUID(guid)) std::memset(guid, 0, sizeof guid);
    if (domainType == kUAL_DomainTypeDefault && userName != nullptr && password != nullptr &&
        userName[0] != '\0') {
        std::strncpy(user, userName, sizeof user - 1);
        std::strncpy(pass, password, sizeof pass - 1);
    }
    return UAL_PackAndEncrypt(user, pass, dom, kUAL_DomainTypeDefault, guid, outText);
}

void AUTH_freeBuffer(char** buffer) {
    if (buffer != nullptr && *buffer != nullptr) {
        std::free(*buffer);
        *buffer = nullptr;
    }
}

bool CreateGUID(UInt8* guid) {
    if (guid == nullptr) return false;
    std::memset(guid, 0, kUAL_GUIDSize);
    UInt8* mac = nullptr;
    if (goGetMACAddress(&mac) == 0 && mac != nullptr) std::memcpy(guid, mac, kMACAddressSize);

    PutLE32(guid + kMACAddressSize, UniqueTimeStamp());
    return true;
}

// What the interface lookup found or why it failed, for a developer who asked for diagnostics.
static void Diagnose(const char* format, ...) __attribute__((format(printf, 1, 2)));
static void Diagnose(const char* format, ...) {
    if (!HalyxDiagnosticsWanted()) return;
    va_list arguments;
    va_start(arguments, format);
    std::vfprintf(stderr, format, arguments);
    va_end(arguments);
}

SInt32 goGetMACAddress(UInt8** macAddress) {
    CFMutableDictionaryRef matching = IOServiceMatching(kIOEthernetInterfaceClass);
    if (matching == nullptr) {
        Diagnose("IOServiceMatching returned a NULL dictionary.\n");
    } else {
        CFMutableDictionaryRef propertyMatch =
            CFDictionaryCreateMutable(kCFAllocatorDefault, 0, &kCFTypeDictionaryKeyCallBacks,
                                      &kCFTypeDictionaryValueCallBacks);
        if (propertyMatch == nullptr) {
            Diagnose("CFDictionaryCreateMutable returned a NULL dictionary.\n");
        } else {
            CFDictionarySetValue(propertyMatch, CFSTR(kIOPrimaryInterface), kCFBooleanTrue);
            CFDictionarySetValue(matching, CFSTR(kIOPropertyMatchKey), propertyMatch);
            CFRelease(propertyMatch);
        }
    }

    io_iterator_t iterator = IO_OBJECT_NULL;
    kern_return_t status = IOServiceGetMatchingServices(kIOMasterPortDefault, matching, &iterator);
    if (status != KERN_SUCCESS) {
        Diagnose("IOServiceGetMatchingServices returned 0x%08x\n", static_cast<unsigned>(status));
        Diagnose("FindEthernetInterfaces returned 0x%08x\n", static_cast<unsigned>(status));
        if (iterator != IO_OBJECT_NULL) IOObjectRelease(iterator);
        return status;
    }

    std::memset(gMACAddress, 0, sizeof gMACAddress);
    status = KERN_FAILURE;
    while (io_object_t service = IOIteratorNext(iterator)) {
        io_registry_entry_t controller = IO_OBJECT_NULL;
        status = IORegistryEntryGetParentEntry(service, kIOServicePlane, &controller);
        if (status != KERN_SUCCESS) {
            Diagnose("IORegistryEntryGetParentEntry returned 0x%08x\n",
                     static_cast<unsigned>(status));
        } else {
            CFTypeRef address = IORegistryEntryCreateCFProperty(controller, CFSTR(kIOMACAddress),
                                                                kCFAllocatorDefault, 0);
            if (address != nullptr) {
                if (HalyxDiagnosticsWanted()) CFShow(address);
                if (CFGetTypeID(address) == CFDataGetTypeID())
                    CFDataGetBytes(static_cast<CFDataRef>(address), CFRangeMake(0, kMACAddressSize),
                                   gMACAddress);
                CFRelease(address);
            }
            IOObjectRelease(controller);
        }
        IOObjectRelease(service);
    }
    if (macAddress != nullptr) *macAddress = gMACAddress;
    IOObjectRelease(iterator);
    return status;
}

void UAL_SetClockForTesting(UAL_ClockProc clock) {
    gClock = clock != nullptr ? clock : SystemClock;
}
