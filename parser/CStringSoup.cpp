#include "parser/CStringSoup.h"

#include <cstring>
#include <new>

#include "foundation/CString.h"

namespace {

// Loads of 8, 4 and 1 to 3 bytes, in the machine's order.
std::uint64_t Load8(const char* at) {
    std::uint64_t word;
    std::memcpy(&word, at, 8);
    return word;
}

std::uint64_t Load4(const char* at) {
    std::uint32_t word;
    std::memcpy(&word, at, 4);
    return word;
}

// A hash of the `length` bytes at `text`, eight bytes at a step. The last bytes are read as one
// word that may overlap the one before, so that no byte loop runs: texts here are short.
std::uint64_t HashBytes(const char* text, size_t length) {
    constexpr std::uint64_t kMultiplier = 0x9E3779B97F4A7C15ull;
    std::uint64_t hash = length * kMultiplier;
    std::uint64_t tail;
    if (length >= 8) {
        for (size_t at = 0; at + 8 < length; at += 8) {
            hash = (hash ^ Load8(text + at)) * kMultiplier;
            hash ^= hash >> 29;
        }
        tail = Load8(text + length - 8);
    } else if (length >= 4) {
        tail = (Load4(text) << 32) | Load4(text + length - 4);
    } else if (length > 0) {
        tail = (static_cast<std::uint64_t>(static_cast<unsigned char>(text[0])) << 16) |
               (static_cast<std::uint64_t>(static_cast<unsigned char>(text[length / 2])) << 8) |
               static_cast<unsigned char>(text[length - 1]);
    } else {
        tail = 0;
    }
    hash = (hash ^ tail) * kMultiplier;
    hash ^= hash >> 32;
    hash *= kMultiplier;
    return hash ^ (hash >> 29);
}

// Equality of `length` bytes, eight at a step, the last step overlapping the one before: the
// texts compared here are short, and a library call would cost more than the comparison.
bool SameBytes(const char* a, const char* b, size_t length) {
    if (length >= 8) {
        for (size_t at = 0; at + 8 < length; at += 8)
            if (Load8(a + at) != Load8(b + at)) return false;
        return Load8(a + length - 8) == Load8(b + length - 8);
    }
    if (length >= 4) return Load4(a) == Load4(b) && Load4(a + length - 4) == Load4(b + length - 4);
    for (; length > 0; --length)
        if (*a++ != *b++) return false;
    return true;
}

// A hash of the text up to its terminator; `length` receives its byte count.
std::uint64_t HashText(const char* text, size_t& length) {
    length = std::strlen(text);
    return HashBytes(text, length);
}

}  // namespace

CStringSoup::CStringSoup() {}

CStringSoup::~CStringSoup() {
    Clear();
}

size_t CStringSoup::Probe(const char* text, size_t length, std::uint64_t hash) const {
    const size_t mask = mSlots.size() - 1;
    for (size_t i = static_cast<size_t>(hash) & mask;; i = (i + 1) & mask) {
        const Slot& slot = mSlots[i];
        if (slot.id < 0) return i;
        if (slot.hash != hash || slot.length != length) continue;
        if (SameBytes(slot.text, text, length)) return i;
    }
}

void CStringSoup::Grow() {
    const size_t size = mSlots.empty() ? 16 : mSlots.size() * 2;
    std::vector<Slot> slots;
    slots.resize(size, Slot{0, nullptr, -1, 0});
    const size_t mask = size - 1;
    for (const Slot& slot : mSlots) {
        if (slot.id < 0) continue;
        size_t i = static_cast<size_t>(slot.hash) & mask;
        while (slots[i].id >= 0) i = (i + 1) & mask;
        slots[i] = slot;
    }
    mSlots.swap(slots);
}

long CStringSoup::Insert(const char* text) {
    if (text == nullptr) return -1;
    return Insert(text, std::strlen(text));
}

long CStringSoup::Insert(const char* text, size_t length) {
    // Ids and lengths live in 32 bits in the index.
    if (text == nullptr || length > UINT32_MAX || mStrings.size() >= INT32_MAX) return -1;
    if ((mStrings.size() + 1) * 2 > mSlots.size()) Grow();
    const std::uint64_t hash = HashBytes(text, length);
    const size_t at = Probe(text, length, hash);
    if (mSlots[at].id >= 0) return static_cast<long>(mSlots[at].id);
    // The copy needs a terminated text; most are short enough for the stack.
    char shortCopy[256];
    char* longCopy = nullptr;
    char* terminated = shortCopy;
    if (length >= sizeof shortCopy) {
        longCopy = new (std::nothrow) char[length + 1];
        if (longCopy == nullptr) return -1;
        terminated = longCopy;
    }
    std::memcpy(terminated, text, length);
    terminated[length] = '\0';
    CString* copy = new (std::nothrow) CString(terminated);
    delete[] longCopy;
    if (copy == nullptr) return -1;
    // A copy left without buffer for a non-empty text means memory ran out.
    const char* buffer = *copy;
    if (buffer == nullptr && length != 0) {
        delete copy;
        return -1;
    }
    const long id = static_cast<long>(mStrings.size());
    mStrings.push_back(copy);
    mSlots[at] = Slot{hash, buffer != nullptr ? buffer : "", static_cast<std::int32_t>(id),
                      static_cast<std::uint32_t>(length)};
    return id;
}

bool CStringSoup::GrowSpans() {
    const size_t count = mSpanSlotCount == 0 ? 16 : mSpanSlotCount * 2;
    SpanSlot* slots = new (std::nothrow) SpanSlot[count];
    if (slots == nullptr) return false;
    for (size_t i = 0; i < count; ++i) slots[i] = SpanSlot{0, nullptr, 0, -1, -1};
    const size_t mask = count - 1;
    for (size_t k = 0; k < mSpanSlotCount; ++k) {
        if (mSpans[k].bytes == nullptr) continue;
        size_t i = static_cast<size_t>(mSpans[k].hash) & mask;
        while (slots[i].bytes != nullptr) i = (i + 1) & mask;
        slots[i] = mSpans[k];
    }
    delete[] mSpans;
    mSpans = slots;
    mSpanSlotCount = count;
    return true;
}

void CStringSoup::ClearSpans() {
    for (size_t i = 0; i < mSpanSlotCount; ++i) delete[] mSpans[i].bytes;
    delete[] mSpans;
    mSpans = nullptr;
    mSpanSlotCount = 0;
    mSpanCount = 0;
}

bool CStringSoup::InsertPair(const char* span, size_t length, size_t firstLength,
                             size_t secondLength, long& first, long& second) {
    first = second = -1;
    if (span == nullptr || firstLength > length || secondLength > length) return false;
    if (length > UINT32_MAX) {
        second = Insert(span + length - secondLength, secondLength);
        first = Insert(span, firstLength);
        return first >= 0 && second >= 0;
    }
    const std::uint64_t hash = HashBytes(span, length);
    size_t at = 0;
    if (mSpanSlotCount != 0) {
        const size_t mask = mSpanSlotCount - 1;
        for (at = static_cast<size_t>(hash) & mask; mSpans[at].bytes != nullptr;
             at = (at + 1) & mask) {
            const SpanSlot& slot = mSpans[at];
            if (slot.hash == hash && slot.length == length && SameBytes(slot.bytes, span, length)) {
                first = slot.first;
                second = slot.second;
                return true;
            }
        }
    }
    second = Insert(span + length - secondLength, secondLength);
    first = Insert(span, firstLength);
    if (first < 0 || second < 0) return false;
    // The span is remembered when there is room for it; without, the next time looks it up again.
    if ((mSpanCount + 1) * 2 > mSpanSlotCount) {
        if (!GrowSpans()) return true;
        const size_t mask = mSpanSlotCount - 1;
        for (at = static_cast<size_t>(hash) & mask; mSpans[at].bytes != nullptr;
             at = (at + 1) & mask) {
        }
    }
    char* bytes = new (std::nothrow) char[length > 0 ? length : 1];
    if (bytes == nullptr) return true;
    if (length > 0) std::memcpy(bytes, span, length);
    mSpans[at] = SpanSlot{hash, bytes, static_cast<std::uint32_t>(length),
                          static_cast<std::int32_t>(first), static_cast<std::int32_t>(second)};
    ++mSpanCount;
    return true;
}

const char* CStringSoup::Find(long id) const {
    if (id < 0 || static_cast<unsigned long>(id) >= mStrings.size()) return nullptr;
    const char* text = *mStrings[static_cast<size_t>(id)];
    return text != nullptr ? text : "";
}

long CStringSoup::Find(const char* text) const {
    if (text == nullptr || mSlots.empty()) return -1;
    size_t length = 0;
    const std::uint64_t hash = HashText(text, length);
    return mSlots[Probe(text, length, hash)].id;
}

void CStringSoup::Clear() {
    ClearSpans();
    mSlots.clear();
    for (CString* text : mStrings) delete text;
    mStrings.clear();
}
