// Rebuilds the model's collections (controls, groups, property pages, shortcuts) from a store of
// arbitrary records, the way a snapshot from the print settings is read back. Aborts when:
// - a count record that is not exactly four bytes, or below 1, still yields controls;
// - the rebuilt controls are not, in order, the kinds named by the first marker of each id;
// - a control's two PostScript calls disagree;
// - the rebuilt controls, saved and rebuilt once more, change kind, keyword or visibility;
// - a walk of groups or shortcuts disagrees with the counts or returns a foreign control.
//
// Input: a first byte whose low bit chooses the form of the rest. Even: a flattened store, whose
// checksum is recomputed first so that mutations reach the records instead of being refused
// whole. Odd: a list of records, each one byte choosing the tag among those the collections and
// their members read, one byte choosing the id among theirs, one byte of length and the content.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "Memory/MacMemory.h"
#include "PPDObjects/Controls/PPDXPopupControl.h"
#include "PPDObjects/ModelOptions.h"
#include "PPDObjects/PPDXControls.h"
#include "PPDObjects/PPDXGroup.h"
#include "PPDObjects/PPDXGroups.h"
#include "PPDObjects/PPDXProperties.h"
#include "PPDObjects/PPDXProperty.h"
#include "PPDObjects/PPDXShortcuts.h"
#include "settings/Settings.h"

namespace {

#define TAG(s) HALYX_FOUR_CHAR(s[0], s[1], s[2], s[3])
const FourCharCode kTags[] = {
    5000,        4000,        3000,        1000,        TAG("StCt"), TAG("BlnC"), TAG("JbNt"),
    TAG("PopC"), TAG("RngC"), TAG("soCN"), TAG("KyWd"), TAG("LcCF"), TAG("isVs"), TAG("PrNm"),
    TAG("Ordr"), TAG("PSDt"), TAG("CFlg"), TAG("PCMS"), TAG("PCDK"), TAG("PCIC"), TAG("PCIK"),
    TAG("PCFN"), TAG("PCIN"), TAG("PCIP"), TAG("PCIS"), TAG("gGrp"), TAG("RlDn"), TAG("ScPn"),
    TAG("SPPg"), TAG("SApp"), TAG("BCcV"), TAG("RCVl"), TAG("soVl"), TAG("jNtT"),
};
#undef TAG
const SInt32 kIds[] = {5002, 5001, 5003, 5004, 500100, 500101, 500200, 500300, 1007,
                       4002, 4001, 4003, 3002, 3001,   6000,   6001,   6002};
const size_t kTagCount = sizeof kTags / sizeof kTags[0];
const size_t kIdCount = sizeof kIds / sizeof kIds[0];

void Check(bool ok, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "collection rebuild invariant broken: %s\n", what);
    std::abort();
}

UInt32 Crc32(const uint8_t* p, size_t n) {
    UInt32 crc = 0xffffffffu;
    for (size_t i = 0; i < n; ++i) {
        crc ^= p[i];
        for (int k = 0; k < 8; ++k) crc = (crc & 1) ? 0xedb88320u ^ (crc >> 1) : crc >> 1;
    }
    return crc ^ 0xffffffffu;
}

std::unique_ptr<Settings> StoreFrom(const uint8_t* data, size_t size) {
    if (size > 0 && (data[0] & 1) == 0) {
        std::vector<uint8_t> form(data + 1, data + size);
        if (form.size() >= 8) {
            UInt32 crc = Crc32(form.data(), form.size() - 4);
            for (int i = 0; i < 4; ++i)
                form[form.size() - 4 + i] = static_cast<uint8_t>(crc >> (24 - 8 * i));
        }
        Handle flat = NewHandle(static_cast<Size>(form.size()));
        if (flat == nullptr) return nullptr;
        if (!form.empty()) std::memcpy(*flat, form.data(), form.size());
        std::unique_ptr<Settings> store(new Settings(flat));
        DisposeHandle(flat);
        if (!store->Valid()) return nullptr;
        return store;
    }
    std::unique_ptr<Settings> store(new Settings());
    size_t at = size > 0 ? 1 : 0;
    while (at + 3 <= size) {
        FourCharCode tag = kTags[data[at] % kTagCount];
        SInt32 id = kIds[data[at + 1] % kIdCount];
        size_t length = data[at + 2];
        at += 3;
        if (length > size - at) length = size - at;
        store->Add(tag, id, data + at, static_cast<SInt32>(length));
        at += length;
    }
    return store;
}

// The kind a rebuild must give the control stored under `id`: that of the first marker there.
CNTL_TYPE ExpectedKind(Settings& store, SInt32 id) {
    const struct {
        FourCharCode marker;
        CNTL_TYPE type;
    } kinds[] = {{HALYX_FOUR_CHAR('B', 'l', 'n', 'C'), CNTL_BOOLEAN},
                 {HALYX_FOUR_CHAR('J', 'b', 'N', 't'), CNTL_JOBNOTE},
                 {HALYX_FOUR_CHAR('P', 'o', 'p', 'C'), CNTL_POPUP},
                 {HALYX_FOUR_CHAR('R', 'n', 'g', 'C'), CNTL_RANGE},
                 {HALYX_FOUR_CHAR('s', 'o', 'C', 'N'), CNTL_SPECIAL}};
    for (const auto& kind : kinds) {
        SInt32 length = 0;
        if (store.Get(kind.marker, id, nullptr, &length) == noErr) return kind.type;
    }
    return static_cast<CNTL_TYPE>(0);
}

struct Member {
    CNTL_TYPE type;
    std::string keyword;
    bool visible;
    bool operator==(const Member& o) const {
        return type == o.type && keyword == o.keyword && visible == o.visible;
    }
};

std::vector<Member> Members(PPDXControls& controls) {
    std::vector<Member> out;
    CNTL_TYPE type;
    for (PPDXControl* c = controls.First(&type); c != nullptr; c = controls.Next(&type))
        out.push_back({type, c->Keyword() != nullptr ? c->Keyword() : "", c->IsVisible()});
    return out;
}

void CheckPostScript(PPDXControl& control) {
    SInt32 size = control.PostScript(nullptr);
    Check(size >= 0, "PostScript size is not negative");
    char* out = static_cast<char*>(std::malloc(static_cast<size_t>(size) + 1));
    if (out == nullptr) return;
    Check(control.PostScript(out) == size, "both PostScript calls agree");
    std::free(out);
}

template <typename Collection, typename Member>
void DeleteWalked(Collection& collection) {
    std::vector<Member*> members;
    for (Member* m = collection.First(); m != nullptr; m = collection.Next()) members.push_back(m);
    for (Member* m : members) delete m;
}

void DeleteControls(PPDXControls& controls) {
    std::vector<PPDXControl*> members;
    for (PPDXControl* c = controls.First(nullptr); c != nullptr; c = controls.Next(nullptr))
        members.push_back(c);
    for (PPDXControl* c : members) delete c;
}

void CheckControls(Settings& store, PPDXControls& controls) {
    SInt32 count = 0;
    SInt32 length = 0;
    bool counted =
        store.Get(PPDXControls::kCountTag, PPDXControls::kCountId, nullptr, &length) == noErr &&
        length == 4 &&
        store.Get(PPDXControls::kCountTag, PPDXControls::kCountId, &count, &length) == noErr &&
        count >= 1;
    std::vector<Member> members = Members(controls);
    if (!counted) {
        Check(members.empty(), "no controls without a usable count");
        return;
    }
    // A count beyond the store's records comes from a damaged store and is cut to them.
    SInt32 probed = count < store.Count() ? count : store.Count();
    size_t at = 0;
    for (SInt32 i = 0; i < probed; ++i) {
        CNTL_TYPE expected = ExpectedKind(store, PPDXControls::kFirstId + i);
        if (expected == 0) continue;
        Check(at < members.size(), "every marked id is rebuilt");
        Check(members[at++].type == expected, "a rebuilt control has its marker's kind");
    }
    Check(at == members.size(), "only marked ids are rebuilt");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::unique_ptr<Settings> store = StoreFrom(data, size);
    if (store == nullptr) return 0;
    DisplayOptionsScope all(DISPLAY_ALL);

    PPDXProperties pages(*store);
    PPDXGroups groups(*store);
    PPDXControls controls(*store);
    PPDXShortcuts shortcuts(*store, &controls);
    CheckControls(*store, controls);

    for (PPDXControl* c = controls.First(nullptr); c != nullptr; c = controls.Next(nullptr)) {
        c->UserName();
        CheckPostScript(*c);
    }
    controls.Restore(*store);
    for (PPDXControl* c = controls.First(nullptr); c != nullptr; c = controls.Next(nullptr))
        CheckPostScript(*c);

    Settings resaved;
    Check(controls.Save(resaved) == noErr, "rebuilt controls save");
    PPDXControls again(resaved);
    Check(Members(again) == Members(controls), "saved and rebuilt again, the controls stay");
    DeleteControls(again);

    UInt32 walked = 0;
    for (PPDXGroup* g = groups.First(); g != nullptr; g = groups.Next()) ++walked;
    Check(walked == groups.Count(), "the group walk agrees with the count");
    for (PPDXPopupControl* p = shortcuts.First(); p != nullptr; p = shortcuts.Next())
        Check(controls.FindPopup(p->Keyword(), true) != nullptr, "a shortcut is a known popup");
    shortcuts.PageSize();
    pages.Find("Page", false);

    DeleteWalked<PPDXProperties, PPDXProperty>(pages);
    DeleteWalked<PPDXGroups, PPDXGroup>(groups);
    DeleteControls(controls);
    return 0;
}
