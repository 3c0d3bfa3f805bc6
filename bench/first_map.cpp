// Runs a program on the X display and reports what a person waits for: the
// time from exec to the first map of a top-level window, then the time to the
// program's end and its peak RSS.
// Usage: first_map PROGRAM [ARGS...]   prints "map_us exit_us peak_rss_kb"
#include <xcb/xcb.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <memory>

namespace {

using Clock = std::chrono::steady_clock;

long MicrosecondsSince(Clock::time_point start) {
    return static_cast<long>(
        std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start).count());
}

// Top-level windows are children of the root: watching its substructure
// sees every map without a window manager.
bool WatchTopLevelMaps(xcb_connection_t* x) {
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(x)).data;
    const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_void_cookie_t cookie =
        xcb_change_window_attributes_checked(x, screen->root, XCB_CW_EVENT_MASK, &mask);
    std::unique_ptr<xcb_generic_error_t, decltype(&std::free)> error(xcb_request_check(x, cookie),
                                                                     &std::free);
    return error == nullptr;
}

long WaitForFirstMap(xcb_connection_t* x, Clock::time_point start) {
    while (xcb_generic_event_t* event = xcb_wait_for_event(x)) {
        const bool mapped = (event->response_type & 0x7F) == XCB_MAP_NOTIFY;
        std::free(event);
        if (mapped) return MicrosecondsSince(start);
    }
    return -1; // the display went away
}

// An X server with no clients left resets itself, and a connection made
// during that reset fails; between two runs nothing else may be connected,
// so such a failure is retried rather than taken for a missing display.
xcb_connection_t* ConnectWithRetries() {
    for (int attempt = 0;; ++attempt) {
        xcb_connection_t* x = xcb_connect(nullptr, nullptr);
        if (xcb_connection_has_error(x) == 0 || attempt == 100) return x;
        xcb_disconnect(x);
        usleep(10000);
    }
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc < 2) {
        std::fputs("usage: first_map PROGRAM [ARGS...]\n", stderr);
        return 2;
    }
    xcb_connection_t* x = ConnectWithRetries();
    if (xcb_connection_has_error(x) != 0 || !WatchTopLevelMaps(x)) {
        std::fputs("first_map: no X display\n", stderr);
        return 2;
    }
    const Clock::time_point start = Clock::now();
    const pid_t child = fork();
    if (child == 0) {
        execv(argv[1], argv + 1);
        _exit(127);
    }
    const long mapUs = WaitForFirstMap(x, start);
    int status = 0;
    waitpid(child, &status, 0);
    const long exitUs = MicrosecondsSince(start);
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    xcb_disconnect(x);
    std::printf("%ld %ld %ld\n", mapUs, exitUs, usage.ru_maxrss);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 && mapUs >= 0 ? 0 : 1;
}
