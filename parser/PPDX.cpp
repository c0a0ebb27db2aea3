#include "parser/PPDX.h"

#include <cstring>
#include <new>

#include "foundation/CString.h"
#include "foundation/PPDXErrors.h"
#include "foundation/SameText.h"
#include "parser/PPDFile.h"
#include "parser/PPDStream.h"
#include "PPDUtils/TextConverter.h"

PPDX::PPDX()
    : mValidPPD(false),
      mValidPrinterName(true),
      mFile(nullptr),
      mErrors(nullptr),
      mAllErrorsFatal(false),
      mFormatVersion(nullptr),
      mFileVersion(nullptr),
      mPCFileName(nullptr),
      mLanguageVersion(nullptr),
      mLanguageEncoding(nullptr),
      mModelName(nullptr),
      mTextConverter(nullptr),
      mCurrentStream(nullptr),
      mNames(nullptr),
      mRetainCount(0) {}

PPDX::PPDX(const CFURLRef url, CFArrayRef names) : PPDX() {
    mNames = names;
    Build(url);
}

PPDX::PPDX(const FSSpec& spec, CFArrayRef names) : PPDX() {
    mNames = names;
    Build(spec);
}

PPDX::~PPDX() {
    delete mFile;
    if (mErrors != nullptr) {
        mErrors->DeleteAll();
        delete mErrors;
    }
    delete mFormatVersion;
    delete mFileVersion;
    delete mPCFileName;
    delete mLanguageVersion;
    delete mLanguageEncoding;
    delete mModelName;
    delete mTextConverter;
}

void PPDX::Build(const FSSpec& spec) {
    if (mErrors == nullptr) mErrors = new (std::nothrow) PPDXErrors();
    delete mFile;
    mFile = new (std::nothrow) PPDFile(spec);
    if (mNames != nullptr) {
        mValidPrinterName = ValidateAgainstPCFilename(mNames, mFile);
        mNames = nullptr;
    }
}

void PPDX::Build(const CFURLRef url) {
    FSSpec spec;
    PPDFile::SpecFromURL(url, spec);
    Build(spec);
}

PPDX* PPDX::Retain() {
    ++mRetainCount;
    return this;
}

bool PPDX::Release() {
    if (--mRetainCount > 0) return false;
    delete this;
    return true;
}

bool PPDX::IsValidPPD() const {
    if (!mValidPPD) return false;
    if (mErrors == nullptr) return true;
    if (mAllErrorsFatal) return mErrors->Empty();
    for (PPDXErrorObj* error = mErrors->First(); error != nullptr; error = mErrors->Next())
        if (error->IsFatal()) return false;
    return true;
}

TextEncoding PPDX::GetStringTextEncoding() const {
    return mTextConverter != nullptr ? mTextConverter->GetOutputEncoding() : 0;
}

void PPDX::MakeTextConverter() {
    delete mTextConverter;
    mTextConverter = new (std::nothrow) TextConverter(this);
}

namespace {

const char* TextOf(const CString* field) {
    return field != nullptr ? static_cast<const char*>(*field) : nullptr;
}

}  // namespace

const char* PPDX::PCFileName() const {
    return TextOf(mPCFileName);
}
const char* PPDX::LanguageVersion() const {
    return TextOf(mLanguageVersion);
}
const char* PPDX::LanguageEncoding() const {
    return TextOf(mLanguageEncoding);
}
const char* PPDX::ModelName() const {
    return TextOf(mModelName);
}
const char* PPDX::FormatVersion() const {
    return TextOf(mFormatVersion);
}
const char* PPDX::FileVersion() const {
    return TextOf(mFileVersion);
}

void PPDX::StoreHeader(CString*& field, const char* value) {
    if (field == nullptr)
        field = new (std::nothrow) CString(value);
    else
        *field = value;
}

PPDXErrorObj* PPDX::ParsePSKeywords(PPDStream& stream, const char* keyword) {
    // The header keywords below all begin "*P", "*F", "*M" or "*L"; other lines are done here.
    if (keyword == nullptr || keyword[0] != '*') return nullptr;
    const char initial = keyword[1];
    if (initial != 'P' && initial != 'F' && initial != 'M' && initial != 'L') return nullptr;
    struct QuotedHeader {
        const char* keyword;
        CString* PPDX::*field;
    };
    static const QuotedHeader kQuoted[] = {
        {"*PCFileName", &PPDX::mPCFileName},
        {"*FormatVersion", &PPDX::mFormatVersion},
        {"*FileVersion", &PPDX::mFileVersion},
        {"*ModelName", &PPDX::mModelName},
    };
    char value[kMaxQuotedValue];
    for (const QuotedHeader& header : kQuoted) {
        if (!SameText(keyword, header.keyword)) continue;
        std::memset(value, 0, sizeof value);
        if (GetQuotedString(stream, value, kMaxQuotedValue) > 0)
            StoreHeader(this->*header.field, value);
        return nullptr;
    }

    CString* PPDX::*language = nullptr;
    if (SameText(keyword, "*LanguageVersion"))
        language = &PPDX::mLanguageVersion;
    else if (SameText(keyword, "*LanguageEncoding"))
        language = &PPDX::mLanguageEncoding;
    if (language == nullptr) return nullptr;
    if (!NextToken(stream, value, "\n\r", true)) return nullptr;
    StoreHeader(this->*language, value);
    if (mLanguageVersion != nullptr && mLanguageEncoding != nullptr) MakeTextConverter();
    return nullptr;
}
