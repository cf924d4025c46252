#include "shell/posix/record_lock_posix.h"

#include <fcntl.h>

#include <cerrno>

int TryRecordLock(int file) {
    struct flock whole = {};
    whole.l_type = F_WRLCK;
    whole.l_whence = SEEK_SET;  // from the start, to the end however long
#ifdef F_OFD_SETLK
    // Held by the open file rather than the process, so that closing some
    // other descriptor of the same file never lets it go.
    if (fcntl(file, F_OFD_SETLK, &whole) == 0) return 0;
    if (errno != EINVAL) return errno;
#endif
    return fcntl(file, F_SETLK, &whole) == 0 ? 0 : errno;
}
