// The languages whose PPDs keep their declared encoding even when a text holds bytes from 0x80 up.
//
// For every other language such bytes are read as Mac OS Roman, whatever the PPD declares: PPDs for
// Western languages often declare one encoding and carry another, and Mac OS Roman is what their
// translations were written in. The languages listed here need their own encodings for their
// letters, so their declaration is trusted.
#ifndef HALYX_PPDUTILS_HEXLANGUAGEEXCEPTIONS_H
#define HALYX_PPDUTILS_HEXLANGUAGEEXCEPTIONS_H

#include <set>
#include <string>

class HexLanguageExceptions {
public:
    // Holds the seventeen languages, from "Japanese" to "Slovenian".
    HexLanguageExceptions();
    virtual ~HexLanguageExceptions();

    // Exact, case-sensitive membership; a null name is not a member.
    bool IsException(const char* languageVersion) const;

private:
    std::set<std::string> mLanguages;
};

#endif  // HALYX_PPDUTILS_HEXLANGUAGEEXCEPTIONS_H
