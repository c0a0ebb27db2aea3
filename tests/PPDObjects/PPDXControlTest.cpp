#include "PPDObjects/PPDXControl.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "ControlTestSupport.h"
#include "testing/FailureInjection.h"

using namespace controltest;

namespace {

const FourCharCode kOrdr = HALYX_FOUR_CHAR('O', 'r', 'd', 'r');
const FourCharCode kPSDt = HALYX_FOUR_CHAR('P', 'S', 'D', 't');
const FourCharCode kCFlg = HALYX_FOUR_CHAR('C', 'F', 'l', 'g');

class Control : public PPDXControl {
public:
    Control(const char* keyword, PointerList& flags, const std::string& code)
        : PPDXControl(keyword, nullptr, flags, code.empty() ? nullptr : Code(code),
                      static_cast<long>(code.size()), true) {}
    Control(Settings& store, SInt32 id) : PPDXControl(store, id) {}
    void ResetToDefaultValue() override {}
    OSErr Restore(Settings&, SInt32) override { return noErr; }
};

std::string Walk(PPDXControl& control) {
    std::string words;
    for (const char* flag = control.FirstControlFlag(); flag != nullptr;
         flag = control.NextControlFlag()) {
        words += flag;
        words += ',';
    }
    return words;
}

// Inject over an exact-size copy of the template, so that reading past it is caught.
std::string Fill(const std::string& templ, const char* value) {
    unsigned char* copy = static_cast<unsigned char*>(std::malloc(templ.size()));
    std::memcpy(copy, templ.data(), templ.size());
    unsigned char* result = nullptr;
    SInt32 length =
        PPDXControl::Inject("*Copies", copy, static_cast<SInt32>(templ.size()), value, result);
    std::free(copy);
    EXPECT_NE(result, nullptr);
    std::string out(reinterpret_cast<char*>(result), static_cast<size_t>(length));
    std::free(result);
    return out;
}

TEST(PPDXControl, FlagWordsAndTheirTests) {
    PointerList flags;
    FillFlags(flags, {"Setup", "MacIS"});
    Control control("*Option", flags, "");
    EXPECT_EQ(control.ControlFlagCount(), 2u);
    EXPECT_EQ(Walk(control), "Setup,MacIS,");
    EXPECT_TRUE(control.IsSetup());
    EXPECT_TRUE(control.IsMacImgShift());
    EXPECT_FALSE(control.IsCommand());
    EXPECT_FALSE(control.IsSpooler());
    EXPECT_FALSE(control.IsMacHJN());
    EXPECT_FALSE(control.FindControlFlag("setup"));
    EXPECT_FALSE(control.FindControlFlag(nullptr));

    PointerList none;
    Control bare("*Option", none, "");
    EXPECT_EQ(bare.FirstControlFlag(), nullptr);
    EXPECT_EQ(bare.NextControlFlag(), nullptr);
    EXPECT_FALSE(bare.IsSetup());
}

TEST(PPDXControl, FlagsTheListCannotHoldAreStillReleased) {
    PointerList flags;
    FillFlags(flags, {"A", "B", "C"});
    HalyxFailureScope scope;
    // The keyword takes the first allocation, the copied list's nodes the next three.
    HalyxInjectFailures(kHalyxFailAllocation, 2, 1);
    Control control("*Option", flags, "");
    ASSERT_EQ(HalyxInjectedFailureCount(kHalyxFailAllocation), 1);
    HalyxResetFailures();
    EXPECT_STREQ(control.Keyword(), "*Option");
    EXPECT_EQ(control.ControlFlagCount(), 2u);
    EXPECT_EQ(Walk(control), "A,C,");
}

TEST(PPDXControl, FlagsSavedWithSeparatorsAndReadBack) {
    PointerList flags;
    FillFlags(flags, {"Setup", "MacIS"});
    Control control("*Option", flags, "code\n");
    Settings store;
    ASSERT_EQ(control.Save(store, 5001), noErr);
    EXPECT_EQ(Record(store, kCFlg, 5001), "Setup|MacIS|");
    EXPECT_EQ(Record(store, kPSDt, 5001), "code\n");
    EXPECT_EQ(Record(store, kOrdr, 5001), std::string(2, '\0'));

    std::unique_ptr<Settings> copy = Reloaded(store);
    Control rebuilt(*copy, 5001);
    EXPECT_STREQ(rebuilt.Keyword(), "*Option");
    EXPECT_EQ(Walk(rebuilt), "Setup,MacIS,");
    EXPECT_TRUE(rebuilt.IsMacImgShift());
    EXPECT_EQ(PostScriptOf(rebuilt), "code\n");
}

TEST(PPDXControl, MalformedControlRecordsLeaveDefaults) {
    Settings store;
    SInt16 order = 7;
    store.Add(kOrdr, 1, &order, sizeof order);
    store.Add(kCFlg, 1, "||Command|||Spooler", 19);
    store.Add(kOrdr, 2, "\1\2\3", 3);
    store.Add(kPSDt, 2, "", 0);
    store.Add(kCFlg, 2, "|||", 3);
    Control split(store, 1);
    EXPECT_EQ(split.Order(), 7);
    EXPECT_EQ(Walk(split), "Command,Spooler,");
    Control odd(store, 2);
    EXPECT_EQ(odd.Order(), 0);
    EXPECT_EQ(odd.PSData(), nullptr);
    EXPECT_EQ(odd.ControlFlagCount(), 0u);
    EXPECT_EQ(PostScriptOf(odd), "");
}

TEST(PPDXControl, ReservedKeywordsNeverBecomeControls) {
    EXPECT_FALSE(PPDXControl::ValidKeyword(nullptr));
    EXPECT_FALSE(PPDXControl::ValidKeyword("*QZ_PROP_WATERMARK"));
    EXPECT_FALSE(PPDXControl::ValidKeyword("*QZHuemark"));
    EXPECT_FALSE(PPDXControl::ValidKeyword("*QZ_PROP_LOCAL_QZLANDSCAPE"));
    EXPECT_TRUE(PPDXControl::ValidKeyword("*QZ_PROP_WATERMARKS"));
    EXPECT_TRUE(PPDXControl::ValidKeyword("*qz_prop_watermark"));
    EXPECT_TRUE(PPDXControl::ValidKeyword("QZ_PROP_WATERMARK"));
    EXPECT_TRUE(PPDXControl::ValidKeyword("*PageSize"));
    EXPECT_TRUE(PPDXControl::ValidKeyword(""));
}

TEST(PPDXControl, FeatureBlockAroundData) {
    PointerList none;
    Control collate("*Collate", none, "");
    const std::string code = "<</Collate true>>setpagedevice\n";
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(code.data());
    SInt32 size = collate.GeneratePSOutputData(nullptr, bytes, static_cast<SInt32>(code.size()),
                                               "True", true);
    std::string out(static_cast<size_t>(size), '\0');
    EXPECT_EQ(collate.GeneratePSOutputData(&out[0], bytes, static_cast<SInt32>(code.size()), "True",
                                           true),
              size);
    EXPECT_EQ(out, "%%BeginFeature: *Collate True\n<</Collate true>>setpagedevice\n%%EndFeature\n");

    // Without data the block carries a lone line feed.
    EXPECT_EQ(collate.GeneratePSOutputData(nullptr, nullptr, 0, "False", true),
              16 + 8 + 1 + 5 + 1 + 1 + 13);
    EXPECT_EQ(collate.GeneratePSOutputData(nullptr, bytes, 0, "False", true),
              16 + 8 + 1 + 5 + 1 + 1 + 13);

    // Data without a final line feed runs into the end comment; unwrapped data stands alone.
    const unsigned char raw[] = {'a', 'b'};
    out.assign(64, '\0');
    out.resize(static_cast<size_t>(collate.GeneratePSOutputData(&out[0], raw, 2, "X", true)));
    EXPECT_EQ(out, "%%BeginFeature: *Collate X\nab%%EndFeature\n");
    out.assign(64, '\0');
    out.resize(static_cast<size_t>(collate.GeneratePSOutputData(&out[0], raw, 2, "X", false)));
    EXPECT_EQ(out, "ab");
}

TEST(PPDXControl, InjectFillsTheSingleMarker) {
    EXPECT_EQ(Fill("<</Copies <n>>>setpagedevice", "3"), "<</Copies 3>>setpagedevice");
    EXPECT_EQ(Fill("<<>>setpagedevice<v>", "12"), "<<>>setpagedevice12");
    EXPECT_EQ(Fill("<<<v>>", "7"), "<<7>");
    EXPECT_EQ(Fill("<v>", ""), "");
    EXPECT_EQ(Fill("x <value> y <other>", "A"), "x A y <other>");
    // A long value still fits the result buffer (checked by the sanitizers).
    const std::string longValue(300, 'z');
    EXPECT_EQ(Fill("(<t>) show", longValue.c_str()), "(" + longValue + ") show");
}

TEST(PPDXControl, InjectEscapesTheValueOnlyInsideAPostScriptString) {
    const struct {
        const char* templ;
        const char* value;
        const char* filled;
        bool takesValue;
    } table[] = {
        {"userdict /F (<F>) put", "x) put quit (y", "userdict /F (x\\) put quit \\(y) put", true},
        {"((a) \\) 100% <t>) show", "\\", "((a) \\) 100% \\\\) show", true},
        // The template's own escape before the marker ends in a newline, which the string drops.
        {"(y\\<t>)", ")", "(y\\\n\\))", true},
        // Outside a string the value goes as it is, and the template does not take those bytes.
        {"(done) pop /N <t> def", "(x)", "(done) pop /N (x) def", false},
        {"% a comment (\n/N <t> def", "a\\", "% a comment (\n/N a\\ def", false},
        {"<</Copies <n>>>setpagedevice", "3", "<</Copies 3>>setpagedevice", true},
    };
    for (const auto& row : table) {
        EXPECT_EQ(row.filled, Fill(row.templ, row.value)) << row.templ;
        PointerList flags;
        EXPECT_EQ(row.takesValue, Control("*N", flags, row.templ).TemplateTakes(row.value));
    }
}

TEST(PPDXControl, InjectLeavesTemplatesWithoutMarkerUnchanged) {
    EXPECT_EQ(Fill("<<>>setpagedevice", "3"), "<<>>setpagedevice");
    EXPECT_EQ(Fill("no marker", "3"), "no marker");
    EXPECT_EQ(Fill("open <marker", "3"), "open <marker");
    EXPECT_EQ(Fill("ends with <", "3"), "ends with <");
    EXPECT_EQ(Fill("<<", "3"), "<<");
    EXPECT_EQ(Fill("<", "3"), "<");

    unsigned char* result = reinterpret_cast<unsigned char*>(1);
    const unsigned char templ[] = {'<', 'n', '>'};
    EXPECT_EQ(PPDXControl::Inject("*K", templ, 0, "3", result), 0);
    EXPECT_EQ(result, nullptr);
    EXPECT_EQ(PPDXControl::Inject(nullptr, templ, 3, "3", result), 0);
    EXPECT_EQ(PPDXControl::Inject("*K", nullptr, 3, "3", result), 0);
    EXPECT_EQ(PPDXControl::Inject("*K", templ, 3, nullptr, result), 0);
    EXPECT_EQ(result, nullptr);
}

}  // namespace
