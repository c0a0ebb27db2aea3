// The entry lists and their entries: list links and positions, building from a model, the
// entries' titles, values and checks, note encryption and its key, and the range rules.
#include <gtest/gtest.h>
#include <string.h>

#include <string>

#include "Core/ORBJobNoteList.h"
#include "Core/ORBRangeList.h"
#include "EntryTestSupport.h"
#include "PPDObjects/Controls/PPDXJobNote.h"
#include "PPDObjects/Controls/PPDXRangeControl.h"
#include "crypto/NoteCipher.h"

namespace {

using entrytest::ParsedPPD;

// An element that counts its deletions.
class Counted : public LinkElement_Dual {
public:
    explicit Counted(int* deleted) : mDeleted(deleted) {}
    ~Counted() override { ++*mDeleted; }

private:
    int* mDeleted;
};

TEST(PtrLinkListTest, LinksPositionsAndOwnership) {
    int deleted = 0;
    {
        PtrLinkList empty;
        EXPECT_TRUE(empty.Valid());
        EXPECT_EQ(nullptr, empty.index(0));
        EXPECT_FALSE(empty.add(nullptr));
        EXPECT_EQ(0u, empty.Count());
    }
    {
        Counted* a = new Counted(&deleted);
        PtrLinkList list(a);
        EXPECT_TRUE(list.Valid());
        Counted* b = new Counted(&deleted);
        Counted* c = new Counted(&deleted);
        ASSERT_TRUE(list.add(b));
        ASSERT_TRUE(list.add(c));
        EXPECT_EQ(3u, list.Count());
        EXPECT_EQ(a, list.index(0));
        EXPECT_EQ(c, list.index(2));
        EXPECT_EQ(nullptr, list.index(3));
        EXPECT_EQ(nullptr, a->prev);
        EXPECT_EQ(b, c->prev);
        EXPECT_EQ(nullptr, c->next);

        LinkElementDualIterator at(list);
        EXPECT_EQ(a, (at++).Current());
        EXPECT_EQ(b, at.Current());
        EXPECT_EQ(c, (++at).Current());
        EXPECT_EQ(c, (at--).Current());
        EXPECT_EQ(a, (--at).Current());
        --at;  // off the head: null, and it stays null either way
        EXPECT_EQ(nullptr, at.Current());
        ++at;
        EXPECT_EQ(nullptr, at.Current());
        EXPECT_TRUE(at == LinkElementDualIterator());
        EXPECT_TRUE(LinkElementDualIterator(list) != at);
    }
    EXPECT_EQ(3, deleted);
}

const char kNotes[] =
    "*%ORBJobNote *Notes1/Notes 1: 40|Alpha|Numeric\n"
    "*%ORBJobNote *Field/Field: 20|Numeric|TwoCharField|Password\n"
    "*%ORBJobNote *QZUserAuthPwd/Password: 32|Alpha|Password\n"
    "*%ORBJobNote *QZAccount/Account: 12|Numeric|OnOfSwitch\n";

TEST(ORBJobNoteListTest, BuildsOneEntryPerNoteAndFindsThemByExactKeyword) {
    ParsedPPD ppd(kNotes);
    ORBJobNoteList notes(ppd.Model(), true);
    ASSERT_TRUE(notes.Valid());
    EXPECT_EQ(4u, notes.Count());
    EXPECT_EQ(2, notes.countProtectedFields());
    EXPECT_EQ(nullptr, notes.find("*notes1"));
    EXPECT_EQ(nullptr, notes.find("*Nothing"));
    EXPECT_EQ(nullptr, notes.find(nullptr));
    ORBJobNote* first = notes.find("*Notes1");
    ASSERT_NE(nullptr, first);
    EXPECT_EQ(notes.Head(), first);

    // A fresh model switches on every note but the on/off switch.
    EXPECT_TRUE(first->NotesOn());
    EXPECT_TRUE(first->Control()->GetNotesOnValue());
    EXPECT_FALSE(notes.find("*QZAccount")->NotesOn());
    // A model that was not freshly parsed keeps each control's own state.
    first->Control()->SetNotesOnValue(false);
    ORBJobNoteList kept(ppd.Model(), false);
    EXPECT_FALSE(kept.find("*Notes1")->NotesOn());

    SInt16 index = 0;
    EXPECT_TRUE(first->specialKeyword(index));
    EXPECT_EQ(0, index);
    EXPECT_TRUE(notes.find("*QZUserAuthPwd")->specialKeyword(index));
    EXPECT_EQ(7, index);
    EXPECT_FALSE(notes.find("*Field")->specialKeyword(index));
    EXPECT_EQ(-1, index);

    ParsedPPD none("*%ORBSpecialOption *UseSpecialKey: 2\n");
    ORBJobNoteList empty(none.Model(), true);
    EXPECT_FALSE(empty.Valid());
    EXPECT_EQ(0u, empty.Count());
    EXPECT_EQ(0, empty.countProtectedFields());
    ORBJobNoteList nothing(nullptr, true);
    EXPECT_FALSE(nothing.Valid());
}

TEST(ORBJobNoteTest, TitleValueAndTwoCharacterFields) {
    ParsedPPD ppd(kNotes);
    ORBJobNoteList notes(ppd.Model(), true);
    ORBJobNote* first = notes.find("*Notes1");
    char text[256];
    EXPECT_EQ(8, first->getTitle(nullptr));
    EXPECT_EQ(8, first->getTitle(text));
    EXPECT_STREQ("Notes 1", text);

    first->Control()->SetNotes("");
    EXPECT_EQ(0, first->getUserData(text));
    EXPECT_STREQ("", text);
    first->Control()->SetNotes("abc");
    EXPECT_EQ(4, first->getUserData(nullptr));
    // A value longer than the caller's 256 bytes is cut, never written past them.
    std::string longValue(400, 'v');
    first->Control()->SetNotes(longValue.c_str());
    memset(text, 'x', sizeof text);
    EXPECT_EQ(256, first->getUserData(text));
    EXPECT_EQ(255u, strlen(text));

    ORBJobNote* field = notes.find("*Field");
    EXPECT_TRUE(field->checkRangeValues("12/05"));
    EXPECT_TRUE(field->checkRangeValues(""));
    EXPECT_FALSE(field->checkRangeValues("123"));
    EXPECT_FALSE(field->checkRangeValues("1/234"));
    EXPECT_TRUE(first->checkRangeValues("12345"));  // not a two-character field
}

// Hex digits of `plain` under note key `key` (1 to 3), done by the cipher directly.
std::string Cipher(const std::string& plain, int key) {
    char out[256];
    halyx::crypto::EncryptNoteHex(plain.c_str(), key, out);
    return out;
}

TEST(ORBJobNoteTest, EncryptNoteLengthsAndKeyChoice) {
    ParsedPPD plain(kNotes);
    ORBJobNoteList notes(plain.Model(), true);
    ORBJobNote* entry = notes.find("*Notes1");
    char out[256];
    const struct {
        size_t length;
        size_t digits;
    } lengths[] = {{0, 16}, {7, 16}, {8, 32}, {119, 240}, {120, 240}, {300, 240}};
    for (const auto& c : lengths) {
        std::string value(c.length, 'p');
        memset(out, 'x', sizeof out);
        EXPECT_TRUE(entry->encryptNote(value.c_str(), out));
        EXPECT_EQ(c.digits, strlen(out)) << c.length;
        EXPECT_EQ(std::string::npos, std::string(out).find_first_not_of("0123456789ABCDEF"));
    }
    // A longer value enciphers only its first 119 bytes.
    std::string head(119, 'h');
    entry->encryptNote((head + "tail").c_str(), out);
    EXPECT_EQ(Cipher(head, 1), out);
    // The last block of a 7-byte note holds one padding byte: the first key under no option.
    entry->encryptNote("1234567", out);
    EXPECT_EQ(Cipher("1234567", 1), out);

    const struct {
        const char* option;
        int key;
    } keys[] = {{"2", 2}, {"3", 3}, {"1", 1}, {"4", 1}, {"22", 1}};
    for (const auto& c : keys) {
        ParsedPPD ppd(std::string("*%ORBSpecialOption *UseSpecialKey: ") + c.option + "\n" +
                      kNotes);
        ORBJobNoteList list(ppd.Model(), true);
        list.find("*Notes1")->encryptNote("secret", out);
        EXPECT_EQ(Cipher("secret", c.key), out) << c.option;
    }
    EXPECT_NE(Cipher("secret", 1), Cipher("secret", 2));
    // Without a current model the first key is used.
    ORBPPD* saved = gORBPPD;
    gORBPPD = nullptr;
    entry->encryptNote("secret", out);
    EXPECT_EQ(Cipher("secret", 1), out);
    gORBPPD = saved;
}

const char kRanges[] =
    "*%ORBFlags *QZCopies: Setup\n*%ORBGroup *QZCopies: Roll\n"
    "*%ORBRange *QZCopies/Copies: (0;100;5;10) \"/#copies <QZCopies> def\"\n"
    "*%ORBFlags *QZScale: Setup\n*%ORBGroup *QZScale: Roll\n"
    "*%ORBRange *QZScale/Scale: (25;400;1;100) \"/s <QZScale> def\"\n"
    "*%ORBFlags *QZBookMargin: Setup\n*%ORBGroup *QZBookMargin: Roll\n"
    "*%ORBRange *QZBookMargin/Margin: (0;9;1;0) \"/m <QZBookMargin> def\"\n"
    "*%ORBFlags *QZUnits: Setup|WithConvUnits\n*%ORBGroup *QZUnits: Roll\n"
    "*%ORBRange *QZUnits/Units: (0;9;1;0) \"/u <QZUnits> def\"\n"
    "*%ORBFlags *QZShift: MacIS\n*%ORBGroup *QZShift: Roll\n"
    "*%ORBRange *QZShift/Shift: (0;9;1;0) \"/h <QZShift> def\"\n"
    "*%ORBFlags *QZOffset: Setup\n*%ORBGroup *QZOffset: Roll\n"
    "*%ORBRange *QZOffset/Offset: (-50;50;10;0) \"/o <QZOffset> def\"\n"
    "*%ORBFlags *QZAny: Setup\n*%ORBGroup *QZAny: Roll\n"
    "*%ORBRange *QZAny/Any: (-3;3;0;0) \"/a <QZAny> def\"\n";

TEST(ORBRangeListTest, LeavesOutTheRangesThePaneDoesNotEdit) {
    ParsedPPD ppd(kRanges);
    ORBRangeList ranges(*ppd.Model());
    ASSERT_TRUE(ranges.Valid());
    ASSERT_EQ(3u, ranges.Count());
    const char* kept[] = {"*QZCopies", "*QZOffset", "*QZAny"};
    for (UInt16 i = 0; i < 3; ++i) {
        EXPECT_STREQ(kept[i], static_cast<ORBRange*>(ranges.index(i))->Control()->Keyword());
    }
    ParsedPPD notesOnly(kNotes);
    ORBRangeList none(*notesOnly.Model());
    EXPECT_TRUE(none.Valid());
    EXPECT_EQ(0u, none.Count());
}

TEST(ORBRangeTest, AcceptableValuesAndDecimalText) {
    ParsedPPD ppd(kRanges);
    ORBRangeList ranges(*ppd.Model());
    ORBRange* copies = static_cast<ORBRange*>(ranges.index(0));
    ORBRange* offset = static_cast<ORBRange*>(ranges.index(1));
    ORBRange* any = static_cast<ORBRange*>(ranges.index(2));
    EXPECT_TRUE(copies->acceptableValue(15));
    EXPECT_TRUE(copies->acceptableValue(0));
    EXPECT_TRUE(copies->acceptableValue(100));
    EXPECT_FALSE(copies->acceptableValue(17));
    EXPECT_FALSE(copies->acceptableValue(105));
    EXPECT_FALSE(copies->acceptableValue(-5));
    EXPECT_TRUE(offset->acceptableValue(-30));
    EXPECT_FALSE(offset->acceptableValue(-35));
    EXPECT_FALSE(offset->acceptableValue(-60));
    for (SInt32 v = -3; v <= 3; ++v) EXPECT_TRUE(any->acceptableValue(v)) << v;  // step 0
    EXPECT_FALSE(any->acceptableValue(4));

    char text[16];
    EXPECT_EQ(7, copies->getTitle(text));
    EXPECT_STREQ("Copies", text);
    offset->setUserData("-20");
    EXPECT_EQ(-20, offset->Control()->GetValue());
    EXPECT_EQ(3, offset->getUserData(nullptr));
    EXPECT_EQ(3, offset->getUserData(text));
    EXPECT_STREQ("-20", text);
    offset->setUserData("+40");
    EXPECT_EQ(2, offset->getUserData(text));
    EXPECT_STREQ("40", text);
}

}  // namespace
