// A model parsed from a small PPD text written by a test: the text is put after a 4.3 header with
// English ISOLatin1 language keywords (so that translations become display names), saved to a
// temporary file and parsed. The model is released when the object goes.
#ifndef HALYX_TESTS_PARSER_PARSEDPPD_H
#define HALYX_TESTS_PARSER_PARSEDPPD_H

#include <string>

#include "PPDObjects/ModelOptions.h"
#include "PPDObjects/PPDXControls.h"
#include "foundation/PPDXErrors.h"
#include "parser/ORBPPD.h"
#include "tests/parser/TempPPD.h"

constexpr _PARSE_OPTIONS_ kParseEverything = ORBPPD::kParseOrphans | ORBPPD::kParseHidden;

class ParsedPPD {
public:
    static constexpr const char* kHeader =
        "*PPD-Adobe: \"4.3\"\n"
        "*LanguageVersion: English\n"
        "*LanguageEncoding: ISOLatin1\n";

    explicit ParsedPPD(const std::string& body, _PARSE_OPTIONS_ options = kParseEverything)
        : mFile(kHeader + body), mModel(new ORBPPD(mFile.Spec(), options, nullptr)) {
        mModel->Retain();
    }
    ~ParsedPPD() { mModel->Release(); }
    ParsedPPD(const ParsedPPD&) = delete;
    ParsedPPD& operator=(const ParsedPPD&) = delete;

    ORBPPD* operator->() const { return mModel; }
    ORBPPD& Model() const { return *mModel; }

    // The errors the parse reported, in order, as "33:*Foo 29:*Foo 4": each code followed by the
    // keyword it concerns when there is one, and by "!" when it is fatal. The notes for an empty
    // result (no page, group or control) are left out: most test texts have none of some kind.
    std::string Errors() const {
        std::string codes;
        PPDXErrors* errors = mModel->GetErrors();
        for (PPDXErrorObj* error = errors->First(); error != nullptr; error = errors->Next()) {
            if (error->Code() >= ORBPPD::kErrNoPages && error->Code() <= ORBPPD::kErrNoControls)
                continue;
            if (!codes.empty()) codes += ' ';
            codes += std::to_string(error->Code());
            if (error->Keyword() != nullptr) codes += std::string(":") + error->Keyword();
            if (error->IsFatal()) codes += '!';
        }
        return codes;
    }

    // The control of `keyword`, whatever the process shows, as the class the test expects (null
    // when there is none).
    template <class Control>
    Control* Find(const char* keyword) const {
        DisplayOptionsScope all(DISPLAY_ALL);
        return dynamic_cast<Control*>(mModel->GetControls()->Find(keyword, nullptr, true));
    }

    // The number of controls of the model, whatever the process shows.
    UInt32 ControlTotal() const {
        DisplayOptionsScope all(DISPLAY_ALL);
        UInt32 total = 0;
        PPDXControls* controls = mModel->GetControls();
        for (PPDXControl* c = controls->First(nullptr); c != nullptr; c = controls->Next(nullptr))
            ++total;
        return total;
    }

private:
    TempPPD mFile;
    ORBPPD* mModel;
};

#endif  // HALYX_TESTS_PARSER_PARSEDPPD_H
