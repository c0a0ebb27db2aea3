// The name of the user the process runs for.
#ifndef HALYX_PLATFORM_PRINTCORE_USERNAME_H
#define HALYX_PLATFORM_PRINTCORE_USERNAME_H

#include "Base/MacTypes.h"
#include "CoreFoundation/CFString.h"

#ifdef __cplusplus
extern "C" {
#endif

// The user's full name, or with `useShortName` the login name, for the caller to release.
// The full name is the account's comment field up to its first comma; when that is empty the
// login name stands in. The login name comes from the account database, else from $USER, else
// from $LOGNAME. NULL when none of them gives a name.
CFStringRef CSCopyUserName(Boolean useShortName);

// The choice CSCopyUserName makes, over sources given by the caller (each may be NULL): the
// account's comment field and login name, and the values of $USER and $LOGNAME. Bytes that are
// not UTF-8 are read as ISO Latin 1.
CFStringRef HalyxCopyUserNameFrom(const char* accountComment, const char* accountLogin,
                                  const char* userVariable, const char* lognameVariable,
                                  Boolean useShortName);

#ifdef __cplusplus
}
#endif

#endif  // HALYX_PLATFORM_PRINTCORE_USERNAME_H
