#include "tools/QueuePrint.h"

#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>

#include "cupsclient/TestPage.h"
#include "tools/Commands.h"

namespace halyx::tools {

namespace {

// CUPS queue names: printable, no blank, '/', '#' or quote, at most 127 bytes.
bool IsQueueName(const std::string& name) {
    if (name.empty() || name.size() > 127) return false;
    for (unsigned char c : name)
        if (c <= ' ' || c == 0x7f || c == '/' || c == '#' || c == '\'' || c == '"' || c == '\\')
            return false;
    return true;
}

bool CopyFile(const std::string& from, const std::string& to) {
    std::ifstream in(from, std::ios::binary);
    if (!in) return false;
    std::ofstream out(to, std::ios::binary);
    out << in.rdbuf();
    return static_cast<bool>(out.flush());
}

}  // namespace

QueuePrint::~QueuePrint() {
    if (!mPPDPath.empty()) unlink(mPPDPath.c_str());
    if (!mTestPage.empty()) unlink(mTestPage.c_str());
    if (!mFolder.empty()) rmdir(mFolder.c_str());
}

int QueuePrint::Fail(const std::string& message) {
    std::fprintf(stderr, "halyx-jobnotes print: %s\n", message.c_str());
    return kExitUsage;
}

int QueuePrint::Prepare(std::string* ppdPath) {
    if (!IsQueueName(mQueue)) return Fail("\"" + mQueue + "\" is not a queue name");
    if (!mDocument.empty()) {
        if (access(mDocument.c_str(), R_OK) != 0)
            return Fail("cannot read the document " + mDocument);
        if (CupsQueue::FormatOfFile(mDocument) == nullptr)
            return Fail("the document " + mDocument + " is neither PostScript nor PDF");
    }
    CupsQueue queue(mQueue);
    std::string fetched;
    if (!queue.FetchPPD(&fetched)) return Fail(queue.error);
    const char* tmp = getenv("TMPDIR");
    std::string folder =
        std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/halyx-queue.XXXXXX";
    bool made = mkdtemp(&folder[0]) != nullptr;
    if (made) {
        mFolder = folder;
        mPPDPath = folder + "/" + mQueue + ".ppd";
        made = CopyFile(fetched, mPPDPath);
    }
    unlink(fetched.c_str());
    if (!made) return Fail("queue " + mQueue + ": cannot keep its PPD in a temporary folder");
    *ppdPath = mPPDPath;
    return kExitOk;
}

int QueuePrint::Send(const PrintResult& result) {
    std::string document = mDocument;
    std::string title = mDocument.substr(mDocument.find_last_of('/') + 1);
    if (document.empty()) {
        title = "Halyx Job Notes test page";
        if (!WriteTestPage(title, mQueue, &mTestPage)) {
            if (!result.piecesFile.empty()) unlink(result.piecesFile.c_str());
            return Fail("cannot write the test page in a temporary file");
        }
        document = mTestPage;
    }
    CupsQueue::Options options;
    if (!result.piecesFile.empty()) options.emplace_back(result.piecesKey, result.piecesFile);
    CupsQueue queue(mQueue);
    if (!queue.Submit(title, document, CupsQueue::FormatOfFile(document), options, &mJob)) {
        // No job will read the pieces.
        if (!result.piecesFile.empty()) unlink(result.piecesFile.c_str());
        return Fail(queue.error);
    }
    if (!mWait) return kExitOk;
    if (!queue.Wait(mJob, &mEnd)) return Fail(queue.error);
    if (!mEnd.Stopped() && !result.piecesFile.empty()) unlink(result.piecesFile.c_str());
    return mEnd.Completed() ? kExitOk : kExitJobEnded;
}

nlohmann::ordered_json QueuePrint::JsonFields() const {
    nlohmann::ordered_json fields = nlohmann::ordered_json::object();
    fields["job"] = mJob;
    if (mWait) {
        fields["job_state"] = mEnd.stateName;
        fields["job_message"] = mEnd.message;
    }
    return fields;
}

void QueuePrint::PrintText() const {
    std::printf("Job: %d on queue %s\n", mJob, mQueue.c_str());
    if (!mWait) return;
    std::printf("Job state: %s\n", mEnd.stateName.c_str());
    std::printf("Job message: %s\n", mEnd.message.empty() ? "(none)" : mEnd.message.c_str());
}

}  // namespace halyx::tools
