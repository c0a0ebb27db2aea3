// All constraint lines of one kind (exclusions, or requirements) of a parsed PPD, as ids of the
// model's string table: first keyword -> first choice -> list of (second keyword, second choice).
// The forest owns its trees.
#ifndef HALYX_PARSER_CONSTRAINTFOREST_H
#define HALYX_PARSER_CONSTRAINTFOREST_H

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

    Trees mTrees;
};

#endif  // HALYX_PARSER_CONSTRAINTFOREST_H
