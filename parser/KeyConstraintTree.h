// The constraints that start from one option: for each of its choice ids (the empty choice
// included) the list of constrained (keyword, choice) pairs. The tree owns its lists.
#ifndef HALYX_PARSER_KEYCONSTRAINTTREE_H
#define HALYX_PARSER_KEYCONSTRAINTTREE_H

#include <map>

#include "parser/ItemConstraintList.h"

class KeyConstraintTree {
public:
    typedef std::map<long, ItemConstraintList*> Lists;

    explicit KeyConstraintTree(long keywordId);
    virtual ~KeyConstraintTree();

    long KeywordId() const { return mKeywordId; }
    // Appends `pair` to the list of `choiceId`, creating the list when it is the first; false when
    // memory ran out.
    bool insert(long choiceId, const ItemConstraintList::Pair& pair);
    // The list of `choiceId`, made empty when it is the first; null when memory ran out.
    ItemConstraintList* ListFor(long choiceId);
    // The list of `choiceId` (still owned by the tree), or null.
    const ItemConstraintList* GetItemConstraintList(long choiceId) const;
    // Every list, in choice-id order.
    const Lists& GetLists() const { return mLists; }

private:
    KeyConstraintTree(const KeyConstraintTree&) = delete;
    KeyConstraintTree& operator=(const KeyConstraintTree&) = delete;

    long mKeywordId;
    Lists mLists;
};

#endif  // HALYX_PARSER_KEYCONSTRAINTTREE_H
