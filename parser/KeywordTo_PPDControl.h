// The index from option keyword to the model's control. Every popup, Boolean, range and job note
// the parser creates is inserted under its keyword; EndInsertion sorts the entries byte-wise (case
// sensitive), after which lookups by keyword use a halving search. The index owns its copies of
// the keywords, never the controls.
#ifndef HALYX_PARSER_KEYWORDTO_PPDCONTROL_H
#define HALYX_PARSER_KEYWORDTO_PPDCONTROL_H

#include <string_view>
#include <unordered_map>
#include <vector>

class PPDXControl;

class KeywordTo_PPDControl {
public:
    struct Entry {
        char* mKeyword;  // new[] copy, may be null
        PPDXControl* mControl;
    };

    KeywordTo_PPDControl();
    virtual ~KeywordTo_PPDControl();

    // Appends (copy of `keyword`, `control`) and marks the index unsorted; false when memory ran
    // out.
    bool insert(const char* keyword, PPDXControl* control);
    // Sorts the entries, so that lookups by keyword halve their way from here until the next
    // insert.
    void EndInsertion();
    bool Sorted() const { return mSorted; }
    // The control of the entry whose keyword equals `keyword` (the first inserted of several), or
    // null. Sorted, the entries are searched by halving; before EndInsertion a hash of the
    // keywords answers, so that the walk can ask while it fills the index.
    PPDXControl* Lookup(const char* keyword) const;
    // The keyword of the first entry holding `control`, or null.
    const char* Lookup(const PPDXControl* control) const;
    // Entry `index`; index must be below size().
    const Entry& operator[](unsigned long index) const { return mEntries[index]; }
    unsigned long size() const { return static_cast<unsigned long>(mEntries.size()); }

    // Byte-wise order of two keywords; a null keyword is never less.
    static bool MyLessThanBinary(const Entry& a, const Entry& b);

private:
    KeywordTo_PPDControl(const KeywordTo_PPDControl&) = delete;
    KeywordTo_PPDControl& operator=(const KeywordTo_PPDControl&) = delete;

    std::vector<Entry> mEntries;
    bool mSorted;
    // Views into the entries' keyword copies, which never move once made.
    std::unordered_map<std::string_view, PPDXControl*> mFirst;
};

#endif  // HALYX_PARSER_KEYWORDTO_PPDCONTROL_H
