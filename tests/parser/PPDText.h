// A model parsed from a whole PPD text written by a test (header included), through a temporary
// file, with the parse options, accepted names and all-errors-fatal flag the test chooses.
#ifndef HALYX_TESTS_PARSER_PPDTEXT_H
#define HALYX_TESTS_PARSER_PPDTEXT_H

#include <string>
#include <vector>

#include "CoreFoundation/CFArray.h"
#include "CoreFoundation/CFString.h"
#include "foundation/PPDXErrors.h"
#include "parser/ORBPPD.h"
#include "tests/parser/TempPPD.h"

// The first lines of a PPD whose translations become display names.
inline std::string Header43(const std::string& version = "4.3") {
    return "*PPD-Adobe: \"" + version + "\"\n*LanguageVersion: English\n" +
           "*LanguageEncoding: ISOLatin1\n*PCFileName: \"HALYX01.PPD\"\n";
}

// A platform array of platform strings, released by the caller.
inline CFArrayRef NameList(const std::vector<const char*>& names) {
    std::vector<CFStringRef> strings;
    for (const char* name : names)
        strings.push_back(CFStringCreateWithCString(nullptr, name, kCFStringEncodingMacRoman));
    CFArrayRef array = CFArrayCreate(nullptr, reinterpret_cast<const void**>(strings.data()),
                                     static_cast<CFIndex>(strings.size()), &kCFTypeArrayCallBacks);
    for (CFStringRef string : strings) CFRelease(string);
    return array;
}

class PPDText {
public:
    explicit PPDText(const std::string& text,
                     _PARSE_OPTIONS_ options = ORBPPD::kParseOrphans | ORBPPD::kParseHidden,
                     CFArrayRef names = nullptr, bool allErrorsFatal = false)
        : mFile(text), mModel(new ORBPPD(mFile.Spec(), options, names, allErrorsFatal)) {
        mModel->Retain();
    }
    ~PPDText() { mModel->Release(); }
    PPDText(const PPDText&) = delete;
    PPDText& operator=(const PPDText&) = delete;

    ORBPPD* operator->() const { return mModel; }
    ORBPPD& Model() const { return *mModel; }
    const TempPPD& File() const { return mFile; }

    // Every error in order, as "28! 25 26 27 29:*Foo": the code, ":" and the keyword when there
    // is one, "!" when fatal.
    std::string Errors() const {
        std::string codes;
        PPDXErrors* errors = mModel->GetErrors();
        if (errors == nullptr) return "<no list>";
        for (PPDXErrorObj* error = errors->First(); error != nullptr; error = errors->Next()) {
            if (!codes.empty()) codes += ' ';
            codes += std::to_string(error->Code());
            if (error->Keyword() != nullptr) codes += std::string(":") + error->Keyword();
            if (error->IsFatal()) codes += '!';
        }
        return codes;
    }

private:
    TempPPD mFile;
    ORBPPD* mModel;
};

#endif  // HALYX_TESTS_PARSER_PPDTEXT_H
