// The string table of a parsed PPD: keyword and choice texts of the constraint lines interned as
// small ids. The id of a text is its position, from 0, in the order of first insertion; texts are
// compared byte for byte. A hash index finds a text's id without walking the table, so that a
// file with thousands of constraint lines still parses in linear time. The index is an open
// table probed linearly; each slot keeps the text's hash, so that most probes compare no bytes.
#ifndef HALYX_PARSER_CSTRINGSOUP_H
#define HALYX_PARSER_CSTRINGSOUP_H

#include <cstddef>
#include <cstdint>
#include <vector>

class CString;

class CStringSoup {
public:
    CStringSoup();
    virtual ~CStringSoup();

    // The id of `text`, added at the end when it is new; -1 for a null text or when memory ran
    // out.
    virtual long Insert(const char* text);
    // As Insert, for the `length` bytes at `text`, which hold no NUL and need no terminator.
    long Insert(const char* text, size_t length);
    // The ids of the two texts that a span of `length` bytes at `span` holds: its first
    // `firstLength` bytes, and its last `secondLength` bytes (0 for the empty text). The second is
    // inserted before the first, as two calls of Insert in that order would. A span met before
    // answers from a table of spans without looking either text up; what is stored is the same
    // either way. False when memory ran out (a text inserted before that stays, as with Insert).
    bool InsertPair(const char* span, size_t length, size_t firstLength, size_t secondLength,
                    long& first, long& second);
    // The text of `id`, or null when there is no such id.
    virtual const char* Find(long id) const;
    // The id of `text`, or -1.
    virtual long Find(const char* text) const;
    // Deletes every string; ids start again from 0.
    virtual void Clear();
    virtual unsigned long size() const { return static_cast<unsigned long>(mStrings.size()); }

private:
    CStringSoup(const CStringSoup&) = delete;
    CStringSoup& operator=(const CStringSoup&) = delete;

    // The text's length sits beside its hash, so that a probe reads the text itself only when
    // both match, and then straight from the slot's pointer to the stored copy.
    struct Slot {
        std::uint64_t hash;
        const char* text;
        std::int32_t id;  // -1: empty
        std::uint32_t length;
    };

    // The slot of `text` (`length` bytes, `hash`), or the empty slot where it would go.
    size_t Probe(const char* text, size_t length, std::uint64_t hash) const;
    // Doubles the index (from 16 slots, small enough for the heap to hand out without sorting its
    // free blocks) and places every id again.
    void Grow();

    // A span of InsertPair: a copy of its bytes and the ids of its two texts.
    struct SpanSlot {
        std::uint64_t hash;
        const char* bytes;  // null: empty
        std::uint32_t length;
        std::int32_t first;
        std::int32_t second;
    };

    // Doubles the span table (from 16 slots); false when memory ran out.
    bool GrowSpans();
    // Deletes the spans and their table.
    void ClearSpans();

    std::vector<CString*> mStrings;
    // A power of two of slots, never more than half full.
    std::vector<Slot> mSlots;
    // Spans by hash, in a power of two of slots never more than half full; empty until the first
    // InsertPair.
    SpanSlot* mSpans = nullptr;
    size_t mSpanSlotCount = 0;
    size_t mSpanCount = 0;
};

#endif  // HALYX_PARSER_CSTRINGSOUP_H
