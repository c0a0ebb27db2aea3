// The six header values of a PPD as the reference parser reads them. Kept apart from the tests so
// that only this file sees the reference parser's declarations.
#ifndef HALYX_TESTS_CORPUS_REFERENCEHEADERS_H
#define HALYX_TESTS_CORPUS_REFERENCEHEADERS_H

#include <string>

struct HeaderValues {
    bool present[6] = {};  // whether each value was found at all
    std::string value[6];
};

// The header keywords in the order HeaderValues holds them.
extern const char* const kHeaderKeywords[6];

// True when the reference parser is linked into this test.
bool HaveReferenceParser();

// Opens `path` with the reference parser and fills `out`. False, with `error` set, when the
// reference parser refuses the file (or is not linked).
bool ReadReferenceHeaders(const std::string& path, HeaderValues& out, std::string& error);

#endif  // HALYX_TESTS_CORPUS_REFERENCEHEADERS_H
