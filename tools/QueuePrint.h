// `print --queue NAME`: the part of a print that happens on a CUPS server. Before the pane runs,
// the queue's own PPD is fetched from the server (the print session's printer is then the queue:
// its PPD file is named after it); after Print, the document (the given file, or a one-page test
// page) goes to the queue with the option that names the pieces file, and with --wait the job is
// followed to its end.
//
// The pieces file stays until the filter has read it: with --wait it is removed once the job has
// completed, been canceled or aborted (a stopped job may run again and keeps it); without --wait
// it stays in /tmp, as the pane leaves it. A job that could not be sent removes it at once.
#ifndef HALYX_TOOLS_QUEUEPRINT_H
#define HALYX_TOOLS_QUEUEPRINT_H

#include <string>

#include <nlohmann/json.hpp>

#include "cupsclient/CupsQueue.h"
#include "tools/PrintHost.h"

namespace halyx::tools {

class QueuePrint {
public:
    QueuePrint(std::string queue, std::string document, bool wait)
        : mQueue(std::move(queue)), mDocument(std::move(document)), mWait(wait) {}
    ~QueuePrint();

    // Checks the document and fetches the queue's PPD; on success `ppdPath` names it (it lives as
    // long as this object). Returns the exit status: kExitOk, or kExitUsage (with the message on
    // standard error) for a document that is neither PostScript nor PDF, a bad queue name, or a
    // queue, server or PPD that fails.
    int Prepare(std::string* ppdPath);

    // Sends the job for what the pane wrote and, with --wait, waits for its end. Returns kExitOk,
    // kExitUsage when the job could not be sent (message on standard error), or kExitJobEnded
    // when it ended without completing.
    int Send(const PrintResult& result);

    // The job's fields for the JSON output: "job", and with --wait "job_state", "job_message".
    nlohmann::ordered_json JsonFields() const;
    // The same as text lines.
    void PrintText() const;

private:
    QueuePrint(const QueuePrint&) = delete;
    QueuePrint& operator=(const QueuePrint&) = delete;

    int Fail(const std::string& message);

    std::string mQueue;
    std::string mDocument;
    bool mWait;
    std::string mFolder;  // the temporary folder that holds the PPD and the test page
    std::string mPPDPath;
    std::string mTestPage;  // when no document was given
    int mJob = 0;
    CupsJobEnd mEnd;
};

}  // namespace halyx::tools

#endif  // HALYX_TOOLS_QUEUEPRINT_H
