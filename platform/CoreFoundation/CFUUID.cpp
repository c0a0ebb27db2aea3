#include "CoreFoundation/CFUUID.h"

#include <array>
#include <cstring>
#include <map>
#include <random>
#include <string>

#include "CoreFoundation/CFObject.h"
#include "CoreFoundation/CFStringObject.h"

using halyxcf::CastTo;

using UUIDBytes = std::array<UInt8, 16>;

struct __CFUUID : public halyxcf::CFObject {
    static constexpr CFTypeID kTypeID = halyxcf::kTypeUUID;
    explicit __CFUUID(const UUIDBytes& bytes) : CFObject(kTypeID), mBytes(bytes) {}

    bool Equal(const CFObject* other) const override {
        return mBytes == static_cast<const __CFUUID*>(other)->mBytes;
    }
    CFHashCode Hash() const override { return halyxcf::HashBytes(mBytes.data(), mBytes.size()); }
    std::string Describe() const override;

    UUIDBytes mBytes;
};

namespace {

// Hex digits per group of the text form.
constexpr int kGroupDigits[] = {8, 4, 4, 4, 12};

int HexValue(UniChar c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

UUIDBytes FromArgs(UInt8 b0, UInt8 b1, UInt8 b2, UInt8 b3, UInt8 b4, UInt8 b5, UInt8 b6, UInt8 b7,
                   UInt8 b8, UInt8 b9, UInt8 b10, UInt8 b11, UInt8 b12, UInt8 b13, UInt8 b14,
                   UInt8 b15) {
    return UUIDBytes{b0, b1, b2, b3, b4, b5, b6, b7, b8, b9, b10, b11, b12, b13, b14, b15};
}

}  // namespace

std::string __CFUUID::Describe() const {
    static const char kHex[] = "0123456789ABCDEF";
    std::string text;
    size_t byte = 0;
    for (int group = 0; group < 5; ++group) {
        if (group > 0) text += '-';
        for (int i = 0; i < kGroupDigits[group] / 2; ++i, ++byte) {
            text += kHex[mBytes[byte] >> 4];
            text += kHex[mBytes[byte] & 15];
        }
    }
    return text;
}

extern "C" {

CFTypeID CFUUIDGetTypeID(void) {
    return __CFUUID::kTypeID;
}

CFUUIDRef CFUUIDCreate(CFAllocatorRef) {
    static std::mt19937_64* generator = [] {
        std::random_device seed;
        std::seed_seq seq{seed(), seed(), seed(), seed()};
        return new std::mt19937_64(seq);
    }();
    UUIDBytes bytes;
    for (size_t i = 0; i < bytes.size(); i += 8) {
        UInt64 r = (*generator)();
        std::memcpy(bytes.data() + i, &r, 8);
    }
    bytes[6] = static_cast<UInt8>((bytes[6] & 0x0F) | 0x40);  // version 4
    bytes[8] = static_cast<UInt8>((bytes[8] & 0x3F) | 0x80);  // variant 1
    return new __CFUUID(bytes);
}

CFUUIDRef CFUUIDCreateWithBytes(CFAllocatorRef, UInt8 b0, UInt8 b1, UInt8 b2, UInt8 b3, UInt8 b4,
                                UInt8 b5, UInt8 b6, UInt8 b7, UInt8 b8, UInt8 b9, UInt8 b10,
                                UInt8 b11, UInt8 b12, UInt8 b13, UInt8 b14, UInt8 b15) {
    return new __CFUUID(
        FromArgs(b0, b1, b2, b3, b4, b5, b6, b7, b8, b9, b10, b11, b12, b13, b14, b15));
}

CFUUIDRef CFUUIDCreateFromUUIDBytes(CFAllocatorRef, CFUUIDBytes b) {
    return new __CFUUID(FromArgs(b.byte0, b.byte1, b.byte2, b.byte3, b.byte4, b.byte5, b.byte6,
                                 b.byte7, b.byte8, b.byte9, b.byte10, b.byte11, b.byte12, b.byte13,
                                 b.byte14, b.byte15));
}

CFUUIDRef CFUUIDCreateFromString(CFAllocatorRef, CFStringRef uuidStr) {
    const __CFString* str = CastTo<__CFString>(uuidStr);
    if (str == nullptr) return nullptr;
    std::vector<UniChar> c = str->mChars;
    if (c.size() == 38 && c.front() == '{' && c.back() == '}') c = {c.begin() + 1, c.end() - 1};
    if (c.size() != 36) return nullptr;
    UUIDBytes bytes;
    size_t at = 0, byte = 0;
    for (int group = 0; group < 5; ++group) {
        if (group > 0 && c[at++] != '-') return nullptr;
        for (int i = 0; i < kGroupDigits[group] / 2; ++i, ++byte, at += 2) {
            int hi = HexValue(c[at]), lo = HexValue(c[at + 1]);
            if (hi < 0 || lo < 0) return nullptr;
            bytes[byte] = static_cast<UInt8>(hi * 16 + lo);
        }
    }
    return new __CFUUID(bytes);
}

CFUUIDRef CFUUIDGetConstantUUIDWithBytes(CFAllocatorRef, UInt8 b0, UInt8 b1, UInt8 b2, UInt8 b3,
                                         UInt8 b4, UInt8 b5, UInt8 b6, UInt8 b7, UInt8 b8, UInt8 b9,
                                         UInt8 b10, UInt8 b11, UInt8 b12, UInt8 b13, UInt8 b14,
                                         UInt8 b15) {
    static auto* constants = new std::map<UUIDBytes, __CFUUID*>();
    UUIDBytes bytes =
        FromArgs(b0, b1, b2, b3, b4, b5, b6, b7, b8, b9, b10, b11, b12, b13, b14, b15);
    auto found = constants->find(bytes);
    if (found != constants->end()) return found->second;
    __CFUUID* uuid = new __CFUUID(bytes);
    uuid->MakeConstant();
    constants->emplace(bytes, uuid);
    return uuid;
}

CFStringRef CFUUIDCreateString(CFAllocatorRef, CFUUIDRef uuid) {
    const __CFUUID* u = CastTo<__CFUUID>(uuid);
    return u == nullptr ? nullptr : halyxcf::NewStringFromUTF8(u->Describe());
}

CFUUIDBytes CFUUIDGetUUIDBytes(CFUUIDRef uuid) {
    CFUUIDBytes out;
    std::memset(&out, 0, sizeof out);
    const __CFUUID* u = CastTo<__CFUUID>(uuid);
    if (u != nullptr) std::memcpy(&out, u->mBytes.data(), sizeof out);
    return out;
}

}  // extern "C"
