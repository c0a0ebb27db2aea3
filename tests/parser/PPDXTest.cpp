#include "parser/PPDX.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "CoreFoundation/CFArray.h"
#include "CoreFoundation/CFString.h"
#include "CoreFoundation/CFURL.h"
#include "foundation/PPDXErrorFunctions.h"
#include "foundation/PPDXErrors.h"
#include "parser/PPDFile.h"
#include "parser/PPDFileStream.h"
#include "tests/parser/TempPPD.h"
#include "tests/parser/TestPPDX.h"

namespace {

// Feeds every keyword line of `text` to the header parse, as the walk does.
void ParseHeader(TestPPDX& ppd, const std::string& text) {
    PPDStream file(text.data(), static_cast<long>(text.size()));
    ppd.CurrentStream(&file);
    char line[PPDFileStream::kJoinedLineBufferSize];
    while (ppd.NextLine(file, line)) {
        PPDStream lineStream(line, static_cast<long>(std::strlen(line)));
        char keyword[PPDX::kTokenBufferSize];
        if (PPDX::NextToken(lineStream, keyword, " \t:", true)) {
            EXPECT_EQ(ppd.ParsePSKeywords(lineStream, keyword), nullptr);
        }
    }
    ppd.CurrentStream(nullptr);
}

TEST(PPDXHeader, ReadsTheHeaderKeywordsOfAFile) {
    TestPPDX ppd;
    ParseHeader(ppd, ReadFixture("header.ppd"));
    EXPECT_STREQ(ppd.FormatVersion(), "4.3");
    EXPECT_STREQ(ppd.FileVersion(), "1.2");
    EXPECT_STREQ(ppd.PCFileName(), "HALYX01.PPD");
    EXPECT_STREQ(ppd.LanguageVersion(), "English");
    EXPECT_STREQ(ppd.LanguageEncoding(), "ISOLatin1");
    EXPECT_STREQ(ppd.ModelName(), "Halyx Office 9000");  // the later line replaced the first
}

TEST(PPDXHeader, UnseenOrUnreadableValuesStayUnset) {
    TestPPDX ppd;
    EXPECT_EQ(ppd.PCFileName(), nullptr);
    EXPECT_EQ(ppd.GetStringTextEncoding(), 0u);
    ParseHeader(ppd,
                "*ModelName: \"First\"\n*ModelName: \"\"\n*LanguageVersion:\n"
                "*modelname: \"lower\"\n");
    EXPECT_STREQ(ppd.ModelName(), "First");
    EXPECT_EQ(ppd.LanguageVersion(), nullptr);
    EXPECT_EQ(ppd.PCFileName(), nullptr);
}

TEST(PPDXHeader, UnquotedValueIsUnreadAndTheNextStatementStays) {
    TestPPDX ppd;
    ParseHeader(ppd, "*PCFileName: \"A.PPD\"\n*PCFileName: none\n*FileVersion: 20\n"
                     "*ModelName: \"Kept\"\n*FileVersion: \"2\"\n");
    EXPECT_STREQ(ppd.PCFileName(), "A.PPD");  // the unquoted repeat leaves the value as it was
    EXPECT_STREQ(ppd.ModelName(), "Kept");     // not swallowed by the unquoted line before it
    EXPECT_STREQ(ppd.FileVersion(), "2");
}

TEST(PPDXValidity, DependsOnTheHeaderAndTheErrors) {
    TempPPD file("*PPD-Adobe: \"4.3\"\n");
    TestPPDX ppd(file.Spec(), nullptr);
    ASSERT_NE(ppd.GetErrors(), nullptr);
    EXPECT_TRUE(ppd.IsValidPrinterName());
    EXPECT_FALSE(ppd.IsValidPPD());  // the header was not tested
    ppd.ValidPPD(true);
    EXPECT_TRUE(ppd.IsValidPPD());

    ppd.GetErrors()->Add(new PPDXErrorObj(26, false));
    EXPECT_TRUE(ppd.IsValidPPD());
    ppd.AllErrorsFatal(true);
    EXPECT_FALSE(ppd.IsValidPPD());
    ppd.AllErrorsFatal(false);
    ppd.GetErrors()->Add(new PPDXErrorObj(28, true));
    EXPECT_FALSE(ppd.IsValidPPD());

    TestPPDX bare;  // no error list at all
    bare.ValidPPD(true);
    EXPECT_TRUE(bare.IsValidPPD());
}

TEST(PPDXLifetime, OneRetainAndOneReleaseDestroy) {
    TempPPD file("*PPD-Adobe: \"4.3\"\n");
    TestPPDX* ppd = new TestPPDX(file.Spec(), nullptr);
    EXPECT_EQ(ppd->Retain(), ppd);
    EXPECT_EQ(ppd->Retain(), ppd);
    EXPECT_FALSE(ppd->Release());
    ppd->GetErrors()->Add(new PPDXErrorObj(5, CString("*Foo"), false));
    EXPECT_TRUE(ppd->Release());  // frees the errors and the file too (LeakSanitizer checks)

    TestPPDX* fresh = new TestPPDX();
    EXPECT_TRUE(fresh->Release());
}

// The lines the walk is handed, and the long-line errors it records.
struct Walk {
    std::vector<std::string> lines;
    std::vector<std::string> errorKeywords;
};

Walk WalkFile(const std::string& text, bool chunked, bool allFatal = false) {
    TempPPD file(text);
    TestPPDX ppd(file.Spec(), nullptr);
    ppd.AllErrorsFatal(allFatal);
    PPDFile ppdFile(file.Spec());
    PPDFileStream stream(&ppdFile, chunked);
    ppd.CurrentStream(&stream);
    Walk walk;
    char line[PPDFileStream::kJoinedLineBufferSize];
    while (ppd.NextLine(stream, line)) walk.lines.push_back(line);
    ppd.CurrentStream(nullptr);
    for (PPDXErrorObj* e = ppd.GetErrors()->First(); e != nullptr; e = ppd.GetErrors()->Next()) {
        EXPECT_EQ(e->Code(), PPDX::kLineTooLongError);
        EXPECT_FALSE(e->IsFatal());
        walk.errorKeywords.push_back(e->Keyword() != nullptr ? e->Keyword() : "<none>");
    }
    return walk;
}

TEST(PPDXLongLines, AreSkippedAndReportedAndTheWalkGoesOn) {
    std::string text = "*A: 1\n*Resolution 600dpi/600 dpi: \"" + std::string(300, 'x') + "\"\r\n" +
                       std::string(260, ' ') + "\n*B: 2\n";
    for (bool chunked : {false, true}) {
        Walk walk = WalkFile(text, chunked);
        EXPECT_EQ(walk.lines, (std::vector<std::string>{"*A: 1", "*B: 2"}));
        EXPECT_EQ(walk.errorKeywords, (std::vector<std::string>{"*Resolution", "<none>"}));
    }
    Walk stopped = WalkFile(text, true, true);
    EXPECT_EQ(stopped.lines, std::vector<std::string>{"*A: 1"});
    EXPECT_EQ(stopped.errorKeywords.size(), 1u);
}

TEST(PPDXLongLines, InsideAContinuedValueEndTheValueAndAreReported) {
    std::string text = "\n" + std::string(300, 'y') + "\n*Next: 1\n";
    TempPPD file(text);
    TestPPDX ppd(file.Spec(), nullptr);
    PPDFile ppdFile(file.Spec());
    PPDFileStream stream(&ppdFile, true);
    ppd.CurrentStream(&stream);
    PPDStream line(" \"open", 6);
    char value[PPDX::kMaxPostScriptValue];
    EXPECT_EQ(ppd.GetPostscriptString(line, value, sizeof value), 5u);
    EXPECT_EQ(std::string(value, 5), "open\n");
    char next[PPDFileStream::kJoinedLineBufferSize];
    ASSERT_TRUE(stream.GetLine(next));
    EXPECT_STREQ(next, "*Next: 1");
    EXPECT_EQ(ErrorCount(ppd.GetErrors()), 1u);
    ppd.CurrentStream(nullptr);
}

CFArrayRef Names(const std::vector<const char*>& names) {
    std::vector<CFStringRef> strings;
    for (const char* name : names)
        strings.push_back(CFStringCreateWithCString(nullptr, name, kCFStringEncodingUTF8));
    CFArrayRef array = CFArrayCreate(nullptr, reinterpret_cast<const void**>(strings.data()),
                                     static_cast<CFIndex>(strings.size()), &kCFTypeArrayCallBacks);
    for (CFStringRef s : strings) CFRelease(s);
    return array;
}

bool Accepts(const std::string& text, const std::vector<const char*>& names) {
    TempPPD file(text);
    PPDFile ppdFile(file.Spec());
    CFArrayRef list = Names(names);
    bool accepted = PPDX::ValidateAgainstPCFilename(list, &ppdFile);
    CFRelease(list);
    EXPECT_FALSE(ppdFile.dataForkOpen());
    return accepted;
}

TEST(PCFileNameCheck, LooksAtThe32BytesAfterTheKeyword) {
    std::string head = "*PPD-Adobe: \"4.3\"\n*PCFileName:  \t \"HALYX01.PPD\"\n";
    EXPECT_TRUE(Accepts(head, {"OTHER.PPD", "HALYX01.PPD"}));
    EXPECT_TRUE(Accepts(head, {"HALYX01"}));       // contained in the window is enough
    EXPECT_FALSE(Accepts(head, {"halyx01.ppd"}));  // case-sensitive
    EXPECT_FALSE(Accepts(head, {"*PPD-Adobe"}));   // only the window counts
    EXPECT_FALSE(Accepts(head, {}));
    EXPECT_FALSE(Accepts(head, {""}));

    // Blanks right after the keyword are skipped; the 32 bytes start at the next byte.
    std::string name31(31, 'N');
    std::string name32(32, 'N');
    EXPECT_TRUE(Accepts("*PCFileName \t \"" + name31 + "\"\n", {name31.c_str()}));
    EXPECT_FALSE(Accepts("*PCFileName \t \"" + name32 + "\"\n", {name32.c_str()}));
    std::string name29(29, 'N');
    std::string name30(30, 'N');
    EXPECT_TRUE(Accepts("*PCFileName: \"" + name29 + "\"\n", {name29.c_str()}));
    EXPECT_FALSE(Accepts("*PCFileName: \"" + name30 + "\"\n", {name30.c_str()}));
}

TEST(PCFileNameCheck, RefusesFilesWithoutTheKeywordEarlyEnough) {
    EXPECT_FALSE(Accepts("xPCFileName: \"HALYX01.PPD\"\n", {"HALYX01.PPD"}));
    std::string late = std::string(4090, '%') + "\n*PCFileName: \"HALYX01.PPD\"\n";
    EXPECT_FALSE(Accepts(late, {"HALYX01.PPD"}));
    EXPECT_FALSE(Accepts("", {"HALYX01.PPD"}));
    EXPECT_FALSE(Accepts("*PCFileName", {"*"}));  // nothing after the keyword
    // The name may end right at the end of the bytes read.
    std::string atEnd = std::string(4096 - 20, '%') + "*PCFileName: \"AB";
    EXPECT_TRUE(Accepts(atEnd, {"AB"}));

    FSSpec missing;
    HalyxFSSpecFromPath("/tmp/halyx-no-such-file.ppd", &missing);
    PPDFile absent(missing);
    CFArrayRef list = Names({"HALYX01.PPD"});
    EXPECT_FALSE(PPDX::ValidateAgainstPCFilename(list, &absent));
    EXPECT_FALSE(PPDX::ValidateAgainstPCFilename(list, nullptr));
    CFRelease(list);
}

TEST(PCFileNameCheck, BuildSetsThePrinterNameFlag) {
    TempPPD file("*PPD-Adobe: \"4.3\"\n*PCFileName: \"HALYX01.PPD\"\n");
    CFArrayRef good = Names({"HALYX01.PPD"});
    CFArrayRef bad = Names({"OTHER.PPD"});
    TestPPDX accepted(file.Spec(), good);
    TestPPDX refused(file.Spec(), bad);
    TestPPDX unchecked(file.Spec(), nullptr);
    EXPECT_TRUE(accepted.IsValidPrinterName());
    EXPECT_FALSE(refused.IsValidPrinterName());
    EXPECT_TRUE(unchecked.IsValidPrinterName());
    EXPECT_TRUE(PPDX::ValidateFileName(nullptr, nullptr, nullptr));
    CFRelease(good);
    CFRelease(bad);
}

}  // namespace

namespace {

CFURLRef UrlOf(const std::string& path) {
    CFStringRef text = CFStringCreateWithCString(nullptr, path.c_str(), kCFStringEncodingUTF8);
    CFURLRef url = CFURLCreateWithFileSystemPath(nullptr, text, kCFURLPOSIXPathStyle, false);
    CFRelease(text);
    return url;
}

TEST(PCFileNameCheck, WorksFromAUrl) {
    TempPPD file("*PPD-Adobe: \"4.3\"\n*PCFileName: \"HALYX01.PPD\"\n");
    CFURLRef url = UrlOf(file.Path());
    CFURLRef missing = UrlOf("/tmp/halyx-no-such.ppd");
    CFArrayRef names = Names({"HALYX01.PPD"});
    EXPECT_TRUE(PPDX::ValidateFileName(url, names, nullptr));
    EXPECT_FALSE(PPDX::ValidateFileName(missing, names, nullptr));
    EXPECT_TRUE(PPDX::ValidateFileName(missing, nullptr, nullptr));

    TestPPDX fromURL(url, names);
    EXPECT_TRUE(fromURL.IsValidPrinterName());
    ASSERT_NE(fromURL.GetErrors(), nullptr);
    TestPPDX fromMissing(missing, names);
    EXPECT_FALSE(fromMissing.IsValidPrinterName());
    CFRelease(names);
    CFRelease(missing);
    CFRelease(url);
}

}  // namespace

namespace {

TEST(PPDXLongLines, FixtureLinesAreReportedByKeyword) {
    std::string text = ReadFixture("long-lines.ppd");
    ASSERT_FALSE(text.empty());
    for (bool chunked : {false, true}) {
        Walk walk = WalkFile(text, chunked);
        EXPECT_EQ(walk.errorKeywords,
                  (std::vector<std::string>{"*TooLong", "*JCLBegin", "<none>"}));
        ASSERT_FALSE(walk.lines.empty());
        EXPECT_EQ(walk.lines.back(), "*ModelName: \"Halyx Long Lines\"");
        EXPECT_EQ(walk.lines[5].size(), 254u);  // *Fits, after the header, comments and version
    }
}

}  // namespace

namespace {

// Walks a file read in chunks, reading the header and every multi-line value as the handlers do.
TEST(PPDXChunkedWalk, ValuesContinueAcrossChunkBoundaries) {
    TempPPD file(ReadFixture("chunks.ppd"));
    TestPPDX ppd(file.Spec(), nullptr);
    PPDFile ppdFile(file.Spec());
    PPDFileStream stream(&ppdFile, true);
    ppd.CurrentStream(&stream);
    char line[PPDFileStream::kJoinedLineBufferSize];
    int multi = 0;
    while (ppd.NextLine(stream, line)) {
        PPDStream lineStream(line, static_cast<long>(std::strlen(line)));
        char keyword[PPDX::kTokenBufferSize];
        if (!PPDX::NextToken(lineStream, keyword, " \t:", true)) continue;
        if (std::strstr(line, " Multi/") == nullptr) {
            ppd.ParsePSKeywords(lineStream, keyword);
            continue;
        }
        char value[PPDX::kMaxPostScriptValue];
        unsigned long n = ppd.GetPostscriptString(lineStream, value, sizeof value);
        std::string option = std::string(keyword).substr(1);
        EXPECT_EQ(std::string(value, n), "\n  % first line of " + std::string("option ") +
                                             option.substr(6) + "\n  /" + option + " true def\n")
            << option;
        ++multi;
    }
    ppd.CurrentStream(nullptr);
    EXPECT_GT(multi, 50);
    EXPECT_STREQ(ppd.ModelName(), "Halyx Chunks");
    EXPECT_STREQ(ppd.PCFileName(), "HALYX02.PPD");
    EXPECT_EQ(ErrorCount(ppd.GetErrors()), 0u);
}

}  // namespace

// The header parse makes the PPD's text converter once both language keywords are known, and a
// repeated keyword replaces it (the sanitizer build shows the old one is freed).
TEST(PPDXHeader, LanguageKeywordsMakeAndReplaceTheTextConverter) {
    TestPPDX ppd;
    ParseHeader(ppd, "*LanguageEncoding: ISOLatin1\n");
    EXPECT_EQ(ppd.GetStringTextEncoding(), 0u);  // one keyword alone makes no converter
    ParseHeader(ppd, "*LanguageVersion: English\n");
    EXPECT_EQ(ppd.GetStringTextEncoding(), 0u);  // English text is kept in Mac OS Roman
    ParseHeader(ppd, "*LanguageEncoding: isolatin1\n");
    EXPECT_EQ(ppd.GetStringTextEncoding(), 0xFFFFu);  // an unknown spelling has no encoding
}
