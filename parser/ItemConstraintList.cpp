#include "parser/ItemConstraintList.h"

ItemConstraintList::ItemConstraintList(long choiceId) : mChoiceId(choiceId) {}

ItemConstraintList::ItemConstraintList(const ItemConstraintList& other) = default;

ItemConstraintList& ItemConstraintList::operator=(const ItemConstraintList& other) = default;

ItemConstraintList::~ItemConstraintList() {}

void ItemConstraintList::insert(long keywordId, long choiceId) {
    // A list that gets one pair mostly gets more: room for a few saves the first regrowths.
    if (mPairs.empty()) mPairs.reserve(8);
    mPairs.emplace_back(keywordId, choiceId);
}

ItemConstraintList::Pair ItemConstraintList::operator[](unsigned long index) const {
    if (index >= mPairs.size()) return Pair(-1, -1);
    return mPairs[index];
}

ItemConstraintList& ItemConstraintList::operator+=(const ItemConstraintList& other) {
    if (&other == this) {
        std::vector<Pair> copy(mPairs);
        mPairs.insert(mPairs.end(), copy.begin(), copy.end());
    } else {
        mPairs.insert(mPairs.end(), other.mPairs.begin(), other.mPairs.end());
    }
    return *this;
}

ItemConstraintList ItemConstraintList::operator+(const ItemConstraintList& other) const {
    ItemConstraintList sum(*this);
    sum += other;
    return sum;
}
