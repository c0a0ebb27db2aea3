#include "Core/PPDAcceptance.h"

#include <mutex>
#include <string>

#include "Core/FileIdentity.h"
#include "parser/PPDX.h"

namespace {

// The last answer, for a file in one state and one list (retained, so that no other list can
// take its place at the same address).
class LastAnswer {
public:
    ~LastAnswer() { Keep(std::string(), FileIdentity(), nullptr, false); }

    bool Find(const std::string& path, const FileIdentity& identity, CFArrayRef names,
              bool* accepted) {
        std::lock_guard<std::mutex> hold(mMutex);
        if (mNames == nullptr || names != mNames || path != mPath || identity != mIdentity)
            return false;
        *accepted = mAccepted;
        return true;
    }
    void Keep(const std::string& path, const FileIdentity& identity, CFArrayRef names,
              bool accepted) {
        std::lock_guard<std::mutex> hold(mMutex);
        if (mNames != nullptr) CFRelease(mNames);
        mNames = names != nullptr ? static_cast<CFArrayRef>(CFRetain(names)) : nullptr;
        mPath = path;
        mIdentity = identity;
        mAccepted = accepted;
    }

private:
    std::mutex mMutex;
    std::string mPath;
    FileIdentity mIdentity;
    CFArrayRef mNames = nullptr;
    bool mAccepted = false;
};

LastAnswer& Last() {
    static LastAnswer last;
    return last;
}

}  // namespace

bool IsAcceptedPPD(CFURLRef ppd, CFArrayRef names) {
    if (names == nullptr) return true;
    const std::string path = FileIdentity::PathOf(ppd);
    FileIdentity before;
    const bool known = FileIdentity::Of(path, &before);
    bool accepted = false;
    if (known && Last().Find(path, before, names, &accepted)) return accepted;
    accepted = PPDX::ValidateFileName(ppd, names, nullptr);
    FileIdentity after;
    if (known && before.Settled() && FileIdentity::Of(path, &after) && after == before)
        Last().Keep(path, before, names, accepted);
    return accepted;
}
