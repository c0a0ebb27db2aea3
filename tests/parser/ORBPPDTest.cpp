// The extended parser's life cycle: the header test, the accepted-names check, the walk and its
// keyword table, control placement, the QZ versions, comparison and destruction.
#include "parser/ORBPPD.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "CoreFoundation/CFURL.h"
#include "PPDObjects/Controls/PPDXJobNote.h"
#include "PPDObjects/Controls/PPDXSpecialOption.h"
#include "PPDObjects/ModelOptions.h"
#include "PPDObjects/PPDXControls.h"
#include "PPDObjects/PPDXGroup.h"
#include "PPDObjects/PPDXGroups.h"
#include "PPDObjects/PPDXProperties.h"
#include "PPDObjects/PPDXRollDown.h"
#include "PPDObjects/PPDXShortcuts.h"
#include "foundation/PointerList.h"
#include "parser/CStringSoup.h"
#include "parser/ConstraintForest.h"
#include "parser/KeywordTo_PPDControl.h"
#include "testing/FailureInjection.h"
#include "tests/parser/PPDText.h"

namespace {

constexpr _PARSE_OPTIONS_ kAll = ORBPPD::kParseOrphans | ORBPPD::kParseHidden;

// A page, a scroll pane on it and a roll-down in the pane, so that flagged blocks have a home.
const std::string kLayout =
    "*%ORBPropPage Page/Page One: True\n"
    "*%ORBGroupName Pane/Pane: True\n"
    "*%ORBGroupName Roll/Roll: True\n"
    "*%ORBParent Pane/Page: True|Scrollpane\n"
    "*%ORBParent Roll/Pane: True|Rolldown\n";

const std::string kDuplexBlock =
    "*%ORBFlags *Duplex: Command\n"
    "*%ORBGroup *Duplex: Roll\n"
    "*OpenUI *Duplex/Two Sided: PickOne\n"
    "*DefaultDuplex: None\n"
    "*Duplex None/Off: \"<</Duplex false>>setpagedevice\"\n"
    "*Duplex DuplexNoTumble/Long Edge: \"<</Duplex true>>setpagedevice\"\n"
    "*CloseUI: *Duplex\n";

const std::string kNote = "*%ORBJobNote *Notes1/Notes 1: 40|Alpha|Required\n";

UInt32 CountAll(PPDXControls* controls) {
    DisplayOptionsScope all(DISPLAY_ALL);
    UInt32 count = 0;
    for (PPDXControl* c = controls->First(nullptr); c != nullptr; c = controls->Next(nullptr))
        ++count;
    return count;
}

PPDXControl* FindAny(ORBPPD& model, const char* keyword) {
    DisplayOptionsScope all(DISPLAY_ALL);
    return model.GetControls()->Find(keyword, nullptr, true);
}

}  // namespace

// --- Header test -----------------------------------------------------------------------------

TEST(ORBPPDHeader, Version43IsValidAndEmptyResultsAreNotedNonFatal) {
    PPDText ppd(Header43());
    EXPECT_TRUE(ppd->IsValidPPD());
    EXPECT_EQ(ppd.Errors(), "25 26 27");
    EXPECT_STREQ(ppd->PCFileName(), "HALYX01.PPD");
    EXPECT_STREQ(ppd->LanguageVersion(), "English");
}

TEST(ORBPPDHeader, OtherVersionIsFatalOnceAndNothingIsParsed) {
    PPDText ppd(Header43("4.2") + kNote);
    EXPECT_FALSE(ppd->IsValidPPD());
    EXPECT_EQ(ppd.Errors(), "28! 25 26 27");
    EXPECT_EQ(CountAll(ppd->GetControls()), 0u);
    // The walk never ran: not even the header keywords after the first line were read.
    EXPECT_EQ(ppd->LanguageVersion(), nullptr);
}

TEST(ORBPPDHeader, FileNotOpeningWithTheHeaderKeywordIsRefused) {
    for (const std::string& text :
         {std::string("\n") + Header43(), std::string("*PPD-ADOBE: \"4.3\"\n"),
          std::string("*PPD-Adobe: 4.3\n"), std::string("*FormatVersion: \"4.3\"\n"),
          std::string("*PPD-Adobe: \"4.3 \"\n")}) {
        PPDText ppd(text);
        EXPECT_FALSE(ppd->IsValidPPD()) << text;
        EXPECT_EQ(ppd.Errors().substr(0, 3), "28!") << text;
    }
}

TEST(ORBPPDHeader, UnreadableFileIsFatal18) {
    FSSpec spec;
    {
        TempPPD gone("");
        spec = gone.Spec();
    }
    ORBPPD* model = new ORBPPD(spec, kAll, nullptr);
    model->Retain();
    ASSERT_NE(model->GetErrors(), nullptr);
    PPDXErrorObj* first = model->GetErrors()->First();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->Code(), ORBPPD::kErrCannotRead);
    EXPECT_TRUE(first->IsFatal());
    EXPECT_FALSE(model->IsValidPPD());
    EXPECT_TRUE(model->Release());
}

TEST(ORBPPDHeader, URLConstructorsParseTheFileTheURLNames) {
    TempPPD file(Header43() + "*%ORBJobNote *Notes1/Notes 1: 40|Alpha\n");
    const std::string& path = file.Path();
    CFURLRef url = CFURLCreateFromFileSystemRepresentation(
        nullptr, reinterpret_cast<const UInt8*>(path.data()), static_cast<CFIndex>(path.size()),
        false);
    ASSERT_NE(url, nullptr);
    CFArrayRef names = NameList({"HALYX01.PPD"});
    ORBPPD plain(url, 0, nullptr);
    ORBPPD strict(url, 0, names, true);
    CFRelease(names);
    CFRelease(url);
    EXPECT_NE(FindAny(plain, "*Notes1"), nullptr);
    EXPECT_TRUE(plain == strict);
    // Every error counts: the notes on empty pages and groups make the strict model unusable.
    EXPECT_TRUE(plain.IsValidPPD());
    EXPECT_FALSE(strict.IsValidPPD());
}

// --- Accepted names --------------------------------------------------------------------------

TEST(ORBPPDNames, RefusedNameLeavesNoModelAndNoErrors) {
    CFArrayRef names = NameList({"OTHER.PPD"});
    PPDText ppd(Header43() + kLayout + kDuplexBlock, kAll, names);
    CFRelease(names);
    EXPECT_FALSE(ppd->IsValidPrinterName());
    EXPECT_FALSE(ppd->IsValidPPD());
    EXPECT_EQ(ppd->GetControls(), nullptr);
    EXPECT_EQ(ppd->GetGroups(), nullptr);
    EXPECT_EQ(ppd->GetProperties(), nullptr);
    EXPECT_EQ(ppd->GetKeywordIndex(), nullptr);
    EXPECT_EQ(ppd.Errors(), "");
}

TEST(ORBPPDNames, AcceptedNameParses) {
    CFArrayRef names = NameList({"OTHER.PPD", "HALYX01"});
    PPDText ppd(Header43() + kLayout + kDuplexBlock, kAll, names);
    CFRelease(names);
    EXPECT_TRUE(ppd->IsValidPrinterName());
    EXPECT_TRUE(ppd->IsValidPPD());
    EXPECT_NE(FindAny(ppd.Model(), "*Duplex"), nullptr);
}

// --- The walk and its keyword table ----------------------------------------------------------

TEST(ORBPPDWalk, EveryExtensionKeywordReachesItsHandler) {
    PPDText ppd(Header43() + kLayout + kDuplexBlock + kNote +
                "*%ORBSpecialOption *UseSpecialKey: True\n"
                "*%QZShortcut *Duplex\n"
                "*UIConstraints: *Duplex DuplexNoTumble *Notes1\n"
                "*%ORBUIConstraints: *Notes1 *Duplex None\n"
                "*%ORBUIRequires: *Duplex *Notes1\n");
    EXPECT_EQ(ppd.Errors(), "");
    ORBPPD& model = ppd.Model();
    EXPECT_EQ(model.GetProperties()->Count(), 1u);
    EXPECT_NE(model.GetGroups()->Find("Roll", true), nullptr);
    EXPECT_NE(dynamic_cast<PPDXJobNote*>(FindAny(model, "*Notes1")), nullptr);
    EXPECT_NE(model.GetControls()->FindSpecialOption("*UseSpecialKey", true), nullptr);
    ASSERT_NE(model.GetShortcuts(), nullptr);
    EXPECT_EQ(model.GetShortcuts()->Count(), 1u);

    CStringSoup* soup = model.GetStringSoup();
    long duplex = soup->Find("*Duplex");
    long notes = soup->Find("*Notes1");
    ASSERT_GE(duplex, 0);
    ASSERT_GE(notes, 0);
    EXPECT_NE(model.GetConstraints()->GetTree(duplex), nullptr);
    EXPECT_NE(model.GetConstraints()->GetTree(notes), nullptr);
    EXPECT_NE(model.GetRequires()->GetTree(duplex), nullptr);
    EXPECT_EQ(model.GetRequires()->GetTree(notes), nullptr);

    // Every control handler recorded its control, and the walk sorted the index.
    KeywordTo_PPDControl* index = model.GetKeywordIndex();
    EXPECT_TRUE(index->Sorted());
    EXPECT_EQ(index->Lookup("*Duplex"), FindAny(model, "*Duplex"));
    EXPECT_EQ(index->Lookup("*Notes1"), FindAny(model, "*Notes1"));
    EXPECT_EQ(index->Lookup("*UseSpecialKey"), nullptr);
}

TEST(ORBPPDWalk, KeywordsMatchWholeAndCaseSensitively) {
    PPDText ppd(Header43() +
                "*%ORBJobNoteX *Notes1/Notes 1: 40|Alpha\n"
                "*%orbjobnote *Notes2/Notes 2: 40|Alpha\n"
                "*uiconstraints: *A *B\n"
                "*%ORBJobNote *Notes3/Notes 3: 40|Alpha\n");
    EXPECT_EQ(FindAny(ppd.Model(), "*Notes1"), nullptr);
    EXPECT_EQ(FindAny(ppd.Model(), "*Notes2"), nullptr);
    EXPECT_NE(FindAny(ppd.Model(), "*Notes3"), nullptr);
    EXPECT_EQ(ppd->GetConstraints()->GetTrees().size(), 0u);
}

TEST(ORBPPDWalk, StandardBlockWithoutFlagsAddsNothing) {
    std::string block = kDuplexBlock.substr(kDuplexBlock.find("*OpenUI"));
    PPDText ppd(Header43() + kLayout + block);
    EXPECT_EQ(CountAll(ppd->GetControls()), 0u);
    EXPECT_EQ(ppd.Errors(), "27");
}

TEST(ORBPPDWalk, LastLineWithoutLineEndAndCRLFLinesAreParsed) {
    std::string text = Header43() + "*%QZVersion: 2.1\r\n*%ORBJobNote *Notes1/Notes 1: 40|Alpha";
    PPDText ppd(text);
    EXPECT_STREQ(ppd->QZVersion(), "2.1");
    EXPECT_NE(FindAny(ppd.Model(), "*Notes1"), nullptr);
}

TEST(ORBPPDWalk, LongLineIsReportedAndTheWalkGoesOn) {
    std::string text = Header43() + "*Junk: \"" + std::string(900, 'x') + "\"\n" + kNote;
    PPDText ppd(text);
    EXPECT_EQ(ppd.Errors().substr(0, 8), "37:*Junk");
    EXPECT_NE(FindAny(ppd.Model(), "*Notes1"), nullptr);
}

TEST(ORBPPDWalk, FatalHandlerErrorIsListedOnceAndStopsTheWalk) {
    // A second default line in a popup block is fatal.
    std::string block = kDuplexBlock;
    block.insert(block.find("*CloseUI"), "*DefaultDuplex: DuplexNoTumble\n");
    PPDText ppd(Header43() + kLayout + block + kNote);
    EXPECT_EQ(ppd.Errors(), "11:*Duplex! 27");
    EXPECT_FALSE(ppd->IsValidPPD());
    EXPECT_EQ(FindAny(ppd.Model(), "*Notes1"), nullptr);
    // The steps after the walk still ran.
    EXPECT_NE(ppd->GetShortcuts(), nullptr);
    EXPECT_TRUE(ppd->GetKeywordIndex()->Sorted());
}

TEST(ORBPPDWalk, AllErrorsFatalStopsAtTheFirstNonFatalError) {
    std::string twice = "*%ORBFlags *Duplex: Command\n\n";
    std::string text = Header43() + kLayout + kDuplexBlock + twice + kNote;

    PPDText lenient(text);
    EXPECT_EQ(lenient.Errors(), "23");
    EXPECT_TRUE(lenient->IsValidPPD());
    EXPECT_NE(FindAny(lenient.Model(), "*Notes1"), nullptr);

    PPDText strict(text, kAll, nullptr, true);
    EXPECT_EQ(strict.Errors(), "23");
    EXPECT_FALSE(strict->IsValidPPD());
    EXPECT_EQ(FindAny(strict.Model(), "*Notes1"), nullptr);
}

TEST(ORBPPDWalk, QZVersionsAreRepeatableAndHeaderKeywordsStillReachTheRoot) {
    PPDText ppd(Header43() +
                "*%QZFileVersion: 1.0\n*%QZFileVersion:   1.5  \n*%QZVersion: 7\n"
                "*ModelName: \"Halyx Model\"\n");
    EXPECT_STREQ(ppd->QZFileVersion(), "1.5");
    EXPECT_STREQ(ppd->QZVersion(), "7");
    EXPECT_STREQ(ppd->ModelName(), "Halyx Model");
}

TEST(ORBPPDWalk, AbsentQZVersionsAreNull) {
    PPDText ppd(Header43());
    EXPECT_EQ(ppd->QZFileVersion(), nullptr);
    EXPECT_EQ(ppd->QZVersion(), nullptr);
}

// --- Placing controls ------------------------------------------------------------------------

namespace {

// A special option made by hand for SetupControl; the model deletes it.
PPDXControl* MakeControl(const char* keyword) {
    PointerList flags;
    char value[] = "True";
    return new PPDXSpecialOption(keyword, nullptr, flags, value, nullptr, 0, true);
}

}  // namespace

TEST(ORBPPDSetupControl, RollDownAdoptsTheControl) {
    ORBPPD model(kAll);
    PPDXRollDown* roll = new PPDXRollDown("Roll", nullptr, true);
    model.GetGroups()->Add(roll);
    PPDXControl* control = MakeControl("*A");
    model.SetupControl(roll, control, true);
    EXPECT_EQ(control->GetParent(), roll);
    EXPECT_EQ(roll->Controls()->FindSpecialOption("*A", true), control);
    EXPECT_EQ(model.GetControls()->FindSpecialOption("*A", true), control);
    EXPECT_TRUE(model.GetErrors() == nullptr || model.GetErrors()->Empty());
}

TEST(ORBPPDSetupControl, OutsideARollDownIsReportedOnlyWhenAsked) {
    ORBPPD model(kAll);
    PPDXGroup* plain = new PPDXGroup("Plain", nullptr, true);
    model.GetGroups()->Add(plain);
    PPDXControl* quiet = MakeControl("*Quiet");
    PPDXControl* loud = MakeControl("*Loud");
    PPDXControl* orphan = MakeControl("*Orphan");
    model.SetupControl(plain, quiet, false);
    model.SetupControl(plain, loud, true);
    model.SetupControl(nullptr, orphan, true);
    EXPECT_TRUE(quiet->IsOrphan());
    EXPECT_EQ(model.GetControls()->FindSpecialOption("*Loud", true), loud);
    EXPECT_EQ(model.GetControls()->FindSpecialOption("*Orphan", true), orphan);
    // Without a file there is no error list: nothing to report into, nothing breaks.
    model.SetupControl(nullptr, nullptr, true);
}

TEST(ORBPPDSetupControl, ControlThatCannotBeListedIsKeptAside) {
    ORBPPD model(kAll);
    PPDXRollDown* roll = new PPDXRollDown("Roll", nullptr, true);
    model.GetGroups()->Add(roll);
    PPDXControl* lost = MakeControl("*Lost");
    PPDXControl* loose = MakeControl("*Loose");
    HalyxFailureScope scope;
    // The model's list has no room: the control is listed nowhere, yet still alive for whoever
    // holds it, and the model deletes it at the end (the leak checker sees that).
    HalyxInjectFailures(kHalyxFailAllocation, 0, 1);
    EXPECT_FALSE(model.SetupControl(roll, lost, false));
    EXPECT_EQ(model.GetControls()->FindSpecialOption("*Lost", true), nullptr);
    EXPECT_EQ(roll->Controls()->FindSpecialOption("*Lost", true), nullptr);
    EXPECT_STREQ(lost->Keyword(), "*Lost");
    EXPECT_EQ(lost->GetParent(), nullptr);
    // Only the roll-down's list has no room: the model keeps the control, without parent.
    HalyxInjectFailures(kHalyxFailAllocation, 2, 1);
    EXPECT_TRUE(model.SetupControl(roll, loose, false));
    EXPECT_EQ(HalyxInjectedFailureCount(kHalyxFailAllocation), 2);
    EXPECT_EQ(model.GetControls()->FindSpecialOption("*Loose", true), loose);
    EXPECT_EQ(roll->Controls()->FindSpecialOption("*Loose", true), nullptr);
    EXPECT_EQ(loose->GetParent(), nullptr);
}

TEST(ORBPPDSetupControl, OrphansNotParsedGoInSilently) {
    // A direct job note has no group here (no "FPQZNotes"): with orphans off it is added
    // without a report; with orphans on it is reported as misplaced only if asked, and job
    // notes do not ask.
    PPDText off(Header43() + kNote, 0);
    EXPECT_EQ(off.Errors(), "25 26");
    EXPECT_NE(FindAny(off.Model(), "*Notes1"), nullptr);
}

TEST(ORBPPDSetupControl, InstallableOptionsCollectUngroupedControls) {
    PPDText ppd(Header43() + "*OpenGroup: InstallableOptions/Options Installed\n" + kNote +
                "*CloseGroup: InstallableOptions\n"
                "*%ORBJobNote *Notes2/Notes 2: 40|Alpha\n");
    PPDXGroup* group = ppd->GetGroups()->Find("InstallableOptions", true);
    PPDXRollDown* roll = dynamic_cast<PPDXRollDown*>(group);
    ASSERT_NE(roll, nullptr);
    PPDXControl* inside = FindAny(ppd.Model(), "*Notes1");
    PPDXControl* after = FindAny(ppd.Model(), "*Notes2");
    ASSERT_NE(inside, nullptr);
    ASSERT_NE(after, nullptr);
    EXPECT_EQ(inside->GetParent(), roll);
    EXPECT_EQ(after->GetParent(), nullptr);
}

// --- Comparison, sharing, destruction ---------------------------------------------------------

TEST(ORBPPDCompare, SameFileAndNameAreEqual) {
    TempPPD one(Header43());
    TempPPD other(Header43());
    ORBPPD a(one.Spec(), kAll, nullptr);
    ORBPPD b(one.Spec(), 0, nullptr);
    ORBPPD c(other.Spec(), kAll, nullptr);
    ORBPPD fileless(kAll);
    EXPECT_TRUE(a == b);
    EXPECT_FALSE(a == c);
    EXPECT_FALSE(a == fileless);
    EXPECT_TRUE(fileless == ORBPPD(0));

    FSSpec spec;
    EXPECT_TRUE(a.GetFileSpec(spec));
    // Copies: the file record is packed, its fields cannot be bound by reference.
    SInt32 directory = spec.parID;
    SInt32 expected = one.Spec().parID;
    EXPECT_EQ(directory, expected);
    EXPECT_FALSE(fileless.GetFileSpec(spec));
}

TEST(ORBPPDCompare, SameFileWithAnotherPCFileNameDiffers) {
    TempPPD file(Header43());
    ORBPPD before(file.Spec(), kAll, nullptr);
    {
        std::FILE* out = std::fopen(file.Path().c_str(), "w");
        ASSERT_NE(out, nullptr);
        std::fputs("*PPD-Adobe: \"4.3\"\n*PCFileName: \"OTHER.PPD\"\n", out);
        std::fclose(out);
    }
    ORBPPD after(file.Spec(), kAll, nullptr);
    EXPECT_FALSE(before == after);
}

TEST(ORBPPDLifeCycle, DestructionReachesHiddenMembersAndRestoresTheDisplayOptions) {
    DisplayOptionsScope restore(ModelOptions::Display());
    ORBPPD::Options(DISPLAY_NORMAL);
    // An invisible page and group names, and orphan controls: only DISPLAY_ALL reaches them all
    // (the leak checker tells whether they were deleted).
    ORBPPD* model = new ORBPPD(kAll);
    delete model;
    PPDText ppd(Header43() + "*%ORBPropPage Hidden/Hidden:\n*%ORBGroupName Lost/Lost:\n" + kNote +
                kDuplexBlock);
    EXPECT_EQ(ppd->GetProperties()->Count(), 1u);
    EXPECT_EQ(ORBPPD::Options(), DISPLAY_NORMAL);
    ppd->Retain();
    EXPECT_FALSE(ppd->Release());
    EXPECT_EQ(ORBPPD::Options(), DISPLAY_NORMAL);
}
