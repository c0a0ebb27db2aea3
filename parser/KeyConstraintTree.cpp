#include "parser/KeyConstraintTree.h"

#include <new>

KeyConstraintTree::KeyConstraintTree(long keywordId) : mKeywordId(keywordId) {}

KeyConstraintTree::~KeyConstraintTree() {
    for (auto& entry : mLists) delete entry.second;
}

bool KeyConstraintTree::insert(long choiceId, const ItemConstraintList::Pair& pair) {
    auto found = mLists.find(choiceId);
    if (found == mLists.end()) {
        ItemConstraintList* list = new (std::nothrow) ItemConstraintList(choiceId);
        if (list == nullptr) return false;
        found = mLists.emplace(choiceId, list).first;
    }
    found->second->insert(pair);
    return true;
}

const ItemConstraintList* KeyConstraintTree::GetItemConstraintList(long choiceId) const {
    auto found = mLists.find(choiceId);
    return found == mLists.end() ? nullptr : found->second;
}
