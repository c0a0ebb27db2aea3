#include "parser/ORBPPD.h"

#include <cstring>
#include <new>
#include <vector>

#include "PPDObjects/PPDXControls.h"
#include "PPDObjects/PPDXGroup.h"
#include "PPDObjects/PPDXGroups.h"
#include "PPDObjects/PPDXProperties.h"
#include "PPDObjects/PPDXProperty.h"
#include "PPDObjects/PPDXRollDown.h"
#include "PPDObjects/PPDXShortcuts.h"
#include "PPDUtils/TextConverter.h"
#include "foundation/CString.h"
#include "foundation/PPDXErrorObj.h"
#include "foundation/PPDXErrors.h"
#include "foundation/SameText.h"
#include "parser/CStringSoup.h"
#include "parser/ConstraintForest.h"
#include "parser/KeywordTo_PPDControl.h"
#include "parser/PPDFile.h"
#include "parser/PPDFileStream.h"
#include "parser/PPDStream.h"

namespace {

constexpr PPDX::Stops kKeywordDelimiters{" \t:"};
constexpr PPDX::Stops kLineEndDelimiters{"\n\r"};
constexpr const char* kHeaderKeyword = "*PPD-Adobe";
constexpr const char* kSupportedVersion = "4.3";
// Constraint lines are most of the lines of a large file; with this exact start (no blank before
// the colon) their keyword needs neither the token reader nor the keyword table.
constexpr char kConstraintStart[] = "*UIConstraints:";
constexpr size_t kConstraintStartLength = sizeof kConstraintStart - 1;

}  // namespace

ORBPPD::ORBPPD(const CFURLRef url, const _PARSE_OPTIONS_& options, CFArrayRef names)
    : PPDX(url, names) {
    InitFields(options);
    if (IsValidPrinterName()) Build();
}

ORBPPD::ORBPPD(const FSSpec& spec, const _PARSE_OPTIONS_& options, CFArrayRef names)
    : PPDX(spec, names) {
    InitFields(options);
    if (IsValidPrinterName()) Build();
}

ORBPPD::ORBPPD(const CFURLRef url, const _PARSE_OPTIONS_& options, CFArrayRef names,
               const bool& allErrorsFatal)
    : PPDX(url, names) {
    InitFields(options);
    AllErrorsFatal(allErrorsFatal);
    if (IsValidPrinterName()) Build();
}

ORBPPD::ORBPPD(const FSSpec& spec, const _PARSE_OPTIONS_& options, CFArrayRef names,
               const bool& allErrorsFatal)
    : PPDX(spec, names) {
    InitFields(options);
    AllErrorsFatal(allErrorsFatal);
    if (IsValidPrinterName()) Build();
}

ORBPPD::ORBPPD(const _PARSE_OPTIONS_& options) : PPDX() {
    InitFields(options);
    Build();
}

void ORBPPD::InitFields(const _PARSE_OPTIONS_& options) {
    mParseOptions = options;
    mProperties = nullptr;
    mGroups = nullptr;
    mControls = nullptr;
    mShortcuts = nullptr;
    mInstallableOptions = false;
    mInstallableRollDown = nullptr;
    mQZFileVersion = nullptr;
    mQZVersion = nullptr;
    mKeywordIndex = nullptr;
    mConstraints = nullptr;
    mRequires = nullptr;
    mStringSoup = nullptr;
}

ORBPPD::~ORBPPD() {
    delete mConstraints;
    delete mRequires;
    delete mStringSoup;
    delete mKeywordIndex;
    {
        // Every member must be reached, hidden and orphaned ones included.
        DisplayOptionsScope all(DISPLAY_ALL);
        // No member's destructor touches a collection, and each walk steps off a member before
        // it is deleted: members go as they are met, without a list of them the size of the
        // model (whose allocation and release cost more than the walk).
        if (mProperties != nullptr) {
            for (PPDXProperty* page = mProperties->First(); page != nullptr;) {
                PPDXProperty* next = mProperties->Next();
                delete page;
                page = next;
            }
            delete mProperties;
        }
        if (mGroups != nullptr) {
            for (PPDXGroup* group = mGroups->First(); group != nullptr;) {
                PPDXGroup* next = mGroups->Next();
                delete group;
                group = next;
            }
            delete mGroups;
        }
        if (mControls != nullptr) {
            for (PPDXControl* control = mControls->First(nullptr); control != nullptr;) {
                PPDXControl* next = mControls->Next(nullptr);
                delete control;
                control = next;
            }
            delete mControls;
        }
        for (PPDXControl* control : mUnlisted) delete control;
        delete mQZFileVersion;
        delete mQZVersion;
        delete mShortcuts;
    }
    ClearStringList(mPendingStrings);
    ClearGroupNameList();
}

void ORBPPD::Build() {
    if (mProperties == nullptr) mProperties = new (std::nothrow) PPDXProperties();
    if (mGroups == nullptr) mGroups = new (std::nothrow) PPDXGroups();
    if (mControls == nullptr) mControls = new (std::nothrow) PPDXControls();
    if (mStringSoup == nullptr) mStringSoup = new (std::nothrow) CStringSoup();
    if (mKeywordIndex == nullptr) mKeywordIndex = new (std::nothrow) KeywordTo_PPDControl();
    if (mConstraints == nullptr) mConstraints = new (std::nothrow) ConstraintForest();
    if (mRequires == nullptr) mRequires = new (std::nothrow) ConstraintForest();
    if (File() == nullptr) return;
    Parse();
    if (mProperties != nullptr && mProperties->Empty()) AddError(kErrNoPages, nullptr, false);
    if (mGroups != nullptr && mGroups->Empty()) AddError(kErrNoGroups, nullptr, false);
    if (mControls != nullptr && mControls->Empty()) AddError(kErrNoControls, nullptr, false);
}

void ORBPPD::Parse() {
    PPDXErrors* errors = GetErrors();
    if (mProperties == nullptr || mGroups == nullptr || mControls == nullptr ||
        mStringSoup == nullptr || mKeywordIndex == nullptr || mConstraints == nullptr ||
        mRequires == nullptr) {
        if (errors != nullptr) errors->Add(NewError(kErrNoMemory, nullptr, true));
        return;
    }
    if (File() == nullptr) {
        mKeywordIndex->EndInsertion();
        return;
    }
    PPDFileStream file(File(), true);
    if (file.Bad()) {
        AddError(kErrCannotRead, nullptr, true);
        File()->closeDataFork();
        mKeywordIndex->EndInsertion();
        return;
    }

    CurrentStream(&file);
    PPDXErrorObj* pending = nullptr;
    char token[kTokenBufferSize];
    // A file that does not open with a keyword cannot open with the header line either.
    if (NextToken(file, token, kKeywordDelimiters, true))
        pending = TestPPDFile(file, token);
    else
        pending = NewError(kErrNotVersion43, nullptr, true);
    bool headerFailed = pending != nullptr;

    char line[PPDFileStream::kJoinedLineBufferSize];
    bool more = !headerFailed;
    while (more) {
        UInt32 errorsBefore = errors != nullptr ? errors->Count() : 0;
        if (!NextLine(file, line)) {
            // The last line may lack its line end; a line cut for its length was reported and
            // ends the walk (every error counts as fatal then).
            bool reported = errors != nullptr && errors->Count() != errorsBefore;
            if (line[0] == '\0' || reported) break;
            more = false;
        }
        const size_t length = std::strlen(line);
        PPDStream lineStream(line, static_cast<long>(length));
        PPDXErrorObj* error = nullptr;
        if (length >= kConstraintStartLength &&
            std::memcmp(line, kConstraintStart, kConstraintStartLength) == 0) {
            lineStream.Advance(line + kConstraintStartLength, false);
            error = ParseConstraintsLine(lineStream);
        } else {
            if (!NextToken(lineStream, token, kKeywordDelimiters, true)) continue;
            error = Dispatch(lineStream, token);
        }
        if (error == nullptr) continue;
        bool stop = error->IsFatal() || AllErrorsFatal();
        if (errors != nullptr)
            errors->Add(error);
        else
            delete error;
        if (stop) break;
    }

    FinishWalk();
    CurrentStream(nullptr);
    File()->closeDataFork();
    if (pending != nullptr) {
        if (errors != nullptr)
            errors->Add(pending);
        else
            delete pending;
    }
    mKeywordIndex->EndInsertion();
}

void ORBPPD::FinishWalk() {
    ResolveShortcuts();
    ClearStringList(mPendingStrings);
    CollectOrphanGroups();
    ClearGroupNameList();
}

PPDXErrorObj* ORBPPD::TestPPDFile(PPDStream& stream, const char* keyword) {
    if (keyword != nullptr && std::strcmp(keyword, kHeaderKeyword) == 0) {
        char value[kMaxQuotedValue];
        std::memset(value, 0, sizeof value);
        if (GetQuotedString(stream, value, kMaxQuotedValue) > 0 &&
            std::strcmp(value, kSupportedVersion) == 0) {
            ValidPPD(true);
            return nullptr;
        }
    }
    return NewError(kErrNotVersion43, nullptr, true);
}

PPDXErrorObj* ORBPPD::ParsePSKeywords(PPDStream& stream, const char* keyword) {
    if (keyword == nullptr) return nullptr;
    // The keywords known here begin "*%", "*O" or "*C"; the rest go straight to the header's.
    if (keyword[0] != '*' || (keyword[1] != '%' && keyword[1] != 'O' && keyword[1] != 'C'))
        return PPDX::ParsePSKeywords(stream, keyword);
    struct Version {
        const char* keyword;
        CString* ORBPPD::*field;
    };
    static const Version kVersions[] = {
        {"*%QZFileVersion", &ORBPPD::mQZFileVersion},
        {"*%QZVersion", &ORBPPD::mQZVersion},
    };
    for (const Version& version : kVersions) {
        if (!SameText(keyword, version.keyword)) continue;
        char value[kTokenBufferSize];
        if (NextToken(stream, value, kLineEndDelimiters, true)) {
            CString*& field = this->*version.field;
            delete field;
            field = new (std::nothrow) CString(value);
        }
        return nullptr;
    }
    if (SameText(keyword, "*OpenGroup")) {
        PPDXErrorObj* error = ParseOpenGroup(stream);
        delete error;
        return nullptr;
    }
    if (SameText(keyword, "*CloseGroup")) {
        PPDXErrorObj* error = ParseCloseGroup(stream);
        delete error;
        return nullptr;
    }
    return PPDX::ParsePSKeywords(stream, keyword);
}

bool ORBPPD::SetupControl(PPDXGroup* group, PPDXControl* control, bool reportMisplaced) {
    if (control == nullptr) return false;
    if (mControls == nullptr) {
        mUnlisted.push_back(control);
        return false;
    }
    if (group == nullptr) {
        if (mInstallableOptions && mInstallableRollDown != nullptr) {
            group = mInstallableRollDown;
        } else if (!ParseOrphans()) {
            return Adopt(control);
        }
    }
    PPDXRollDown* rollDown = dynamic_cast<PPDXRollDown*>(group);
    if (rollDown != nullptr) {
        // The parent comes first: the collections count the control from its state when added.
        PPDXControls* rolled = rollDown->Controls();
        if (rolled != nullptr) control->SetParent(rollDown);
        if (!Adopt(control)) {
            control->SetParent(nullptr);
            return false;
        }
        if (rolled != nullptr && !rolled->Add(control)) control->SetParent(nullptr);
        return true;
    }
    if (reportMisplaced) AddError(kErrMisplacedControl, control->Keyword(), false);
    return Adopt(control);
}

bool ORBPPD::Adopt(PPDXControl* control) {
    if (mControls->Add(control)) return true;
    // The handler that made it may still index it: it must outlive the walk all the same.
    mUnlisted.push_back(control);
    return false;
}

bool ORBPPD::operator==(const ORBPPD& other) const {
    FSSpec mine;
    FSSpec theirs;
    bool haveMine = GetFileSpec(mine);
    bool haveTheirs = other.GetFileSpec(theirs);
    if (haveMine != haveTheirs) return false;
    if (haveMine) {
        if (mine.vRefNum != theirs.vRefNum || mine.parID != theirs.parID) return false;
        if (std::memcmp(mine.name, theirs.name, mine.name[0] + 1u) != 0) return false;
    }
    const char* myName = PCFileName();
    const char* theirName = other.PCFileName();
    return std::strcmp(myName != nullptr ? myName : "", theirName != nullptr ? theirName : "") == 0;
}

bool ORBPPD::GetFileSpec(FSSpec& spec) const {
    if (File() == nullptr) return false;
    File()->getFileInfo(spec);
    return true;
}

const char* ORBPPD::QZFileVersion() const {
    return mQZFileVersion != nullptr ? static_cast<const char*>(*mQZFileVersion) : nullptr;
}

const char* ORBPPD::QZVersion() const {
    return mQZVersion != nullptr ? static_cast<const char*>(*mQZVersion) : nullptr;
}

PPDXErrorObj* ORBPPD::NewError(short code, const char* keyword, bool fatal) {
    return new (std::nothrow) PPDXErrorObj(code, CString(keyword), fatal);
}

void ORBPPD::AddError(short code, const char* keyword, bool fatal) {
    PPDXErrorObj* error = NewError(code, keyword, fatal);
    if (GetErrors() != nullptr)
        GetErrors()->Add(error);
    else
        delete error;
}

CFStringRef ORBPPD::ConvertTranslation(const char* text) {
    TextConverter* converter = GetTextConverter();
    if (converter == nullptr || text == nullptr) return nullptr;
    char bounded[kMaxQuotedValue];
    size_t length = ::strnlen(text, kMaxQuotedValue - 1);
    std::memcpy(bounded, text, length);
    bounded[length] = '\0';
    return converter->ConvertToCFString(bounded, static_cast<UInt32>(length));
}
