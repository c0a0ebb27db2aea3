// The JSON form of a model: kinds and fields per control, null for what is absent, UTF-8 out,
// every member listed whatever the caller's display filter, and the same text from run to run.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "PPDObjects/Controls/PPDXBooleanControl.h"
#include "PPDObjects/Controls/PPDXFloatRangeControl.h"
#include "PPDObjects/ModelOptions.h"
#include "foundation/CString.h"
#include "foundation/PointerList.h"
#include "tests/parser/TempPPD.h"
#include "tests/tools/ExampleModel.h"
#include "tools/ModelOutline.h"
#include "tools/PPDText.h"

using halyx::tools::ControlToJson;
using halyx::tools::Json;
using halyx::tools::JsonText;
using halyx::tools::ModelToJson;
using halyx::tools::PPDLoader;

namespace {

const char kHeader[] =
    "*PPD-Adobe: \"4.3\"\n"
    "*FormatVersion: \"4.3\"\n"
    "*LanguageVersion: English\n"
    "*LanguageEncoding: ISOLatin1\n"
    "*PCFileName: \"HALYX01.PPD\"\n";

// Parses `text` with the tool's loader; null JSON when it is refused.
Json ParseText(const std::string& text, PPDLoader& loader) {
    TempPPD file(text);
    std::string message;
    if (!file.Ok() || !loader.Load(file.Path().c_str(), &message)) return nullptr;
    return ModelToJson(*loader.Model(), file.Path());
}

unsigned char* Block(const char* text) {
    const size_t n = std::strlen(text);
    unsigned char* block = static_cast<unsigned char*>(std::malloc(n));
    std::memcpy(block, text, n);
    return block;
}

}  // namespace

TEST(ModelJsonTest, EveryFlagWordOfAJobNoteComesBackAlone) {
    static const char* const kWords[] = {
        "Alpha",         "Numeric", "Decimal",      "Required",   "Remembered", "Password",
        "AlwaysDisplay", "Resume",  "Member",       "OnOfSwitch", "LengthReq",  "SecPrint",
        "Command",       "Space",   "Negative",     "Encrypt",    "MultiSpace", "MultiComma",
        "LCD",           "Hyphen",  "TwoCharField", "NoComma",    "MinLength"};
    std::string text = kHeader;
    int n = 0;
    for (const char* word : kWords)
        text += "*%ORBJobNote *Note" + std::to_string(n++) + "/Note: 10|" + word + "\n";
    PPDLoader loader;
    const Json m = ParseText(text, loader);
    ASSERT_FALSE(m.is_null());
    n = 0;
    for (const char* word : kWords) {
        const Json note = ControlOf(m, "*Note" + std::to_string(n++));
        ASSERT_FALSE(note.is_null()) << word;
        EXPECT_EQ(note["flag_words"], Json::array({word}));
        EXPECT_EQ(note["flags"].get<unsigned>(), 1u << (n - 1)) << word;
    }
}

TEST(ModelJsonTest, HandBuiltControlsKeepTheirKindsAndCodes) {
    PointerList flags;
    flags.PushBack(new CString("Setup"));
    CFStringRef title = CFStringCreateWithCString(nullptr, "Toner Saving", kCFStringEncodingUTF8);
    const char* code = "<</Eco true>>setpagedevice\n";
    PPDXBooleanControl boolean("*Eco", title, flags, true, new CString("On"), Block(code),
                               static_cast<long>(std::strlen(code)), new CString("Off"), nullptr, 0,
                               true);
    CFRelease(title);
    const Json b = ControlToJson(boolean, kCFStringEncodingISOLatin1);
    EXPECT_EQ(b["kind"], "boolean");
    EXPECT_EQ(b["name"], "Toner Saving");
    EXPECT_EQ(b["control_flags"], Json::array({"Setup"}));
    EXPECT_EQ(b["true_code"], "<</Eco true>>setpagedevice\n");
    EXPECT_TRUE(b["false_code"].is_null());
    EXPECT_TRUE(b["value"].get<bool>());
    EXPECT_TRUE(b["parent"].is_null());
    // The PostScript field is the control's own output, which names its current state.
    EXPECT_NE(b["postscript"].get<std::string>().find("*Eco True"), std::string::npos);

    PointerList none;
    PPDXFloatRangeControl floats("*Gamma", nullptr, none, nullptr, 0, 1, 3, 1, 2, true);
    const Json f = ControlToJson(floats, kCFStringEncodingISOLatin1);
    EXPECT_EQ(f["kind"], "float_range");
    EXPECT_TRUE(f["name"].is_null());
    EXPECT_TRUE(f["template"].is_null());
    EXPECT_DOUBLE_EQ(f["max"].get<double>(), 3.0);
    EXPECT_DOUBLE_EQ(f["value"].get<double>(), 2.0);
}

TEST(ModelJsonTest, RefusedPrinterNameGivesAnEmptyModelWithNulls) {
    PPDLoader loader;
    loader.Names({"OTHER.PPD"});
    const Json m = ParseText(std::string(kHeader) + "*%ORBPropPage P/Page: True\n", loader);
    ASSERT_FALSE(m.is_null());
    EXPECT_FALSE(m["valid_printer_name"].get<bool>());
    EXPECT_FALSE(m["valid_ppd"].get<bool>());
    for (const char* list :
         {"errors", "pages", "groups", "controls", "shortcuts", "constraints", "requires"}) {
        EXPECT_TRUE(m[list].is_array()) << list;
        EXPECT_TRUE(m[list].empty()) << list;
    }
    for (const auto& value : m["header"]) EXPECT_TRUE(value.is_null());
}

TEST(ModelJsonTest, AcceptedNameAndWrongVersion) {
    PPDLoader accepted;
    accepted.Names({"NOPE.PPD", "HALYX01.PPD"});
    const Json ok = ParseText(std::string(kHeader) + "*%ORBPropPage P/Page: True\n", accepted);
    ASSERT_FALSE(ok.is_null());
    EXPECT_TRUE(ok["valid_printer_name"].get<bool>());
    EXPECT_EQ(ok["pages"].size(), 1u);

    PPDLoader old;
    const Json m = ParseText("*PPD-Adobe: \"4.2\"\n*%ORBPropPage P/Page: True\n", old);
    ASSERT_FALSE(m.is_null());
    EXPECT_FALSE(m["valid_ppd"].get<bool>());
    ASSERT_FALSE(m["errors"].empty());
    EXPECT_EQ(m["errors"][0]["code"], 28);
    EXPECT_TRUE(m["errors"][0]["fatal"].get<bool>());
    EXPECT_TRUE(m["controls"].empty());
}

TEST(ModelJsonTest, WithEveryErrorFatalTheWalkStopsAtTheFirst) {
    // Two flags lines, each followed by a line that is no block: two returned errors.
    const std::string text = std::string(kHeader) +
                             "*%ORBFlags *QZA: Setup\n*NickName: \"A\"\n"
                             "*%ORBFlags *QZB: Setup\n*NickName: \"B\"\n";
    PPDLoader lenient;
    const Json all = ParseText(text, lenient);
    ASSERT_FALSE(all.is_null());
    EXPECT_TRUE(all["valid_ppd"].get<bool>());
    PPDLoader strict;
    strict.AllErrorsFatal(true);
    const Json first = ParseText(text, strict);
    ASSERT_FALSE(first.is_null());
    EXPECT_FALSE(first["valid_ppd"].get<bool>());
    // Lenient: both errors and whatever the empty model adds; strict: only the first of them.
    ASSERT_GE(all["errors"].size(), 2u);
    ASSERT_EQ(first["errors"].size(), all["errors"].size() - 1);
    EXPECT_EQ(first["errors"][0], all["errors"][0]);
    EXPECT_EQ(all["errors"][1]["keyword"], "*QZB");
    for (const auto& e : first["errors"]) EXPECT_NE(e["keyword"], "*QZB");
}

TEST(ModelJsonTest, ListsHiddenMembersWhateverTheCallersFilterAndRestoresIt) {
    PPDLoader loader;
    std::string message;
    const std::string path = ExamplePath("HalyxWorkgroup.ppd");
    ASSERT_TRUE(loader.Load(path.c_str(), &message)) << message;
    DisplayOptionsScope normal(DISPLAY_NORMAL);
    const Json m = ModelToJson(*loader.Model(), path);
    EXPECT_EQ(ModelOptions::Display(), DISPLAY_NORMAL);
    // Hidden and orphan members are there: the hidden roll-down, the orphan popup, the hidden
    // special option.
    EXPECT_FALSE(GroupOf(m, "EngineerRoll").is_null());
    EXPECT_TRUE(ControlOf(m, "*QZTray")["parent"].is_null());
    EXPECT_FALSE(ControlOf(m, "*UseSpecialKey")["visible"].get<bool>());
}

TEST(ModelJsonTest, SameTextFromRunToRun) {
    PPDLoader first;
    PPDLoader second;
    std::string message;
    const std::string path = ExamplePath("HalyxSample.ppd");
    ASSERT_TRUE(first.Load(path.c_str(), &message)) << message;
    ASSERT_TRUE(second.Load(path.c_str(), &message)) << message;
    const std::string once = JsonText(ModelToJson(*first.Model(), path));
    EXPECT_EQ(once, JsonText(ModelToJson(*first.Model(), path)));
    EXPECT_EQ(once, JsonText(ModelToJson(*second.Model(), path)));
}

TEST(ModelJsonTest, TextOutIsAlwaysUtf8) {
    using namespace halyx::tools;
    EXPECT_EQ(EncodingOfPPD(nullptr), kCFStringEncodingMacRoman);
    EXPECT_EQ(EncodingOfPPD("Klingon"), kCFStringEncodingMacRoman);
    EXPECT_EQ(EncodingOfPPD("WindowsANSI"), kCFStringEncodingWindowsLatin1);
    // A byte that is no UTF-8 in a file declaring UTF-8 is read as Mac OS Roman instead.
    const char lone[] = "caf\xE9";
    EXPECT_EQ(Utf8FromBytes(lone, 4, kCFStringEncodingUTF8),
              Utf8FromBytes(lone, 4, kCFStringEncodingMacRoman));
    EXPECT_EQ(Utf8FromBytes(lone, 4, kCFStringEncodingISOLatin1), "caf\xC3\xA9");
    // Bytes after a NUL are kept.
    EXPECT_EQ(Utf8FromBytes("a\0b", 3, kCFStringEncodingISOLatin1), std::string("a\0b", 3));
    // A string that is not UTF-8 still gives valid JSON text.
    const std::string text = JsonText(Json("\xFF"));
    EXPECT_NE(text.find("\xEF\xBF\xBD"), std::string::npos);
}

TEST(ModelJsonTest, OutlineNamesEveryControlAndError) {
    const Json m = ExampleJson("HalyxWorkgroup.ppd");
    ASSERT_FALSE(m.is_null());
    const std::string outline = halyx::tools::ModelOutline(m);
    for (const auto& c : m["controls"])
        EXPECT_NE(outline.find("  " + c["keyword"].get<std::string>() + " "), std::string::npos)
            << c["keyword"];
    EXPECT_NE(outline.find("19 *QZNoSuchOption"), std::string::npos);
    EXPECT_NE(outline.find("*QZStaple Dual requires *QZAccessories Duplexer"), std::string::npos);
}

TEST(PPDLoaderTest, RefusesWhatIsNoTextFile) {
    PPDLoader loader;
    std::string message;
    EXPECT_FALSE(loader.Load("/nonexistent/halyx.ppd", &message));
    EXPECT_NE(message.find("/nonexistent/halyx.ppd"), std::string::npos);
    EXPECT_FALSE(loader.Load("/tmp", &message));
    EXPECT_NE(message.find("folder"), std::string::npos);
    {
        TempPPD binary(std::string("*PPD-Adobe: \"4.3\"\n\0\0\x01\x02", 23));
        EXPECT_FALSE(loader.Load(binary.Path().c_str(), &message));
        EXPECT_NE(message.find("binary"), std::string::npos);
    }
    EXPECT_EQ(loader.Model(), nullptr);
    // Escapes of job-control strings are ordinary text.
    TempPPD jcl(std::string(kHeader) + "*JCLBegin: \"\x1B%-12345X@PJL JOB\"\n");
    EXPECT_TRUE(loader.Load(jcl.Path().c_str(), &message)) << message;
    EXPECT_NE(loader.Model(), nullptr);
}

TEST(PPDLoaderTest, SplitsNameLists) {
    EXPECT_EQ(PPDLoader::SplitNames("A.PPD,,B.PPD,"), (std::vector<std::string>{"A.PPD", "B.PPD"}));
    EXPECT_EQ(PPDLoader::SplitNames(" A.PPD, B.PPD ,\tC D.PPD, ,"),
              (std::vector<std::string>{"A.PPD", "B.PPD", "C D.PPD"}));
    EXPECT_TRUE(PPDLoader::SplitNames("").empty());
    EXPECT_TRUE(PPDLoader::SplitNames(nullptr).empty());
}

// The text written member by member is the text of the whole object, empty collections, invalid
// UTF-8, constraints and requires included.
TEST(ModelJsonTest, WrittenTextIsTheObjectsText) {
    TempPPD empty("*PPD-Adobe: \"4.3\"\n");
    TempPPD constrained(std::string(kHeader) +
                        "*%ORBJobNote *Note/Caf\xE9: 10|Alpha\n"
                        "*UIConstraints: *A B *C\n*%ORBUIRequires: *D E *F G\n");
    const std::string paths[] = {empty.Path(), constrained.Path(), ExamplePath("HalyxSample.ppd"),
                                 ExamplePath("HalyxWorkgroup.ppd")};
    for (const std::string& path : paths) {
        PPDLoader loader;
        std::string message;
        ASSERT_TRUE(loader.Load(path.c_str(), &message)) << message;
        char* written = nullptr;
        size_t size = 0;
        std::FILE* out = open_memstream(&written, &size);
        ASSERT_NE(out, nullptr);
        EXPECT_TRUE(halyx::tools::WriteModelJson(*loader.Model(), path, out));
        std::fclose(out);
        EXPECT_EQ(std::string(written, size), JsonText(ModelToJson(*loader.Model(), path)));
        std::free(written);
    }
}
