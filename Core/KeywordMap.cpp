#include "Core/KeywordMap.h"

#include <string.h>

#include "Core/CurrentPPD.h"
#include "PPDObjects/Controls/PPDXSpecialOption.h"
#include "PPDObjects/PPDXControls.h"
#include "parser/ORBPPD.h"

const KeywordMapRow gKeywordMap[kKeywordMapCount] = {
    {"*Notes1", "%%ORBCustom1: "},   {"*Notes2", "%%ORBCustom2: "},
    {"*Instruct", "%%ORBCustom3: "}, {"*Notes3", "%%ORBCustom4: "},
    {"*Resume", "%%PersPassword: "}, {"*DeptPassword", "%%DeptPassword: "},
    {"*QZUserAuthName", ""},         {"*QZUserAuthPwd", "%%ORBUATag: "},
};

const char* CurrentSpecialOptionValue(const char* keyword) {
    if (gORBPPD == nullptr || gORBPPD->GetControls() == nullptr) return nullptr;
    PPDXSpecialOption* option = gORBPPD->GetControls()->FindSpecialOption(keyword, true);
    return option != nullptr ? option->GetValue() : nullptr;
}

bool CurrentSpecialOptionIsTrue(const char* keyword) {
    const char* value = CurrentSpecialOptionValue(keyword);
    return value != nullptr && strcmp(value, "True") == 0;
}
