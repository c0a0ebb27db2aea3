// The job-note keywords whose values also travel as comment lines of their own, with the prefix
// written before each value, and the special options that steer the job's output.
#ifndef HALYX_CORE_KEYWORDMAP_H
#define HALYX_CORE_KEYWORDMAP_H

struct KeywordMapRow {
    char keyword[256];
    char prefix[256];  // empty: the entry writes no comment line of its own
};

enum {
    kKeywordMapCount = 8,
    kKeywordMapUserName = 6,  // "*QZUserAuthName"
    kKeywordMapPassword = 7   // "*QZUserAuthPwd"
};

// A row's index is the special index of the entries with its keyword.
extern const KeywordMapRow gKeywordMap[kKeywordMapCount];

#define kUseSpecialKeyOption "*UseSpecialKey"
#define kCopierUserAuthOption "*CopierUserAuth"
#define kAuthenticateWithLDAPOption "*ORBAuthenticateWithLDAP"

// The value of the special option with exactly this keyword in the current model (gORBPPD); null
// when there is no current model, no such option or it has no value.
const char* CurrentSpecialOptionValue(const char* keyword);
// Whether that value is exactly "True".
bool CurrentSpecialOptionIsTrue(const char* keyword);

#endif  // HALYX_CORE_KEYWORDMAP_H
