// halyx-print's dialog: a GtkPrintUnixDialog for one document that carries the "Halyx Job Notes"
// tab while the selected printer is a CUPS queue whose PPD the pane serves.
//
// Choosing a printer closes the pane that was open and, for a CUPS queue, fetches the queue's PPD,
// opens a print session on it and makes the pane through the bundle's factory; when the pane
// serves that printer (its Initialize succeeds) the tab shows it, otherwise no tab. Print asks
// the pane first (it may hold Print back, with its message, and the dialog stays open), then
// synchronises it and sends the document through GtkPrintJob with the setting
// "cups-ORB.PSData.<bundle id>" naming the pieces file. Cancel closes the pane without
// synchronising it, so nothing is written.
#ifndef HALYX_PRINTDIALOG_PRINTDIALOG_H
#define HALYX_PRINTDIALOG_PRINTDIALOG_H

#include <gtk/gtk.h>
#include <gtk/gtkunixprint.h>

#include <memory>
#include <string>

#include "PrintCore/PMSession.h"
#include "panehost/PaneSession.h"
#include "panehost/PluginLoader.h"
#include "printdialog/PaneBridge.h"

namespace halyx::printdialog {

enum class DialogOutcome {
    kPrinted,   // the job was sent
    kCanceled,  // the person closed the dialog without printing
    kFailed,    // the document, the pane or the job failed (`error` says why)
};

class PrintDialog {
public:
    // `document` is a PostScript or PDF file, or empty for the test page; `printer` preselects
    // a queue when not empty.
    PrintDialog(const panehost::PluginLoader& loader, std::string document, std::string printer)
        : mLoader(loader), mDocument(std::move(document)), mPrinter(std::move(printer)) {}
    ~PrintDialog() { ClosePane(); }

    DialogOutcome Run();

    std::string error;
    bool verbose = false;  // says on standard error what the dialog does with the pane

private:
    PrintDialog(const PrintDialog&) = delete;
    PrintDialog& operator=(const PrintDialog&) = delete;

    static void OnPrinterChanged(GObject* dialog, GParamSpec*, gpointer self);
    void OpenPaneFor(GtkPrinter* printer);
    void ClosePane();
    // Sends the document to `printer`; false with `error` set when it cannot.
    bool SendJob(GtkPrinter* printer, GtkPrintSettings* settings, GtkPageSetup* setup,
                 const std::string& piecesKey, const std::string& piecesPath);

    const panehost::PluginLoader& mLoader;
    std::string mDocument;
    std::string mPrinter;
    GtkWidget* mDialog = nullptr;

    // The pane open for the selected printer, if any.
    std::string mPaneQueue;
    std::string mPPDPath;
    PMPrintSession mSession = nullptr;
    std::unique_ptr<panehost::PaneSession> mPane;
    std::unique_ptr<PaneBridge> mBridge;
};

}  // namespace halyx::printdialog

#endif  // HALYX_PRINTDIALOG_PRINTDIALOG_H
