// Collects the PostScript pieces produced for a job, each with its injection site, and hands them
// to the print server's filter: written as an XML property list [site, bytes, site, bytes, ...] to
// a new temporary file whose path goes into the print settings. Also stores and restores the
// snapshot of the parsed PPD in the print settings.
//
// The pieces file is "/tmp/Halyx.temp" followed by a number. It is created exclusively (never
// through an existing name or a symbolic link), readable by everybody and writable only by its
// owner; when no free name can be had nothing is written and no path is stored.
#ifndef HALYX_CORE_ORBJOBTICKET_H
#define HALYX_CORE_ORBJOBTICKET_H

#include "CoreFoundation/CFArray.h"
#include "CoreFoundation/CFURL.h"
#include "Core/JobTicket.h"
#include "Core/PostScriptInjectionSite.h"

class ORBPPD;
class PPDXControl;
class PrintSettingsTicket;

class ORBJobTicket : public JobTicket {
public:
    // The prefix of the pieces file's path.
    static constexpr const char* kPiecesFilePrefix = "/tmp/Halyx.temp";

    // With both arguments: keeps a copy of `key` (the item key of the pieces file's path) and
    // starts an empty list of pieces; valid when that list could be made.
    ORBJobTicket(PrintSettingsTicket* settings, CFStringRef key);
    ~ORBJobTicket() override;

    // Starts a new empty list of pieces; memFullErr when it cannot be made.
    OSStatus Create();

    // Adds a piece; a zero length (or no list) adds nothing and answers true. False with
    // memFullErr when the piece cannot be made.
    bool Add(PostScriptInjectionSite site, const void* bytes, SInt32 length);
    // Adds the control's PostScript; false when memory for it runs out.
    bool Add(PostScriptInjectionSite site, PPDXControl* control);

    // Writes the pieces file and stores its path under the key as `client`, unlocked. True when
    // nothing is to be written (not dirty, no pieces); false without a settings ticket or client,
    // or when the file or the item cannot be written (the failure stays in Status()).
    bool Save(CFStringRef client);
    // Removes the path item from the settings ticket; always true.
    bool Invalidate(CFStringRef client);
    // Writes the copies count into the print settings, unlocked.
    OSStatus EnforceCopiesLimit(CFStringRef client, SInt32 copies);

    // Stores the model's snapshot in the print settings as a data item whose client and key are
    // both `client`. The result is the model's own answer to saving itself.
    bool SavePPD(ORBPPD* ppd, CFStringRef client, CFURLRef location);
    // Rebuilds a model from the snapshot in the print settings, reopening its PPD at `location`;
    // null when there is no snapshot, it cannot be read, or the model it gives is not usable
    // (wrong printer name, invalid PPD). The caller owns the model (count 0).
    ORBPPD* RestorePPD(CFStringRef client, CFURLRef location);

    SInt32 Count() const { return mCount; }
    CFArrayRef Pieces() const { return mPieces; }
    bool Dirty() const { return mDirty; }
    CFStringRef Key() const { return mKey; }

private:
    PrintSettingsTicket* mSettings;
    CFStringRef mKey;
    SInt32 mCount;
    CFMutableArrayRef mPieces;
    bool mDirty;
};

#endif  // HALYX_CORE_ORBJOBTICKET_H
