// One opening of the print dialog's pane, shared by every host: the pane is made through the
// loaded bundle's factory and driven through the print dialog extension table in the dialog's
// order (Retain and Prologue, Initialize, Open, then input, Sync on Print, and Close, Terminate
// and Release when the session ends), inside a toolkit window that holds the pane's user pane and
// a Print button carrying the command 'ok  '.
//
// The host never sees the pane's classes: it gives input through the toolkit (HalyxInput.h) and
// reads what the pane shows from the toolkit's controls and drawing record.
#ifndef HALYX_PANEHOST_PANESESSION_H
#define HALYX_PANEHOST_PANESESSION_H

#include <string>

#include "HIToolbox/Controls.h"
#include "HIToolbox/Events.h"
#include "PrintCore/PMPrintDialogExtension.h"
#include "PrintCore/PMSession.h"
#include "panehost/PluginLoader.h"

namespace halyx::panehost {

enum class PaneOpenStatus {
    kOpened,
    kNotServed,  // Initialize refused: the pane does not serve this session's printer
    kFailed,     // the plug-in, the pane or the window could not be made
};

class PaneSession {
public:
    // Neither the loader nor the session is owned; both outlive the pane session.
    PaneSession(const PluginLoader& loader, PMPrintSession session)
        : mLoader(loader), mSession(session) {}
    // Closes, terminates and releases the pane (when it was made) and disposes the window.
    ~PaneSession() { TearDown(); }

    // Makes the pane and shows its window. On kOpened the pane is open; otherwise `error` says
    // why and the session can only be destroyed.
    PaneOpenStatus Open();

    // Sends one input (`input(argument)`), then tells whether the pane took it: false when it
    // beeped, with the pane's message (the last text drawn outside the list, its fields and the
    // Print button; empty when it drew none) in `message`, and where it was drawn in `where`
    // (when not null; left as it was when there is no message).
    bool Deliver(OSStatus (*input)(void*), void* argument, std::string* message,
                 Rect* where = nullptr);

    // Clicks the Print button: true when its command reached the application, that is when the
    // pane did not hold Print back. On false `message` holds the pane's message, if any.
    bool PressPrint(std::string* message, Rect* where = nullptr);

    // Asks the pane to write the job into the print settings (and its pieces file).
    OSStatus Sync();

    // After Sync: the print-settings key "ORB.PSData.<bundle id>" and the pieces file path the
    // pane stored under it. False (both left empty) when the pane stored none.
    bool PiecesSetting(std::string* key, std::string* path) const;

    // Seeds the toolbox's random numbers, from which the pane draws its pieces file's name, from
    // the time and the process id, so that two runs do not pick the same name.
    static void SeedRandom();

    WindowRef Window() const { return mWindow; }
    ControlRef Pane() const { return mPane; }
    ControlRef PrintButton() const { return mPrintButton; }
    PMPDEInterface* Interface() const { return mInterface; }
    PMPDEContext Context() const { return mContext; }
    PMPrintSession Session() const { return mSession; }
    const PluginLoader& Loader() const { return mLoader; }

    std::string error;  // why Open failed

private:
    PaneSession(const PaneSession&) = delete;
    PaneSession& operator=(const PaneSession&) = delete;

    PaneOpenStatus Fail(PaneOpenStatus status, const std::string& why) {
        error = why;
        return status;
    }
    bool LoadPane();
    bool MakeWindow(UInt32 width, UInt32 height);
    void TearDown();

    const PluginLoader& mLoader;
    PMPrintSession mSession;

    void* mInstance = nullptr;
    PMPDEInterface* mInterface = nullptr;
    PMPDEContext mContext = nullptr;
    bool mRetained = false;
    CFStringRef mKind = nullptr;
    WindowRef mWindow = nullptr;
    ControlRef mPane = nullptr;
    ControlRef mPrintButton = nullptr;
    EventHandlerRef mPrintHandler = nullptr;
    EventHandlerUPP mPrintHandlerUPP = nullptr;
    bool mPrintPressed = false;
};

}  // namespace halyx::panehost

#endif  // HALYX_PANEHOST_PANESESSION_H
