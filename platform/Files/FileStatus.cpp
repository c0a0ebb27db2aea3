#include "Files/FileStatus.h"

#include <cerrno>

#include "Base/MacErrors.h"

namespace halyx::files {

OSErr StatusFromErrno(int err) {
    switch (err) {
        case 0:
            return noErr;
        case ENOENT:
        case EISDIR:
            return fnfErr;
        case ENOTDIR:
            return dirNFErr;
        case EACCES:
        case EPERM:
            return permErr;
        case EROFS:
            return wPrErr;
        case EEXIST:
            return dupFNErr;
        case EBADF:
            return rfNumErr;
        case ENOSPC:
        case EDQUOT:
        case EFBIG:
            return dskFulErr;
        case EMFILE:
        case ENFILE:
            return tmfoErr;
        case ENAMETOOLONG:
            return bdNamErr;
        case ENOTEMPTY:
        case EBUSY:
            return fBsyErr;
        case EINVAL:
            return paramErr;
        case ENOMEM:
            return memFullErr;
        default:
            return ioErr;
    }
}

}  // namespace halyx::files
