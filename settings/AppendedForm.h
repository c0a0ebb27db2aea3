// The records of a store that has only ever been given new keys, kept as the item section of the
// store's flattened form: each record is written once, exactly as flattening the store would write
// it, so saving the store is a copy of these bytes between a header and a checksum. No item table
// is built: the records lie in chunks that never move (a grown block would hold its old and new
// bytes at once), and a set of the keys written, 8 bytes a key, tells a repeated key.
//
// Allocations go through the allocation failure hook; a failed one changes nothing.
#ifndef HALYX_SETTINGS_APPENDEDFORM_H
#define HALYX_SETTINGS_APPENDEDFORM_H

#include <cstdint>

#include "Base/MacTypes.h"
#include "Collections/Collections.h"

class AppendedForm {
public:
    AppendedForm() = default;
    ~AppendedForm() { Clear(); }
    AppendedForm(const AppendedForm&) = delete;
    AppendedForm& operator=(const AppendedForm&) = delete;

    // Appends the record of a key that was not written before, with the default attributes.
    // *present: the key was written before; nothing is done and the status is noErr. memFullErr
    // when memory is short (nothing changed). The bytes must be valid for the length.
    OSStatus AppendNew(FourCharCode tag, SInt32 id, const void* bytes, SInt32 length,
                       bool* present);

    SInt32 Count() const { return mCount; }
    // The length of the whole flattened form; memFullErr when it would be too long for one.
    OSStatus FormLength(Size* length) const;
    // Writes the whole form into `form`, which holds exactly FormLength bytes. `release` frees
    // each chunk once it is copied, which leaves no records.
    void WriteForm(UInt8* form, Size length, bool release);
    // Adds every record, in order, to `c` as AddCollectionItem does; the first failing status.
    OSStatus ReadBack(Collection c) const;
    // Frees the set of keys written, which only AppendNew needs (it builds the set again from
    // the records, memFullErr when it cannot): saving the store need not hold it.
    void ReleaseKeys();
    // Frees every record and key.
    void Clear();

private:
    struct Chunk {
        Chunk* next;
        size_t used;
        size_t capacity;  // bytes after the chunk record
        UInt8* Bytes() { return reinterpret_cast<UInt8*>(this + 1); }
        const UInt8* Bytes() const { return reinterpret_cast<const UInt8*>(this + 1); }
    };

    // A new last chunk with room for `bytes` at least; false when memory is short.
    bool AddChunk(size_t bytes);
    // Doubles the key set; false when memory is short.
    bool GrowKeys();
    // Builds the key set of the records after ReleaseKeys; false (no set) when memory is short.
    bool RebuildKeys();
    // The slot holding `key`, or the empty slot where it would go.
    uint64_t* SlotOf(uint64_t key) const;

    Chunk* mFirst = nullptr;
    Chunk* mLast = nullptr;
    uint64_t mSection = 0;  // bytes of every record, headers included
    SInt32 mCount = 0;

    // Keys (tag in the high half, id in the low) in linear probing; 0 marks an empty slot, so
    // the zero key is noted apart.
    uint64_t* mKeys = nullptr;
    uint32_t mKeyCapacity = 0;  // a power of two, or 0
    uint32_t mKeyCount = 0;     // keys in mKeys
    bool mZeroKey = false;
    bool mKeysComplete = true;  // the set holds every record's key
};

#endif  // HALYX_SETTINGS_APPENDEDFORM_H
