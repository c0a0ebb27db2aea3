#include "parser/KeywordTo_PPDControl.h"

#include <algorithm>
#include <cstring>
#include <new>

KeywordTo_PPDControl::KeywordTo_PPDControl() : mSorted(true) {}

KeywordTo_PPDControl::~KeywordTo_PPDControl() {
    for (Entry& entry : mEntries) delete[] entry.mKeyword;
}

bool KeywordTo_PPDControl::insert(const char* keyword, PPDXControl* control) {
    char* copy = nullptr;
    if (keyword != nullptr) {
        size_t length = std::strlen(keyword);
        copy = new (std::nothrow) char[length + 1];
        if (copy == nullptr) return false;
        std::memcpy(copy, keyword, length + 1);
    }
    mEntries.push_back(Entry{copy, control});
    if (copy != nullptr) mFirst.emplace(std::string_view(copy), control);
    mSorted = false;
    return true;
}

bool KeywordTo_PPDControl::MyLessThanBinary(const Entry& a, const Entry& b) {
    if (a.mKeyword == nullptr) return false;
    if (b.mKeyword == nullptr) return true;
    return std::strcmp(a.mKeyword, b.mKeyword) < 0;
}

void KeywordTo_PPDControl::EndInsertion() {
    // Stable, so that of several entries with one keyword the first inserted is found.
    std::stable_sort(mEntries.begin(), mEntries.end(), MyLessThanBinary);
    mSorted = true;
}

PPDXControl* KeywordTo_PPDControl::Lookup(const char* keyword) const {
    if (keyword == nullptr) return nullptr;
    if (!mSorted) {
        auto found = mFirst.find(std::string_view(keyword));
        return found == mFirst.end() ? nullptr : found->second;
    }
    Entry key{const_cast<char*>(keyword), nullptr};
    auto found = std::lower_bound(mEntries.begin(), mEntries.end(), key, MyLessThanBinary);
    if (found == mEntries.end() || found->mKeyword == nullptr) return nullptr;
    return std::strcmp(found->mKeyword, keyword) == 0 ? found->mControl : nullptr;
}

const char* KeywordTo_PPDControl::Lookup(const PPDXControl* control) const {
    for (const Entry& entry : mEntries)
        if (entry.mControl == control) return entry.mKeyword;
    return nullptr;
}
