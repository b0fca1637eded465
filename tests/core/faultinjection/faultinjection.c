#define _GNU_SOURCE
// The wrappers below take the place of the C library's own functions, which its fortified
// inline versions would hide.
#undef _FORTIFY_SOURCE
#include "faultinjection.h"

#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <stdarg.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

enum Call { Write, Fsync, Close, Rename, Openat, Read, Mkdir, Unlink, Ftruncate, Fchmod, CallCount };

static const char *const callNames[CallCount] = {"write", "fsync", "close",  "rename",    "openat",
                                                 "read",  "mkdir", "unlink", "ftruncate", "fchmod"};

static struct
{
    int armed;
    char folder[PATH_MAX];
    size_t folderLength;
    int call;
    int nth;
    int error;
    int counts[CallCount];
} state;

static int callOf(const char *name)
{
    for (int call = 0; call < CallCount; ++call) {
        if (name && strcmp(name, callNames[call]) == 0)
            return call;
    }
    return -1;
}

void varn_fault_arm(const char *folder, const char *call, int nth, int error)
{
    memset(&state, 0, sizeof state);
    snprintf(state.folder, sizeof state.folder, "%s", folder ? folder : "");
    state.folderLength = strlen(state.folder);
    state.call = callOf(call);
    state.nth = nth;
    state.error = error;
    state.armed = state.folderLength > 0;
}

int varn_fault_count(const char *call)
{
    const int kind = callOf(call);
    return kind < 0 ? 0 : state.counts[kind];
}

static void writeCounts(void)
{
    const char *file = getenv("VARN_FAULT_COUNTS");
    FILE *out = file ? fopen(file, "w") : NULL;
    if (!out)
        return;
    for (int call = 0; call < CallCount; ++call)
        fprintf(out, "%s %d\n", callNames[call], state.counts[call]);
    fclose(out);
}

__attribute__((constructor)) static void armFromEnvironment(void)
{
    const char *folder = getenv("VARN_FAULT_DIR");
    if (!folder)
        return;
    const char *nth = getenv("VARN_FAULT_NTH");
    const char *error = getenv("VARN_FAULT_ERRNO");
    varn_fault_arm(folder, getenv("VARN_FAULT_CALL"), nth ? atoi(nth) : 0, error ? atoi(error) : ENOSPC);
    atexit(writeCounts);
}

static int inFolder(const char *path)
{
    if (!path)
        return 0;
    // The folder itself counts too: its own fsync and close follow a rename.
    const int inside = strncmp(path, state.folder, state.folderLength) == 0;
    return inside && (path[state.folderLength] == '/' || path[state.folderLength] == '\0');
}

// The path a relative one names from the folder of dirfd, AT_FDCWD for the working folder.
static const char *absolutePath(int dirfd, const char *path, char *buffer)
{
    if (!path || path[0] == '/')
        return path;
    char folder[PATH_MAX];
    if (dirfd == AT_FDCWD) {
        if (!getcwd(folder, sizeof folder))
            return path;
    } else {
        char link[64];
        snprintf(link, sizeof link, "/proc/self/fd/%d", dirfd);
        const ssize_t length = readlink(link, folder, sizeof folder - 1);
        if (length < 0)
            return path;
        folder[length] = '\0';
    }
    const int length = snprintf(buffer, PATH_MAX, "%s/%s", folder, path);
    return length > 0 && length < PATH_MAX ? buffer : path;
}

static int pathInFolder(int dirfd, const char *path)
{
    char buffer[PATH_MAX];
    return state.armed && inFolder(absolutePath(dirfd, path, buffer));
}

static int fdInFolder(int fd)
{
    if (!state.armed)
        return 0;
    char link[64];
    char path[PATH_MAX];
    snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    const ssize_t length = readlink(link, path, sizeof path - 1);
    if (length < 0)
        return 0;
    path[length] = '\0';
    return inFolder(path);
}

// True when this call is the one to fail, or every call is to fail (nth below 0, a full
// disk); errno is then set.
static int fails(int call, int counted)
{
    if (!state.armed || !counted)
        return 0;
    ++state.counts[call];
    if (state.call != call || (state.nth >= 0 && state.counts[call] != state.nth))
        return 0;
    errno = state.error;
    return 1;
}

// POSIX lets dlsym give functions; ISO C does not know that.
#define REAL(name) (__extension__(__typeof__(&name)) dlsym(RTLD_NEXT, #name))

static ssize_t faultyWrite(int fd, const void *data, size_t size)
{
    if (fails(Write, fdInFolder(fd)))
        return -1;
    return REAL(write)(fd, data, size);
}

static ssize_t faultyRead(int fd, void *data, size_t size)
{
    if (fails(Read, fdInFolder(fd)))
        return -1;
    return REAL(read)(fd, data, size);
}

static int faultyClose(int fd)
{
    if (fails(Close, fdInFolder(fd))) {
        // A failing close still closes the descriptor, as on Linux.
        REAL(close)(fd);
        errno = state.error;
        return -1;
    }
    return REAL(close)(fd);
}

static int faultyOpen(int dirfd, const char *path, int flags, mode_t mode)
{
    if (fails(Openat, pathInFolder(dirfd, path)))
        return -1;
    return REAL(openat)(dirfd, path, flags, mode);
}

ssize_t write(int fd, const void *data, size_t size)
{
    return faultyWrite(fd, data, size);
}

ssize_t read(int fd, void *data, size_t size)
{
    return faultyRead(fd, data, size);
}

int close(int fd)
{
    return faultyClose(fd);
}

int fsync(int fd)
{
    if (fails(Fsync, fdInFolder(fd)))
        return -1;
    return REAL(fsync)(fd);
}

int fdatasync(int fd)
{
    if (fails(Fsync, fdInFolder(fd)))
        return -1;
    return REAL(fdatasync)(fd);
}

int ftruncate(int fd, off_t length)
{
    if (fails(Ftruncate, fdInFolder(fd)))
        return -1;
    return REAL(ftruncate)(fd, length);
}

int ftruncate64(int fd, off64_t length)
{
    if (fails(Ftruncate, fdInFolder(fd)))
        return -1;
    return REAL(ftruncate64)(fd, length);
}

int fchmod(int fd, mode_t mode)
{
    if (fails(Fchmod, fdInFolder(fd)))
        return -1;
    return REAL(fchmod)(fd, mode);
}

int rename(const char *from, const char *to)
{
    if (fails(Rename, pathInFolder(AT_FDCWD, from) || pathInFolder(AT_FDCWD, to)))
        return -1;
    return REAL(rename)(from, to);
}

int renameat(int fromFolder, const char *from, int toFolder, const char *to)
{
    if (fails(Rename, pathInFolder(fromFolder, from) || pathInFolder(toFolder, to)))
        return -1;
    return REAL(renameat)(fromFolder, from, toFolder, to);
}

// The mode is there only when a file may be created.
#define MODE_ARGUMENT(flags, mode)                                                                                     \
    do {                                                                                                               \
        if ((flags) & (O_CREAT | O_TMPFILE)) {                                                                         \
            va_list arguments;                                                                                         \
            va_start(arguments, flags);                                                                                \
            mode = va_arg(arguments, mode_t);                                                                          \
            va_end(arguments);                                                                                         \
        }                                                                                                              \
    } while (0)

int open(const char *path, int flags, ...)
{
    mode_t mode = 0;
    MODE_ARGUMENT(flags, mode);
    return faultyOpen(AT_FDCWD, path, flags, mode);
}

int open64(const char *path, int flags, ...)
{
    mode_t mode = 0;
    MODE_ARGUMENT(flags, mode);
    return faultyOpen(AT_FDCWD, path, flags, mode);
}

int openat(int dirfd, const char *path, int flags, ...)
{
    mode_t mode = 0;
    MODE_ARGUMENT(flags, mode);
    return faultyOpen(dirfd, path, flags, mode);
}

int openat64(int dirfd, const char *path, int flags, ...)
{
    mode_t mode = 0;
    MODE_ARGUMENT(flags, mode);
    return faultyOpen(dirfd, path, flags, mode);
}

// The C library makes its temporary files and folders without its own open and mkdir.
int mkostemp(char *pattern, int flags)
{
    if (fails(Openat, pathInFolder(AT_FDCWD, pattern)))
        return -1;
    return REAL(mkostemp)(pattern, flags);
}

int mkstemp(char *pattern)
{
    if (fails(Openat, pathInFolder(AT_FDCWD, pattern)))
        return -1;
    return REAL(mkstemp)(pattern);
}

char *mkdtemp(char *pattern)
{
    if (fails(Mkdir, pathInFolder(AT_FDCWD, pattern)))
        return NULL;
    return REAL(mkdtemp)(pattern);
}

int mkdir(const char *path, mode_t mode)
{
    if (fails(Mkdir, pathInFolder(AT_FDCWD, path)))
        return -1;
    return REAL(mkdir)(path, mode);
}

int mkdirat(int dirfd, const char *path, mode_t mode)
{
    if (fails(Mkdir, pathInFolder(dirfd, path)))
        return -1;
    return REAL(mkdirat)(dirfd, path, mode);
}

// Removing a folder is the same system call as removing a file.
int unlink(const char *path)
{
    if (fails(Unlink, pathInFolder(AT_FDCWD, path)))
        return -1;
    return REAL(unlink)(path);
}

int unlinkat(int dirfd, const char *path, int flags)
{
    if (fails(Unlink, pathInFolder(dirfd, path)))
        return -1;
    return REAL(unlinkat)(dirfd, path, flags);
}

int rmdir(const char *path)
{
    if (fails(Unlink, pathInFolder(AT_FDCWD, path)))
        return -1;
    return REAL(rmdir)(path);
}

int remove(const char *path)
{
    if (fails(Unlink, pathInFolder(AT_FDCWD, path)))
        return -1;
    return REAL(remove)(path);
}

// A stream of the C library writes and reads through the library's own calls, out of sight
// of the wrappers above; a stream on a file in the folder is therefore made of the wrappers.
static ssize_t streamRead(void *cookie, char *data, size_t size)
{
    return faultyRead((int)(intptr_t)cookie, data, size);
}

static ssize_t streamWrite(void *cookie, const char *data, size_t size)
{
    const ssize_t written = faultyWrite((int)(intptr_t)cookie, data, size);
    return written < 0 ? 0 : written;
}

static int streamSeek(void *cookie, off64_t *offset, int whence)
{
    const off64_t position = lseek64((int)(intptr_t)cookie, *offset, whence);
    if (position < 0)
        return -1;
    *offset = position;
    return 0;
}

static int streamClose(void *cookie)
{
    return faultyClose((int)(intptr_t)cookie);
}

static FILE *streamOf(int fd, const char *mode)
{
    const cookie_io_functions_t functions = {streamRead, streamWrite, streamSeek, streamClose};
    return fopencookie((void *)(intptr_t)fd, mode, functions);
}

static int openFlagsOf(const char *mode)
{
    const int update = strchr(mode, '+') != NULL;
    int flags = strchr(mode, 'e') ? O_CLOEXEC : 0;
    if (strchr(mode, 'x'))
        flags |= O_EXCL;
    switch (mode[0]) {
    case 'w':
        return flags | (update ? O_RDWR : O_WRONLY) | O_CREAT | O_TRUNC;
    case 'a':
        return flags | (update ? O_RDWR : O_WRONLY) | O_CREAT | O_APPEND;
    default:
        return flags | (update ? O_RDWR : O_RDONLY);
    }
}

static FILE *faultyFopen(const char *path, const char *mode)
{
    const int fd = faultyOpen(AT_FDCWD, path, openFlagsOf(mode), 0666);
    FILE *stream = fd < 0 ? NULL : streamOf(fd, mode);
    if (fd >= 0 && !stream)
        REAL(close)(fd);
    return stream;
}

FILE *fopen(const char *path, const char *mode)
{
    if (pathInFolder(AT_FDCWD, path))
        return faultyFopen(path, mode);
    return REAL(fopen)(path, mode);
}

FILE *fopen64(const char *path, const char *mode)
{
    if (pathInFolder(AT_FDCWD, path))
        return faultyFopen(path, mode);
    return REAL(fopen64)(path, mode);
}

FILE *fdopen(int fd, const char *mode)
{
    if (fdInFolder(fd))
        return streamOf(fd, mode);
    return REAL(fdopen)(fd, mode);
}
