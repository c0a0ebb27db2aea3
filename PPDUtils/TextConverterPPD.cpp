// The converters made from a PPD: the only place this module reads the PPD, for its two language
// keywords.
#include "PPDUtils/TextConverter.h"
#include "parser/PPDX.h"

TextConverter::TextConverter(PPDX* ppd) {
    Initialize();
    SetUp(ppd, kUnknownEncoding, true);
}

TextConverter::TextConverter(PPDX* ppd, TextEncoding outputEncoding) {
    Initialize();
    SetUp(ppd, outputEncoding, false);
}

void TextConverter::SetUp(PPDX* ppd, TextEncoding outputEncoding, bool outputFromSystem) {
    mInputEncoding = GetPPDEncoding(ppd);
    if (mInputEncoding == kUnknownEncoding) return;
    mLanguageVersion = ppd->LanguageVersion();
    mOutputEncoding = outputFromSystem ? GetCurrentEncoding() : outputEncoding;
    if (mOutputEncoding == kUnknownEncoding) return;
    Create();
}

TextEncoding TextConverter::GetPPDEncoding(PPDX* ppd) {
    if (ppd == nullptr) return kUnknownEncoding;
    return LanguageStringToEncoding(ppd->LanguageEncoding());
}
