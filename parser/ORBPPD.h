// The parser of PPD files that carry the print server's extension keywords, and the root of the
// option model it builds.
//
// Construction builds the PPDX part (file, error list, accepted-names check), then, unless the
// names check failed, creates the collections, the keyword index and the constraint structures and
// walks the file: every line goes to the handler of its main keyword (a table, see
// ORBPPDDispatch.cpp); after the walk shortcuts are resolved, orphan group names collected and the
// keyword index sorted.
//
// The process-wide display options and supported-extensions mask are static members of this class
// for every caller above the model; their storage belongs to the model (ModelOptions), so that no
// model file needs the parser. The accessors here forward to it.
//
// Map of the definitions: ORBPPDStatics.cpp (the statics), ORBPPD.cpp (life cycle, walk, control
// placement, header test, extension header keywords), ORBPPDDispatch.cpp (keyword table),
// ORBPPDConstraints.cpp (constraint lines, queries and dump), ORBPPDOptionBlocks.cpp (flagged
// option blocks and popups), ORBPPDJobNotes.cpp (job notes, ranges, special options),
// ORBPPDLayout.cpp (pages, group names, parents, shortcuts, installable options, orphans,
// hierarchy), ORBPPDSnapshot.cpp (the whole model saved into and rebuilt from a store).
#ifndef HALYX_PARSER_ORBPPD_H
#define HALYX_PARSER_ORBPPD_H

#include <cstdio>
#include <vector>

#include "Base/MacTypes.h"
#include "CoreFoundation/CFArray.h"
#include "CoreFoundation/CFString.h"
#include "CoreFoundation/CFURL.h"
#include "Files/FileRecords.h"
#include "PPDObjects/ModelOptions.h"
#include "foundation/PointerList.h"
#include "parser/PPDX.h"

class CString;
class CStringSoup;
class ConstraintForest;
class ItemConstraintList;
class KeywordTo_PPDControl;
class PPDStream;
class PPDXControl;
class PPDXControls;
class PPDXErrorObj;
class PPDXGroup;
class PPDXGroups;
class PPDXPopupControl;
class PPDXProperties;
class PPDXRollDown;
class PPDXShortcuts;
class Settings;
struct GroupName;
struct SharedConstraintRec;

// What the parser takes in besides what is always parsed: bit 0 orphans (controls and group names
// outside the page layout), bit 1 hidden items (pages, group names and parents without "True").
typedef UInt32 _PARSE_OPTIONS_;

class ORBPPD : public PPDX {
public:
    static constexpr _PARSE_OPTIONS_ kParseOrphans = 0x1;
    static constexpr _PARSE_OPTIONS_ kParseHidden = 0x2;

    // The parse error codes this parser and its handlers report.
    enum : short {
        kErrNoMemory = 1,             // collections missing, or a control could not be made
        kErrPageWithoutName = 4,      // property-page line without name
        kErrBadGroupLine = 5,         // group-assignment line malformed or not followed by a block
        kErrBadJobNote = 6,           // job-note keyword missing or not the flagged one
        kErrBadRange = 7,             // range line malformed
        kErrBlockWithoutKeyword = 8,  // option block without option keyword
        kErrBadBooleanChoice = 9,     // Boolean choice neither True nor False
        kErrBadPopupBlock = 11,       // second default, or block not closed (fatal)
        kErrGroupWithoutName = 12,    // group-name line without name
        kErrNoSuchParent = 14,        // parent line naming a missing page or scroll pane
        kErrBadParentLine = 15,       // parent line without child or parent
        kErrBadFlagsLine = 16,        // flags line without keyword or not followed by a block
        kErrCannotRead = 18,          // the file cannot be opened or read (fatal)
        kErrBadShortcut = 19,         // shortcut refused or naming no control
        kErrOrphanControl = 21,       // control outside any group, orphans not parsed
        kErrDefinedTwice = 23,        // page, group or control defined twice
        kErrNoPages = 25,             // no property page in the file
        kErrNoGroups = 26,            // no group in the file
        kErrNoControls = 27,          // no control in the file
        kErrNotVersion43 = 28,        // the file does not start with *PPD-Adobe "4.3" (fatal)
        kErrMisplacedControl = 29,    // control placed outside a roll-down
        kErrBadUIType = 31,           // option block without a known UI type
        kErrFlagNotSupported = 32,    // job-note flag word outside the extensions mask
        kErrNoDefault = 33,           // popup or Boolean block without default
        kErrRangeWithoutCode = 35,    // range without PostScript value
        kErrBadConstraint = 36        // constraint line without second keyword
    };

    // Builds the PPDX part from the file, then (when the PC file name is accepted) the model.
    ORBPPD(const CFURLRef url, const _PARSE_OPTIONS_& options, CFArrayRef names);
    ORBPPD(const FSSpec& spec, const _PARSE_OPTIONS_& options, CFArrayRef names);
    // The same with every error counting as fatal from the start, so that the walk stops at the
    // first error of any kind.
    ORBPPD(const CFURLRef url, const _PARSE_OPTIONS_& options, CFArrayRef names,
           const bool& allErrorsFatal);
    ORBPPD(const FSSpec& spec, const _PARSE_OPTIONS_& options, CFArrayRef names,
           const bool& allErrorsFatal);
    // A model without a file: empty collections, nothing parsed.
    explicit ORBPPD(const _PARSE_OPTIONS_& options);
    // A model rebuilt from a snapshot (ORBPPDSnapshot.cpp): the PPDX part from the store, the
    // file opened from `url` and checked against `names` (may be null); then, when the header
    // was there and the name is accepted, BuildFromSettings. Anything else leaves the model
    // unbuilt: no collections and IsValidPPD() false. The parse options report orphans and
    // hidden members, which a snapshot always holds.
    ORBPPD(Settings& settings, const CFURLRef url, CFArrayRef names);
    // Destroys the constraint structures, the index, then (under DISPLAY_ALL) every page, group
    // and control with their collections, the QZ versions and the shortcuts, then the lists.
    ~ORBPPD() override;

    // --- Model -----------------------------------------------------------------------------
    // Creates the collections, the string table, the keyword index and both forests; with a file,
    // parses it and adds the non-fatal errors for an empty result (25, 26, 27).
    void Build();
    using PPDX::Build;

    PPDXControls* GetControls() const { return mControls; }
    PPDXProperties* GetProperties() const { return mProperties; }
    PPDXGroups* GetGroups() const { return mGroups; }
    PPDXShortcuts* GetShortcuts() const { return mShortcuts; }
    KeywordTo_PPDControl* GetKeywordIndex() const { return mKeywordIndex; }
    CStringSoup* GetStringSoup() const { return mStringSoup; }
    ConstraintForest* GetConstraints() const { return mConstraints; }
    ConstraintForest* GetRequires() const { return mRequires; }
    // The *%QZFileVersion and *%QZVersion values, null until seen.
    const char* QZFileVersion() const;
    const char* QZVersion() const;
    // False without a file; otherwise fills `spec` with the file's record.
    bool GetFileSpec(FSSpec& spec) const;
    _PARSE_OPTIONS_ ParseOptions() const { return mParseOptions; }
    bool ParseOrphans() const { return (mParseOptions & kParseOrphans) != 0; }
    bool ParseHidden() const { return (mParseOptions & kParseHidden) != 0; }

    // The same file (volume, directory, name) with the same PC file name (absent counts as "").
    bool operator==(const ORBPPD& other) const;

    // --- Snapshot (ORBPPDSnapshot.cpp) ----------------------------------------------------
    // Records of the print server's version keywords.
    static constexpr FourCharCode kSnapshotVersionsTag = 2000;
    static constexpr SInt32 kSnapshotQZFileVersionId = 2001;
    static constexpr SInt32 kSnapshotQZVersionId = 2002;

    // Writes the whole model: the header, the version keywords, then (every member shown) the
    // pages, groups, controls and shortcuts. False at the first record that could not be added.
    bool Save(Settings& settings) override;
    // Reloads only the values of the existing controls (every member shown); true without
    // controls or when every value was read back.
    bool Restore(Settings& settings);
    // Makes the collections from the store (every member shown), links parents to children and
    // marks the model valid when every collection could be made. The constraint lines are not
    // part of a snapshot: their structures and the keyword index start empty. A model that
    // already has its collections is left alone.
    void BuildFromSettings(Settings& settings);
    using PPDX::BuildFromSettings;

    // --- Walk ------------------------------------------------------------------------------
    // Opens the file, tests its header line and hands every line to its handler until the end or
    // a fatal error; then resolves shortcuts and orphan groups and sorts the keyword index.
    void Parse() override;
    // Null when `keyword` is "*PPD-Adobe" with the quoted value "4.3" (the PPD is then marked
    // valid); otherwise a new fatal error 28.
    PPDXErrorObj* TestPPDFile(PPDStream& stream, const char* keyword);
    // *%QZFileVersion, *%QZVersion, the installable-options group lines, then the header keywords
    // of PPDX. Always null.
    PPDXErrorObj* ParsePSKeywords(PPDStream& stream, const char* keyword) override;
    // Places a new control: into the open installable-options roll-down when it has no group,
    // into its roll-down's collection when the group is one, always into the model's controls;
    // a control outside a roll-down (with `reportMisplaced`, orphans parsed) adds error 29.
    // The model owns the control from here and keeps it alive as long as itself. False when it
    // could not be listed for want of memory: the model then keeps it aside, out of every
    // collection, so that the caller's pointer stays good.
    bool SetupControl(PPDXGroup* group, PPDXControl* control, bool reportMisplaced);

    // --- Option blocks (ORBPPDOptionBlocks.cpp) ------------------------------------------
    // "*%ORBFlags" keyword flag|flag... then the block that follows it.
    PPDXErrorObj* ParseControl(PPDStream& line);
    // Whether a control listed under `keyword` exists, as the control collection's exact search
    // under the current display filter answers, without walking the collection for every block.
    bool ControlDefined(const char* keyword);
    PPDXErrorObj* ParseGroup(PPDStream& line, const char* keyword, PointerList& flagStrings);
    PPDXErrorObj* ParseOpenUI(PPDStream& line, const char* keyword, PointerList& flagStrings,
                              PPDXGroup* group);
    PPDXErrorObj* ParsePopupControl(const char* keyword, CFStringRef translation,
                                    PointerList& flagStrings, PPDXGroup* group,
                                    const bool& multiple);
    PPDXErrorObj* ParseBooleanControl(const char* keyword, CFStringRef translation,
                                      PointerList& flagStrings, PPDXGroup* group);
    PPDXPopupControl* PPDCreatePopupMenu(const char* groupName, const char* keyword,
                                         const char* translation, PointerList& items,
                                         CString* defaultChoice) override;
    bool PPDReconcilePopupMenu(const char* keyword, const char* name, PointerList& items,
                               CString* defaultChoice) override;

    // --- Job notes, ranges, special options (ORBPPDJobNotes.cpp) --------------------------
    // "*%ORBJobNote" met directly.
    PPDXErrorObj* ParseJobNote(PPDStream& line);
    // "*%ORBJobNote" inside a flagged block; `group` is the block's roll-down, or null.
    PPDXErrorObj* ParseJobNote(PPDStream& line, const char* keyword, PointerList& flagStrings,
                               PPDXGroup* group);
    // "*%ORBRange" and "*%ORBUnitRange" inside a flagged block.
    PPDXErrorObj* ParseRange(PPDStream& line, const char* keyword, PointerList& flagStrings,
                             PPDXGroup* group);
    // "*%ORBSpecialOption"; always null.
    PPDXErrorObj* ParseSpecialOption(PPDStream& line);

    // --- Layout (ORBPPDLayout.cpp) ---------------------------------------------------------
    PPDXErrorObj* ParsePropertyPage(PPDStream& line);
    PPDXErrorObj* ParseGroupName(PPDStream& line);
    PPDXErrorObj* ParseParent(PPDStream& line);
    PPDXErrorObj* ParseShortcut(PPDStream& line);
    // "*OpenGroup" / "*CloseGroup" of the group "InstallableOptions" (other groups are ignored);
    // reached through ParsePSKeywords. Always null.
    PPDXErrorObj* ParseOpenGroup(PPDStream& line);
    PPDXErrorObj* ParseCloseGroup(PPDStream& line);
    void AddGroupNameToList(const char* name, CFStringRef translation, bool visible);
    GroupName* FindGroupNameFromList(const char* name);
    PPDXGroup* FindAndCreateParent(const char* name);
    void ResolveShortcuts();
    void CollectOrphanGroups();
    // Deletes each CString of `list` from the back, then empties it.
    static void ClearStringList(PointerList& list);
    void ClearGroupNameList();
    // Relinks parents known only by keyword (a model rebuilt from a store). False when a link
    // could not be listed for want of memory.
    bool ResolveHeirarchy();

    // --- Constraints (ORBPPDConstraints.cpp) -----------------------------------------------
    // "*UIConstraints" and "*%ORBUIConstraints" (requires false), "*%ORBUIRequires" (true).
    PPDXErrorObj* ParseUIConstraint(PPDStream& line, bool requires);
    // The controls and choices constrained by `control` (a PPDXControl*) at `value`: the list of
    // that choice, then the list of every choice. *out becomes a new[] array the caller releases
    // with ReleaseConstraintList, or null when the count is 0. `out` may be null to count only.
    long GetConstraintList(void* control, long value, SharedConstraintRec** out);
    // The same from the requires lines, for the control's current value.
    long GetRequiresList(void* control, SharedConstraintRec** out);
    static void ReleaseConstraintList(SharedConstraintRec*& list);
    static void ReleaseRequiresList(SharedConstraintRec*& list);
    long CommonGetForestList(PPDXControl* control, long value, SharedConstraintRec** out,
                             ConstraintForest* forest);
    // Fills out[first + i] for the first `count` pairs of `list`.
    void ProcessConstraintList(const ItemConstraintList* list, SharedConstraintRec* out,
                               unsigned long first, unsigned long count);
    // Writes the keyword index and the constraints of `forest` as text (a debugging aid).
    void DumpConstraintMap(FILE* stream, ConstraintForest* forest, const char* title);

    // --- Helpers shared by the handlers ----------------------------------------------------
    // A new error record (null when memory ran out); `keyword` may be null.
    static PPDXErrorObj* NewError(short code, const char* keyword, bool fatal);
    // Adds a new error record to the error list directly.
    void AddError(short code, const char* keyword, bool fatal);
    // The platform string of a PPD text (at most 256 bytes of it) made by the PPD's text
    // converter; null without converter or text. The caller releases it.
    CFStringRef ConvertTranslation(const char* text);

    // --- Process-wide settings (ORBPPDStatics.cpp) -----------------------------------------
    // The display filter every model consults when it lists or shows its members.
    static _DISPLAY_OPTIONS_ Options() { return ModelOptions::Display(); }
    static void Options(_DISPLAY_OPTIONS_ options) { ModelOptions::SetDisplay(options); }
    // Bit 0 of the display options: orphans are listed.
    static void IncludeOrphans();
    // Bit 1 of the display options: hidden members are listed.
    static void IncludeHidden();
    // Each resets the whole set of display options to DISPLAY_NORMAL.
    static void ExcludeOrphans();
    static void ExcludeHidden();

    // The supported-extensions mask the job-note parser reads; every bit set at start.
    static _EXTENSIONS_SUPPORT_ GetExtensions() { return ModelOptions::Extensions(); }
    static void SetExtensions(_EXTENSIONS_SUPPORT_ extensions) {
        ModelOptions::SetExtensions(extensions);
    }

    // The same two values, as the members the model reads and writes.
    static _DISPLAY_OPTIONS_& sDisplayOptions;
    static _EXTENSIONS_SUPPORT_& sExtensionsSupport;

private:
    ORBPPD(const ORBPPD&) = delete;
    ORBPPD& operator=(const ORBPPD&) = delete;

    // Clears every field and copies the options (the constructors' common part).
    void InitFields(const _PARSE_OPTIONS_& options);
    // The handler of `keyword` for the walk, run on `line`; ParsePSKeywords for any keyword
    // without a handler of its own (ORBPPDDispatch.cpp).
    PPDXErrorObj* Dispatch(PPDStream& line, const char* keyword);
    // Table entries for the constraint lines.
    PPDXErrorObj* ParseConstraintsLine(PPDStream& line) { return ParseUIConstraint(line, false); }
    PPDXErrorObj* ParseRequiresLine(PPDStream& line) { return ParseUIConstraint(line, true); }
    PPDXErrorObj* ParseDirectJobNote(PPDStream& line) { return ParseJobNote(line); }
    // The post-walk steps: shortcuts, pending strings, orphan groups, group names.
    void FinishWalk();
    // Lists `control` in the model's controls; when that fails, keeps it aside and answers
    // false.
    bool Adopt(PPDXControl* control);

    _PARSE_OPTIONS_ mParseOptions;
    PPDXProperties* mProperties;
    PPDXGroups* mGroups;
    PPDXControls* mControls;
    PPDXShortcuts* mShortcuts;
    bool mInstallableOptions;            // inside the installable-options block
    PPDXRollDown* mInstallableRollDown;  // the block's roll-down, owned through mGroups
    CString* mQZFileVersion;
    CString* mQZVersion;
    PointerList mPendingStrings;  // CString* shortcut keywords, emptied after the walk
    PointerList mGroupNames;      // GroupName* records, emptied after the walk
    KeywordTo_PPDControl* mKeywordIndex;
    ConstraintForest* mConstraints;
    ConstraintForest* mRequires;
    CStringSoup* mStringSoup;
    std::vector<PPDXControl*> mUnlisted;  // owned controls no collection had room for
};

#endif  // HALYX_PARSER_ORBPPD_H
