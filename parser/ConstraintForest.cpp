#include "parser/ConstraintForest.h"

#include <cstdint>
#include <new>

ConstraintForest::ConstraintForest() {}

namespace {

size_t HashKey(long k1, long o1) {
    std::uint64_t hash = static_cast<std::uint64_t>(k1) * 0x9E3779B97F4A7C15ull;
    hash ^= static_cast<std::uint64_t>(o1) + 0x632BE59BD9B4E019ull + (hash << 6) + (hash >> 2);
    hash *= 0xBF58476D1CE4E5B9ull;
    return static_cast<size_t>(hash ^ (hash >> 31));
}

}  // namespace

ConstraintForest::~ConstraintForest() {
    delete[] mSlots;
    for (auto& entry : mTrees) delete entry.second;
}

size_t ConstraintForest::Probe(long k1, long o1) const {
    const size_t mask = mSlotCount - 1;
    for (size_t i = HashKey(k1, o1) & mask;; i = (i + 1) & mask) {
        const Slot& slot = mSlots[i];
        if (slot.list == nullptr || (slot.k1 == k1 && slot.o1 == o1)) return i;
    }
}

void ConstraintForest::Remember(long k1, long o1, ItemConstraintList* list) {
    if ((mUsed + 1) * 2 > mSlotCount) {
        const size_t count = mSlotCount == 0 ? 16 : mSlotCount * 2;
        Slot* slots = new (std::nothrow) Slot[count];
        if (slots == nullptr) return;
        for (size_t i = 0; i < count; ++i) slots[i] = Slot{0, 0, nullptr};
        Slot* old = mSlots;
        const size_t oldCount = mSlotCount;
        mSlots = slots;
        mSlotCount = count;
        for (size_t i = 0; i < oldCount; ++i)
            if (old[i].list != nullptr) mSlots[Probe(old[i].k1, old[i].o1)] = old[i];
        delete[] old;
    }
    mSlots[Probe(k1, o1)] = Slot{k1, o1, list};
    ++mUsed;
}

bool ConstraintForest::insert(long k1, long o1, long k2, long o2) {
    return insert(k1, o1, ItemConstraintList::Pair(k2, o2));
}

bool ConstraintForest::insert(long k1, long o1, const ItemConstraintList::Pair& pair) {
    if (mSlotCount != 0) {
        const Slot& slot = mSlots[Probe(k1, o1)];
        if (slot.list != nullptr) {
            slot.list->insert(pair);
            return true;
        }
    }
    auto found = mTrees.find(k1);
    if (found == mTrees.end()) {
        KeyConstraintTree* tree = new (std::nothrow) KeyConstraintTree(k1);
        if (tree == nullptr) return false;
        found = mTrees.emplace(k1, tree).first;
    }
    ItemConstraintList* list = found->second->ListFor(o1);
    if (list == nullptr) return false;
    list->insert(pair);
    Remember(k1, o1, list);
    return true;
}

const KeyConstraintTree* ConstraintForest::GetTree(long k1) const {
    auto found = mTrees.find(k1);
    return found == mTrees.end() ? nullptr : found->second;
}

ItemConstraintList* ConstraintForest::GetConstraintList(long k1, long o1) const {
    const KeyConstraintTree* tree = GetTree(k1);
    if (tree == nullptr) return nullptr;
    ItemConstraintList* joined = new (std::nothrow) ItemConstraintList(o1);
    if (joined == nullptr) return nullptr;
    for (const auto& entry : tree->GetLists())
        if (o1 == -1 || entry.first == o1) *joined += *entry.second;
    return joined;
}
