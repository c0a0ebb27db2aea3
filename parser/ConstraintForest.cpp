#include "parser/ConstraintForest.h"

#include <new>

ConstraintForest::ConstraintForest() {}

ConstraintForest::~ConstraintForest() {
    for (auto& entry : mTrees) delete entry.second;
}

bool ConstraintForest::insert(long k1, long o1, long k2, long o2) {
    return insert(k1, o1, ItemConstraintList::Pair(k2, o2));
}

bool ConstraintForest::insert(long k1, long o1, const ItemConstraintList::Pair& pair) {
    auto found = mTrees.find(k1);
    if (found == mTrees.end()) {
        KeyConstraintTree* tree = new (std::nothrow) KeyConstraintTree(k1);
        if (tree == nullptr) return false;
        found = mTrees.emplace(k1, tree).first;
    }
    return found->second->insert(o1, pair);
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
