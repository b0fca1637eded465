// mapwait: how long a program takes to put its window on the screen.
//
//     mapwait WINDOW-NAME PROGRAM [ARGUMENT...]
//
// Starts the program, waits until a top-level window named WINDOW-NAME is mapped on the X
// display ($DISPLAY), prints the milliseconds from the start to that map and ends the
// program with SIGTERM. Run it on a display without a window manager: a window manager
// reparents each top-level into a frame of its own, and the root window then sees the
// frame mapped rather than the program's window.
#include <xcb/xcb.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

namespace {

constexpr double TimeoutMs = 10000;
constexpr double EndTimeoutMs = 5000;
// How often, while no event comes, to look whether the program has ended.
constexpr int ChildPollMs = 20;

double nowMs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

xcb_atom_t internAtom(xcb_connection_t *connection, const char *name)
{
    xcb_intern_atom_reply_t *reply =
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, uint16_t(std::strlen(name)), name), nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return atom;
}

// The bytes of a window property of any type; empty when the window has none.
std::string property(xcb_connection_t *connection, xcb_window_t window, xcb_atom_t name)
{
    xcb_get_property_reply_t *reply = xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, window, name, XCB_GET_PROPERTY_TYPE_ANY, 0, 1024), nullptr);
    std::string value;
    if (reply)
        value.assign(static_cast<const char *>(xcb_get_property_value(reply)),
                     size_t(xcb_get_property_value_length(reply)));
    std::free(reply);
    return value;
}

// The process that owns the window, as it says itself; the program started may be a
// wrapper such as /usr/bin/time, which must outlive the program to report on it.
pid_t ownerOf(xcb_connection_t *connection, xcb_window_t window, xcb_atom_t netWmPid, pid_t fallback)
{
    const std::string pid = property(connection, window, netWmPid);
    if (pid.size() != sizeof(uint32_t))
        return fallback;
    uint32_t value = 0;
    std::memcpy(&value, pid.data(), sizeof value);
    return pid_t(value);
}

// Ends the window's owner and waits for the program started; a wrapper around the owner
// then ends by itself, after its report. One that does not is killed.
void end(pid_t owner, pid_t child)
{
    kill(owner, SIGTERM);
    const double deadline = nowMs() + EndTimeoutMs;
    while (waitpid(child, nullptr, WNOHANG) == 0) {
        if (nowMs() > deadline) {
            kill(child, SIGKILL);
            waitpid(child, nullptr, 0);
            return;
        }
        usleep(1000);
    }
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: mapwait WINDOW-NAME PROGRAM [ARGUMENT...]\n");
        return 2;
    }
    const std::string wantedName = argv[1];

    int screenNumber = 0;
    xcb_connection_t *connection = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(connection)) {
        std::fprintf(stderr, "mapwait: cannot open the display %s\n", std::getenv("DISPLAY"));
        return 1;
    }
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int i = 0; i < screenNumber; ++i)
        xcb_screen_next(&screens);
    const xcb_window_t root = screens.data->root;

    // The selection must be in force before the program can map anything: checked, so
    // that the server has carried it out when the request returns.
    const uint32_t eventMask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    if (xcb_generic_error_t *error = xcb_request_check(
            connection, xcb_change_window_attributes_checked(connection, root, XCB_CW_EVENT_MASK, &eventMask))) {
        std::fprintf(stderr, "mapwait: cannot watch the root window (X error %d)\n", error->error_code);
        return 1;
    }
    const xcb_atom_t netWmName = internAtom(connection, "_NET_WM_NAME");
    const xcb_atom_t netWmPid = internAtom(connection, "_NET_WM_PID");
    // The program gets a connection of its own, not ours.
    const int fd = xcb_get_file_descriptor(connection);
    fcntl(fd, F_SETFD, fcntl(fd, F_GETFD) | FD_CLOEXEC);

    const double start = nowMs();
    const pid_t child = fork();
    if (child < 0) {
        std::perror("mapwait: fork");
        return 1;
    }
    if (child == 0) {
        execvp(argv[2], argv + 2);
        std::fprintf(stderr, "mapwait: cannot run %s: %s\n", argv[2], std::strerror(errno));
        _exit(127);
    }

    const double deadline = start + TimeoutMs;
    for (;;) {
        while (xcb_generic_event_t *event = xcb_poll_for_event(connection)) {
            const bool isMap = (event->response_type & ~0x80) == XCB_MAP_NOTIFY;
            const xcb_window_t window = isMap ? reinterpret_cast<xcb_map_notify_event_t *>(event)->window : 0;
            std::free(event);
            if (!isMap)
                continue;
            const double mapped = nowMs();
            // Programs map helper windows too; only the one named counts.
            if (property(connection, window, XCB_ATOM_WM_NAME) != wantedName
                && property(connection, window, netWmName) != wantedName)
                continue;
            std::printf("%.1f\n", mapped - start);
            std::fflush(stdout);
            end(ownerOf(connection, window, netWmPid, child), child);
            return 0;
        }
        if (xcb_connection_has_error(connection)) {
            std::fprintf(stderr, "mapwait: lost the display\n");
            end(child, child);
            return 1;
        }
        if (waitpid(child, nullptr, WNOHANG) == child) {
            std::fprintf(stderr, "mapwait: %s ended before its window \"%s\" was mapped\n", argv[2], argv[1]);
            return 1;
        }
        const double left = deadline - nowMs();
        if (left <= 0) {
            std::fprintf(stderr, "mapwait: no window \"%s\" within %.0f s\n", argv[1], TimeoutMs / 1000);
            end(child, child);
            return 1;
        }
        pollfd display{fd, POLLIN, 0};
        poll(&display, 1, left < ChildPollMs ? int(left) + 1 : ChildPollMs);
    }
}
