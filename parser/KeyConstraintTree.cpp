#include "parser/KeyConstraintTree.h"

#include <new>

KeyConstraintTree::KeyConstraintTree(long keywordId) : mKeywordId(keywordId) {}

KeyConstraintTree::~KeyConstraintTree() {
    for (auto& entry : mLists) delete entry.second;
}

bool KeyConstraintTree::insert(long choiceId, const ItemConstraintList::Pair& pair) {
    ItemConstraintList* list = ListFor(choiceId);
    if (list == nullptr) return false;
    list->insert(pair);
    return true;
}

ItemConstraintList* KeyConstraintTree::ListFor(long choiceId) {
    auto found = mLists.find(choiceId);
    if (found == mLists.end()) {
        ItemConstraintList* list = new (std::nothrow) ItemConstraintList(choiceId);
        if (list == nullptr) return nullptr;
        found = mLists.emplace(choiceId, list).first;
    }
    return found->second;
}

const ItemConstraintList* KeyConstraintTree::GetItemConstraintList(long choiceId) const {
    auto found = mLists.find(choiceId);
    return found == mLists.end() ? nullptr : found->second;
}
