// Property pages, group names, parents, the installable-options block, shortcuts, orphan groups
// and the relinking of a rebuilt hierarchy.
#include <gtest/gtest.h>

#include <string>

#include "PPDObjects/Controls/PPDXPopupControl.h"
#include "PPDObjects/PPDXControls.h"
#include "PPDObjects/PPDXGroup.h"
#include "PPDObjects/PPDXGroups.h"
#include "PPDObjects/PPDXProperties.h"
#include "PPDObjects/PPDXProperty.h"
#include "PPDObjects/PPDXRollDown.h"
#include "PPDObjects/PPDXScrollPane.h"
#include "PPDObjects/PPDXShortcuts.h"
#include "foundation/PointerList.h"
#include "parser/ORBPPD.h"
#include "settings/Settings.h"
#include "testing/FailureInjection.h"
#include "tests/parser/ParsedPPD.h"

namespace {

std::string PopupBlock(const std::string& keyword, const std::string& group) {
    return "*%ORBFlags *" + keyword + ": Setup\n" + "*%ORBGroup *" + keyword + ": " + group + "\n" +
           "*OpenUI *" + keyword + "/" + keyword + ": PickOne\n" + "*Default" + keyword + ": A\n" +
           "*" + keyword + " A/A: \"a\"\n" + "*CloseUI: *" + keyword + "\n";
}

const std::string kHierarchy =
    "*%ORBPropPage Main/Main page: True\n"
    "*%ORBGroupName Pane/Pane: True\n"
    "*%ORBGroupName Finish/Finishing: True\n"
    "*%ORBParent Pane/Main: True|Scrollpane\n"
    "*%ORBParent Finish/Pane: True|Rolldown\n";

}  // namespace

TEST(ORBPPDPropertyPages, WordsSetVisibilityAndWherePagesShow) {
    ParsedPPD ppd(
        "*%ORBPropPage Main/Main page: True\n"
        "*%ORBPropPage AppOnly/Application: True|App\n"
        "*%ORBPropPage PropOnly/Properties: Prop|True\n"
        "*%ORBPropPage Hidden/Hidden page: Other\n",
        ORBPPD::kParseHidden);
    EXPECT_EQ(ppd.Errors(), "");
    PPDXProperties* pages = ppd->GetProperties();
    ASSERT_EQ(pages->Count(), 4u);
    PPDXProperty* main = pages->Find("Main", true);
    ASSERT_NE(main, nullptr);
    EXPECT_STREQ(main->UserName(), "Main page");
    EXPECT_TRUE(main->IsVisible());
    EXPECT_TRUE(main->ShowInPrintProp());
    EXPECT_TRUE(main->ShowInApp());
    EXPECT_FALSE(pages->Find("AppOnly", true)->ShowInPrintProp());
    EXPECT_TRUE(pages->Find("AppOnly", true)->ShowInApp());
    EXPECT_TRUE(pages->Find("PropOnly", true)->ShowInPrintProp());
    EXPECT_FALSE(pages->Find("PropOnly", true)->ShowInApp());
    EXPECT_FALSE(pages->Find("Hidden", true)->IsVisible());
}

TEST(ORBPPDPropertyPages, HiddenItemsAreDroppedUnlessParsed) {
    const std::string text =
        "*%ORBPropPage Hidden/Hidden page: Other\n"
        "*%ORBGroupName Secret/Secret: \n"
        "*%ORBPropPage Main/Main page: True\n"
        "*%ORBGroupName Pane/Pane: True\n"
        "*%ORBParent Pane/Main: Scrollpane\n";
    {
        ParsedPPD ppd(text, 0);
        EXPECT_EQ(ppd->GetProperties()->Count(), 1u);
        EXPECT_TRUE(ppd->GetGroups()->Empty());
    }
    {
        ParsedPPD ppd(text, kParseEverything);
        EXPECT_EQ(ppd->GetProperties()->Count(), 2u);
        PPDXGroup* pane = ppd->GetGroups()->Find("Pane", true);
        ASSERT_NE(pane, nullptr);
        EXPECT_FALSE(pane->IsVisible()) << "the parent line has no True";
        PPDXGroup* secret = ppd->GetGroups()->Find("Secret", true);
        ASSERT_NE(secret, nullptr) << "unused hidden group names become groups with orphans";
        EXPECT_FALSE(secret->IsVisible());
    }
}

TEST(ORBPPDPropertyPages, MissingNamesDuplicatesAndMissingTranslations) {
    ParsedPPD ppd(
        "*%ORBPropPage :Nameless: True\n"
        "*%ORBPropPage Main/Main: True\n"
        "*%ORBPropPage Main/Again: True\n"
        "*%ORBPropPage Bare\n"
        "*%ORBGroupName :Nameless: True\n"
        "*%ORBGroupName Bare\n");
    EXPECT_EQ(ppd.Errors(), "4 23 12");
    EXPECT_EQ(ppd->GetProperties()->Count(), 1u);
    EXPECT_STREQ(ppd->GetProperties()->Find("Main", true)->UserName(), "Main");
    EXPECT_TRUE(ppd->GetGroups()->Empty());
}

TEST(ORBPPDParents, ScrollPaneUnderAPageAndRollDownUnderThePane) {
    ParsedPPD ppd(kHierarchy + PopupBlock("Staple", "Finish"));
    EXPECT_EQ(ppd.Errors(), "");
    PPDXProperty* main = ppd->GetProperties()->Find("Main", true);
    PPDXScrollPane* pane = dynamic_cast<PPDXScrollPane*>(ppd->GetGroups()->Find("Pane", true));
    PPDXRollDown* finish = dynamic_cast<PPDXRollDown*>(ppd->GetGroups()->Find("Finish", true));
    ASSERT_NE(main, nullptr);
    ASSERT_NE(pane, nullptr);
    ASSERT_NE(finish, nullptr);
    EXPECT_STREQ(pane->UserName(), "Pane");
    EXPECT_STREQ(finish->UserName(), "Finishing");
    EXPECT_EQ(main->GetScrollDown(), pane);
    EXPECT_EQ(pane->GetParent(), main);
    EXPECT_EQ(finish->GetParent(), pane);
    EXPECT_EQ(pane->RollDowns()->Find("Finish", true), finish);
    EXPECT_EQ(finish->Controls()->FindPopup("*Staple", true),
              ppd.Find<PPDXPopupControl>("*Staple"));
}

TEST(ORBPPDParents, LinesThatNameNothingUsable) {
    struct Case {
        const char* name;
        std::string text;
        const char* errors;
    } cases[] = {
        {"no child", "*%ORBParent :Main: True|Scrollpane\n", "15"},
        {"no parent", "*%ORBParent Pane/: True|Scrollpane\n", "15:Pane"},
        {"page missing", "*%ORBGroupName Pane/Pane: True\n*%ORBParent Pane/Main: True|Scrollpane\n",
         "14:Main"},
        {"roll-down under a plain group",
         "*%ORBGroupName Plain/Plain: True\n*%ORBGroupName Finish/Finish: True\n" +
             PopupBlock("Staple", "Plain") + "*%ORBParent Finish/Plain: True|Rolldown\n",
         "29:*Staple 14:Plain"},
        {"child is no group name",
         "*%ORBPropPage Main/Main: True\n*%ORBParent Pane/Main: True|Scrollpane\n", ""},
        {"parent line before its group name",
         "*%ORBPropPage Main/Main: True\n*%ORBParent Pane/Main: True|Scrollpane\n"
         "*%ORBGroupName Pane/Pane: True\n",
         ""},
        {"no kind",
         "*%ORBPropPage Main/Main: True\n*%ORBGroupName Pane/Pane: True\n"
         "*%ORBParent Pane/Main: True\n",
         ""},
        {"second parent line for the same child",
         kHierarchy + "*%ORBParent Pane/Main: True|Scrollpane\n", "23:Pane"},
    };
    for (const Case& c : cases) {
        ParsedPPD ppd(c.text, ORBPPD::kParseHidden);
        EXPECT_EQ(ppd.Errors(), c.errors) << c.name;
    }
    ParsedPPD early(cases[5].text, ORBPPD::kParseHidden);
    EXPECT_TRUE(early->GetGroups()->Empty()) << "the group name came too late";
}

TEST(ORBPPDGroupNames, NameOfAPageOrAGroupRecordsNothing) {
    ParsedPPD ppd(kHierarchy +
                  "*%ORBGroupName Main/Also main: True\n"
                  "*%ORBGroupName Pane/Pane again: True\n"
                  "*%ORBParent Main/Pane: True|Rolldown\n");
    // The page name stays a page: no roll-down is made from it.
    EXPECT_EQ(ppd.Errors(), "23:Pane");
    EXPECT_EQ(ppd->GetGroups()->Find("Main", true), nullptr);
}

TEST(ORBPPDGroupNames, UnusedNamesBecomePlainGroupsOnlyWithOrphans) {
    const std::string text = kHierarchy + "*%ORBGroupName Spare/Spare group: True\n";
    {
        ParsedPPD ppd(text, ORBPPD::kParseHidden);
        EXPECT_EQ(ppd->GetGroups()->Find("Spare", true), nullptr);
    }
    {
        ParsedPPD ppd(text, ORBPPD::kParseOrphans);
        PPDXGroup* spare = ppd->GetGroups()->Find("Spare", true);
        ASSERT_NE(spare, nullptr);
        EXPECT_EQ(dynamic_cast<PPDXRollDown*>(spare), nullptr);
        EXPECT_EQ(dynamic_cast<PPDXScrollPane*>(spare), nullptr);
        EXPECT_STREQ(spare->UserName(), "Spare group");
        EXPECT_TRUE(spare->IsOrphan());
        // Names that became scroll panes or roll-downs are not made again.
        DisplayOptionsScope all(DISPLAY_ALL);
        UInt32 count = 0;
        for (PPDXGroup* g = ppd->GetGroups()->First(); g != nullptr; g = ppd->GetGroups()->Next())
            ++count;
        EXPECT_EQ(count, 3u);
    }
}

TEST(ORBPPDInstallableOptions, SecondOpenGroupReusesTheRollDownAndOtherGroupsAreIgnored) {
    ParsedPPD ppd(
        "*OpenGroup: General/General\n"
        "*CloseGroup: General\n"
        "*OpenGroup: InstallableOptions/Installed\n"
        "*CloseGroup: InstallableOptions\n"
        "*OpenGroup: InstallableOptions/Installed again\n"
        "*%ORBFlags *Tray3: Setup\n"
        "*OpenUI *Tray3/Tray 3: Boolean\n"
        "*DefaultTray3: False\n"
        "*Tray3 True/Installed: \"\"\n"
        "*Tray3 False/Not installed: \"\"\n"
        "*CloseUI: *Tray3\n"
        "*CloseGroup: InstallableOptions\n");
    EXPECT_EQ(ppd.Errors(), "");
    EXPECT_EQ(ppd->GetGroups()->Find("General", true), nullptr);
    DisplayOptionsScope all(DISPLAY_ALL);
    PPDXGroup* installable = ppd->GetGroups()->First();
    ASSERT_NE(installable, nullptr);
    EXPECT_EQ(ppd->GetGroups()->Next(), nullptr) << "one roll-down for both blocks";
    EXPECT_STREQ(installable->UserName(), "Installed");
    EXPECT_EQ(ppd.Find<PPDXControl>("*Tray3")->GetParent(), installable);
}

TEST(ORBPPDShortcuts, ResolvedAfterTheWalkInFileOrder) {
    ParsedPPD ppd(kHierarchy +
                  "*%QZShortcut *Staple\n"
                  "*%QZShortcut *QZ_PROP_WATERMARK\n"
                  "*%QZShortcut *Missing\n"
                  "*%QZShortcut \n"
                  "*%QZShortcut *PageSize\n" +
                  PopupBlock("PageSize", "Finish") + PopupBlock("Staple", "Finish"));
    // A refused keyword is reported at its line, a keyword no block defines after the walk.
    EXPECT_EQ(ppd.Errors(), "19:*QZ_PROP_WATERMARK 19:*Missing");
    PPDXShortcuts* shortcuts = ppd->GetShortcuts();
    ASSERT_NE(shortcuts, nullptr);
    EXPECT_EQ(shortcuts->Count(), 2u);
    EXPECT_EQ(shortcuts->First(), ppd.Find<PPDXPopupControl>("*Staple"));
    EXPECT_EQ(shortcuts->Next(), ppd.Find<PPDXPopupControl>("*PageSize"));
    EXPECT_EQ(shortcuts->PageSize(), ppd.Find<PPDXPopupControl>("*PageSize"));
}

TEST(ORBPPDShortcuts, BuiltEvenWhenNothingResolves) {
    ParsedPPD ppd("*%QZShortcut *Nothing\n");
    EXPECT_EQ(ppd.Errors(), "19:*Nothing");
    ASSERT_NE(ppd->GetShortcuts(), nullptr);
    EXPECT_TRUE(ppd->GetShortcuts()->Empty());
}

TEST(ORBPPDHierarchy, ParentsKnownByKeywordAreRelinked) {
    // Elements as a store gives them back: each knows its parent by keyword only.
    Settings store;
    {
        PPDXProperty page("Main", nullptr, true, true, true);
        PPDXScrollPane pane("Pane", nullptr, true);
        PPDXRollDown rollDown("Finish", nullptr, true);
        PPDXRollDown stray("Stray", nullptr, true);
        PPDXGroup plain("Plain", nullptr, true);
        PointerList noFlags;
        PPDXPopupControl popup("*Staple", nullptr, noFlags, true, false, noFlags, nullptr);
        PPDXPopupControl misplaced("*Punch", nullptr, noFlags, true, false, noFlags, nullptr);
        pane.SetParent(&page);
        rollDown.SetParent(&pane);
        stray.SetParent(&plain);
        popup.SetParent(&rollDown);
        misplaced.SetParent(&pane);
        ASSERT_EQ(pane.Save(store, 1), noErr);
        ASSERT_EQ(rollDown.Save(store, 2), noErr);
        ASSERT_EQ(stray.Save(store, 3), noErr);
        ASSERT_EQ(plain.Save(store, 4), noErr);
        ASSERT_EQ(popup.Save(store, 5), noErr);
        ASSERT_EQ(misplaced.Save(store, 6), noErr);
    }
    ORBPPD model(kParseEverything);
    PPDXProperty* page = new PPDXProperty("Main", nullptr, true, true, true);
    PPDXScrollPane* pane = new PPDXScrollPane(store, 1);
    PPDXRollDown* rollDown = new PPDXRollDown(store, 2);
    PPDXRollDown* stray = new PPDXRollDown(store, 3);
    PPDXPopupControl* popup = new PPDXPopupControl(store, 5);
    PPDXPopupControl* misplaced = new PPDXPopupControl(store, 6);
    ASSERT_STREQ(rollDown->PendingParentKeyword(), "Pane");
    model.GetProperties()->Add(page);
    model.GetGroups()->Add(rollDown);
    model.GetGroups()->Add(stray);
    model.GetGroups()->Add(pane);
    model.GetGroups()->Add(new PPDXGroup(store, 4));
    model.GetControls()->Add(popup);
    model.GetControls()->Add(misplaced);

    model.ResolveHeirarchy();
    EXPECT_EQ(pane->GetParent(), page);
    EXPECT_EQ(page->GetScrollDown(), pane);
    // The roll-down came before its pane in the list and is linked all the same.
    EXPECT_EQ(rollDown->GetParent(), pane);
    EXPECT_EQ(pane->RollDowns()->Find("Finish", true), rollDown);
    EXPECT_EQ(popup->GetParent(), rollDown);
    EXPECT_EQ(rollDown->Controls()->FindPopup("*Staple", true), popup);
    // Parents of the wrong kind end as none.
    EXPECT_TRUE(stray->IsOrphan());
    EXPECT_EQ(stray->PendingParentKeyword(), nullptr);
    EXPECT_TRUE(misplaced->IsOrphan());
}

// The collections drop a member they have no memory to list; the layout handlers then delete it
// (the sanitizer build sees a leak otherwise) and the model simply has less in it.
TEST(ORBPPDHandlers, LayoutUnderFailingAllocationsHoldsNoMoreThanTheWholeModel) {
    const std::string text = kHierarchy +
                             "*%ORBPropPage Second/Second: True\n"
                             "*%ORBGroupName Spare/Spare: True\n"
                             "*%ORBGroupName Other/Other: True\n"
                             "*%ORBParent Other/Second: True|Scrollpane\n"
                             "*OpenGroup: InstallableOptions/Installed\n"
                             "*CloseGroup: InstallableOptions\n"
                             "*%QZShortcut *PageSize\n"
                             "*%QZShortcut *Duplex\n";
    auto groupTotal = [](ParsedPPD& ppd) {
        DisplayOptionsScope all(DISPLAY_ALL);
        return ppd->GetGroups()->Count();
    };
    UInt32 wholeGroups;
    UInt32 wholePages;
    {
        ParsedPPD ppd(text);
        wholeGroups = groupTotal(ppd);
        wholePages = ppd->GetProperties()->Count();
        ASSERT_EQ(wholeGroups, 5u);
        ASSERT_EQ(wholePages, 2u);
    }
    for (int skip = 0;; ++skip) {
        HalyxFailureScope scope;
        HalyxInjectFailures(kHalyxFailAllocation, skip, 1);
        ParsedPPD ppd(text);
        EXPECT_LE(groupTotal(ppd), wholeGroups) << "skip " << skip;
        EXPECT_LE(ppd->GetProperties()->Count(), wholePages) << "skip " << skip;
        if (HalyxInjectedFailureCount(kHalyxFailAllocation) == 0) break;
    }
}

// Conversions that fail leave texts as the file has them; every definition is still made.
TEST(ORBPPDHandlers, FailingConversionsLoseNoDefinition) {
    const std::string text = kHierarchy +
                             "*%ORBGroupName FPQZNotes/Job notes: True\n"
                             "*%ORBParent FPQZNotes/Pane: True|Rolldown\n"
                             "*OpenGroup: InstallableOptions/Installed\n" +
                             PopupBlock("Tray3", "Finish") +
                             "*CloseGroup: InstallableOptions\n"
                             "*%ORBJobNote *Notes1/Notes <C4>: 40|Alpha\n"
                             "*%Notes1: \"%%ORBCustom1: <Notes1>\"\n"
                             "*%ORBFlags *Copies: Setup\n*%ORBGroup *Copies: Finish\n"
                             "*%ORBRange *Copies/Copies: (1;999;1;1) \"<Copies>\"\n"
                             "*%ORBSpecialOption *UseSpecialKey: True\n";
    for (int skip = 0;; ++skip) {
        HalyxFailureScope scope;
        HalyxInjectFailures(kHalyxFailConversion, skip, 1);
        ParsedPPD ppd(text);
        EXPECT_EQ(ppd.Errors(), "") << "skip " << skip;
        EXPECT_EQ(ppd.ControlTotal(), 4u) << "skip " << skip;
        if (HalyxInjectedFailureCount(kHalyxFailConversion) == 0) break;
    }
}
