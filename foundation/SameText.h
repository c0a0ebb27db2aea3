// Byte-wise equality of two terminated texts, written out so that the many short keywords and
// words a parse compares cost no library call each.
#ifndef HALYX_FOUNDATION_SAMETEXT_H
#define HALYX_FOUNDATION_SAMETEXT_H

// True when `a` and `b` (both non-null) hold the same bytes up to their terminators.
inline bool SameText(const char* a, const char* b) {
    while (*a != '\0' && *a == *b) {
        ++a;
        ++b;
    }
    return *a == *b;
}

#endif  // HALYX_FOUNDATION_SAMETEXT_H
