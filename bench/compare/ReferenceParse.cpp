#include "bench/compare/ReferenceParse.h"

#ifdef HALYX_HAVE_REFERENCE_PPD

#include <cups/ppd.h>

bool HaveReferenceParser() {
    return true;
}

bool ReferenceOpenAndClose(const char* path) {
    ppd_file_t* ppd = ppdOpenFile(path);
    if (ppd == nullptr) return false;
    ppdClose(ppd);
    return true;
}

#else

bool HaveReferenceParser() {
    return false;
}

bool ReferenceOpenAndClose(const char*) {
    return false;
}

#endif
