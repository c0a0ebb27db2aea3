// The one base object behind every CFTypeRef (internal to the value library).
//
// A value is a C++ object derived from CFObject; the opaque C handle is its address. CFObject
// carries the type id and the retain count and lets each type answer equality, hash and
// description. Handles come in as `const void*`; AsObject turns one back into its object and
// CastTo checks the type before handing out the derived object.
#ifndef HALYX_PLATFORM_COREFOUNDATION_CFOBJECT_H
#define HALYX_PLATFORM_COREFOUNDATION_CFOBJECT_H

#include <atomic>
#include <string>

#include "CoreFoundation/CFBase.h"

namespace halyxcf {

// Fixed type ids so that descriptions and tests stay stable.
enum TypeId : CFTypeID {
    kTypeString = 7,
    kTypeData = 20,
    kTypeArray = 19,
    kTypeDictionary = 18,
    kTypeNumber = 22,
    kTypeBoolean = 21,
    kTypeURL = 29,
    kTypeUUID = 34,
    kTypeBundle = 31,
    kTypeError = 36,
};

class CFObject {
public:
    // constexpr so that static constants (the booleans) exist before any static initializer runs.
    constexpr explicit CFObject(CFTypeID typeID, bool constant = false)
        : mTypeID(typeID), mConstant(constant) {}
    virtual ~CFObject() = default;
    CFObject(const CFObject&) = delete;
    CFObject& operator=(const CFObject&) = delete;

    // Only called with another object of the same type id.
    virtual bool Equal(const CFObject* other) const { return this == other; }
    virtual CFHashCode Hash() const { return reinterpret_cast<CFHashCode>(this); }
    // UTF-8 text for CFCopyDescription and CFShow.
    virtual std::string Describe() const;

    CFTypeID TypeID() const { return mTypeID; }
    long RetainCount() const { return mRetainCount.load(std::memory_order_relaxed); }
    bool IsConstant() const { return mConstant; }
    // A constant is never freed: CFRetain and CFRelease leave it alone.
    void MakeConstant() { mConstant = true; }

    // The count is atomic: an immutable object kept by a process-wide cache (a printer list, a
    // snapshot) may be retained and released by dialogs on other threads.
    void Retain() {
        if (!mConstant) mRetainCount.fetch_add(1, std::memory_order_relaxed);
    }
    // True when this dropped the last reference (the caller deletes).
    bool Release() {
        return !mConstant && mRetainCount.fetch_sub(1, std::memory_order_acq_rel) == 1;
    }

    CFTypeRef Ref() const { return static_cast<const void*>(this); }

private:
    CFTypeID mTypeID;
    std::atomic<long> mRetainCount{1};
    bool mConstant = false;
};

inline const CFObject* AsObject(CFTypeRef cf) {
    return static_cast<const CFObject*>(cf);
}

// The derived object when `cf` is of type T, else nullptr.
template <typename T>
T* CastTo(CFTypeRef cf) {
    if (cf == nullptr) return nullptr;
    const CFObject* object = AsObject(cf);
    if (object->TypeID() != T::kTypeID) return nullptr;
    return static_cast<T*>(const_cast<CFObject*>(object));
}

// Hash of a byte range, used by strings and data.
CFHashCode HashBytes(const void* bytes, size_t length);

}  // namespace halyxcf

#endif  // HALYX_PLATFORM_COREFOUNDATION_CFOBJECT_H
