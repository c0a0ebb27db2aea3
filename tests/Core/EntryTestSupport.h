// Fixtures of the entry tests: a PPD written from a few job-note, range and special-option lines,
// parsed into the current model, and a session whose tickets collect the job's pieces.
#ifndef HALYX_TESTS_CORE_ENTRYTESTSUPPORT_H
#define HALYX_TESTS_CORE_ENTRYTESTSUPPORT_H

#include <gtest/gtest.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include <string>
#include <utility>
#include <vector>

#include "Core/CurrentPPD.h"
#include "CoreFoundation/CFData.h"
#include "CoreFoundation/CFNumber.h"
#include "CoreFoundation/CFPropertyList.h"
#include "CoreFoundation/CFURL.h"
#include "parser/ORBPPD.h"

namespace entrytest {

inline std::string PPDText(const std::string& body) {
    return "*PPD-Adobe: \"4.3\"\n"
           "*FormatVersion: \"4.3\"\n"
           "*FileVersion: \"1.0\"\n"
           "*LanguageVersion: English\n"
           "*LanguageEncoding: ISOLatin1\n"
           "*PCFileName: \"HALYX01.PPD\"\n"
           "*Manufacturer: \"Halyx\"\n"
           "*Product: \"(Halyx Test Printer)\"\n"
           "*ModelName: \"Halyx Test Printer\"\n"
           "*NickName: \"Halyx Test Printer\"\n"
           "*ShortNickName: \"Halyx Test Printer\"\n"
           "*PSVersion: \"(3010.000) 0\"\n" +
           body;
}

// Writes `body` under a PPD header into a new temporary file and parses it with orphans and
// hidden members; the model becomes the current one until the holder goes.
class ParsedPPD {
public:
    explicit ParsedPPD(const std::string& body) {
        char pattern[] = "/tmp/halyx-entries-XXXXXX";
        int fd = mkstemp(pattern);
        if (fd < 0) return;
        mPath = pattern;
        std::string text = PPDText(body);
        if (write(fd, text.data(), text.size()) != static_cast<ssize_t>(text.size())) mPath = "";
        close(fd);
        CFURLRef url = CFURLCreateFromFileSystemRepresentation(
            nullptr, reinterpret_cast<const UInt8*>(pattern), static_cast<CFIndex>(strlen(pattern)),
            false);
        mModel = new ORBPPD(url, ORBPPD::kParseOrphans | ORBPPD::kParseHidden, nullptr);
        CFRelease(url);
        mModel->Retain();
        gORBPPD = mModel;
    }
    ~ParsedPPD() {
        if (gORBPPD == mModel) gORBPPD = nullptr;
        if (mModel != nullptr) mModel->Release();
        if (!mPath.empty()) unlink(mPath.c_str());
    }
    ORBPPD* Model() const { return mModel; }
    const std::string& Path() const { return mPath; }

private:
    ParsedPPD(const ParsedPPD&) = delete;
    ParsedPPD& operator=(const ParsedPPD&) = delete;
    std::string mPath;
    ORBPPD* mModel = nullptr;
};

typedef std::vector<std::pair<SInt32, std::string>> Pieces;

// The pieces of an XML property list file written by the job ticket: [site, bytes, ...].
inline Pieces ReadPiecesFile(const std::string& path) {
    Pieces pieces;
    std::string xml;
    FILE* file = fopen(path.c_str(), "rb");
    if (file == nullptr) return pieces;
    char buffer[4096];
    size_t count;
    while ((count = fread(buffer, 1, sizeof buffer, file)) > 0) xml.append(buffer, count);
    fclose(file);
    CFDataRef data = CFDataCreate(nullptr, reinterpret_cast<const UInt8*>(xml.data()),
                                  static_cast<CFIndex>(xml.size()));
    CFPropertyListRef list = CFPropertyListCreateFromXMLData(nullptr, data, 0, nullptr);
    CFRelease(data);
    if (list == nullptr) return pieces;
    if (CFGetTypeID(list) == CFArrayGetTypeID()) {
        CFArrayRef array = static_cast<CFArrayRef>(list);
        for (CFIndex i = 0; i + 1 < CFArrayGetCount(array); i += 2) {
            SInt32 site = 0;
            CFNumberGetValue(static_cast<CFNumberRef>(CFArrayGetValueAtIndex(array, i)),
                             kCFNumberSInt32Type, &site);
            CFDataRef bytes = static_cast<CFDataRef>(CFArrayGetValueAtIndex(array, i + 1));
            pieces.emplace_back(site,
                                std::string(reinterpret_cast<const char*>(CFDataGetBytePtr(bytes)),
                                            static_cast<size_t>(CFDataGetLength(bytes))));
        }
    }
    CFRelease(list);
    return pieces;
}

}  // namespace entrytest

#endif  // HALYX_TESTS_CORE_ENTRYTESTSUPPORT_H
