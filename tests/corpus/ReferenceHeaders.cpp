#include "tests/corpus/ReferenceHeaders.h"

const char* const kHeaderKeywords[6] = {"*PCFileName",       "*ModelName",     "*LanguageVersion",
                                        "*LanguageEncoding", "*FormatVersion", "*FileVersion"};

#ifdef HALYX_HAVE_REFERENCE_PPD

#include <cups/ppd.h>

bool HaveReferenceParser() {
    return true;
}

static void Keep(HeaderValues& out, int i, const char* value) {
    out.present[i] = value != nullptr;
    out.value[i] = value != nullptr ? value : "";
}

bool ReadReferenceHeaders(const std::string& path, HeaderValues& out, std::string& error) {
    ppd_file_t* ppd = ppdOpenFile(path.c_str());
    if (ppd == nullptr) {
        int line = 0;
        ppd_status_t status = ppdLastError(&line);
        error = std::string(ppdErrorString(status)) + " on line " + std::to_string(line);
        return false;
    }
    Keep(out, 0, ppd->pcfilename);
    Keep(out, 1, ppd->modelname);
    Keep(out, 2, ppd->lang_version);
    Keep(out, 3, ppd->lang_encoding);
    ppd_attr_t* format = ppdFindAttr(ppd, "FormatVersion", nullptr);
    Keep(out, 4, format != nullptr ? format->value : nullptr);
    ppd_attr_t* version = ppdFindAttr(ppd, "FileVersion", nullptr);
    Keep(out, 5, version != nullptr ? version->value : nullptr);
    ppdClose(ppd);
    return true;
}

#else

bool HaveReferenceParser() {
    return false;
}

bool ReadReferenceHeaders(const std::string&, HeaderValues&, std::string& error) {
    error = "the reference parser is not linked";
    return false;
}

#endif
