#include "cupsclient/CupsQueue.h"

#include <cups/cups.h>
#include <cups/ppd.h>
#include <errno.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

namespace {

constexpr useconds_t kPollInterval = 250 * 1000;
constexpr size_t kChunk = 64 * 1024;
// How far into a file its type is looked for.
constexpr size_t kSniffSize = 4096;

const char* StateName(int state) {
    switch (state) {
        case IPP_JSTATE_PENDING:
            return "pending";
        case IPP_JSTATE_HELD:
            return "held";
        case IPP_JSTATE_PROCESSING:
            return "processing";
        case IPP_JSTATE_STOPPED:
            return "stopped";
        case IPP_JSTATE_CANCELED:
            return "canceled";
        case IPP_JSTATE_ABORTED:
            return "aborted";
        case IPP_JSTATE_COMPLETED:
            return "completed";
    }
    return "unknown";
}

// The server as a person would name it: its local socket, or host and port.
std::string ServerName() {
    std::string server = cupsServer();
    if (!server.empty() && server[0] == '/') return server;
    return server + ":" + std::to_string(ippPort());
}

}  // namespace

bool CupsQueue::Fail(CupsFailure kind, const std::string& what) {
    failure = kind;
    error = "queue " + name + ": " + what;
    return false;
}

bool CupsQueue::FailFromLastError(const std::string& what) {
    std::string words = cupsLastErrorString() != nullptr ? cupsLastErrorString() : "";
    ipp_status_t status = cupsLastError();
    if (status == IPP_STATUS_ERROR_SERVICE_UNAVAILABLE || status == IPP_STATUS_ERROR_INTERNAL)
        return Fail(CupsFailure::kNoServer, "the server " + ServerName() + " does not answer");
    if (status == IPP_STATUS_ERROR_NOT_FOUND)
        return Fail(CupsFailure::kNoQueue, "no such queue on " + ServerName());
    return Fail(CupsFailure::kRefused, what + " (" + words + ")");
}

bool CupsQueue::FetchPPD(std::string* path) {
    path->clear();
    // Asking for the queue's state tells a missing queue from a server that does not answer.
    char uri[HTTP_MAX_URI];
    httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", 0,
                     "/printers/%s", name.c_str());
    ipp_t* request = ippNewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr,
                 "printer-state");
    ippDelete(cupsDoRequest(CUPS_HTTP_DEFAULT, request, "/"));
    if (cupsLastError() > IPP_STATUS_OK_EVENTS_COMPLETE)
        return FailFromLastError("the server does not tell of the queue");
    char buffer[1024] = "";
    time_t modified = 0;
    // The queue's PPD is what the pane reads; libcups marks its PPD calls deprecated but the
    // server still serves every PPD queue's file through them.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    http_status_t status =
        cupsGetPPD3(CUPS_HTTP_DEFAULT, name.c_str(), &modified, buffer, sizeof buffer);
#pragma GCC diagnostic pop
    if (status != HTTP_STATUS_OK) {
        if (buffer[0] != '\0') unlink(buffer);
        if (status == HTTP_STATUS_ERROR) return FailFromLastError("the server gives no PPD for it");
        return Fail(CupsFailure::kNoPPD,
                    std::string("the server gives no PPD for it (") + httpStatus(status) + ")");
    }
    *path = buffer;
    return true;
}

bool CupsQueue::Submit(const std::string& title, const std::string& documentPath,
                       const char* format, const Options& options, int* job) {
    *job = 0;
    int fd = open(documentPath.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return Fail(CupsFailure::kBadDocument,
                    "cannot read " + documentPath + ": " + std::strerror(errno));
    cups_option_t* list = nullptr;
    int count = 0;
    for (const auto& option : options)
        count = cupsAddOption(option.first.c_str(), option.second.c_str(), count, &list);
    int id = cupsCreateJob(CUPS_HTTP_DEFAULT, name.c_str(), title.c_str(), count, list);
    cupsFreeOptions(count, list);
    if (id == 0) {
        close(fd);
        return FailFromLastError("the server refused the job");
    }
    std::string base = documentPath.substr(documentPath.find_last_of('/') + 1);
    if (cupsStartDocument(CUPS_HTTP_DEFAULT, name.c_str(), id, base.c_str(), format, 1) !=
        HTTP_STATUS_CONTINUE) {
        close(fd);
        return FailFromLastError("the server refused the document");
    }
    char chunk[kChunk];
    bool sent = true;
    int readError = 0;
    while (sent) {
        ssize_t n = read(fd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) readError = errno;
        if (n <= 0) break;
        sent = cupsWriteRequestData(CUPS_HTTP_DEFAULT, chunk, static_cast<size_t>(n)) ==
               HTTP_STATUS_CONTINUE;
    }
    close(fd);
    ipp_status_t finished = cupsFinishDocument(CUPS_HTTP_DEFAULT, name.c_str());
    if (readError != 0) {
        cupsCancelJob2(CUPS_HTTP_DEFAULT, name.c_str(), id, 0);
        return Fail(CupsFailure::kBadDocument,
                    "cannot read " + documentPath + ": " + std::strerror(readError));
    }
    if (!sent || finished > IPP_STATUS_OK_EVENTS_COMPLETE)
        return FailFromLastError("the server refused the document");
    *job = id;
    return true;
}

bool CupsQueue::Wait(int job, CupsJobEnd* end) {
    *end = CupsJobEnd();
    char uri[HTTP_MAX_URI];
    httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", 0,
                     "/jobs/%d", job);
    static const char* const kWanted[] = {"job-state", "job-printer-state-message"};
    while (true) {
        ipp_t* request = ippNewRequest(IPP_OP_GET_JOB_ATTRIBUTES);
        ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "job-uri", nullptr, uri);
        ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr,
                     cupsUser());
        ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", 2,
                      nullptr, kWanted);
        ipp_t* response = cupsDoRequest(CUPS_HTTP_DEFAULT, request, "/");
        if (response == nullptr || cupsLastError() > IPP_STATUS_OK_EVENTS_COMPLETE) {
            ippDelete(response);
            return FailFromLastError("the server does not tell of job " + std::to_string(job));
        }
        ipp_attribute_t* state = ippFindAttribute(response, "job-state", IPP_TAG_ENUM);
        ipp_attribute_t* message =
            ippFindAttribute(response, "job-printer-state-message", IPP_TAG_TEXT);
        end->state = state != nullptr ? ippGetInteger(state, 0) : 0;
        end->message = message != nullptr && ippGetString(message, 0, nullptr) != nullptr
                           ? ippGetString(message, 0, nullptr)
                           : "";
        ippDelete(response);
        end->stateName = StateName(end->state);
        if (end->state >= IPP_JSTATE_STOPPED) return true;
        usleep(kPollInterval);
    }
}

const char* CupsQueue::FormatOfFile(const std::string& path) {
    FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return nullptr;
    char head[kSniffSize];
    size_t length = std::fread(head, 1, sizeof head, file);
    std::fclose(file);
    std::string text(head, length);
    if (text.compare(0, 5, "%PDF-") == 0) return "application/pdf";
    size_t start = text.find_first_not_of('\x04');
    if (start != std::string::npos && text.compare(start, 2, "%!") == 0)
        return "application/postscript";
    // A job-control prologue (PJL) before the program.
    if (text.compare(0, 9, "\x1b%-12345X") == 0 &&
        (text.find("\n%!") != std::string::npos || text.find("X%!") != std::string::npos))
        return "application/postscript";
    return nullptr;
}
