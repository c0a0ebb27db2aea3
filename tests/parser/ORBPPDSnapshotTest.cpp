// The model saved into a settings store and rebuilt from it: the same header, pages, groups,
// controls with their values, shortcuts and parent links; the file found where the caller says;
// the printer-list check; refused stores; the display options put back; failures on the way.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "CoreFoundation/CFData.h"
#include "PPDObjects/Controls/PPDXBooleanControl.h"
#include "PPDObjects/Controls/PPDXJobNote.h"
#include "PPDObjects/Controls/PPDXPopupControl.h"
#include "PPDObjects/Controls/PPDXRangeControl.h"
#include "PPDObjects/ModelOptions.h"
#include "PPDObjects/PPDXControls.h"
#include "PPDObjects/PPDXGroups.h"
#include "PPDObjects/PPDXProperties.h"
#include "PPDObjects/PPDXProperty.h"
#include "PPDObjects/PPDXRollDown.h"
#include "PPDObjects/PPDXScrollPane.h"
#include "PPDObjects/PPDXShortcuts.h"
#include "parser/SharedConstraintRec.h"
#include "testing/FailureInjection.h"
#include "tests/parser/PPDText.h"
#include "tests/parser/SnapshotFixtures.h"
#include "tests/parser/TempPPD.h"

namespace {

const char* const kExamples[] = {"HalyxSample.ppd", "HalyxWorkgroup.ppd"};
constexpr _PARSE_OPTIONS_ kEverything = ORBPPD::kParseOrphans | ORBPPD::kParseHidden;

std::string ExamplePath(const char* name) {
    return std::string(HALYX_SOURCE_DIR) + "/examples/" + name;
}

std::string ReadExample(const char* name) {
    std::ifstream in(ExamplePath(name), std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// Moves every control away from its default, so that a rebuild that dropped values shows.
void ChangeValues(ORBPPD& model) {
    DisplayOptionsScope all(DISPLAY_ALL);
    PPDXControls* controls = model.GetControls();
    for (PPDXControl* c = controls->First(nullptr); c != nullptr; c = controls->Next(nullptr)) {
        if (PPDXJobNote* note = dynamic_cast<PPDXJobNote*>(c)) {
            note->SetNotes("4711");
            note->SetNotesOnValue(true);
        } else if (PPDXPopupControl* popup = dynamic_cast<PPDXPopupControl*>(c)) {
            popup->SetValue(static_cast<SInt32>(popup->ItemCount()));
        } else if (PPDXBooleanControl* boolean = dynamic_cast<PPDXBooleanControl*>(c)) {
            boolean->SetValue(!boolean->IsTrue());
        } else if (PPDXRangeControl* range = dynamic_cast<PPDXRangeControl*>(c)) {
            range->SetValue(range->MaxVal());
        }
    }
}

void ResetValues(ORBPPD& model) {
    DisplayOptionsScope all(DISPLAY_ALL);
    PPDXControls* controls = model.GetControls();
    for (PPDXControl* c = controls->First(nullptr); c != nullptr; c = controls->Next(nullptr))
        c->ResetToDefaultValue();
}

// The flattened bytes of `store`.
std::string Flattened(Settings& store) {
    CFDataStream out;
    if (store.Save(&out) != noErr || out.data() == nullptr) return std::string();
    return std::string(reinterpret_cast<const char*>(CFDataGetBytePtr(out.data())),
                       static_cast<size_t>(CFDataGetLength(out.data())));
}

struct NamesRelease {
    void operator()(const void* array) const {
        if (array != nullptr) CFRelease(array);
    }
};
typedef std::unique_ptr<const __CFArray, NamesRelease> Names;

Names NamesOf(const char* name) {
    return Names(NameList({name}));
}

ModelRef Parsed(const std::string& path) {
    CFURLRef url = FileURL(path);
    ORBPPD* model = new ORBPPD(url, kEverything, nullptr);
    CFRelease(url);
    return Held(model);
}

// A model rebuilt from `store` for the file at `path`, checked against `names` (may be null).
ModelRef Rebuilt(Settings& store, const std::string& path, CFArrayRef names) {
    CFURLRef url = FileURL(path);
    ORBPPD* model = new ORBPPD(store, url, names);
    CFRelease(url);
    return Held(model);
}

// Every control with a parent hangs under a roll-down of the same model that lists it, every
// roll-down with a parent under a scroll pane that lists it, every scroll pane under its page.
void ExpectLinked(ORBPPD& model) {
    DisplayOptionsScope all(DISPLAY_ALL);
    int links = 0;
    PPDXControls* controls = model.GetControls();
    for (PPDXControl* c = controls->First(nullptr); c != nullptr; c = controls->Next(nullptr)) {
        if (c->GetParent() == nullptr) continue;
        PPDXRollDown* roll = dynamic_cast<PPDXRollDown*>(c->GetParent());
        ASSERT_NE(roll, nullptr) << c->Keyword();
        EXPECT_EQ(model.GetGroups()->Find(roll->Keyword(), true), roll);
        EXPECT_EQ(roll->Controls()->Find(c->Keyword(), nullptr, true), c);
        ++links;
    }
    PPDXGroups* groups = model.GetGroups();
    for (PPDXGroup* g = groups->First(); g != nullptr; g = groups->Next()) {
        if (g->GetParent() == nullptr) continue;
        if (PPDXScrollPane* pane = dynamic_cast<PPDXScrollPane*>(g)) {
            PPDXProperty* page = dynamic_cast<PPDXProperty*>(pane->GetParent());
            ASSERT_NE(page, nullptr);
            EXPECT_EQ(page->GetScrollDown(), pane);
        } else {
            PPDXScrollPane* above = dynamic_cast<PPDXScrollPane*>(g->GetParent());
            ASSERT_NE(above, nullptr) << g->Keyword();
            EXPECT_EQ(above->RollDowns()->Find(g->Keyword(), true), g);
        }
        ++links;
    }
    EXPECT_GT(links, 0);
}

class SnapshotTest : public ::testing::Test {
protected:
    void SetUp() override { ORBPPD::Options(DISPLAY_NORMAL); }
    void TearDown() override { ORBPPD::Options(DISPLAY_NORMAL); }
};

TEST_F(SnapshotTest, ExamplesRebuildWithHeaderMembersValuesAndLinks) {
    for (const char* example : kExamples) {
        SCOPED_TRACE(example);
        const std::string path = ExamplePath(example);
        ModelRef parsed = Parsed(path);
        ASSERT_TRUE(parsed->IsValidPPD());
        ChangeValues(*parsed);

        Settings store;
        ASSERT_TRUE(parsed->Save(store));
        std::unique_ptr<Settings> carried = Carried(store);
        ASSERT_NE(carried, nullptr);
        Names names = NamesOf(parsed->PCFileName());
        ModelRef rebuilt = Rebuilt(*carried, path, names.get());

        ASSERT_TRUE(rebuilt->IsValidPrinterName());
        EXPECT_TRUE(rebuilt->IsValidPPD());
        EXPECT_STREQ(rebuilt->ModelName(), parsed->ModelName());
        EXPECT_STREQ(rebuilt->QZVersion(), parsed->QZVersion());
        EXPECT_EQ(SnapshotView(*rebuilt), SnapshotView(*parsed));
        ExpectLinked(*rebuilt);
        // The constraint lines stay with the PPD: queries on the rebuilt model answer nothing.
        DisplayOptionsScope all(DISPLAY_ALL);
        for (PPDXControl* c = rebuilt->GetControls()->First(nullptr); c != nullptr;
             c = rebuilt->GetControls()->Next(nullptr)) {
            SharedConstraintRec* list = nullptr;
            EXPECT_EQ(rebuilt->GetConstraintList(c, 1, &list), 0);
            EXPECT_EQ(list, nullptr);
            EXPECT_EQ(rebuilt->GetRequiresList(c, &list), 0);
        }

        // Saved once more, the rebuilt model writes the very same store.
        Settings again;
        ASSERT_TRUE(rebuilt->Save(again));
        EXPECT_EQ(Flattened(again), Flattened(store));
    }
}

TEST_F(SnapshotTest, RestoreReloadsTheSavedValues) {
    ModelRef model = Parsed(ExamplePath("HalyxSample.ppd"));
    ChangeValues(*model);
    const halyx::tools::Json changed = SnapshotView(*model);
    Settings store;
    ASSERT_TRUE(model->Save(store));

    ResetValues(*model);
    ASSERT_NE(SnapshotView(*model), changed);
    EXPECT_TRUE(model->Restore(store));
    EXPECT_EQ(SnapshotView(*model), changed);

    // A model without controls has nothing to reload.
    ModelRef refused = Rebuilt(store, ExamplePath("HalyxSample.ppd"), NamesOf("NOPE.PPD").get());
    EXPECT_EQ(refused->GetControls(), nullptr);
    EXPECT_TRUE(refused->Restore(store));
}

TEST_F(SnapshotTest, MovedFileIsReopenedFromTheGivenLocation) {
    const std::string bytes = ReadExample("HalyxSample.ppd");
    Settings store;
    halyx::tools::Json before;
    {
        TempPPD original(bytes);
        ModelRef model = Parsed(original.Path());
        ASSERT_TRUE(model->Save(store));
        before = SnapshotView(*model);
    }  // the file at the saved place is gone
    TempPPD moved(bytes);
    ASSERT_TRUE(moved.Ok());
    Names names = NamesOf("HALYX01.PPD");
    ModelRef rebuilt = Rebuilt(store, moved.Path(), names.get());

    ASSERT_TRUE(rebuilt->IsValidPrinterName());
    EXPECT_TRUE(rebuilt->IsValidPPD());
    FSSpec spec;
    ASSERT_TRUE(rebuilt->GetFileSpec(spec));
    EXPECT_EQ(0, std::memcmp(&spec, &moved.Spec(), sizeof spec));
    EXPECT_EQ(SnapshotView(*rebuilt), before);

    // A snapshot without the file record is read the same way.
    ASSERT_EQ(store.Remove(PPDX::kSnapshotHeaderTag, PPDX::kSnapshotFileSpecId), noErr);
    ModelRef withoutFile = Rebuilt(store, moved.Path(), names.get());
    ASSERT_TRUE(withoutFile->GetFileSpec(spec));
    EXPECT_EQ(0, std::memcmp(&spec, &moved.Spec(), sizeof spec));
    EXPECT_EQ(SnapshotView(*withoutFile), before);
}

TEST_F(SnapshotTest, PrinterListDecidesWhetherTheModelIsBuilt) {
    const std::string path = ExamplePath("HalyxSample.ppd");
    ModelRef model = Parsed(path);
    Settings store;
    ASSERT_TRUE(model->Save(store));

    // Not among the names: only the PC file name is read, nothing else is built.
    ModelRef foreign = Rebuilt(store, path, NamesOf("HALYX02.PPD").get());
    EXPECT_FALSE(foreign->IsValidPrinterName());
    EXPECT_FALSE(foreign->IsValidPPD());
    EXPECT_STREQ(foreign->PCFileName(), "HALYX01.PPD");
    EXPECT_EQ(foreign->ModelName(), nullptr);
    EXPECT_EQ(foreign->GetControls(), nullptr);
    EXPECT_EQ(foreign->GetGroups(), nullptr);

    // The check reads the file at the given location: a location with no file is refused too.
    ModelRef missing = Rebuilt(store, "/tmp/halyx-no-such-ppd.ppd", NamesOf("HALYX01.PPD").get());
    EXPECT_FALSE(missing->IsValidPrinterName());
    EXPECT_FALSE(missing->IsValidPPD());

    // Without a printer list the name counts as accepted.
    ModelRef unchecked = Rebuilt(store, path, nullptr);
    EXPECT_TRUE(unchecked->IsValidPrinterName());
    EXPECT_TRUE(unchecked->IsValidPPD());
}

TEST_F(SnapshotTest, StoresWithoutAFourByteFormatRecordBuildNothing) {
    const std::string path = ExamplePath("HalyxSample.ppd");
    Names names = NamesOf("HALYX01.PPD");
    ModelRef model = Parsed(path);
    Settings full;
    ASSERT_TRUE(model->Save(full));

    Settings empty;
    Settings shortFormat(full);
    const SInt16 twoBytes = 1024;
    ASSERT_EQ(shortFormat.Add(PPDX::kSnapshotHeaderTag, PPDX::kSnapshotFormatId, &twoBytes,
                              sizeof twoBytes),
              noErr);
    Settings noFormat(full);
    ASSERT_EQ(noFormat.Remove(PPDX::kSnapshotHeaderTag, PPDX::kSnapshotFormatId), noErr);
    Settings* const refused[] = {&empty, &shortFormat, &noFormat};
    for (Settings* store : refused) {
        ModelRef rebuilt = Rebuilt(*store, path, names.get());
        EXPECT_FALSE(rebuilt->IsValidPPD());
        EXPECT_EQ(rebuilt->GetErrors(), nullptr);
        EXPECT_EQ(rebuilt->GetControls(), nullptr);
        EXPECT_EQ(rebuilt->PCFileName(), nullptr);
    }
}

// A snapshot cut short or altered on its way through the print settings is refused whole by
// the store, so no model is built from part of it.
TEST_F(SnapshotTest, TruncatedOrAlteredFlattenedSnapshotsAreNotRead) {
    ModelRef model = Parsed(ExamplePath("HalyxSample.ppd"));
    Settings store;
    ASSERT_TRUE(model->Save(store));
    const std::string bytes = Flattened(store);
    ASSERT_GT(bytes.size(), 100u);

    auto readable = [](const std::string& form) {
        CFDataRef data = CFDataCreate(nullptr, reinterpret_cast<const UInt8*>(form.data()),
                                      static_cast<CFIndex>(form.size()));
        CFDataStream in(data);
        CFRelease(data);
        Settings copy;
        return copy.Read(&in, 0) == noErr && copy.Count() > 0;
    };
    EXPECT_TRUE(readable(bytes));
    for (size_t length = 1; length < bytes.size(); length += 97)
        EXPECT_FALSE(readable(bytes.substr(0, length))) << length;
    for (size_t at = 0; at < bytes.size(); at += 89) {
        std::string altered = bytes;
        altered[at] = static_cast<char>(altered[at] ^ 0x20);
        EXPECT_FALSE(readable(altered)) << at;
    }
}

// Snapshots outlive the program that wrote them (the print settings keep them): one flattened by
// an earlier build, kept with the fuzz seeds after its one mode byte, still rebuilds the sample.
TEST_F(SnapshotTest, SnapshotWrittenByAnEarlierBuildIsStillRead) {
    std::ifstream in(std::string(HALYX_SOURCE_DIR) + "/fuzz/parser/snapshot_corpus/sample_accepted",
                     std::ios::binary);
    std::ostringstream kept;
    kept << in.rdbuf();
    const std::string form = kept.str();
    ASSERT_GT(form.size(), 1u);
    CFDataRef data = CFDataCreate(nullptr, reinterpret_cast<const UInt8*>(form.data()) + 1,
                                  static_cast<CFIndex>(form.size() - 1));
    CFDataStream stream(data);
    CFRelease(data);
    Settings store;
    ASSERT_EQ(store.Read(&stream, 0), noErr);

    const std::string path = ExamplePath("HalyxSample.ppd");
    ModelRef rebuilt = Rebuilt(store, path, NamesOf("HALYX01.PPD").get());
    ASSERT_TRUE(rebuilt->IsValidPPD());
    ModelRef parsed = Parsed(path);
    EXPECT_EQ(SnapshotView(*rebuilt), SnapshotView(*parsed));
}

TEST_F(SnapshotTest, DisplayOptionsAreBackAfterSaveRestoreAndRebuild) {
    const std::string path = ExamplePath("HalyxWorkgroup.ppd");
    ModelRef model = Parsed(path);
    Names names = NamesOf("HALYX02.PPD");
    const _DISPLAY_OPTIONS_ modes[] = {DISPLAY_NORMAL, DISPLAY_VISIBLE, DISPLAY_ATTACHED};
    for (_DISPLAY_OPTIONS_ mode : modes) {
        SCOPED_TRACE(mode);
        ORBPPD::Options(mode);
        Settings store;
        ASSERT_TRUE(model->Save(store));
        EXPECT_EQ(ORBPPD::Options(), mode);
        EXPECT_TRUE(model->Restore(store));
        EXPECT_EQ(ORBPPD::Options(), mode);
        ModelRef rebuilt = Rebuilt(store, path, names.get());
        EXPECT_EQ(ORBPPD::Options(), mode);
        // Whatever the process showed, the snapshot held every member.
        EXPECT_EQ(SnapshotView(*rebuilt), SnapshotView(*model));
    }
}

TEST_F(SnapshotTest, SaveStopsAtTheFirstRecordThatCannotBeAdded) {
    ModelRef model = Parsed(ExamplePath("HalyxSample.ppd"));
    Settings store;
    const SInt32 format = 1;
    ASSERT_EQ(store.Add(PPDX::kSnapshotHeaderTag, PPDX::kSnapshotFormatId, &format, sizeof format),
              noErr);
    ASSERT_EQ(store.Lock(PPDX::kSnapshotHeaderTag, PPDX::kSnapshotFormatId), noErr);
    EXPECT_FALSE(model->Save(store));
    EXPECT_EQ(store.Count(), 1);
}

// The members of a model and the kind of each control, in order.
std::string Skeleton(const halyx::tools::Json& view) {
    std::string shape = std::to_string(view["pages"].size()) + " pages, " +
                        std::to_string(view["groups"].size()) + " groups:";
    for (const auto& control : view["controls"]) shape += " " + control["kind"].get<std::string>();
    return shape;
}

// Every allocation of the platform layer failing in turn: a save either reports failure or left
// every member in the store (the members write their texts as best they can, so a text may be
// missing); a rebuild from a whole store either is refused or equals the model; nothing leaks.
TEST_F(SnapshotTest, FailingAllocationsNeverLoseAMemberOrLeak) {
    const std::string path = ExamplePath("HalyxSample.ppd");
    Names names = NamesOf("HALYX01.PPD");
    ModelRef model = Parsed(path);
    const halyx::tools::Json expected = SnapshotView(*model);
    Settings good;
    ASSERT_TRUE(model->Save(good));

    bool saveFailed = false;
    for (int skip = 0;; ++skip) {
        Settings store;
        bool saved;
        int injected;
        {
            HalyxFailureScope scope;
            HalyxInjectFailures(kHalyxFailAllocation, skip, 1);
            saved = model->Save(store);
            injected = HalyxInjectedFailureCount(kHalyxFailAllocation);
        }
        if (!saved) {
            saveFailed = true;
            continue;
        }
        ModelRef rebuilt = Rebuilt(store, path, names.get());
        ASSERT_TRUE(rebuilt->IsValidPPD()) << "skip " << skip;
        if (injected == 0) {
            EXPECT_EQ(SnapshotView(*rebuilt), expected);
            break;
        }
        EXPECT_EQ(Skeleton(SnapshotView(*rebuilt)), Skeleton(expected)) << "skip " << skip;
    }
    EXPECT_TRUE(saveFailed);

    for (int skip = 0;; ++skip) {
        HalyxFailureScope scope;
        HalyxInjectFailures(kHalyxFailAllocation, skip, 1);
        ModelRef rebuilt = Rebuilt(good, path, names.get());
        const bool injected = HalyxInjectedFailureCount(kHalyxFailAllocation) != 0;
        HalyxResetFailures();
        // A rebuild that lost anything is refused (and stays walkable); one that is accepted is
        // the whole model.
        const halyx::tools::Json view = SnapshotView(*rebuilt);
        if (rebuilt->IsValidPPD()) {
            EXPECT_EQ(view, expected) << "skip " << skip;
        }
        if (!injected) {
            EXPECT_TRUE(rebuilt->IsValidPPD());
            break;
        }
    }
}

}  // namespace
