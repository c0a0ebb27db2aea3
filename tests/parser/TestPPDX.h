// A PPDX with the walk left out, so that tests reach the tokenizer, the header keywords and the
// line reading directly.
#ifndef HALYX_TESTS_PARSER_TESTPPDX_H
#define HALYX_TESTS_PARSER_TESTPPDX_H

#include "parser/PPDX.h"

class TestPPDX : public PPDX {
public:
    TestPPDX() {}
    TestPPDX(const FSSpec& spec, CFArrayRef names) : PPDX(spec, names) {}
    TestPPDX(const CFURLRef url, CFArrayRef names) : PPDX(url, names) {}

    void Parse() override {}
    PPDXPopupControl* PPDCreatePopupMenu(const char*, const char*, const char*, PointerList&,
                                         CString*) override {
        return nullptr;
    }
    bool PPDReconcilePopupMenu(const char*, const char*, PointerList&, CString*) override {
        return false;
    }

    using PPDX::CurrentStream;
    using PPDX::NextLine;
    using PPDX::ValidPPD;
};

#endif  // HALYX_TESTS_PARSER_TESTPPDX_H
