// All constraint lines of one kind (exclusions, or requirements) of a parsed PPD, as ids of the
// model's string table: first keyword -> first choice -> list of (second keyword, second choice).
// The forest owns its trees. Beside them an open hash table keyed by (first keyword, first
// choice) leads straight to the list that a line appends to, so that a file of thousands of
// constraint lines pays one probe per line instead of two tree searches.
#ifndef HALYX_PARSER_CONSTRAINTFOREST_H
#define HALYX_PARSER_CONSTRAINTFOREST_H

#include <cstddef>
#include <map>

#include "parser/ItemConstraintList.h"
#include "parser/KeyConstraintTree.h"

class ConstraintForest {
public:
    typedef std::map<long, KeyConstraintTree*> Trees;

    ConstraintForest();
    virtual ~ConstraintForest();

    // Stores (k2, o2) under (k1, o1); a pair stored before is stored again. False when memory ran
    // out (nothing is stored then).
    bool insert(long k1, long o1, long k2, long o2);
    bool insert(long k1, long o1, const ItemConstraintList::Pair& pair);
    // A new list (the caller deletes it) with the pairs stored under (k1, o1), or, when o1 is -1,
    // the pairs of every choice of k1 joined in choice-id order. Null when k1 has no constraint.
    ItemConstraintList* GetConstraintList(long k1, long o1) const;
    // The tree of `k1` (still owned by the forest), or null.
    const KeyConstraintTree* GetTree(long k1) const;
    const Trees& GetTrees() const { return mTrees; }

private:
    ConstraintForest(const ConstraintForest&) = delete;
    ConstraintForest& operator=(const ConstraintForest&) = delete;

    struct Slot {
        long k1;
        long o1;
        ItemConstraintList* list;  // null: empty
    };

    // The slot of (k1, o1), or the empty slot where it would go; needs a table.
    size_t Probe(long k1, long o1) const;
    // Records `list` under (k1, o1), doubling the table first when it would be more than half
    // full. A table that cannot grow is left as it is: lookups then take the trees.
    void Remember(long k1, long o1, ItemConstraintList* list);

    Trees mTrees;
    Slot* mSlots = nullptr;
    size_t mSlotCount = 0;  // a power of two, or 0
    size_t mUsed = 0;
};

#endif  // HALYX_PARSER_CONSTRAINTFOREST_H
