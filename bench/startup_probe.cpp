// Times one start of a window program from outside, so that the program measured is the real
// one, unchanged: starts it on the X display of $DISPLAY, waits until it maps its first
// top-level window and then until it is idle (its CPU time stops growing), then kills it and
// prints one line:
//
//   cpu_ms=<CPU time of all its threads> mapped_ms=<wall time until mapped> rss_kb=<peak RSS>
//
// Usage: startup_probe [--settle MS] PROGRAM [ARGUMENTS...]
// Exit status 0 on success, 1 when the program exits or maps nothing within 30 s.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fstream>
#include <poll.h>
#include <signal.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <xcb/xcb.h>

namespace {

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Nanoseconds on the CPU of every thread of the process, from the scheduler's own account
// (far finer than the 10 ms ticks of /proc/PID/stat).
long long CpuNanoseconds(pid_t pid)
{
    const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
    DIR *dir = opendir(tasks.c_str());
    if (!dir)
        return -1;
    long long total = 0;
    while (const dirent *entry = readdir(dir)) {
        if (entry->d_name[0] == '.')
            continue;
        std::ifstream stat(tasks + "/" + entry->d_name + "/schedstat");
        long long on_cpu = 0;
        if (stat >> on_cpu)
            total += on_cpu;
    }
    closedir(dir);
    return total;
}

// Waits for a MapNotify of a window that is not a popup; false when the program ends first or
// nothing is mapped in time.
bool WaitForMap(xcb_connection_t *connection, pid_t pid, Clock::time_point start)
{
    pollfd fd {xcb_get_file_descriptor(connection), POLLIN, 0};
    while (MillisecondsSince(start) < 30000) {
        while (xcb_generic_event_t *event = xcb_poll_for_event(connection)) {
            const bool mapped = (event->response_type & 0x7f) == XCB_MAP_NOTIFY
                && !reinterpret_cast<xcb_map_notify_event_t *>(event)->override_redirect;
            std::free(event);
            if (mapped)
                return true;
        }
        if (xcb_connection_has_error(connection) || waitpid(pid, nullptr, WNOHANG) != 0)
            return false;
        poll(&fd, 1, 5);
    }
    return false;
}

// Idle: no CPU time added for settle_ms. Polling every 5 ms costs the probe little.
void WaitForIdle(pid_t pid, int settle_ms)
{
    long long last = CpuNanoseconds(pid);
    auto still_since = Clock::now();
    while (MillisecondsSince(still_since) < settle_ms) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        const long long now = CpuNanoseconds(pid);
        if (now != last) {
            last = now;
            still_since = Clock::now();
        }
    }
}

} // namespace

int main(int argc, char *argv[])
{
    int settle_ms = 300;
    int first = 1;
    if (argc > 2 && std::strcmp(argv[1], "--settle") == 0) {
        settle_ms = std::atoi(argv[2]);
        first = 3;
    }
    if (first >= argc) {
        std::fprintf(stderr, "usage: startup_probe [--settle MS] PROGRAM [ARGUMENTS...]\n");
        return 2;
    }

    xcb_connection_t *connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        std::fprintf(stderr, "startup_probe: cannot open display\n");
        return 1;
    }
    // Every top-level window is a child of the root: without a window manager its MapNotify
    // comes to whoever selected SubstructureNotify there.
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection, root, XCB_CW_EVENT_MASK, &mask);
    std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));

    const Clock::time_point start = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        execv(argv[first], argv + first);
        _exit(127);
    }
    const bool mapped = WaitForMap(connection, pid, start);
    const double mapped_ms = MillisecondsSince(start);
    if (mapped)
        WaitForIdle(pid, settle_ms);
    kill(pid, SIGKILL);
    int status = 0;
    rusage usage {};
    wait4(pid, &status, 0, &usage);
    xcb_disconnect(connection);
    if (!mapped) {
        std::fprintf(stderr, "startup_probe: %s mapped no window\n", argv[first]);
        return 1;
    }
    const double cpu_ms = (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000.0
        + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1000.0;
    std::printf("cpu_ms=%.2f mapped_ms=%.2f rss_kb=%ld\n", cpu_ms, mapped_ms, usage.ru_maxrss);
    return 0;
}
