#include "CoreFoundation/CFNumber.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>

#include "CoreFoundation/CFObject.h"

using halyxcf::CastTo;

struct __CFBoolean : public halyxcf::CFObject {
    static constexpr CFTypeID kTypeID = halyxcf::kTypeBoolean;
    constexpr explicit __CFBoolean(bool value) : CFObject(kTypeID, true), mValue(value) {}
    CFHashCode Hash() const override { return mValue ? 1 : 0; }
    std::string Describe() const override { return mValue ? "true" : "false"; }
    bool mValue;
};

struct __CFNumber : public halyxcf::CFObject {
    static constexpr CFTypeID kTypeID = halyxcf::kTypeNumber;
    __CFNumber() : CFObject(kTypeID) {}

    bool Equal(const CFObject* other) const override {
        return CFNumberCompare(this, static_cast<const __CFNumber*>(other), nullptr) ==
               kCFCompareEqualTo;
    }
    CFHashCode Hash() const override {
        if (!mIsFloat) return static_cast<CFHashCode>(mInteger);
        double whole;
        if (std::modf(mFloat, &whole) == 0.0 && std::fabs(mFloat) < 9.2e18)
            return static_cast<CFHashCode>(static_cast<SInt64>(mFloat));  // same as the integer
        return halyxcf::HashBytes(&mFloat, sizeof mFloat);
    }
    std::string Describe() const override {
        char text[40];
        if (mIsFloat)
            std::snprintf(text, sizeof text, "%.17g", mFloat);
        else
            std::snprintf(text, sizeof text, "%lld", static_cast<long long>(mInteger));
        return text;
    }

    CFNumberType mType = kCFNumberSInt32Type;  // the stored form
    bool mIsFloat = false;
    SInt64 mInteger = 0;
    double mFloat = 0;
};

namespace {

__CFBoolean gTrue(true);
__CFBoolean gFalse(false);

// The stored form of each requested type.
bool CanonicalType(CFNumberType type, CFNumberType* canonical) {
    switch (type) {
        case kCFNumberSInt8Type:
        case kCFNumberCharType:
            *canonical = kCFNumberSInt8Type;
            return true;
        case kCFNumberSInt16Type:
        case kCFNumberShortType:
            *canonical = kCFNumberSInt16Type;
            return true;
        case kCFNumberSInt32Type:
        case kCFNumberIntType:
            *canonical = kCFNumberSInt32Type;
            return true;
        case kCFNumberSInt64Type:
        case kCFNumberLongLongType:
        case kCFNumberLongType:
        case kCFNumberCFIndexType:
        case kCFNumberNSIntegerType:
            *canonical =
                sizeof(long) == 8 || type == kCFNumberSInt64Type || type == kCFNumberLongLongType
                    ? kCFNumberSInt64Type
                    : kCFNumberSInt32Type;
            return true;
        case kCFNumberFloat32Type:
        case kCFNumberFloatType:
            *canonical = kCFNumberFloat32Type;
            return true;
        case kCFNumberFloat64Type:
        case kCFNumberDoubleType:
        case kCFNumberCGFloatType:
            *canonical = kCFNumberFloat64Type;
            return true;
        default:
            return false;
    }
}

template <typename T>
bool StoreInteger(const __CFNumber* n, void* valuePtr) {
    T out;
    bool exact;
    if (n->mIsFloat) {
        double v = n->mFloat;
        bool inRange = v >= static_cast<double>(std::numeric_limits<T>::min()) &&
                       v < -static_cast<double>(std::numeric_limits<T>::min()) && !std::isnan(v);
        out = inRange ? static_cast<T>(v)
                      : (std::isnan(v) ? 0
                         : v < 0       ? std::numeric_limits<T>::min()
                                       : std::numeric_limits<T>::max());
        exact = inRange && static_cast<double>(out) == v;
    } else {
        SInt64 v = n->mInteger;
        exact = v >= static_cast<SInt64>(std::numeric_limits<T>::min()) &&
                v <= static_cast<SInt64>(std::numeric_limits<T>::max());
        out = static_cast<T>(v);
    }
    std::memcpy(valuePtr, &out, sizeof out);
    return exact;
}

template <typename T>
bool StoreFloat(const __CFNumber* n, void* valuePtr) {
    T out;
    bool exact;
    if (n->mIsFloat) {
        out = static_cast<T>(n->mFloat);
        exact = static_cast<double>(out) == n->mFloat || std::isnan(n->mFloat);
    } else {
        out = static_cast<T>(n->mInteger);
        exact = static_cast<SInt64>(static_cast<long double>(out)) == n->mInteger;
    }
    std::memcpy(valuePtr, &out, sizeof out);
    return exact;
}

}  // namespace

extern "C" {

const CFBooleanRef kCFBooleanTrue = &gTrue;
const CFBooleanRef kCFBooleanFalse = &gFalse;

CFTypeID CFBooleanGetTypeID(void) {
    return __CFBoolean::kTypeID;
}

Boolean CFBooleanGetValue(CFBooleanRef boolean) {
    const __CFBoolean* b = CastTo<__CFBoolean>(boolean);
    return b != nullptr && b->mValue;
}

CFTypeID CFNumberGetTypeID(void) {
    return __CFNumber::kTypeID;
}

CFNumberRef CFNumberCreate(CFAllocatorRef, CFNumberType theType, const void* valuePtr) {
    CFNumberType canonical;
    if (valuePtr == nullptr || !CanonicalType(theType, &canonical)) return nullptr;
    __CFNumber* n = new __CFNumber();
    n->mType = canonical;
    switch (theType) {
        case kCFNumberSInt8Type:
        case kCFNumberCharType: {
            SInt8 v;
            std::memcpy(&v, valuePtr, sizeof v);
            n->mInteger = v;
            break;
        }
        case kCFNumberSInt16Type:
        case kCFNumberShortType: {
            SInt16 v;
            std::memcpy(&v, valuePtr, sizeof v);
            n->mInteger = v;
            break;
        }
        case kCFNumberSInt32Type:
        case kCFNumberIntType: {
            SInt32 v;
            std::memcpy(&v, valuePtr, sizeof v);
            n->mInteger = v;
            break;
        }
        case kCFNumberLongType:
        case kCFNumberCFIndexType:
        case kCFNumberNSIntegerType: {
            long v;
            std::memcpy(&v, valuePtr, sizeof v);
            n->mInteger = v;
            break;
        }
        case kCFNumberSInt64Type:
        case kCFNumberLongLongType: {
            SInt64 v;
            std::memcpy(&v, valuePtr, sizeof v);
            n->mInteger = v;
            break;
        }
        case kCFNumberFloat32Type:
        case kCFNumberFloatType: {
            Float32 v;
            std::memcpy(&v, valuePtr, sizeof v);
            n->mIsFloat = true;
            n->mFloat = v;
            break;
        }
        default: {
            Float64 v;
            std::memcpy(&v, valuePtr, sizeof v);
            n->mIsFloat = true;
            n->mFloat = v;
            break;
        }
    }
    return n;
}

CFNumberType CFNumberGetType(CFNumberRef number) {
    const __CFNumber* n = CastTo<__CFNumber>(number);
    return n == nullptr ? 0 : n->mType;
}

CFIndex CFNumberGetByteSize(CFNumberRef number) {
    switch (CFNumberGetType(number)) {
        case kCFNumberSInt8Type:
            return 1;
        case kCFNumberSInt16Type:
            return 2;
        case kCFNumberSInt32Type:
        case kCFNumberFloat32Type:
            return 4;
        case kCFNumberSInt64Type:
        case kCFNumberFloat64Type:
            return 8;
        default:
            return 0;
    }
}

Boolean CFNumberIsFloatType(CFNumberRef number) {
    const __CFNumber* n = CastTo<__CFNumber>(number);
    return n != nullptr && n->mIsFloat;
}

Boolean CFNumberGetValue(CFNumberRef number, CFNumberType theType, void* valuePtr) {
    const __CFNumber* n = CastTo<__CFNumber>(number);
    if (n == nullptr || valuePtr == nullptr) return false;
    switch (theType) {
        case kCFNumberSInt8Type:
        case kCFNumberCharType:
            return StoreInteger<SInt8>(n, valuePtr);
        case kCFNumberSInt16Type:
        case kCFNumberShortType:
            return StoreInteger<SInt16>(n, valuePtr);
        case kCFNumberSInt32Type:
        case kCFNumberIntType:
            return StoreInteger<SInt32>(n, valuePtr);
        case kCFNumberLongType:
        case kCFNumberCFIndexType:
        case kCFNumberNSIntegerType:
            return StoreInteger<long>(n, valuePtr);
        case kCFNumberSInt64Type:
        case kCFNumberLongLongType:
            return StoreInteger<SInt64>(n, valuePtr);
        case kCFNumberFloat32Type:
        case kCFNumberFloatType:
            return StoreFloat<Float32>(n, valuePtr);
        case kCFNumberFloat64Type:
        case kCFNumberDoubleType:
        case kCFNumberCGFloatType:
            return StoreFloat<Float64>(n, valuePtr);
        default:
            return false;
    }
}

CFComparisonResult CFNumberCompare(CFNumberRef number, CFNumberRef otherNumber, void*) {
    const __CFNumber* a = CastTo<__CFNumber>(number);
    const __CFNumber* b = CastTo<__CFNumber>(otherNumber);
    if (a == nullptr || b == nullptr) {
        if (a == b) return kCFCompareEqualTo;
        return a == nullptr ? kCFCompareLessThan : kCFCompareGreaterThan;
    }
    if (!a->mIsFloat && !b->mIsFloat) {
        if (a->mInteger == b->mInteger) return kCFCompareEqualTo;
        return a->mInteger < b->mInteger ? kCFCompareLessThan : kCFCompareGreaterThan;
    }
    long double x = a->mIsFloat ? a->mFloat : a->mInteger;
    long double y = b->mIsFloat ? b->mFloat : b->mInteger;
    if (x == y) return kCFCompareEqualTo;
    return x < y ? kCFCompareLessThan : kCFCompareGreaterThan;
}

}  // extern "C"
