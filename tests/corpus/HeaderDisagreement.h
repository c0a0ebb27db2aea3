// Why our parser and the reference parser read a header value differently: a table of the known
// differences between the two, each judged on the raw lines of the file.
#ifndef HALYX_TESTS_CORPUS_HEADERDISAGREEMENT_H
#define HALYX_TESTS_CORPUS_HEADERDISAGREEMENT_H

#include <string>

struct Disagreement {
    std::string keyword;
    std::string ours;       // quoted value, or "(none)"
    std::string reference;  // likewise
    std::string reason;     // empty when no known difference explains it
};

// Judges one disagreement on `keyword` in the file `bytes`; `ours` and `reference` are null when
// that parser found no value.
Disagreement ExplainDisagreement(const std::string& bytes, const char* keyword,
                                 const std::string* ours, const std::string* reference);

#endif  // HALYX_TESTS_CORPUS_HEADERDISAGREEMENT_H
