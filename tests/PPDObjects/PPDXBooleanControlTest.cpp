#include "PPDObjects/Controls/PPDXBooleanControl.h"

#include <gtest/gtest.h>

#include <string>

#include "ControlTestSupport.h"

using namespace controltest;

namespace {

const FourCharCode kBlnC = HALYX_FOUR_CHAR('B', 'l', 'n', 'C');
const FourCharCode kBCcV = HALYX_FOUR_CHAR('B', 'C', 'c', 'V');
const FourCharCode kBCdV = HALYX_FOUR_CHAR('B', 'C', 'd', 'V');
const FourCharCode kBfPT = HALYX_FOUR_CHAR('B', 'f', 'P', 'T');

const char kCollateTrue[] = "<</Collate true>>setpagedevice\n";

PPDXBooleanControl* MakeCollate(bool withFalseCode, bool defaultIsTrue,
                                CFStringRef name = nullptr) {
    PointerList flags;
    FillFlags(flags, {"Setup", "Spooler"});
    const std::string falseCode = "<</Collate false>>setpagedevice\n";
    return new PPDXBooleanControl("*Collate", name, flags, true, new CString("On"),
                                  Code(kCollateTrue), static_cast<long>(sizeof kCollateTrue - 1),
                                  new CString("Off"), withFalseCode ? Code(falseCode) : nullptr,
                                  withFalseCode ? static_cast<long>(falseCode.size()) : 0,
                                  defaultIsTrue);
}

TEST(PPDXBooleanControl, FeatureBlockOfEachState) {
    std::unique_ptr<PPDXBooleanControl> collate(MakeCollate(false, true));
    EXPECT_EQ(collate->Type(), CNTL_BOOLEAN);
    EXPECT_TRUE(collate->IsTrue());
    EXPECT_EQ(PostScriptOf(*collate),
              std::string("%%BeginFeature: *Collate True\n") + kCollateTrue + "%%EndFeature\n");
    collate->SetValue(false);
    EXPECT_EQ(PostScriptOf(*collate), "%%BeginFeature: *Collate False\n\n%%EndFeature\n");
    collate->ResetToDefaultValue();
    EXPECT_TRUE(collate->IsTrue());
    EXPECT_STREQ(collate->TrueDisplayText(), "On");
    EXPECT_STREQ(collate->FalseDisplayText(), "Off");

    PointerList none;
    PPDXBooleanControl keywordless("", nullptr, none, true, nullptr, Code("x"), 1, nullptr, nullptr,
                                   0, true);
    EXPECT_EQ(keywordless.PostScript(nullptr), 0);
    EXPECT_EQ(keywordless.TrueDisplayText(), nullptr);
}

TEST(PPDXBooleanControl, SaveAndRebuildKeepStateTextsAndCodes) {
    Name title("Collate Copies");
    std::unique_ptr<PPDXBooleanControl> collate(MakeCollate(true, true, title));
    collate->SetValue(false);
    Settings store;
    ASSERT_EQ(collate->Save(store, 5002), noErr);
    EXPECT_EQ(Record(store, kBlnC, 5002), std::string(1, '\1'));
    EXPECT_EQ(Record(store, kBCcV, 5002), std::string(1, '\0'));
    EXPECT_EQ(Record(store, kBCdV, 5002), std::string(1, '\1'));

    std::unique_ptr<Settings> copy = Reloaded(store);
    PPDXBooleanControl rebuilt(*copy, 5002);
    EXPECT_EQ(rebuilt.Type(), CNTL_BOOLEAN);
    EXPECT_FALSE(rebuilt.IsTrue());
    EXPECT_TRUE(rebuilt.DefaultState());
    EXPECT_STREQ(rebuilt.TrueDisplayText(), "On");
    EXPECT_STREQ(rebuilt.FalseDisplayText(), "Off");
    EXPECT_STREQ(rebuilt.UserName(), "Collate Copies");
    EXPECT_TRUE(rebuilt.IsSpooler());
    EXPECT_EQ(rebuilt.ControlFlagCount(), 2u);
    EXPECT_EQ(PostScriptOf(rebuilt), PostScriptOf(*collate));
    rebuilt.SetValue(true);
    collate->SetValue(true);
    EXPECT_EQ(PostScriptOf(rebuilt), PostScriptOf(*collate));
}

TEST(PPDXBooleanControl, RestoreReadsOnlyTheValue) {
    std::unique_ptr<PPDXBooleanControl> collate(MakeCollate(false, false));
    Settings store;
    store.Add(kBCcV, 5001, "\1", 1);
    store.Add(kBCdV, 5001, "\1", 1);
    EXPECT_EQ(collate->Restore(store, 5001), noErr);
    EXPECT_TRUE(collate->IsTrue());
    EXPECT_FALSE(collate->DefaultState());

    store.Add(kBCcV, 5002, "\0\0", 2);
    EXPECT_EQ(collate->Restore(store, 5002), noErr);
    EXPECT_TRUE(collate->IsTrue());
    EXPECT_EQ(collate->Restore(store, 5003), collectionItemNotFoundErr);
    EXPECT_TRUE(collate->IsTrue());
}

TEST(PPDXBooleanControl, MalformedRecordsLeaveDefaults) {
    Settings store;
    store.Add(kBlnC, 8, "\1", 1);
    store.Add(kBCcV, 8, "\1\1", 2);
    store.Add(kBCdV, 8, "", 0);
    store.Add(kBfPT, 8, "", 0);
    PPDXBooleanControl control(store, 8);
    EXPECT_FALSE(control.IsTrue());
    EXPECT_FALSE(control.DefaultState());
    EXPECT_EQ(control.TrueDisplayText(), nullptr);
    EXPECT_EQ(control.PostScript(nullptr), 0);
}

}  // namespace
