// The walk's keyword table: each extension keyword with its handler. Lines whose keyword has no
// entry go to ParsePSKeywords, which knows the header keywords and ignores the rest.
#include <algorithm>
#include <cstring>

#include "parser/ORBPPD.h"
#include "parser/PPDStream.h"

namespace {

typedef PPDXErrorObj* (ORBPPD::*Handler)(PPDStream&);

struct Entry {
    const char* keyword;
    Handler handler;
};

// Compile-time byte-wise comparison, so that the table's order is checked when it is built.
constexpr int CompareKeywords(const char* a, const char* b) {
    while (*a != '\0' && *a == *b) {
        ++a;
        ++b;
    }
    return static_cast<unsigned char>(*a) - static_cast<unsigned char>(*b);
}

}  // namespace

PPDXErrorObj* ORBPPD::Dispatch(PPDStream& line, const char* keyword) {
    // Sorted byte-wise for the halving search below.
    static constexpr Entry kTable[] = {
        {"*%ORBFlags", &ORBPPD::ParseControl},
        {"*%ORBGroupName", &ORBPPD::ParseGroupName},
        {"*%ORBJobNote", &ORBPPD::ParseDirectJobNote},
        {"*%ORBParent", &ORBPPD::ParseParent},
        {"*%ORBPropPage", &ORBPPD::ParsePropertyPage},
        {"*%ORBSpecialOption", &ORBPPD::ParseSpecialOption},
        {"*%ORBUIConstraints", &ORBPPD::ParseConstraintsLine},
        {"*%ORBUIRequires", &ORBPPD::ParseRequiresLine},
        {"*%QZShortcut", &ORBPPD::ParseShortcut},
        {"*UIConstraints", &ORBPPD::ParseConstraintsLine},
    };
    static_assert(
        [] {
            for (size_t i = 1; i < sizeof kTable / sizeof kTable[0]; ++i)
                if (CompareKeywords(kTable[i - 1].keyword, kTable[i].keyword) >= 0) return false;
            return true;
        }(),
        "the keyword table must stay sorted");

    // Every keyword in the table begins "*%" or "*U": most lines of a file can skip the search.
    static_assert(
        [] {
            for (const Entry& entry : kTable)
                if (entry.keyword[0] != '*' || (entry.keyword[1] != '%' && entry.keyword[1] != 'U'))
                    return false;
            return true;
        }(),
        "the table's keywords must begin with *% or *U");
    if (keyword == nullptr || keyword[0] != '*' || (keyword[1] != '%' && keyword[1] != 'U'))
        return ParsePSKeywords(line, keyword);

    const Entry* end = kTable + sizeof kTable / sizeof kTable[0];
    const Entry* found =
        std::lower_bound(kTable, end, keyword, [](const Entry& entry, const char* key) {
            return CompareKeywords(entry.keyword, key) < 0;
        });
    if (found != end && CompareKeywords(found->keyword, keyword) == 0)
        return (this->*(found->handler))(line);
    return ParsePSKeywords(line, keyword);
}
