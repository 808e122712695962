// Starts a program and times, from the moment just before its exec, when its first top-level
// window is mapped and when the first pixels are drawn into it, as the X server sees them. It
// then reports the program's peak resident memory. Both the game and the baseline are measured
// by this same client, so whatever it costs is the same on both sides.
//
// usage: xwatch [--wait] program [args...]
// Without --wait the program is killed once its first pixels are in; with it, xwatch waits for
// the program to end by itself. Prints one line:
//   "map_us=N pixels_us=N cpu_us=N maxrss_kib=N status=N"
// where cpu_us is the processor time that the program had used by the time it was mapped,
// which, unlike the wall time, hardly depends on what else the machine is doing.

#include <xcb/damage.h>
#include <xcb/xcb.h>

#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fstream>
#include <memory>
#include <poll.h>
#include <set>
#include <string>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace
{

constexpr int kGiveUpSeconds = 60;
constexpr int kConnectAttempts = 50;
constexpr useconds_t kConnectPauseMicros = 100000;
constexpr int kPollMilliseconds = 100;
constexpr std::int64_t kNanosPerMicro = 1000;
constexpr std::int64_t kNanosPerSecond = 1000000000;

std::int64_t nowNanos()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return std::int64_t(t.tv_sec) * kNanosPerSecond + t.tv_nsec;
}

// Processor time of all the threads of a process, from the scheduler's own accounts.
std::int64_t cpuNanos(pid_t pid)
{
    const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
    std::int64_t total = 0;
    DIR* dir = opendir(tasks.c_str());
    if (!dir)
        return -1;
    while (const dirent* entry = readdir(dir)) {
        if (entry->d_name[0] == '.')
            continue;
        std::ifstream schedstat(tasks + "/" + entry->d_name + "/schedstat");
        std::int64_t running = 0;
        if (schedstat >> running)
            total += running;
    }
    closedir(dir);
    return total;
}

struct Watch {
    xcb_connection_t* connection = nullptr;
    std::uint8_t damageEvent = 0;
    std::set<xcb_window_t> created;
    xcb_window_t mapped = XCB_NONE;
    std::int64_t mapNanos = 0;
    std::int64_t pixelsNanos = 0;
    pid_t program = 0;
    std::int64_t cpuAtMap = -1;

    // Damage must be watched from creation on: the first put-image can follow the map closely.
    void onCreate(const xcb_create_notify_event_t* e)
    {
        created.insert(e->window);
        xcb_damage_create(connection, xcb_generate_id(connection), e->window,
                          XCB_DAMAGE_REPORT_LEVEL_NON_EMPTY);
        xcb_flush(connection);
    }

    void onMap(const xcb_map_notify_event_t* e, std::int64_t at)
    {
        // Pop-ups and the toolkit's helper windows are override-redirect; the first real
        // window is the one the player sees.
        if (mapped == XCB_NONE && !e->override_redirect && created.contains(e->window)) {
            mapped = e->window;
            mapNanos = at;
            cpuAtMap = cpuNanos(program);
        }
    }

    void onDamage(const xcb_damage_notify_event_t* e, std::int64_t at)
    {
        if (mapped != XCB_NONE && e->drawable == mapped && pixelsNanos == 0)
            pixelsNanos = at;
    }

    void handle(xcb_generic_event_t* event, std::int64_t at)
    {
        const std::uint8_t type = event->response_type & 0x7f;
        if (type == XCB_CREATE_NOTIFY)
            onCreate(reinterpret_cast<xcb_create_notify_event_t*>(event));
        else if (type == XCB_MAP_NOTIFY)
            onMap(reinterpret_cast<xcb_map_notify_event_t*>(event), at);
        else if (type == damageEvent + XCB_DAMAGE_NOTIFY)
            onDamage(reinterpret_cast<xcb_damage_notify_event_t*>(event), at);
    }
};

int fail(const char* what)
{
    std::fprintf(stderr, "xwatch: %s\n", what);
    return 2;
}

} // namespace

int main(int argc, char* argv[])
{
    int first = 1;
    bool waitForExit = false;
    if (argc > first && std::strcmp(argv[first], "--wait") == 0) {
        waitForExit = true;
        ++first;
    }
    if (argc <= first)
        return fail("usage: xwatch [--wait] program [args...]");

    Watch watch;
    int screenNumber = 0;
    // Now and then, right after a program has been killed, the server turns a connection away;
    // a moment later it takes it. Nothing is timed yet.
    for (int attempt = 0; attempt < kConnectAttempts; ++attempt) {
        if (attempt > 0) {
            std::fprintf(stderr, "xwatch: the X server turned the connection away; again\n");
            xcb_disconnect(watch.connection);
            usleep(kConnectPauseMicros);
        }
        watch.connection = xcb_connect(nullptr, &screenNumber);
        if (!xcb_connection_has_error(watch.connection))
            break;
    }
    if (xcb_connection_has_error(watch.connection))
        return fail("no X display");
    const xcb_query_extension_reply_t* damage =
        xcb_get_extension_data(watch.connection, &xcb_damage_id);
    if (!damage || !damage->present)
        return fail("the X server has no DAMAGE extension");
    watch.damageEvent = damage->first_event;
    std::free(xcb_damage_query_version_reply(watch.connection,
                                             xcb_damage_query_version(watch.connection,
                                                                      XCB_DAMAGE_MAJOR_VERSION,
                                                                      XCB_DAMAGE_MINOR_VERSION),
                                             nullptr));

    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(watch.connection));
    for (int i = 0; i < screenNumber; ++i)
        xcb_screen_next(&screens);
    const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(watch.connection, screens.data->root, XCB_CW_EVENT_MASK, &mask);
    // A round trip, so that the selection is in force before the program starts.
    std::free(xcb_get_input_focus_reply(watch.connection, xcb_get_input_focus(watch.connection),
                                        nullptr));

    auto* execNanos = static_cast<std::int64_t*>(mmap(
        nullptr, sizeof(std::int64_t), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0));
    if (execNanos == MAP_FAILED)
        return fail("no shared page");
    const pid_t child = fork();
    if (child < 0)
        return fail("fork failed");
    if (child == 0) {
        close(xcb_get_file_descriptor(watch.connection));
        *execNanos = nowNanos();
        execvp(argv[first], argv + first);
        std::perror("xwatch: exec");
        _exit(127);
    }

    watch.program = child;
    int status = 0;
    rusage usage{};
    bool ended = false;
    const std::int64_t deadline = nowNanos() + kGiveUpSeconds * kNanosPerSecond;
    pollfd display{xcb_get_file_descriptor(watch.connection), POLLIN, 0};
    // A program that is waited for may take its time; one that is killed must show up.
    while (!ended && (waitForExit || nowNanos() < deadline)) {
        if (watch.pixelsNanos != 0 && !waitForExit)
            kill(child, SIGKILL);
        if (wait4(child, &status, WNOHANG, &usage) == child) {
            ended = true;
            break;
        }
        if (poll(&display, 1, kPollMilliseconds) < 0 && errno != EINTR)
            break;
        const std::int64_t at = nowNanos();
        while (xcb_generic_event_t* event = xcb_poll_for_event(watch.connection)) {
            watch.handle(event, at);
            std::free(event);
        }
        if (xcb_connection_has_error(watch.connection))
            break;
    }
    if (!ended) {
        kill(child, SIGKILL);
        wait4(child, &status, 0, &usage);
    }

    const auto since = [&](std::int64_t at) {
        return at == 0 ? -1 : (at - *execNanos) / kNanosPerMicro;
    };
    std::printf("map_us=%lld pixels_us=%lld cpu_us=%lld maxrss_kib=%ld status=%d\n",
                static_cast<long long>(since(watch.mapNanos)),
                static_cast<long long>(since(watch.pixelsNanos)),
                static_cast<long long>(watch.cpuAtMap < 0 ? -1 : watch.cpuAtMap / kNanosPerMicro),
                usage.ru_maxrss, WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status));
    xcb_disconnect(watch.connection);
    return 0;
}
