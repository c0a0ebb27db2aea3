// The object behind CFDataRef (internal).
#ifndef HALYX_PLATFORM_COREFOUNDATION_CFDATAOBJECT_H
#define HALYX_PLATFORM_COREFOUNDATION_CFDATAOBJECT_H

#include <string>
#include <vector>

#include "CoreFoundation/CFData.h"
#include "CoreFoundation/CFObject.h"

struct __CFData : public halyxcf::CFObject {
    static constexpr CFTypeID kTypeID = halyxcf::kTypeData;

    explicit __CFData(bool isMutable) : CFObject(kTypeID), mMutable(isMutable) {}

    bool Equal(const CFObject* other) const override {
        return mBytes == static_cast<const __CFData*>(other)->mBytes;
    }
    CFHashCode Hash() const override {
        // The first bytes are enough to spread values; the length tells the rest apart.
        size_t n = mBytes.size() < 80 ? mBytes.size() : 80;
        return halyxcf::HashBytes(mBytes.data(), n) ^ mBytes.size();
    }
    std::string Describe() const override;

    std::vector<UInt8> mBytes;
    bool mMutable;
};

namespace halyxcf {

__CFData* NewData(const UInt8* bytes, size_t length, bool isMutable);

}  // namespace halyxcf

#endif  // HALYX_PLATFORM_COREFOUNDATION_CFDATAOBJECT_H
