// Flagged option blocks: popups, Boolean controls, group assignment and the errors of each.
#include <gtest/gtest.h>

#include <string>

#include "PPDObjects/Controls/PPDXBooleanControl.h"
#include "PPDObjects/Controls/PPDXJobNote.h"
#include "PPDObjects/Controls/PPDXPopupControl.h"
#include "PPDObjects/Controls/PPDXRangeControl.h"
#include "PPDObjects/PPDXControls.h"
#include "PPDObjects/PPDXGroups.h"
#include "PPDObjects/PPDXRollDown.h"
#include "foundation/CString.h"
#include "parser/KeywordTo_PPDControl.h"
#include "parser/ORBPPD.h"
#include "tests/parser/ParsedPPD.h"

namespace {

// A page, a scroll pane on it and a roll-down "Finish" in the pane.
const std::string kLayout =
    "*%ORBPropPage Main/Main: True\n"
    "*%ORBGroupName Pane/Pane: True\n"
    "*%ORBGroupName Finish/Finishing: True\n"
    "*%ORBGroupName Plain/Plain group: True\n"
    "*%ORBParent Pane/Main: True|Scrollpane\n"
    "*%ORBParent Finish/Pane: True|Rolldown\n";

const std::string kDuplexBlock =
    "*OpenUI *Duplex/Two-Sided: PickOne\n"
    "*OrderDependency: 50 AnySetup *Duplex\n"
    "*DefaultDuplex: None\n"
    "*Duplex None/Off: \"<</Duplex false>>setpagedevice\"\n"
    "*Duplex DuplexNoTumble/Long Edge: \"<</Duplex true>>setpagedevice\"\n"
    "*CloseUI: *Duplex\n";

std::string ItemCode(_PopupItem* item) {
    return std::string(reinterpret_cast<const char*>(item->mPSData), item->mPSLength);
}

}  // namespace

TEST(ORBPPDPopupBlocks, FlaggedPickOneTakesItsChoicesDefaultAndFlagWords) {
    ParsedPPD ppd(kLayout + "*%ORBFlags *Duplex: Command|Setup\n*%ORBGroup *Duplex: Finish\n" +
                  kDuplexBlock);
    EXPECT_EQ(ppd.Errors(), "");
    PPDXPopupControl* popup = ppd.Find<PPDXPopupControl>("*Duplex");
    ASSERT_NE(popup, nullptr);
    EXPECT_STREQ(popup->UserName(), "Two-Sided");
    EXPECT_FALSE(popup->CanSelectMultipleItems());
    EXPECT_STREQ(popup->GetDefaultKeyword(), "None");
    EXPECT_EQ(popup->GetValue(), 1);
    ASSERT_EQ(popup->ItemCount(), 2u);
    _PopupItem* first = popup->FirstItem();
    EXPECT_STREQ(*first->mKeyword, "None");
    EXPECT_STREQ(first->displayName(), "Off");
    EXPECT_EQ(ItemCode(first), "<</Duplex false>>setpagedevice\n");
    _PopupItem* second = popup->NextItem();
    EXPECT_STREQ(*second->mKeyword, "DuplexNoTumble");
    EXPECT_STREQ(second->displayName(), "Long Edge");
    EXPECT_EQ(ItemCode(second), "<</Duplex true>>setpagedevice\n");

    EXPECT_EQ(popup->ControlFlagCount(), 2u);
    EXPECT_STREQ(popup->FirstControlFlag(), "Command");
    EXPECT_STREQ(popup->NextControlFlag(), "Setup");

    PPDXRollDown* finish = dynamic_cast<PPDXRollDown*>(ppd->GetGroups()->Find("Finish", true));
    ASSERT_NE(finish, nullptr);
    EXPECT_EQ(popup->GetParent(), finish);
    EXPECT_EQ(finish->Controls()->FindPopup("*Duplex", true), popup);
    EXPECT_EQ(ppd->GetKeywordIndex()->Lookup("*Duplex"), popup);
}

TEST(ORBPPDPopupBlocks, PickManyAndAllBlockKeywordSpellingsMakePopups) {
    ParsedPPD ppd(
        "*%ORBFlags *Staple: Setup\n"
        "*QZOpenUI *Staple/Staple: PickMany\n"
        "*DefaultStaple: One\n"
        "*Staple One/One staple: \"1 staple\"\n"
        "*Staple Two: \"2 staple\"\n"
        "*QZCloseUI: *Staple\n"
        "*%ORBFlags *Punch: Setup\n"
        "*BeginUI *Punch/Punch: PickOne\n"
        "*DefaultPunch: Off\n"
        "*Punch Off/Off: \"\"\n"
        "*EndUI: *Punch\n");
    EXPECT_EQ(ppd.Errors(), "29:*Staple 29:*Punch");
    PPDXPopupControl* staple = ppd.Find<PPDXPopupControl>("*Staple");
    ASSERT_NE(staple, nullptr);
    EXPECT_TRUE(staple->CanSelectMultipleItems());
    ASSERT_EQ(staple->ItemCount(), 2u);
    staple->FirstItem();
    // A choice written without translation keeps an empty display name.
    EXPECT_STREQ(staple->NextItem()->displayName(), "");
    PPDXPopupControl* punch = ppd.Find<PPDXPopupControl>("*Punch");
    ASSERT_NE(punch, nullptr);
    // An empty value gives the choice no code.
    EXPECT_EQ(punch->FirstItem()->mPSData, nullptr);
    EXPECT_EQ(punch->FirstItem()->mPSLength, 0);
}

TEST(ORBPPDPopupBlocks, ChoiceCodeOverSeveralLinesIsJoinedAndTheBlockGoesOn) {
    ParsedPPD ppd(
        "*%ORBFlags *Tray: Setup\n"
        "*OpenUI *Tray/Tray: PickOne\n"
        "*DefaultTray: Upper\n"
        "*Tray Upper/Upper: \"<<\n"
        "/MediaPosition 0\n"
        ">>setpagedevice\"\n"
        "*End\n"
        "*Tray Lower/Lower: \"lower\"\n"
        "*CloseUI: *Tray\n");
    EXPECT_EQ(ppd.Errors(), "29:*Tray");
    PPDXPopupControl* tray = ppd.Find<PPDXPopupControl>("*Tray");
    ASSERT_NE(tray, nullptr);
    ASSERT_EQ(tray->ItemCount(), 2u);
    EXPECT_EQ(ItemCode(tray->FirstItem()), "<<\n/MediaPosition 0\n>>setpagedevice\n");
    EXPECT_STREQ(*tray->NextItem()->mKeyword, "Lower");
}

TEST(ORBPPDPopupBlocks, MissingDefaultIsReportedAndThePopupStillMade) {
    ParsedPPD ppd(kLayout + "*%ORBFlags *Duplex: Setup\n*%ORBGroup *Duplex: Finish\n" +
                  "*OpenUI *Duplex/Two-Sided: PickOne\n"
                  "*Duplex None/Off: \"off\"\n"
                  "*CloseUI: *Duplex\n");
    EXPECT_EQ(ppd.Errors(), "33:*Duplex");
    PPDXPopupControl* popup = ppd.Find<PPDXPopupControl>("*Duplex");
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->GetDefaultKeyword(), nullptr);
}

TEST(ORBPPDPopupBlocks, SecondDefaultOrMissingBlockEndIsFatal) {
    {
        ParsedPPD ppd(
            "*%ORBFlags *Duplex: Setup\n"
            "*OpenUI *Duplex/Two-Sided: PickOne\n"
            "*DefaultDuplex: None\n"
            "*DefaultDuplex: DuplexNoTumble\n"
            "*Duplex None/Off: \"off\"\n"
            "*CloseUI: *Duplex\n"
            "*%ORBSpecialOption *UseSpecialKey: True\n");
        EXPECT_EQ(ppd.Errors(), "11:*Duplex!");
        EXPECT_EQ(ppd.ControlTotal(), 0u) << "the walk stops at the fatal error";
        EXPECT_FALSE(ppd->IsValidPPD());
    }
    {
        ParsedPPD ppd(
            "*%ORBFlags *Duplex: Setup\n"
            "*OpenUI *Duplex/Two-Sided: PickOne\n"
            "*DefaultDuplex: None\n"
            "*Duplex None/Off: \"off\"\n");
        EXPECT_EQ(ppd.Errors(), "11:*Duplex!");
        EXPECT_EQ(ppd.Find<PPDXPopupControl>("*Duplex"), nullptr);
    }
}

TEST(ORBPPDPopupBlocks, OrphanIsRefusedUnlessOrphansAreParsedAndThenReportedAsMisplaced) {
    const std::string text = "*%ORBFlags *Duplex: Setup\n" + kDuplexBlock;
    {
        ParsedPPD ppd(text, ORBPPD::kParseHidden);
        EXPECT_EQ(ppd.Errors(), "21:*Duplex");
        EXPECT_EQ(ppd.ControlTotal(), 0u);
    }
    {
        ParsedPPD ppd(text, ORBPPD::kParseOrphans);
        EXPECT_EQ(ppd.Errors(), "29:*Duplex");
        PPDXPopupControl* popup = ppd.Find<PPDXPopupControl>("*Duplex");
        ASSERT_NE(popup, nullptr);
        EXPECT_TRUE(popup->IsOrphan());
    }
}

TEST(ORBPPDPopupBlocks, ControlInAPlainGroupIsAttachedNowhereAndReported) {
    ParsedPPD ppd(kLayout + "*%ORBFlags *Duplex: Setup\n*%ORBGroup *Duplex: Plain/Plain\n" +
                  kDuplexBlock);
    // The group named by the block is made from its group name on demand.
    ASSERT_NE(ppd->GetGroups()->Find("Plain", true), nullptr);
    EXPECT_EQ(ppd.Errors(), "29:*Duplex");
    EXPECT_TRUE(ppd.Find<PPDXPopupControl>("*Duplex")->IsOrphan());
}

TEST(ORBPPDFlagsLines, MalformedFlagsAndGroupLinesAreReportedOrDropped) {
    struct Case {
        const char* name;
        std::string text;
        const char* errors;
    } cases[] = {
        {"flags then a blank line", "*%ORBFlags *Duplex: Setup\n\n" + kDuplexBlock, ""},
        {"flags without keyword", "*%ORBFlags :Setup\n" + kDuplexBlock, "16"},
        {"flags then an unrelated line", "*%ORBFlags *Duplex: Setup\n*Unrelated: x\n",
         "16:*Duplex"},
        {"group line without keyword",
         "*%ORBFlags *Duplex: Setup\n*%ORBGroup :Plain\n" + kDuplexBlock, "5"},
        {"group line of another option",
         "*%ORBFlags *Duplex: Setup\n*%ORBGroup *Other: Plain\n" + kDuplexBlock, ""},
        {"group line then an unrelated line",
         "*%ORBFlags *Duplex: Setup\n*%ORBGroup *Duplex: Plain\n*Unrelated: x\n", "5:*Duplex"},
        {"block without option keyword", "*%ORBFlags *Duplex: Setup\n*OpenUI :PickOne\n",
         "8:*Duplex"},
        {"block without translation", "*%ORBFlags *Duplex: Setup\n*OpenUI *Duplex: PickOne\n",
         "31:*Duplex"},
        {"block of an unknown type",
         "*%ORBFlags *Duplex: Setup\n*OpenUI *Duplex/Two-Sided: PickSome\n", "31:*Duplex"},
    };
    for (const Case& c : cases) {
        ParsedPPD ppd(c.text, ORBPPD::kParseHidden);
        EXPECT_EQ(ppd.Errors(), c.errors) << c.name;
        EXPECT_EQ(ppd.ControlTotal(), 0u) << c.name;
    }
}

TEST(ORBPPDFlagsLines, BlockWithoutFlagsLineAddsNothing) {
    ParsedPPD ppd(kDuplexBlock);
    EXPECT_EQ(ppd.Errors(), "");
    EXPECT_EQ(ppd.ControlTotal(), 0u);
}

TEST(ORBPPDFlagsLines, SecondFlagsLineForAnExistingControlIsDefinedTwice) {
    ParsedPPD ppd(kLayout + "*%ORBFlags *Duplex: Setup\n*%ORBGroup *Duplex: Finish\n" +
                  kDuplexBlock + "*%ORBFlags *Duplex: Setup\n*%ORBGroup *Duplex: Finish\n" +
                  kDuplexBlock);
    EXPECT_EQ(ppd.Errors(), "23");
    EXPECT_EQ(ppd.ControlTotal(), 1u);
}

TEST(ORBPPDBooleanBlocks, TrueAndFalseChoicesWithDefaultFalse) {
    ParsedPPD ppd(kLayout +
                  "*%ORBFlags *Collate: Setup\n"
                  "*%ORBGroup *Collate: Finish\n"
                  "*OpenUI *Collate/Collate: Boolean\n"
                  "*DefaultCollate: False\n"
                  "*Collate True/Collated: \"<</Collate true>>setpagedevice\"\n"
                  "*Collate False/Not collated: \"<</Collate false>>setpagedevice\"\n"
                  "*CloseUI: *Collate\n");
    EXPECT_EQ(ppd.Errors(), "");
    PPDXBooleanControl* collate = ppd.Find<PPDXBooleanControl>("*Collate");
    ASSERT_NE(collate, nullptr);
    EXPECT_FALSE(collate->DefaultState());
    EXPECT_FALSE(collate->IsTrue());
    EXPECT_STREQ(collate->TrueDisplayText(), "Collated");
    EXPECT_STREQ(collate->FalseDisplayText(), "Not collated");
    collate->SetValue(true);
    char out[256];
    SInt32 length = collate->PostScript(nullptr);
    ASSERT_GT(length, 0);
    ASSERT_LT(length, static_cast<SInt32>(sizeof out));
    collate->PostScript(out);
    EXPECT_NE(std::string(out, length).find("<</Collate true>>setpagedevice"), std::string::npos);
    EXPECT_EQ(ppd->GetKeywordIndex()->Lookup("*Collate"), collate);
}

TEST(ORBPPDBooleanBlocks, DefaultTrueAndMissingDefault) {
    const std::string block =
        "*%ORBFlags *Collate: Setup\n"
        "*OpenUI *Collate/Collate: Boolean\n"
        "%s"
        "*Collate True/Collated: \"on\"\n"
        "*Collate False/Not collated: \"off\"\n"
        "*CloseUI: *Collate\n";
    std::string withDefault = block;
    withDefault.replace(withDefault.find("%s"), 2, "*DefaultCollate: True\n");
    std::string withoutDefault = block;
    withoutDefault.replace(withoutDefault.find("%s"), 2, "");
    {
        ParsedPPD ppd(withDefault, ORBPPD::kParseOrphans);
        EXPECT_EQ(ppd.Errors(), "29:*Collate");
        ASSERT_NE(ppd.Find<PPDXBooleanControl>("*Collate"), nullptr);
        EXPECT_TRUE(ppd.Find<PPDXBooleanControl>("*Collate")->DefaultState());
    }
    {
        ParsedPPD ppd(withoutDefault, ORBPPD::kParseOrphans);
        EXPECT_EQ(ppd.Errors(), "33:*Collate 29:*Collate");
        ASSERT_NE(ppd.Find<PPDXBooleanControl>("*Collate"), nullptr);
        EXPECT_FALSE(ppd.Find<PPDXBooleanControl>("*Collate")->DefaultState());
    }
}

TEST(ORBPPDBooleanBlocks, UnknownChoiceEndsTheBlockAtItsEndAndLaterDefinitionsAreRead) {
    ParsedPPD ppd(kLayout +
                  "*%ORBFlags *Collate: Setup\n"
                  "*%ORBGroup *Collate: Finish\n"
                  "*OpenUI *Collate/Collate: Boolean\n"
                  "*DefaultCollate: False\n"
                  "*Collate Maybe/Perhaps: \"maybe\"\n"
                  "*Collate True/Collated: \"on\"\n"
                  "*CloseUI: *Collate\n" +
                  "*%ORBFlags *Duplex: Setup\n*%ORBGroup *Duplex: Finish\n" + kDuplexBlock);
    EXPECT_EQ(ppd.Errors(), "9:*Collate");
    EXPECT_EQ(ppd.Find<PPDXBooleanControl>("*Collate"), nullptr);
    EXPECT_NE(ppd.Find<PPDXPopupControl>("*Duplex"), nullptr);
}

TEST(ORBPPDBooleanBlocks, UnclosedBlockMakesNothingAndSaysNothing) {
    ParsedPPD ppd(
        "*%ORBFlags *Collate: Setup\n"
        "*OpenUI *Collate/Collate: Boolean\n"
        "*DefaultCollate: False\n"
        "*Collate True/Collated: \"on\"\n",
        kParseEverything);
    EXPECT_EQ(ppd.Errors(), "");
    EXPECT_EQ(ppd.ControlTotal(), 0u);
}

TEST(ORBPPDInstallableOptions, ControlsWithoutGroupGoIntoTheInstallableRollDown) {
    ParsedPPD ppd(
        "*OpenGroup: InstallableOptions/Options Installed\n"
        "*%ORBFlags *Finisher: Setup\n"
        "*OpenUI *Finisher/Finisher: PickOne\n"
        "*DefaultFinisher: None\n"
        "*Finisher None/Not installed: \"\"\n"
        "*CloseUI: *Finisher\n"
        "*CloseGroup: InstallableOptions\n"
        "*%ORBFlags *Duplex: Setup\n" +
            kDuplexBlock,
        ORBPPD::kParseHidden);
    // Inside the block the roll-down holds the control even while orphans are not parsed; after
    // it the next control is an orphan again.
    EXPECT_EQ(ppd.Errors(), "21:*Duplex");
    PPDXRollDown* installable =
        dynamic_cast<PPDXRollDown*>(ppd->GetGroups()->Find("InstallableOptions", true));
    ASSERT_NE(installable, nullptr);
    EXPECT_STREQ(installable->UserName(), "Options Installed");
    PPDXPopupControl* finisher = ppd.Find<PPDXPopupControl>("*Finisher");
    ASSERT_NE(finisher, nullptr);
    EXPECT_EQ(finisher->GetParent(), installable);
}

TEST(ORBPPDPopupMenus, CreatedAndReconciledFromOutsideTheParser) {
    ParsedPPD ppd(kLayout);
    PointerList items;
    _PopupItem* letter = new _PopupItem();
    letter->mKeyword = new CString("Letter");
    items.PushBack(letter);
    _PopupItem* a4 = new _PopupItem();
    a4->mKeyword = new CString("A4");
    items.PushBack(a4);
    PPDXPopupControl* popup =
        ppd->PPDCreatePopupMenu("Finish", "*PageSize", "Page Size", items, new CString("A4"));
    ASSERT_NE(popup, nullptr);
    EXPECT_STREQ(popup->UserName(), "Page Size");
    EXPECT_EQ(popup->GetValue(), 2);
    EXPECT_EQ(ppd.Find<PPDXPopupControl>("*PageSize"), popup);
    EXPECT_STREQ(popup->GetParent()->Keyword(), "Finish");

    PointerList replacement;
    _PopupItem* legal = new _PopupItem();
    legal->mKeyword = new CString("Legal");
    replacement.PushBack(legal);
    EXPECT_TRUE(ppd->PPDReconcilePopupMenu("*PageSize", "Paper", replacement, nullptr));
    EXPECT_EQ(popup->ItemCount(), 1u);
    EXPECT_STREQ(popup->UserName(), "Paper");

    PointerList unused;
    EXPECT_FALSE(ppd->PPDReconcilePopupMenu("*Missing", "Paper", unused, nullptr));
}
