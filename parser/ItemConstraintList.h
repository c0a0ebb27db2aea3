// The second halves of the constraints that start from one choice of one option: (keyword id,
// choice id) pairs of the string table, in the order the lines came. A repeated pair is kept again.
#ifndef HALYX_PARSER_ITEMCONSTRAINTLIST_H
#define HALYX_PARSER_ITEMCONSTRAINTLIST_H

#include <utility>
#include <vector>

class ItemConstraintList {
public:
    typedef std::pair<long, long> Pair;

    explicit ItemConstraintList(long choiceId);
    ItemConstraintList(const ItemConstraintList& other);
    ItemConstraintList& operator=(const ItemConstraintList& other);
    virtual ~ItemConstraintList();

    long ChoiceId() const { return mChoiceId; }
    void insert(long keywordId, long choiceId);
    void insert(const Pair& pair) { insert(pair.first, pair.second); }
    // A copy of pair `index`; (-1, -1) past the end.
    Pair operator[](unsigned long index) const;
    unsigned long size() const { return static_cast<unsigned long>(mPairs.size()); }
    // Appends the other list's pairs; the choice id stays this list's.
    ItemConstraintList& operator+=(const ItemConstraintList& other);
    // A list with this list's choice id, its pairs and then the other's.
    ItemConstraintList operator+(const ItemConstraintList& other) const;

private:
    long mChoiceId;
    std::vector<Pair> mPairs;
};

#endif  // HALYX_PARSER_ITEMCONSTRAINTLIST_H
