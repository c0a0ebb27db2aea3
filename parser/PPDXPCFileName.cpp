#include <cstring>

#include "CoreFoundation/CFString.h"
#include "Files/FileForks.h"
#include "foundation/BoyerMoore.h"
#include "parser/PPDFile.h"
#include "parser/PPDX.h"

bool PPDX::ValidateAgainstPCFilename(CFArrayRef names, PPDFile* file) {
    if (file == nullptr || file->openDataFork(fsCurPerm) != noErr) return false;
    char head[kPCFileNameSearchBytes];
    std::memset(head, 0, sizeof head);
    long count = kPCFileNameSearchBytes;
    file->dataForkRead(head, count);
    file->closeDataFork();
    if (count <= 0) return false;

    static const char kKeyword[] = "*PCFileName";
    const short keywordLength = sizeof kKeyword - 1;
    BoyerMoore finder(kKeyword, keywordLength, head, count);
    long found = finder.Search();
    if (found < 0) return false;

    long start = found + keywordLength;
    while (start < kPCFileNameSearchBytes - 1 && start < count &&
           (head[start] == ' ' || head[start] == '\t'))
        ++start;
    long window = count - start;
    if (window > kPCFileNameWindow) window = kPCFileNameWindow;
    if (window <= 0 || names == nullptr) return false;

    CFIndex entries = CFArrayGetCount(names);
    for (CFIndex i = 0; i < entries; ++i) {
        CFStringRef name = static_cast<CFStringRef>(CFArrayGetValueAtIndex(names, i));
        Str255 pascal;
        if (name == nullptr ||
            !CFStringGetPascalString(name, pascal, sizeof pascal, kCFStringEncodingMacRoman))
            continue;
        BoyerMoore matcher;
        matcher.SetSearchData(head + start, window);
        if (matcher.Search(0, pascal) >= 0) return true;
    }
    return false;
}

bool PPDX::ValidateFileName(const CFURLRef url, CFArrayRef names, PPDFile* file) {
    if (names == nullptr) return true;
    if (file != nullptr) return ValidateAgainstPCFilename(names, file);
    PPDFile fromURL(url);
    return ValidateAgainstPCFilename(names, &fromURL);
}
