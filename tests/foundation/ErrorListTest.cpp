#include <gtest/gtest.h>

#include <string>

#include "Files/FileRecords.h"
#include "Resources/Resources.h"
#include "foundation/PPDXErrorFunctions.h"
#include "foundation/PPDXErrorObj.h"
#include "foundation/PPDXErrors.h"
#include "testing/FailureInjection.h"

extern "C" unsigned long CountFatalFromC(PPDXErrors* list);

namespace {

// The bundle's resource file, current for the life of the object.
class BundleStrings {
public:
    BundleStrings() {
        FSSpec spec;
        std::string path = std::string(HALYX_SOURCE_DIR) + "/bundle/Resources/HalyxJobNotes.rsrc";
        mPrevious = CurResFile();
        mRef = HalyxFSSpecFromPath(path.c_str(), &spec) == noErr ? FSpOpenResFile(&spec, 1) : -1;
    }
    ~BundleStrings() {
        if (mRef > 0) CloseResFile(mRef);
        UseResFile(mPrevious);
    }
    ResFileRefNum Ref() const { return mRef; }

private:
    ResFileRefNum mRef;
    ResFileRefNum mPrevious;
};

TEST(PPDXErrorObj, TakesItsDescriptionFromTheBundleByCode) {
    BundleStrings strings;
    ASSERT_GT(strings.Ref(), 0);
    PPDXErrorObj unreadable(18, true);
    ASSERT_NE(unreadable.Description(), nullptr);
    EXPECT_NE(std::string(unreadable.Description()).find("opened or read"), std::string::npos);
    EXPECT_TRUE(unreadable.IsFatal());
    EXPECT_TRUE(unreadable == 18);
    EXPECT_EQ(unreadable.Keyword(), nullptr);  // made without keyword: null, not ""

    PPDXErrorObj longLine(37, CString("*Long"), false);
    ASSERT_NE(longLine.Description(), nullptr);
    EXPECT_NE(std::string(longLine.Description()).find("255"), std::string::npos);
    EXPECT_STREQ(longLine.Keyword(), "*Long");

    // Every code the parser raises has its own text.
    for (short code = 1; code <= 37; ++code) {
        PPDXErrorObj error(code, false);
        EXPECT_NE(error.Description(), nullptr) << code;
    }
    EXPECT_EQ(CurResFile(), strings.Ref());  // the lookup leaves the current file as it was
}

TEST(PPDXErrorObj, CodesWithoutEntryHaveNoDescription) {
    BundleStrings strings;
    PPDXErrorObj unknown(38, CString("*X"), true);
    EXPECT_EQ(unknown.Description(), nullptr);
    EXPECT_STREQ(unknown.Keyword(), "*X");
    PPDXErrorObj none;
    EXPECT_EQ(none.Description(), nullptr);
    EXPECT_FALSE(none.IsFatal());
    EXPECT_TRUE(none != 5);
}

TEST(PPDXErrorObj, CopiesKeepEveryField) {
    BundleStrings strings;
    PPDXErrorObj original(23, CString("*PageSize"), false);
    PPDXErrorObj copy(original);
    PPDXErrorObj assigned;
    assigned = original;
    for (const PPDXErrorObj* e : {&copy, &assigned}) {
        EXPECT_TRUE(*e == 23);
        EXPECT_STREQ(e->Keyword(), "*PageSize");
        EXPECT_STREQ(e->Description(), original.Description());
        EXPECT_FALSE(e->IsFatal());
    }
    CError plain(4, CString("text"), true);
    CError other;
    other = plain;
    other.Description("changed");
    EXPECT_STREQ(plain.Description(), "text");
    EXPECT_STREQ(other.Description(), "changed");
    EXPECT_TRUE(other.IsFatal());
}

TEST(PPDXErrors, WalksItsRecordsWithOneCursor) {
    PPDXErrors list;
    EXPECT_EQ(list.First(), nullptr);
    EXPECT_EQ(list.Next(), nullptr);
    PPDXErrorObj* a = new PPDXErrorObj(5, CString("*A"), false);
    PPDXErrorObj* b = new PPDXErrorObj(11, CString("*B"), true);
    list.Add(a);
    list.Add(nullptr);
    list.Add(b);
    EXPECT_EQ(list.Count(), 2u);
    EXPECT_EQ(list.First(), a);
    EXPECT_EQ(list.Next(), b);
    EXPECT_EQ(list.Next(), nullptr);
    EXPECT_EQ(list.Next(), nullptr);
    EXPECT_EQ(list.First(), a);  // a new walk starts at the first record again
    list.DeleteAll();
    EXPECT_TRUE(list.Empty());
    EXPECT_EQ(list.First(), nullptr);
}

TEST(PPDXErrors, RecordItCannotHoldIsDeletedNotLost) {
    HalyxFailureScope scope;
    PPDXErrors list;
    PPDXErrorObj* kept = new PPDXErrorObj(5, CString("*A"), false);
    list.Add(kept);
    PPDXErrorObj* dropped = new PPDXErrorObj(11, true);
    HalyxInjectFailures(kHalyxFailAllocation, 0, 1);
    // The sanitizer build reports the record as leaked if the list neither holds nor deletes it.
    list.Add(dropped);
    EXPECT_EQ(HalyxInjectedFailureCount(kHalyxFailAllocation), 1);
    EXPECT_EQ(list.Count(), 1u);
    EXPECT_EQ(list.First(), kept);
    list.DeleteAll();
}

TEST(ErrorFunctions, AnswerForNullListsAndRecords) {
    EXPECT_EQ(FirstError(nullptr), nullptr);
    EXPECT_EQ(NextError(nullptr), nullptr);
    EXPECT_TRUE(ErrorListIsEmpty(nullptr));
    EXPECT_EQ(ErrorCount(nullptr), 0u);
    EXPECT_EQ(GetErrorKeyword(nullptr), nullptr);
    EXPECT_EQ(GetErrorDescription(nullptr), nullptr);
    EXPECT_FALSE(IsErrorFatal(nullptr));

    BundleStrings strings;
    PPDXErrors list;
    list.Add(new PPDXErrorObj(28, true));
    list.Add(new PPDXErrorObj(36, CString("*UIConstraints"), false));
    EXPECT_FALSE(ErrorListIsEmpty(&list));
    EXPECT_EQ(ErrorCount(&list), 2u);
    PPDXErrorObj* first = FirstError(&list);
    EXPECT_TRUE(IsErrorFatal(first));
    EXPECT_EQ(GetErrorKeyword(first), nullptr);
    EXPECT_NE(GetErrorDescription(first), nullptr);
    PPDXErrorObj* second = NextError(&list);
    EXPECT_STREQ(GetErrorKeyword(second), "*UIConstraints");
    EXPECT_FALSE(IsErrorFatal(second));
    EXPECT_EQ(NextError(&list), nullptr);
    EXPECT_EQ(CountFatalFromC(&list), 1u);
    EXPECT_EQ(CountFatalFromC(nullptr), 0u);
    list.DeleteAll();
}

}  // namespace
