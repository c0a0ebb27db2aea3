#include "PrintCore/UserName.h"

#include <pwd.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

namespace {

bool HasText(const char* text) {
    return text != nullptr && text[0] != '\0';
}

CFStringRef CreateName(const char* bytes, size_t length) {
    const UInt8* start = reinterpret_cast<const UInt8*>(bytes);
    CFIndex count = static_cast<CFIndex>(length);
    CFStringRef name =
        CFStringCreateWithBytes(kCFAllocatorDefault, start, count, kCFStringEncodingUTF8, false);
    if (name == nullptr) {
        name = CFStringCreateWithBytes(kCFAllocatorDefault, start, count,
                                       kCFStringEncodingISOLatin1, false);
    }
    return name;
}

}  // namespace

CFStringRef HalyxCopyUserNameFrom(const char* accountComment, const char* accountLogin,
                                  const char* userVariable, const char* lognameVariable,
                                  Boolean useShortName) {
    if (!useShortName && accountComment != nullptr) {
        // The comment field reads "Full Name,Room,Work phone,Home phone,Other".
        size_t length = strcspn(accountComment, ",");
        if (length > 0) return CreateName(accountComment, length);
    }
    const char* login = HasText(accountLogin)      ? accountLogin
                        : HasText(userVariable)    ? userVariable
                        : HasText(lognameVariable) ? lognameVariable
                                                   : nullptr;
    return login != nullptr ? CreateName(login, strlen(login)) : nullptr;
}

CFStringRef CSCopyUserName(Boolean useShortName) {
    const struct passwd* account = getpwuid(getuid());
    return HalyxCopyUserNameFrom(account != nullptr ? account->pw_gecos : nullptr,
                                 account != nullptr ? account->pw_name : nullptr, getenv("USER"),
                                 getenv("LOGNAME"), useShortName);
}
