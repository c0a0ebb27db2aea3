#include "tools/PPDErrorLines.h"

#include <cstdio>

#include "foundation/PPDXErrors.h"
#include "parser/ORBPPD.h"
#include "tools/PPDText.h"

namespace halyx::tools {

PPDErrorLines ListPPDErrors(ORBPPD& model, bool fatalOnly) {
    PPDErrorLines list;
    PPDXErrors* errors = model.GetErrors();
    if (errors == nullptr) return list;
    const CFStringEncoding encoding = EncodingOfPPD(model.LanguageEncoding());
    for (PPDXErrorObj* e = errors->First(); e != nullptr; e = errors->Next()) {
        ++list.count;
        if (e->IsFatal()) ++list.fatal;
        if (fatalOnly && !e->IsFatal()) continue;
        const std::string keyword = Utf8FromText(e->Keyword(), encoding);
        const std::string description = Utf8FromText(e->Description(), kCFStringEncodingMacRoman);
        char head[48];
        std::snprintf(head, sizeof head, "error %d  %-9s  ", static_cast<int>(e->Code()),
                      e->IsFatal() ? "fatal" : "not fatal");
        std::string keywordColumn = keyword.empty() ? "-" : keyword;
        if (keywordColumn.size() < 24) keywordColumn.resize(24, ' ');
        list.lines.push_back(std::string(head) + keywordColumn + "  " +
                             (description.empty() ? "(no description)" : description));
    }
    return list;
}

}  // namespace halyx::tools
