#define _GNU_SOURCE
#include "faultinjection.h"

#include <dlfcn.h>
#include <errno.h>
#include <limits.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

enum Call { Write, Fsync, Close, Rename, CallCount };

static const char *const callNames[CallCount] = {"write", "fsync", "close", "rename"};

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
    return path && strncmp(path, state.folder, state.folderLength) == 0 && path[state.folderLength] == '/';
}

static int fdInFolder(int fd)
{
    char link[64];
    char path[PATH_MAX];
    snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    const ssize_t length = readlink(link, path, sizeof path - 1);
    if (length < 0)
        return 0;
    path[length] = '\0';
    // The folder itself counts too: its own fsync and close follow a rename.
    return inFolder(path) || strcmp(path, state.folder) == 0;
}

// True when this call is the one to fail; errno is then set.
static int fails(int call, int counted)
{
    if (!state.armed || !counted)
        return 0;
    if (++state.counts[call] != state.nth || state.call != call)
        return 0;
    errno = state.error;
    return 1;
}

// POSIX lets dlsym give functions; ISO C does not know that.
#define REAL(name) (__extension__(__typeof__(&name)) dlsym(RTLD_NEXT, #name))

ssize_t write(int fd, const void *data, size_t size)
{
    if (fails(Write, state.armed && fdInFolder(fd)))
        return -1;
    return REAL(write)(fd, data, size);
}

int fsync(int fd)
{
    if (fails(Fsync, state.armed && fdInFolder(fd)))
        return -1;
    return REAL(fsync)(fd);
}

int close(int fd)
{
    if (fails(Close, state.armed && fdInFolder(fd))) {
        // A failing close still closes the descriptor, as on Linux.
        REAL(close)(fd);
        errno = state.error;
        return -1;
    }
    return REAL(close)(fd);
}

int rename(const char *from, const char *to)
{
    if (fails(Rename, state.armed && (inFolder(from) || inFolder(to))))
        return -1;
    return REAL(rename)(from, to);
}
