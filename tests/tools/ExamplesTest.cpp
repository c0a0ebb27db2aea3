// The sample PPDs are the fixtures every part of the system uses: they must parse with exactly the
// errors they announce and, between them, use every extension keyword.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "PPDObjects/Controls/PPDXJobNote.h"
#include "tests/tools/ExampleModel.h"

using halyx::tools::Json;

namespace {

std::set<std::string> Kinds(const Json& model, const char* collection) {
    std::set<std::string> kinds;
    for (const auto& item : model[collection]) kinds.insert(item["kind"].get<std::string>());
    return kinds;
}

std::set<std::string> AllFlagWords(const Json& model) {
    std::set<std::string> words;
    for (const auto& c : model["controls"])
        if (c["kind"] == "jobnote")
            for (const auto& w : c["flag_words"]) words.insert(w.get<std::string>());
    return words;
}

}  // namespace

TEST(ExamplesTest, SampleParsesWithoutErrorAndIsTheFirstPrinter) {
    const Json m = ExampleJson("HalyxSample.ppd");
    ASSERT_FALSE(m.is_null());
    EXPECT_TRUE(m["valid_ppd"].get<bool>());
    EXPECT_TRUE(m["valid_printer_name"].get<bool>());
    EXPECT_TRUE(m["errors"].empty()) << m["errors"].dump();
    EXPECT_EQ(m["header"]["PCFileName"], "HALYX01.PPD");
    EXPECT_EQ(m["header"]["LanguageEncoding"], "ISOLatin1");
    EXPECT_EQ(m["header"]["QZVersion"], "5.0.3");
}

TEST(ExamplesTest, WorkgroupReportsOnlyItsThreeDeliberateErrors) {
    const Json m = ExampleJson("HalyxWorkgroup.ppd");
    ASSERT_FALSE(m.is_null());
    EXPECT_TRUE(m["valid_ppd"].get<bool>());
    EXPECT_EQ(m["header"]["LanguageEncoding"], "WindowsANSI");
    ASSERT_EQ(m["errors"].size(), 3u) << m["errors"].dump();
    std::multiset<std::string> seen;
    for (const auto& e : m["errors"]) {
        EXPECT_FALSE(e["fatal"].get<bool>());
        seen.insert(std::to_string(e["code"].get<int>()) + " " + e["keyword"].get<std::string>());
    }
    EXPECT_EQ(seen,
              (std::multiset<std::string>{"29 *QZTray", "29 *QZMargin", "19 *QZNoSuchOption"}));
    // The misplaced controls are still made.
    EXPECT_FALSE(ControlOf(m, "*QZTray").is_null());
    EXPECT_FALSE(ControlOf(m, "*QZMargin").is_null());
}

TEST(ExamplesTest, TogetherTheyUseEveryExtension) {
    const Json sample = ExampleJson("HalyxSample.ppd");
    const Json work = ExampleJson("HalyxWorkgroup.ppd");
    ASSERT_FALSE(sample.is_null());
    ASSERT_FALSE(work.is_null());

    std::set<std::string> groupKinds = Kinds(sample, "groups");
    for (const auto& k : Kinds(work, "groups")) groupKinds.insert(k);
    EXPECT_EQ(groupKinds, (std::set<std::string>{"group", "rolldown", "scrollpane"}));

    std::set<std::string> controlKinds = Kinds(sample, "controls");
    for (const auto& k : Kinds(work, "controls")) controlKinds.insert(k);
    EXPECT_EQ(controlKinds,
              (std::set<std::string>{"jobnote", "range", "boolean", "popup", "special"}));

    // Every job-note flag word, MinLength with digits included.
    std::set<std::string> words = AllFlagWords(sample);
    for (const auto& w : AllFlagWords(work)) words.insert(w);
    EXPECT_EQ(words.size(), 23u);
    EXPECT_EQ(ControlOf(sample, "*QZUserAuthPwd")["min_length"], 4);
    EXPECT_EQ(ControlOf(work, "*QZCostCentre")["min_length"], 3);

    for (const char* special : {"*Notes1", "*Notes2", "*Instruct", "*Notes3", "*Resume",
                                "*DeptPassword", "*QZUserAuthName", "*QZUserAuthPwd"}) {
        EXPECT_EQ(ControlOf(sample, special)["kind"], "jobnote") << special;
    }
    for (const char* option : {"*UseSpecialKey", "*CopierUserAuth", "*ORBAuthenticateWithLDAP"})
        EXPECT_EQ(ControlOf(sample, option)["kind"], "special") << option;

    // Popups in both modes; flagged blocks with and without a group line.
    EXPECT_FALSE(ControlOf(sample, "*QZDuplex")["multiple"].get<bool>());
    EXPECT_TRUE(ControlOf(sample, "*QZFinishing")["multiple"].get<bool>());
    EXPECT_EQ(ControlOf(sample, "*QZOptionalTray")["parent"], "InstallableOptions");
    EXPECT_EQ(ControlOf(sample, "*QZDuplex")["parent"], "OutputRoll");

    // Hidden pages and roll-downs are parsed, marked hidden.
    bool hiddenPage = false;
    for (const auto& p : work["pages"]) hiddenPage |= !p["visible"].get<bool>();
    EXPECT_TRUE(hiddenPage);
    EXPECT_FALSE(GroupOf(work, "EngineerRoll")["visible"].get<bool>());

    EXPECT_FALSE(sample["shortcuts"].empty());
    EXPECT_FALSE(sample["constraints"].empty());
    EXPECT_FALSE(sample["requires"].empty());
}

TEST(ExamplesTest, LayoutLinksPagesPanesAndRollDowns) {
    const Json m = ExampleJson("HalyxSample.ppd");
    ASSERT_FALSE(m.is_null());
    ASSERT_EQ(m["pages"].size(), 2u);
    EXPECT_EQ(m["pages"][0]["scroll_pane"], "NotesPane");
    EXPECT_FALSE(m["pages"][1]["show_in_print_properties"].get<bool>());
    EXPECT_TRUE(m["pages"][1]["show_in_application"].get<bool>());

    const Json notes = GroupOf(m, "FPQZNotes");
    EXPECT_EQ(notes["kind"], "rolldown");
    EXPECT_EQ(notes["parent"], "NotesPane");
    EXPECT_EQ(GroupOf(m, "NotesPane")["parent"], "JobNotesPage");
    // Every control a roll-down lists names that roll-down as its parent.
    for (const auto& g : m["groups"]) {
        if (g["kind"] != "rolldown") continue;
        for (const auto& keyword : g["controls"])
            EXPECT_EQ(ControlOf(m, keyword.get<std::string>())["parent"], g["keyword"]);
    }
}

TEST(ExamplesTest, TextsLeaveInUtf8FromTheDeclaredEncoding) {
    const Json sample = ExampleJson("HalyxSample.ppd");
    const Json work = ExampleJson("HalyxWorkgroup.ppd");
    ASSERT_FALSE(sample.is_null());
    ASSERT_FALSE(work.is_null());
    // Latin-1 byte E9 in a title; a hexadecimal <B0> in a choice title.
    EXPECT_EQ(ControlOf(sample, "*Notes3")["name"],
              "Notes 3 (R\xC3\xA9"
              "f.)");
    EXPECT_EQ(ControlOf(sample, "*QZRotate")["items"][1]["name"], "Rotate 180\xC2\xB0");
    // Windows-1252 byte 80 is the euro sign, in a name and in a raw default text.
    EXPECT_EQ(GroupOf(work, "CostRoll")["name"], "Cost Centre (\xE2\x82\xAC)");
    EXPECT_EQ(ControlOf(work, "*QZCostCentre")["default"],
              "\xE2\x82\xAC"
              "100");
}

TEST(ExamplesTest, JobNoteTakesTemplateOrDefaultFromTheLineAfter) {
    const Json sample = ExampleJson("HalyxSample.ppd");
    const Json work = ExampleJson("HalyxWorkgroup.ppd");
    ASSERT_FALSE(sample.is_null());
    const Json notes1 = ControlOf(sample, "*Notes1");
    EXPECT_EQ(notes1["template"], "userdict /ORBNote1 (<Notes1>) put\n");
    EXPECT_TRUE(notes1["default"].is_null());
    const Json notes2 = ControlOf(sample, "*Notes2");
    EXPECT_EQ(notes2["default"], "Draft");
    EXPECT_TRUE(notes2["template"].is_null());
    // A template line beginning "*%De" is read as a default line: neither results.
    const Json dept = ControlOf(work, "*DeptPassword");
    EXPECT_TRUE(dept["template"].is_null());
    EXPECT_TRUE(dept["default"].is_null());
    EXPECT_EQ(dept["flags"].get<unsigned>(),
              kJobNoteNumeric | kJobNotePassword | kJobNoteMember | kJobNoteEncrypt);
}
