// The job's pieces from a PPD file to the pieces file: parsed model, both entry lists, the job
// ticket's Save, and the pieces read back from the file it wrote.
#include <gtest/gtest.h>
#include <string.h>

#include <string>

#include "Core/ORBJobNoteList.h"
#include "Core/ORBJobTicket.h"
#include "Core/ORBRangeList.h"
#include "Core/PrintSettingsTicket.h"
#include "EntryTestSupport.h"
#include "PPDObjects/Controls/PPDXJobNote.h"
#include "PPDObjects/Controls/PPDXRangeControl.h"
#include "PPDObjects/Controls/PPDXUserAuthLib.h"
#include "PrintCore/HalyxPrintHost.h"
#include "PrintCore/ToolboxRandom.h"
#include "crypto/NoteCipher.h"
#include "testing/FailureInjection.h"

namespace {

using entrytest::ParsedPPD;
using entrytest::Pieces;

const CFStringRef kClient = CFSTR("com.halyx.print.pde.TEST.entries");
const CFStringRef kKey = CFSTR("ORB.PSData.com.halyx.print.pde.TEST.entries");

const char kNotes[] =
    "*%ORBJobNote *Notes1/Notes 1: 40|Alpha|Numeric|Space\n"
    "*%Notes1: \"userdict /ORBNote1 (<Notes1>) put\"\n"
    "*%ORBJobNote *Notes2/Notes 2: 40|Alpha|Numeric\n"
    "*%Notes2: \"userdict /ORBNote2 (<Notes2>) put\"\n"
    "*%ORBJobNote *Other/Other: 40|Alpha|Numeric\n"
    "*%Other: \"userdict /ORBOther (<Other>) put\"\n"
    "*%ORBJobNote *Blank/Blank: 40|Alpha\n"
    "*%Blank: \"userdict /ORBBlank (<Blank>) put\"\n"
    "*%ORBJobNote *QZAccount/Account: 12|Numeric|OnOfSwitch\n"
    "*%QZAccount: \"%%ORBAccount: <QZAccount>\"\n";

const char kAuthNotes[] =
    "*%ORBJobNote *QZUserAuthName/User Name: 32|Alpha|Numeric\n"
    "*%QZUserAuthName: \"userdict /ORBAuthName (<QZUserAuthName>) put\"\n"
    "*%ORBJobNote *QZUserAuthPwd/Password: 32|Alpha|Numeric|Password\n"
    "*%QZUserAuthPwd: \"userdict /ORBAuthPwd (<QZUserAuthPwd>) put\"\n";

const char kRanges[] =
    "*%ORBFlags *QZCopies: Setup\n"
    "*%ORBGroup *QZCopies: RangeRoll\n"
    "*%ORBRange *QZCopies/Copies: (1;999;1;1) \"userdict /#copies <QZCopies> put\"\n"
    "*%ORBFlags *QZScale: Setup\n"
    "*%ORBGroup *QZScale: RangeRoll\n"
    "*%ORBRange *QZScale/Scale: (25;400;1;100) \"userdict /ORBScale <QZScale> put\"\n"
    "*%ORBFlags *QZShift: WithConvUnits\n"
    "*%ORBGroup *QZShift: RangeRoll\n"
    "*%ORBRange *QZShift/Shift: (0;50;1;0) \"userdict /ORBShift <QZShift> put\"\n";

// The control's PostScript as it stands, asked for directly.
std::string FeatureOf(PPDXControl* control) {
    SInt32 size = control->PostScript(nullptr);
    std::string text(static_cast<size_t>(size), '\0');
    if (size > 0) control->PostScript(&text[0]);
    return text;
}

bool IsUpperHex(const std::string& text) {
    return !text.empty() && text.find_first_not_of("0123456789ABCDEF") == std::string::npos;
}

class JobOutputTest : public ::testing::Test {
protected:
    void SetUp() override {
        randSeed = static_cast<SInt32>(static_cast<UInt32>(getpid()) * 104729u + 3u);
        ASSERT_EQ(noErr,
                  HalyxCreatePrintSession(HALYX_SOURCE_DIR "/examples/HalyxSample.ppd", &session));
        settings = new PrintSettingsTicket(session);
        ASSERT_TRUE(settings->Valid());
    }
    void TearDown() override {
        delete settings;
        if (session != nullptr) PMRelease(session);
    }

    // Writes the notes and then the ranges (when given) through a job ticket, saves it and reads
    // the pieces file back.
    Pieces Emit(ORBJobNoteList& notes, ORBRangeList* ranges, SInt32* noteStatus = nullptr) {
        Pieces pieces;
        ORBJobTicket ticket(settings, kKey);
        EXPECT_TRUE(ticket.Valid());
        SInt32 status = notes.outInjectionData(&ticket, session);
        if (noteStatus != nullptr) *noteStatus = status;
        if (ranges != nullptr) {
            EXPECT_EQ(0, ranges->outInjectionData(&ticket, session));
        }
        EXPECT_TRUE(ticket.Save(kClient));
        CFStringRef path = nullptr;
        if (settings->Get(kKey, &path) != noErr) return pieces;
        char buffer[1024];
        EXPECT_TRUE(CFStringGetCString(path, buffer, sizeof buffer, kCFStringEncodingUTF8));
        pieces = entrytest::ReadPiecesFile(buffer);
        unlink(buffer);
        settings->Release(kKey);
        return pieces;
    }
    // The pieces at `site`.
    static Pieces At(const Pieces& pieces, SInt32 site) {
        Pieces found;
        for (const auto& piece : pieces) {
            if (piece.first == site) found.push_back(piece);
        }
        return found;
    }

    PMPrintSession session = nullptr;
    PrintSettingsTicket* settings = nullptr;
};

TEST_F(JobOutputTest, OrientationThenSwitchedOnNotesThenShownRanges) {
    ParsedPPD ppd(std::string(kNotes) + kAuthNotes + kRanges);
    ASSERT_TRUE(ppd.Model()->IsValidPPD());
    ORBJobNoteList notes(ppd.Model(), true);
    ORBRangeList ranges(*ppd.Model());
    ASSERT_TRUE(notes.Valid());
    ASSERT_TRUE(ranges.Valid());
    EXPECT_EQ(1u, ranges.Count());  // the scale and the converted-units range are left out

    notes.find("*Notes1")->Control()->SetNotes("ABC");
    PPDXJobNote* second = notes.find("*Notes2")->Control();
    second->SetNotes("XYZ");
    second->SetNotesOnValue(false);
    notes.find("*Other")->Control()->SetNotes("Plain");
    notes.find("*QZAccount")->Control()->SetNotes("42");  // an on/off switch that starts off
    // No name was captured (no LDAP option): the password writes nothing at all.
    notes.find("*QZUserAuthPwd")->Control()->SetNotes("secret");

    Pieces pieces = Emit(notes, &ranges);
    ASSERT_EQ(5u, pieces.size());
    EXPECT_EQ(Pieces::value_type(504, "%%Orientation: Portrait\n"), pieces[0]);
    EXPECT_EQ(Pieces::value_type(30, "%%ORBCustom1: ABC\n"), pieces[1]);
    EXPECT_EQ(81, pieces[2].first);
    EXPECT_EQ(FeatureOf(notes.find("*Notes1")->Control()), pieces[2].second);
    EXPECT_NE(std::string::npos, pieces[2].second.find("ABC"));
    EXPECT_EQ(81, pieces[3].first);  // a non-special note: its feature code only
    EXPECT_NE(std::string::npos, pieces[3].second.find("Plain"));
    EXPECT_EQ(20, pieces[4].first);
    EXPECT_NE(std::string::npos, pieces[4].second.find("#copies"));
    for (const auto& piece : pieces) {
        EXPECT_EQ(std::string::npos, piece.second.find("XYZ"));
        EXPECT_EQ(std::string::npos, piece.second.find("ORBAccount"));
        EXPECT_EQ(std::string::npos, piece.second.find("secret"));
        EXPECT_EQ(std::string::npos, piece.second.find("ORBScale"));
        EXPECT_EQ(std::string::npos, piece.second.find("ORBShift"));
    }

    // Switched on, the account note follows; switched back off, nothing of it appears.
    notes.find("*QZAccount")->Control()->SetNotesOnValue(true);
    Pieces withAccount = Emit(notes, nullptr);
    ASSERT_EQ(5u, withAccount.size());
    EXPECT_EQ(81, withAccount[4].first);
    EXPECT_NE(std::string::npos, withAccount[4].second.find("ORBAccount: 42"));
}

TEST_F(JobOutputTest, TwoUpAndSixUpTurnTheOrientation) {
    ParsedPPD ppd(kNotes);
    ORBJobNoteList notes(ppd.Model(), true);
    struct Case {
        PMOrientation orientation;
        SInt32 rows, columns;
        const char* written;
    } cases[] = {
        {kPMPortrait, 1, 1, "Portrait"},         {kPMLandscape, 1, 1, "Landscape"},
        {kPMReversePortrait, 1, 1, "Portrait"},  {kPMReverseLandscape, 1, 1, "Landscape"},
        {kPMPortrait, 2, 1, "Landscape"},        {kPMLandscape, 1, 2, "Portrait"},
        {kPMReversePortrait, 3, 2, "Landscape"}, {kPMReverseLandscape, 2, 3, "Portrait"},
        {kPMPortrait, 2, 2, "Portrait"},         {kPMLandscape, 4, 4, "Landscape"},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(noErr, HalyxSessionSetOrientation(session, c.orientation));
        ASSERT_EQ(noErr, HalyxSessionSetLayout(session, c.rows, c.columns));
        Pieces pieces = Emit(notes, nullptr);
        ASSERT_FALSE(pieces.empty());
        EXPECT_EQ(Pieces::value_type(504, std::string("%%Orientation: ") + c.written + "\n"),
                  pieces[0])
            << c.orientation << " " << c.rows << "x" << c.columns;
    }
}

// The tag's text: the Base64 of the outer record for a name and password of these lengths.
size_t TagLength(size_t name, size_t password) {
    size_t l1 = (name + password + 60) / 16 * 16 + 16;
    size_t l2 = l1 + 48;
    return 4 * ((l2 + 2) / 3);
}

// Unpacks the tag in `line` ("%%ORBUATag: <text>\n") and checks what it carries.
void ExpectTag(const std::string& line, const std::string& name, const std::string& password) {
    const std::string prefix = "%%ORBUATag: ";
    ASSERT_EQ(0u, line.rfind(prefix, 0)) << line;
    ASSERT_EQ('\n', line.back());
    std::string tag = line.substr(prefix.size(), line.size() - prefix.size() - 1);
    EXPECT_EQ(TagLength(name.size(), password.size()), tag.size());
    char* user = nullptr;
    char* pass = nullptr;
    char* domain = nullptr;
    UAL_DomainType type = 0;
    UInt8 guid[kUAL_GUIDSize];
    ASSERT_EQ(0, UAL_UnpackAndDecrypt(tag.c_str(), &user, &pass, &domain, &type, guid));
    EXPECT_EQ(name, user);
    EXPECT_EQ(password, pass);
    EXPECT_STREQ("", domain);
    EXPECT_EQ(2, type);
    free(user);
    free(pass);
    free(domain);
}

TEST_F(JobOutputTest, CapturedNameAndPasswordTravelAsOneTag) {
    {
        ParsedPPD ppd(std::string("*%ORBSpecialOption *ORBAuthenticateWithLDAP: True\n") +
                      kAuthNotes);
        ORBJobNoteList notes(ppd.Model(), true);
        ASSERT_TRUE(notes.Valid());
        notes.find("*QZUserAuthName")->Control()->SetNotes("M\x9Fller");  // Mac OS Roman
        notes.find("*QZUserAuthPwd")->Control()->SetNotes("secret");
        Pieces pieces = Emit(notes, nullptr);
        // Without "*CopierUserAuth" neither entry sends its feature code.
        ASSERT_EQ(2u, pieces.size());
        EXPECT_EQ(30, pieces[1].first);
        ExpectTag(pieces[1].second, "M\\303\\274ller", "secret");

        // An empty password still sends the tag.
        notes.find("*QZUserAuthPwd")->Control()->SetNotes("");
        Pieces empty = Emit(notes, nullptr);
        ASSERT_EQ(2u, empty.size());
        ExpectTag(empty[1].second, "M\\303\\274ller", "");

        // A name that cannot be converted is not captured: no tag, and the failure is reported.
        HalyxFailureScope scope;
        HalyxInjectFailures(kHalyxFailConversion, 0, -1);
        SInt32 status = noErr;
        Pieces unconverted = Emit(notes, nullptr, &status);
        EXPECT_EQ(1u, unconverted.size());
        EXPECT_EQ(kTextMalformedInputErr, status);
    }
    {
        ParsedPPD ppd(std::string("*%ORBSpecialOption *ORBAuthenticateWithLDAP: True\n"
                                  "*%ORBSpecialOption *CopierUserAuth: True\n") +
                      kAuthNotes);
        ORBJobNoteList notes(ppd.Model(), true);
        std::string name = "a/:b/:c//d";
        notes.find("*QZUserAuthName")->Control()->SetNotes(name.c_str());
        notes.find("*QZUserAuthPwd")->Control()->SetNotes("pw");
        Pieces pieces = Emit(notes, nullptr);
        ASSERT_EQ(4u, pieces.size());
        EXPECT_EQ(81, pieces[1].first);
        EXPECT_NE(std::string::npos, pieces[1].second.find(name));
        EXPECT_EQ(30, pieces[2].first);
        ExpectTag(pieces[2].second, "a//:b//:c//d", "pw");
        EXPECT_EQ(81, pieces[3].first);
        EXPECT_NE(std::string::npos, pieces[3].second.find("(pw)"));
    }
}

TEST_F(JobOutputTest, EncryptedNotesCarryHexInLineAndFeatureAndKeepThePlainValue) {
    ParsedPPD ppd(
        "*%ORBSpecialOption *UseSpecialKey: 2\n"
        "*%ORBJobNote *Resume/Personal Password: 8|Numeric|Password|Encrypt\n"
        "*%Resume: \"userdict /ORBPers (<Resume>) put\"\n"
        "*%ORBJobNote *Secret/Secret: 20|Alpha|Encrypt\n"
        "*%Secret: \"userdict /ORBSecret (<Secret>) put\"\n");
    ORBJobNoteList notes(ppd.Model(), true);
    ASSERT_TRUE(notes.Valid());
    EXPECT_EQ(1, notes.countProtectedFields());
    notes.find("*Resume")->Control()->SetNotes("12345678");
    notes.find("*Secret")->Control()->SetNotes("hush");

    char second[256];
    char first[256];
    halyx::crypto::EncryptNoteHex("12345678", 2, second);
    halyx::crypto::EncryptNoteHex("12345678", 1, first);
    ASSERT_TRUE(IsUpperHex(second));
    ASSERT_STRNE(first, second);
    char secret[256];
    halyx::crypto::EncryptNoteHex("hush", 2, secret);

    Pieces pieces = Emit(notes, nullptr);
    ASSERT_EQ(4u, pieces.size());
    EXPECT_EQ(Pieces::value_type(30, std::string("%%PersPassword: ") + second + "\n"), pieces[1]);
    EXPECT_EQ(81, pieces[2].first);
    EXPECT_NE(std::string::npos, pieces[2].second.find(second));
    EXPECT_EQ(std::string::npos, pieces[2].second.find("12345678"));
    EXPECT_EQ(81, pieces[3].first);
    EXPECT_NE(std::string::npos, pieces[3].second.find(secret));
    EXPECT_EQ(std::string::npos, pieces[3].second.find("hush"));

    char value[256];
    EXPECT_EQ(9, notes.find("*Resume")->getUserData(value));
    EXPECT_STREQ("12345678", value);
    EXPECT_STREQ("hush", notes.find("*Secret")->Control()->GetNotes());
}

TEST_F(JobOutputTest, ValuesBeyondEveryBufferArriveWhole) {
    // A range template longer than the local buffer, over two lines of the file.
    std::string longRange = std::string(200, 'r') + "\n" + std::string(200, 's');
    ParsedPPD ppd(std::string("*%ORBSpecialOption *ORBAuthenticateWithLDAP: True\n") + kNotes +
                  kAuthNotes +
                  "*%ORBFlags *QZWide: Setup\n*%ORBGroup *QZWide: RangeRoll\n*%ORBRange "
                  "*QZWide/Wide: (0;9;1;5) \"" +
                  longRange + " <QZWide> put\"\n");
    ORBJobNoteList notes(ppd.Model(), true);
    ORBRangeList ranges(*ppd.Model());
    std::string field(255, 'f');
    std::string line(5200, 'l');
    std::string feature(6000, 'x');
    std::string name(1500, 'n');
    name.replace(700, 2, "/:");
    notes.find("*Notes1")->Control()->SetNotes(field.c_str());
    notes.find("*Notes2")->Control()->SetNotes(line.c_str());
    notes.find("*Other")->Control()->SetNotes(feature.c_str());
    notes.find("*QZUserAuthName")->Control()->SetNotes(name.c_str());
    notes.find("*QZUserAuthPwd")->Control()->SetNotes("pw");

    SInt32 status = -1;
    Pieces pieces = Emit(notes, &ranges, &status);
    EXPECT_EQ(0, status);
    Pieces comments = At(pieces, 30);
    ASSERT_EQ(3u, comments.size());
    EXPECT_EQ("%%ORBCustom1: " + field + "\n", comments[0].second);
    EXPECT_EQ("%%ORBCustom2: " + line + "\n", comments[1].second);
    // The name is packed with its first 255 bytes; the capture itself keeps the whole name.
    std::string doubled = name;
    doubled.replace(700, 2, "//:");
    ExpectTag(comments[2].second, doubled.substr(0, 255), "pw");
    Pieces features = At(pieces, 81);
    ASSERT_EQ(3u, features.size());
    EXPECT_NE(std::string::npos, features[2].second.find(feature));
    Pieces shownRanges = At(pieces, 20);
    ASSERT_EQ(1u, shownRanges.size());
    EXPECT_EQ(FeatureOf(static_cast<ORBRange*>(ranges.Head())->Control()), shownRanges[0].second);
    EXPECT_NE(std::string::npos, shownRanges[0].second.find(longRange + " 5 put"));
}

TEST_F(JobOutputTest, NullOrInvalidTicketWritesNothing) {
    ParsedPPD ppd(kNotes);
    ORBJobNoteList notes(ppd.Model(), true);
    EXPECT_EQ(paramErr, notes.outInjectionData(nullptr, session));
}

}  // namespace
