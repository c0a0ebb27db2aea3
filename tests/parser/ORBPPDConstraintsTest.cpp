// Constraint and requires lines, the queries over them and the dump of the constraint map.
#include <gtest/gtest.h>

#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "PPDObjects/Controls/PPDXPopupControl.h"
#include "PPDObjects/ModelOptions.h"
#include "PPDObjects/PPDXControls.h"
#include "parser/CStringSoup.h"
#include "parser/ConstraintForest.h"
#include "parser/ORBPPD.h"
#include "parser/PPDFileStream.h"
#include "parser/SharedConstraintRec.h"
#include "tests/parser/PPDText.h"

namespace {

const std::string kModel =
    "*%ORBPropPage Page/Page One: True\n"
    "*%ORBGroupName Pane/Pane: True\n"
    "*%ORBGroupName Roll/Roll: True\n"
    "*%ORBParent Pane/Page: True|Scrollpane\n"
    "*%ORBParent Roll/Pane: True|Rolldown\n"
    "*%ORBFlags *Duplex: Command\n"
    "*%ORBGroup *Duplex: Roll\n"
    "*OpenUI *Duplex/Two Sided: PickOne\n"
    "*DefaultDuplex: None\n"
    "*Duplex None/Off: \"<</Duplex false>>setpagedevice\"\n"
    "*Duplex DuplexNoTumble/Long Edge: \"<</Duplex true>>setpagedevice\"\n"
    "*CloseUI: *Duplex\n"
    "*%ORBFlags *Collate: Command\n"
    "*%ORBGroup *Collate: Roll\n"
    "*OpenUI *Collate/Collate: Boolean\n"
    "*DefaultCollate: True\n"
    "*Collate True/On: \"<</Collate true>>setpagedevice\"\n"
    "*Collate False/Off: \"<</Collate false>>setpagedevice\"\n"
    "*CloseUI: *Collate\n"
    "*%ORBJobNote *Notes1/Notes 1: 40|Alpha\n";

const std::string kConstraints =
    "*UIConstraints: *Duplex DuplexNoTumble *Collate True\n"
    "*UIConstraints: *Duplex *Notes1\n"
    "*%ORBUIConstraints: *Collate True *Duplex DuplexNoTumble\n"
    "*UIConstraints: *Collate False *Duplex None\n"
    "*UIConstraints: *Notes1 *Missing Thing\n"
    "*%ORBUIRequires: *Duplex None *Notes1\n";

PPDXControl* FindAny(ORBPPD& model, const char* keyword) {
    DisplayOptionsScope all(DISPLAY_ALL);
    return model.GetControls()->Find(keyword, nullptr, true);
}

// The records of a query as "keyword/index ..." ("-" for no control).
std::string Describe(const SharedConstraintRec* records, long count) {
    std::string text;
    for (long i = 0; i < count; ++i) {
        if (!text.empty()) text += ' ';
        PPDXControl* control = records[i].control;
        text += control != nullptr ? control->Keyword() : "-";
        text += '/';
        UInt16 index = records[i].index;
        text += index == SharedConstraintRec::kNoChoice ? "none" : std::to_string(index);
    }
    return text;
}

std::string Constraints(ORBPPD& model, const char* keyword, long value) {
    SharedConstraintRec* records = nullptr;
    long count = model.GetConstraintList(FindAny(model, keyword), value, &records);
    EXPECT_EQ(count == 0, records == nullptr);
    EXPECT_EQ(model.GetConstraintList(FindAny(model, keyword), value, nullptr), count);
    std::string text = Describe(records, count);
    ORBPPD::ReleaseConstraintList(records);
    EXPECT_EQ(records, nullptr);
    return text;
}

}  // namespace

TEST(ORBPPDConstraintLines, FieldsWithAndWithoutFirstChoice) {
    PPDText ppd(Header43() + kModel + kConstraints);
    ASSERT_TRUE(ppd->IsValidPPD()) << ppd.Errors();
    CStringSoup* soup = ppd->GetStringSoup();
    ConstraintForest* forest = ppd->GetConstraints();

    // "*Duplex *Notes1": no first choice, so both choices are the empty text.
    std::unique_ptr<ItemConstraintList> list(
        forest->GetConstraintList(soup->Find("*Duplex"), soup->Find("")));
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->size(), 1u);
    EXPECT_STREQ(soup->Find((*list)[0].first), "*Notes1");
    EXPECT_STREQ(soup->Find((*list)[0].second), "");

    list.reset(forest->GetConstraintList(soup->Find("*Collate"), soup->Find("True")));
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->size(), 1u);
    EXPECT_STREQ(soup->Find((*list)[0].first), "*Duplex");
    EXPECT_STREQ(soup->Find((*list)[0].second), "DuplexNoTumble");

    // Requires lines go to their own forest only.
    list.reset(ppd->GetRequires()->GetConstraintList(soup->Find("*Duplex"), -1));
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->size(), 1u);
    EXPECT_EQ(ppd->GetRequires()->GetTree(soup->Find("*Collate")), nullptr);
}

TEST(ORBPPDConstraintLines, MissingSecondKeywordIsError36AndNothingIsStored) {
    PPDText ppd(Header43() + "*UIConstraints: *Duplex Legal\n*UIConstraints: *Duplex Legal  \n");
    EXPECT_EQ(ppd.Errors(), "36:*Duplex 36:*Duplex 25 26 27");
    EXPECT_EQ(ppd->GetConstraints()->GetTrees().size(), 0u);
}

TEST(ORBPPDConstraintLines, RepeatedLinesAndUnknownKeywordsAreStored) {
    PPDText ppd(Header43() + "*UIConstraints: *A x *B y\n*UIConstraints:\t*A  x\t*B y\n");
    EXPECT_EQ(ppd.Errors(), "25 26 27");
    CStringSoup* soup = ppd->GetStringSoup();
    std::unique_ptr<ItemConstraintList> list(
        ppd->GetConstraints()->GetConstraintList(soup->Find("*A"), soup->Find("x")));
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->size(), 2u);
}

TEST(ORBPPDConstraintLines, FieldsOfJoinedLinesAreCutToATokenLength) {
    // A line across the end of the first chunk read is joined, so it may exceed the line length.
    const auto straddling = [](const std::string& line) {
        const size_t start = static_cast<size_t>(PPDFileStream::kChunkSize) - 150;
        std::string text = Header43();
        while (text.size() + 200 < start) text += "*%" + std::string(97, 'p') + "\n";
        return text + "*%" + std::string(start - text.size() - 3, 'p') + "\n" + line;
    };
    // A field of 254 characters is one field.
    const std::string whole = "*" + std::string(253, 'W');
    PPDText one(straddling("*UIConstraints: " + whole + " a *B b\n"));
    CStringSoup* soup = one->GetStringSoup();
    std::unique_ptr<ItemConstraintList> list(
        one->GetConstraints()->GetConstraintList(soup->Find(whole.c_str()), soup->Find("a")));
    ASSERT_NE(list, nullptr) << one.Errors();
    EXPECT_STREQ(soup->Find((*list)[0].first), "*B");
    EXPECT_STREQ(soup->Find((*list)[0].second), "b");
    // One of 300 gives its first 255 characters as a field and the rest as the next.
    const std::string cut = "*" + std::string(299, 'C');
    PPDText two(straddling("*UIConstraints: " + cut + " *D d\n"));
    soup = two->GetStringSoup();
    list.reset(two->GetConstraints()->GetConstraintList(soup->Find(cut.substr(0, 255).c_str()),
                                                        soup->Find(cut.substr(255).c_str())));
    ASSERT_NE(list, nullptr) << two.Errors();
    EXPECT_STREQ(soup->Find((*list)[0].first), "*D");
    EXPECT_STREQ(soup->Find((*list)[0].second), "d");
}

TEST(ORBPPDConstraintQueries, PopupChoiceListThenEveryChoice) {
    PPDText ppd(Header43() + kModel + kConstraints);
    ORBPPD& model = ppd.Model();
    // DuplexNoTumble (item 2): its own list, then every list of *Duplex in choice-id order.
    EXPECT_EQ(Constraints(model, "*Duplex", 2), "*Collate/none *Collate/none *Notes1/none");
    // None (item 1) has no list of its own.
    EXPECT_EQ(Constraints(model, "*Duplex", 1), "*Collate/none *Notes1/none");
    // Values outside the items give only the general list.
    EXPECT_EQ(Constraints(model, "*Duplex", 0), "*Collate/none *Notes1/none");
    EXPECT_EQ(Constraints(model, "*Duplex", 3), "*Collate/none *Notes1/none");
}

TEST(ORBPPDConstraintQueries, BooleanValuesNameTheirChoiceAndPopupTargetsTheirItem) {
    PPDText ppd(Header43() + kModel + kConstraints);
    ORBPPD& model = ppd.Model();
    EXPECT_EQ(Constraints(model, "*Collate", 1), "*Duplex/2 *Duplex/2 *Duplex/1");
    EXPECT_EQ(Constraints(model, "*Collate", 0), "*Duplex/1 *Duplex/2 *Duplex/1");
}

TEST(ORBPPDConstraintQueries, OtherControlsUseTheEmptyChoiceAndUnknownTargetsHaveNoControl) {
    PPDText ppd(Header43() + kModel + kConstraints);
    EXPECT_EQ(Constraints(ppd.Model(), "*Notes1", 0), "-/none -/none");
}

TEST(ORBPPDConstraintQueries, NullOrUnconstrainedControlGivesNothing) {
    PPDText ppd(Header43() + kModel);
    SharedConstraintRec* records = reinterpret_cast<SharedConstraintRec*>(&records);
    EXPECT_EQ(ppd->GetConstraintList(nullptr, 1, &records), 0);
    EXPECT_EQ(records, nullptr);
    EXPECT_EQ(ppd->GetConstraintList(FindAny(ppd.Model(), "*Duplex"), 2, &records), 0);
    EXPECT_EQ(records, nullptr);
    EXPECT_EQ(ppd->GetRequiresList(nullptr, &records), 0);
}

TEST(ORBPPDConstraintQueries, RequiresFollowTheCurrentValue) {
    PPDText ppd(Header43() + kModel + kConstraints);
    ORBPPD& model = ppd.Model();
    PPDXPopupControl* duplex = dynamic_cast<PPDXPopupControl*>(FindAny(model, "*Duplex"));
    ASSERT_NE(duplex, nullptr);
    ASSERT_EQ(duplex->GetValue(), 1);  // the default, None

    SharedConstraintRec* records = nullptr;
    long count = model.GetRequiresList(duplex, &records);
    EXPECT_EQ(Describe(records, count), "*Notes1/none *Notes1/none");
    ORBPPD::ReleaseRequiresList(records);

    duplex->SetValue(2);
    count = model.GetRequiresList(duplex, &records);
    EXPECT_EQ(Describe(records, count), "*Notes1/none");
    ORBPPD::ReleaseRequiresList(records);
    EXPECT_EQ(records, nullptr);
}

TEST(ORBPPDConstraintDump, WritesIndexStringsAndConstraintLines) {
    PPDText ppd(Header43() + kModel.substr(0, kModel.find("*%ORBFlags *Collate")) +
                "*%ORBJobNote *Notes1/Notes 1: 40|Alpha\n"
                "*UIConstraints: *Duplex DuplexNoTumble *Notes1\n");
    ORBPPD& model = ppd.Model();
    char* buffer = nullptr;
    size_t size = 0;
    std::FILE* out = open_memstream(&buffer, &size);
    ASSERT_NE(out, nullptr);
    model.DumpConstraintMap(out, model.GetConstraints(), "Constraints");
    std::fclose(out);
    std::string dump(buffer, size);
    std::free(buffer);

    auto address = [&](const char* keyword) {
        char text[32];
        std::snprintf(text, sizeof text, "%08" PRIxPTR,
                      reinterpret_cast<uintptr_t>(FindAny(model, keyword)));
        return std::string(text);
    };
    // String ids in order of interning: "" 0, *Notes1 1, DuplexNoTumble 2, *Duplex 3.
    std::string expected = "--- Constraints ---\n*Duplex = " + address("*Duplex") + "\n";
    expected +=
        "GetConstraintList: *Duplex(3), (0)\n"
        "GetConstraintList: *Duplex(3), *Notes1(1)\n"
        "GetConstraintList: *Duplex(3), DuplexNoTumble(2)\n"
        "*UIConstraints: *Duplex DuplexNoTumble *Notes1 \n"
        "GetConstraintList: *Duplex(3), *Duplex(3)\n";
    expected += "*Notes1 = " + address("*Notes1") + "\n";
    expected +=
        "GetConstraintList: *Notes1(1), (0)\n"
        "GetConstraintList: *Notes1(1), *Notes1(1)\n"
        "GetConstraintList: *Notes1(1), DuplexNoTumble(2)\n"
        "GetConstraintList: *Notes1(1), *Duplex(3)\n";
    EXPECT_EQ(dump, expected);
}
