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
    ~__CFData() override;

    bool Equal(const CFObject* other) const override;
    CFHashCode Hash() const override {
        // The first bytes are enough to spread values; the length tells the rest apart.
        size_t n = Length() < 80 ? Length() : 80;
        return halyxcf::HashBytes(Bytes(), n) ^ Length();
    }
    std::string Describe() const override;

    // What every reader uses: the bytes held, or those of the mapped file.
    const UInt8* Bytes() const { return mMapped != nullptr ? mMapped : mBytes.data(); }
    size_t Length() const { return mMapped != nullptr ? mMappedLength : mBytes.size(); }

    std::vector<UInt8> mBytes;
    // An immutable value may instead hold a read-only mapping of a whole file (mBytes empty),
    // unmapped with the value: its pages are read from the file only when touched.
    const UInt8* mMapped = nullptr;
    size_t mMappedLength = 0;
    bool mMutable;
};

namespace halyxcf {

__CFData* NewData(const UInt8* bytes, size_t length, bool isMutable);

}  // namespace halyxcf

#endif  // HALYX_PLATFORM_COREFOUNDATION_CFDATAOBJECT_H
