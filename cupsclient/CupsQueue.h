// A print queue on the CUPS server that libcups chooses (CUPS_SERVER, ~/.cups/client.conf, the
// machine's client.conf, else the local server): its PPD, job submission and the end of a job.
// Every request goes through CUPS_HTTP_DEFAULT, the connection libcups keeps to that server.
//
// Each operation returns false on failure and leaves in `failure` what went wrong and in `error`
// one line that names the queue ("queue Office: no such queue on 127.0.0.1:631").
#ifndef HALYX_CUPSCLIENT_CUPSQUEUE_H
#define HALYX_CUPSCLIENT_CUPSQUEUE_H

#include <string>
#include <utility>
#include <vector>

enum class CupsFailure {
    kNone,
    kNoServer,     // the server does not answer
    kNoQueue,      // the server has no queue of that name
    kNoPPD,        // the queue exists but the server gives no PPD for it
    kRefused,      // the server refused the job or its document
    kBadDocument,  // the document cannot be read
};

// How a job ended, as the server tells it.
struct CupsJobEnd {
    int state = 0;          // the IPP job state: 6 stopped, 7 canceled, 8 aborted, 9 completed
    std::string stateName;  // "stopped", "canceled", "aborted", "completed"
    std::string message;    // the server's last message for the job ("" when none)
    bool Completed() const { return state == 9; }
    bool Stopped() const { return state == 6; }
};

class CupsQueue {
public:
    using Options = std::vector<std::pair<std::string, std::string>>;

    explicit CupsQueue(std::string queueName) : name(std::move(queueName)) {}

    // Copies the queue's PPD from the server into a new temporary file and stores its path in
    // `path`; the caller removes the file. kNoServer, kNoQueue or kNoPPD on failure.
    bool FetchPPD(std::string* path);

    // Sends the document at `documentPath` (of MIME type `format`, e.g. "application/pdf") as a
    // new job titled `title` with `options`, and stores the job's id. kNoServer, kNoQueue,
    // kRefused, or kBadDocument when the file cannot be read (the job is then canceled).
    bool Submit(const std::string& title, const std::string& documentPath, const char* format,
                const Options& options, int* job);

    // Waits until the job has ended (stopped, canceled, aborted or completed), asking the server
    // every quarter of a second. kNoServer when the server stops answering, kNoQueue when it no
    // longer knows the job.
    bool Wait(int job, CupsJobEnd* end);

    // "application/pdf" for a file that starts as a PDF does, "application/postscript" for one
    // that starts with "%!" (after a job-control prologue, if any), null otherwise or when the
    // file cannot be read.
    static const char* FormatOfFile(const std::string& path);

    std::string name;
    CupsFailure failure = CupsFailure::kNone;
    std::string error;

private:
    bool Fail(CupsFailure kind, const std::string& what);
    // Sorts libcups's last error into a failure, with `what` and the server's words.
    bool FailFromLastError(const std::string& what);
};

#endif  // HALYX_CUPSCLIENT_CUPSQUEUE_H
