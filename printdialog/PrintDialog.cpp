#include "printdialog/PrintDialog.h"

#include <stdio.h>
#include <unistd.h>

#include "PrintCore/HalyxPrintHost.h"
#include "cupsclient/CupsQueue.h"
#include "cupsclient/TestPage.h"

namespace halyx::printdialog {

namespace {

constexpr const char* kTabTitle = "Halyx Job Notes";
// GTK's CUPS backend passes every setting with this prefix on as a job option, prefix removed.
constexpr const char* kCupsOptionPrefix = "cups-";

// What GtkPrintJob's completion reports back to the waiting loop.
struct JobEnd {
    GMainLoop* loop = nullptr;
    std::string error;
    bool done = false;
};

void OnJobSent(GtkPrintJob*, gpointer data, const GError* error) {
    JobEnd* end = static_cast<JobEnd*>(data);
    if (error != nullptr) end->error = error->message;
    end->done = true;
    g_main_loop_quit(end->loop);
}

}  // namespace

void PrintDialog::OnPrinterChanged(GObject* dialog, GParamSpec*, gpointer self) {
    PrintDialog* owner = static_cast<PrintDialog*>(self);
    GtkPrinter* printer = gtk_print_unix_dialog_get_selected_printer(GTK_PRINT_UNIX_DIALOG(dialog));
    const std::string name = printer != nullptr ? gtk_printer_get_name(printer) : "";
    if (owner->mPane != nullptr && name == owner->mPaneQueue) return;
    owner->ClosePane();
    if (printer != nullptr && !gtk_printer_is_virtual(printer)) owner->OpenPaneFor(printer);
}

void PrintDialog::OpenPaneFor(GtkPrinter* printer) {
    const std::string queue = gtk_printer_get_name(printer);
    const gint64 started = g_get_monotonic_time();
    CupsQueue cups(queue);
    std::string ppd;
    if (!cups.FetchPPD(&ppd)) {
        if (verbose)
            fprintf(stderr, "halyx-print: no pane for %s: %s\n", queue.c_str(), cups.error.c_str());
        return;
    }
    if (HalyxCreatePrintSession(ppd.c_str(), &mSession) != noErr) {
        unlink(ppd.c_str());
        return;
    }
    mPPDPath = ppd;
    mPaneQueue = queue;
    mPane = std::make_unique<panehost::PaneSession>(mLoader, mSession);
    const panehost::PaneOpenStatus status = mPane->Open();
    if (status != panehost::PaneOpenStatus::kOpened) {
        if (verbose)
            fprintf(stderr, "halyx-print: no pane for %s: %s\n", queue.c_str(),
                    mPane->error.c_str());
        ClosePane();
        return;
    }
    mBridge = std::make_unique<PaneBridge>(mPane.get());
    mBridge->verbose = verbose;
    GtkWidget* label = gtk_label_new(kTabTitle);
    gtk_print_unix_dialog_add_custom_tab(GTK_PRINT_UNIX_DIALOG(mDialog), mBridge->Widget(), label);
    gtk_widget_show_all(mBridge->Widget());
    mBridge->Mirror(false);
    if (verbose)
        fprintf(stderr, "halyx-print: the pane is open for %s (in %ld ms)\n", queue.c_str(),
                static_cast<long>((g_get_monotonic_time() - started) / 1000));
}

void PrintDialog::ClosePane() {
    if (mBridge != nullptr && verbose)
        fprintf(stderr, "halyx-print: the pane for %s is closed\n", mPaneQueue.c_str());
    if (mBridge != nullptr) {
        GtkWidget* parent = gtk_widget_get_parent(mBridge->Widget());
        if (parent != nullptr) gtk_container_remove(GTK_CONTAINER(parent), mBridge->Widget());
    }
    mBridge.reset();
    // Closes and terminates the pane without synchronising it.
    mPane.reset();
    if (mSession != nullptr) PMRelease(mSession);
    mSession = nullptr;
    if (!mPPDPath.empty()) unlink(mPPDPath.c_str());
    mPPDPath.clear();
    mPaneQueue.clear();
}

bool PrintDialog::SendJob(GtkPrinter* printer, GtkPrintSettings* settings, GtkPageSetup* setup,
                          const std::string& piecesKey, const std::string& piecesPath) {
    const std::string name = gtk_printer_get_name(printer);
    std::string document = mDocument;
    std::string testPage;
    if (document.empty()) {
        if (!WriteTestPage("halyx-print test page", name, &testPage)) {
            error = "cannot write the test page";
            return false;
        }
        document = testPage;
    }
    if (!piecesKey.empty())
        gtk_print_settings_set(settings, (kCupsOptionPrefix + piecesKey).c_str(),
                               piecesPath.c_str());
    const std::string title = document.substr(document.find_last_of('/') + 1);
    GtkPrintJob* job = gtk_print_job_new(title.c_str(), printer, settings, setup);
    GError* failure = nullptr;
    bool sent = gtk_print_job_set_source_file(job, document.c_str(), &failure);
    if (!sent) {
        error = "cannot read " + document + ": " + (failure ? failure->message : "");
    } else {
        JobEnd end;
        end.loop = g_main_loop_new(nullptr, FALSE);
        gtk_print_job_send(job, OnJobSent, &end, nullptr);
        if (!end.done) g_main_loop_run(end.loop);
        g_main_loop_unref(end.loop);
        sent = end.error.empty();
        if (!sent)
            error = "the job to " + name + " failed: " + end.error;
        else if (verbose && !piecesKey.empty())
            fprintf(stderr, "halyx-print: sent %s to %s with the pieces file %s\n", title.c_str(),
                    name.c_str(), piecesPath.c_str());
        else if (verbose)
            fprintf(stderr, "halyx-print: sent %s to %s\n", title.c_str(), name.c_str());
    }
    if (failure != nullptr) g_error_free(failure);
    g_object_unref(job);
    if (!testPage.empty()) unlink(testPage.c_str());
    return sent;
}

DialogOutcome PrintDialog::Run() {
    mDialog = gtk_print_unix_dialog_new("Print", nullptr);
    GtkPrintUnixDialog* dialog = GTK_PRINT_UNIX_DIALOG(mDialog);
    gtk_print_unix_dialog_set_manual_capabilities(
        dialog, static_cast<GtkPrintCapabilities>(GTK_PRINT_CAPABILITY_COPIES));
    gtk_print_unix_dialog_set_embed_page_setup(dialog, TRUE);
    if (!mPrinter.empty()) {
        GtkPrintSettings* settings = gtk_print_settings_new();
        gtk_print_settings_set_printer(settings, mPrinter.c_str());
        gtk_print_unix_dialog_set_settings(dialog, settings);
        g_object_unref(settings);
    }
    g_signal_connect(mDialog, "notify::selected-printer", G_CALLBACK(OnPrinterChanged), this);

    DialogOutcome outcome = DialogOutcome::kCanceled;
    for (;;) {
        const gint response = gtk_dialog_run(GTK_DIALOG(mDialog));
        if (response != GTK_RESPONSE_OK) break;
        GtkPrinter* printer = gtk_print_unix_dialog_get_selected_printer(dialog);
        if (printer == nullptr) continue;
        std::string key, path;
        if (mBridge != nullptr) {
            if (!mBridge->PressPrint()) {
                // Held back: the tab shows the pane's message and the dialog stays open.
                GtkWidget* notebook = gtk_widget_get_parent(mBridge->Widget());
                gtk_notebook_set_current_page(
                    GTK_NOTEBOOK(notebook),
                    gtk_notebook_page_num(GTK_NOTEBOOK(notebook), mBridge->Widget()));
                continue;
            }
            OSStatus status = mPane->Sync();
            if (status != noErr) {
                error = "the pane cannot write the job (Sync " + std::to_string(status) + ")";
                outcome = DialogOutcome::kFailed;
                break;
            }
            mPane->PiecesSetting(&key, &path);
        }
        GtkPrintSettings* settings = gtk_print_unix_dialog_get_settings(dialog);
        GtkPageSetup* setup = gtk_print_unix_dialog_get_page_setup(dialog);
        g_object_ref(printer);
        const bool sent = SendJob(printer, settings, setup, key, path);
        g_object_unref(printer);
        g_object_unref(settings);
        outcome = sent ? DialogOutcome::kPrinted : DialogOutcome::kFailed;
        break;
    }
    gtk_widget_hide(mDialog);
    ClosePane();
    gtk_widget_destroy(mDialog);
    mDialog = nullptr;
    return outcome;
}

}  // namespace halyx::printdialog
