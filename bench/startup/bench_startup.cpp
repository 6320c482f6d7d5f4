// The whole app against floor programs, all measured in the same run on the current
// display and Secret Service:
//   - start to panel with 20 accounts: from spawning the process until its window is
//     viewable (the X server maps it), the median of several runs, interleaved with a
//     minimal frameless Qt window showing a line of Chinese text (the floor);
//   - resident memory: VmRSS of both after some seconds of idling, shown;
//   - start to panel with 1,000 accounts against the start with 20;
//   - idle CPU with three rows against three plain bars that repaint only when a pixel
//     changes, side by side, from the CPU time of all threads of each process.
//   bench_startup CORVANE FLOOR BAR-FLOOR SEED [runs] [idle-seconds] [cpu-seconds]
// The accounts go into a private settings folder and are taken out of the keyring again
// at the end. Exits 1 when a figure misses its target.
#include "Targets.h"

#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto mapTimeout = std::chrono::seconds(30);
constexpr int accountCount = 20;
constexpr int manyAccountCount = 1000;
constexpr int idleAccountCount = 3;
constexpr double startRatioTarget = 1.5;
constexpr double manyStartRatioTarget = 3;
constexpr double memoryDifferenceTarget = 10; // MiB
constexpr double idleRatioTarget = 1.25;

struct FreeDeleter
{
    void operator()(void *p) const { std::free(p); }
};
template <typename T> using Reply = std::unique_ptr<T, FreeDeleter>;

// The environment of the measured programs: ours, with private settings and temporary
// folders so that they neither read the user's settings nor meet a running Corvane.
class Environment
{
public:
    Environment(const std::string &configHome, const std::string &tmp)
    {
        for (char **e = environ; *e; ++e) {
            const std::string entry(*e);
            if (entry.starts_with("XDG_CONFIG_HOME=") || entry.starts_with("TMPDIR=")
                || entry.starts_with("QT_QPA_PLATFORM="))
                continue;
            m_entries.push_back(entry);
        }
        m_entries.push_back("XDG_CONFIG_HOME=" + configHome);
        m_entries.push_back("TMPDIR=" + tmp);
        m_entries.push_back("QT_QPA_PLATFORM=xcb");
        for (std::string &entry : m_entries)
            m_pointers.push_back(entry.data());
        m_pointers.push_back(nullptr);
    }
    char **get() { return m_pointers.data(); }

private:
    std::vector<std::string> m_entries;
    std::vector<char *> m_pointers;
};

pid_t spawn(const std::vector<std::string> &command, Environment &environment)
{
    std::vector<char *> argv;
    for (const std::string &argument : command)
        argv.push_back(const_cast<char *>(argument.c_str()));
    argv.push_back(nullptr);
    pid_t pid = -1;
    if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environment.get()) != 0)
        return -1;
    return pid;
}

int waitExit(pid_t pid)
{
    int status = 0;
    if (waitpid(pid, &status, 0) != pid)
        return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void stop(pid_t pid)
{
    kill(pid, SIGTERM);
    waitExit(pid);
}

// Watches the X server for the first viewable top-level window of a process with a
// given title. New top-level windows are announced on the root window; each is then
// watched itself, and every map re-checks the candidates (a window is viewable only
// once the window manager's frame around it is mapped too).
class MapWatcher
{
public:
    MapWatcher()
    {
        int screenNumber = 0;
        m_c = xcb_connect(nullptr, &screenNumber);
        if (xcb_connection_has_error(m_c))
            return;
        xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(m_c));
        for (int i = 0; i < screenNumber; ++i)
            xcb_screen_next(&it);
        m_root = it.data->root;
        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(m_c, m_root, XCB_CW_EVENT_MASK, &mask);
        m_pidAtom = atom("_NET_WM_PID");
        m_nameAtom = atom("_NET_WM_NAME");
        m_utf8Atom = atom("UTF8_STRING");
        xcb_flush(m_c);
        m_ok = true;
    }
    ~MapWatcher()
    {
        if (m_c)
            xcb_disconnect(m_c);
    }
    bool ok() const { return m_ok; }

    // Forgets the windows seen so far; call right before spawning.
    void reset()
    {
        while (Reply<xcb_generic_event_t> event{xcb_poll_for_event(m_c)})
            ;
        m_candidates.clear();
    }

    // Waits until a window of `pid` titled `title` is viewable; the moment it saw that.
    std::optional<Clock::time_point> waitForWindow(pid_t pid, const std::string &title)
    {
        const Clock::time_point deadline = Clock::now() + mapTimeout;
        pollfd fd{xcb_get_file_descriptor(m_c), POLLIN, 0};
        while (Clock::now() < deadline) {
            bool mapped = false;
            while (Reply<xcb_generic_event_t> event{xcb_poll_for_event(m_c)}) {
                switch (event->response_type & 0x7f) {
                case XCB_CREATE_NOTIFY: {
                    const xcb_window_t window = reinterpret_cast<xcb_create_notify_event_t *>(event.get())->window;
                    const uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
                    xcb_change_window_attributes(m_c, window, XCB_CW_EVENT_MASK, &mask);
                    m_candidates.push_back(window);
                    mapped = true; // it may have been mapped before we listened
                    break;
                }
                case XCB_MAP_NOTIFY:
                    mapped = true;
                    break;
                default:
                    break;
                }
            }
            if (mapped) {
                for (xcb_window_t window : m_candidates) {
                    if (viewable(window) && belongsTo(window, pid, title))
                        return Clock::now();
                }
            }
            if (xcb_connection_has_error(m_c))
                return std::nullopt;
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            poll(&fd, 1, static_cast<int>(std::max<long>(1, left.count())));
        }
        return std::nullopt;
    }

private:
    xcb_atom_t atom(const char *name)
    {
        const Reply<xcb_intern_atom_reply_t> reply(
            xcb_intern_atom_reply(m_c, xcb_intern_atom(m_c, false, std::strlen(name), name), nullptr));
        return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    }
    bool viewable(xcb_window_t window)
    {
        const Reply<xcb_get_window_attributes_reply_t> reply(
            xcb_get_window_attributes_reply(m_c, xcb_get_window_attributes(m_c, window), nullptr));
        return reply && reply->map_state == XCB_MAP_STATE_VIEWABLE;
    }
    bool belongsTo(xcb_window_t window, pid_t pid, const std::string &title)
    {
        const Reply<xcb_get_property_reply_t> pidReply(xcb_get_property_reply(
            m_c, xcb_get_property(m_c, false, window, m_pidAtom, XCB_ATOM_CARDINAL, 0, 1), nullptr));
        if (!pidReply || xcb_get_property_value_length(pidReply.get()) != 4
            || *static_cast<const uint32_t *>(xcb_get_property_value(pidReply.get())) != uint32_t(pid))
            return false;
        const Reply<xcb_get_property_reply_t> nameReply(
            xcb_get_property_reply(m_c, xcb_get_property(m_c, false, window, m_nameAtom, m_utf8Atom, 0, 256), nullptr));
        if (!nameReply)
            return false;
        const std::string name(static_cast<const char *>(xcb_get_property_value(nameReply.get())),
                               xcb_get_property_value_length(nameReply.get()));
        return name == title;
    }

    xcb_connection_t *m_c = nullptr;
    xcb_window_t m_root = XCB_WINDOW_NONE;
    xcb_atom_t m_pidAtom = XCB_ATOM_NONE, m_nameAtom = XCB_ATOM_NONE, m_utf8Atom = XCB_ATOM_NONE;
    std::vector<xcb_window_t> m_candidates;
    bool m_ok = false;
};

struct Program
{
    std::string label;
    std::string path;
    std::string title;
};

// Starts the program and waits for its window; the pid, and the milliseconds it took.
std::optional<std::pair<pid_t, double>> start(MapWatcher &watcher, Environment &environment, const Program &program)
{
    watcher.reset();
    const Clock::time_point begin = Clock::now();
    const pid_t pid = spawn({program.path}, environment);
    if (pid < 0) {
        std::fprintf(stderr, "%s: could not start %s\n", program.label.c_str(), program.path.c_str());
        return std::nullopt;
    }
    const auto shown = watcher.waitForWindow(pid, program.title);
    if (!shown) {
        std::fprintf(stderr, "%s: no window within %lld s\n", program.label.c_str(),
                     static_cast<long long>(mapTimeout.count()));
        stop(pid);
        return std::nullopt;
    }
    return std::pair{pid, std::chrono::duration<double, std::milli>(*shown - begin).count()};
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// VmRSS of the process in MiB, or a negative number.
double residentMiB(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.starts_with("VmRSS:"))
            return std::strtod(line.c_str() + 6, nullptr) / 1024.0;
    }
    return -1;
}

// CPU time of all the process's threads so far, in milliseconds, or a negative number.
double cpuMs(pid_t pid)
{
    std::error_code error;
    double nanoseconds = 0;
    bool any = false;
    for (const auto &task : std::filesystem::directory_iterator("/proc/" + std::to_string(pid) + "/task", error)) {
        std::ifstream schedstat(task.path() / "schedstat");
        double onCpu = 0;
        if (schedstat >> onCpu) {
            nanoseconds += onCpu;
            any = true;
        }
    }
    return any ? nanoseconds / 1e6 : -1;
}

struct Bench
{
    const Program &corvane;
    const std::string &barFloor;
    const std::string &seed;
    std::string settingsFile;
    MapWatcher &watcher;
    Environment &environment;

    bool seedAccounts(int count)
    {
        waitExit(spawn({seed, settingsFile, "--remove"}, environment));
        if (count == 0 || waitExit(spawn({seed, settingsFile, std::to_string(count)}, environment)) == 0)
            return true;
        std::fputs("bench_startup: could not store the accounts in the keyring\n", stderr);
        return false;
    }

    // The median milliseconds to the mapped window of each program, interleaved. The
    // first start of each loads its libraries from disk: not counted.
    std::optional<std::vector<double>> startMedians(const std::vector<const Program *> &programs, int runs)
    {
        std::vector<std::vector<double>> times(programs.size());
        for (int i = 0; i <= runs; ++i) {
            for (size_t p = 0; p < programs.size(); ++p) {
                const auto started = start(watcher, environment, *programs[p]);
                if (!started)
                    return std::nullopt;
                stop(started->first);
                if (i > 0)
                    times[p].push_back(started->second);
            }
        }
        std::vector<double> medians;
        for (const auto &programTimes : times)
            medians.push_back(median(programTimes));
        return medians;
    }

    // CPU milliseconds a minute of Corvane with its panel shown and of the bar floor,
    // idling side by side for `seconds` after settling.
    std::optional<std::pair<double, double>> idleCpu(int seconds)
    {
        const auto shown = start(watcher, environment, corvane);
        if (!shown)
            return std::nullopt;
        const pid_t bars = spawn({barFloor, "100000", "400"}, environment);
        std::this_thread::sleep_for(std::chrono::seconds(3));
        const double corvaneBefore = cpuMs(shown->first), barsBefore = cpuMs(bars);
        std::this_thread::sleep_for(std::chrono::seconds(seconds));
        const double corvaneMs = cpuMs(shown->first) - corvaneBefore, barsMs = cpuMs(bars) - barsBefore;
        stop(shown->first);
        stop(bars);
        if (corvaneBefore < 0 || barsBefore < 0)
            return std::nullopt;
        return std::pair{corvaneMs * 60 / seconds, barsMs * 60 / seconds};
    }
};

int run(const Program &corvane, const Program &floor, const std::string &barFloor, const std::string &seed, int runs,
        int idleSeconds, int cpuSeconds, const std::filesystem::path &dir)
{
    const std::string configHome = (dir / "config").string();
    const std::string settingsFile = configHome + "/Corvane/Corvane.conf";
    std::filesystem::create_directories(dir / "config" / "Corvane");
    std::filesystem::create_directories(dir / "tmp");
    Environment environment(configHome, (dir / "tmp").string());

    MapWatcher watcher;
    if (!watcher.ok()) {
        std::fputs("bench_startup: cannot connect to the X server (DISPLAY)\n", stderr);
        return 1;
    }
    Bench bench{corvane, barFloor, seed, settingsFile, watcher, environment};
    if (!bench.seedAccounts(accountCount))
        return 1;
    const auto starts = bench.startMedians({&corvane, &floor}, runs);
    if (!starts)
        return 1;
    const double corvaneStart = (*starts)[0], floorStart = (*starts)[1];
    char against[96];
    std::snprintf(against, sizeof against, "Corvane %.0f ms, floor %.0f ms", corvaneStart, floorStart);
    reportInformation("start to panel, 20 accounts", corvaneStart, "ms", against);
    bool met = reportFigure("start to panel, 20 accounts / floor", corvaneStart / floorStart, "x", startRatioTarget);

    // Both idle side by side for the same seconds.
    const auto corvaneIdle = start(watcher, environment, corvane);
    const auto floorIdle = start(watcher, environment, floor);
    if (!corvaneIdle || !floorIdle) {
        for (const auto &started : {corvaneIdle, floorIdle}) {
            if (started)
                stop(started->first);
        }
        return 1;
    }
    std::this_thread::sleep_for(std::chrono::seconds(idleSeconds));
    const double corvaneMiB = residentMiB(corvaneIdle->first), floorMiB = residentMiB(floorIdle->first);
    stop(corvaneIdle->first);
    stop(floorIdle->first);
    if (corvaneMiB < 0 || floorMiB < 0) {
        std::fputs("bench_startup: could not read the resident memory\n", stderr);
        return 1;
    }
    std::snprintf(against, sizeof against, "Corvane %.1f MiB, floor %.1f MiB", corvaneMiB, floorMiB);
    reportInformation("resident memory, 20 accounts", corvaneMiB, "MiB", against);
    met &= reportFigure("resident memory above the floor", corvaneMiB - floorMiB, "MiB", memoryDifferenceTarget);

    if (!bench.seedAccounts(manyAccountCount))
        return 1;
    const auto manyStart = bench.startMedians({&corvane}, std::max(1, runs / 2));
    if (!manyStart)
        return 1;
    std::snprintf(against, sizeof against, "with 20: %.0f ms", corvaneStart);
    reportInformation("start to panel, 1000 accounts", (*manyStart)[0], "ms", against);
    met &=
        reportFigure("start to panel, 1000 / 20 accounts", (*manyStart)[0] / corvaneStart, "x", manyStartRatioTarget);

    if (!bench.seedAccounts(idleAccountCount))
        return 1;
    const auto idle = bench.idleCpu(cpuSeconds);
    bench.seedAccounts(0);
    if (!idle)
        return 1;
    std::snprintf(against, sizeof against, "bar floor %.0f ms/min", idle->second);
    reportInformation("idle CPU, 3 rows", idle->first, "ms/min", against);
    met &= reportFigure("idle CPU, 3 rows / bar floor", idle->first / idle->second, "x", idleRatioTarget);
    return met ? 0 : 1;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 5) {
        std::fputs("usage: bench_startup CORVANE FLOOR BAR-FLOOR SEED [runs] [idle-seconds] [cpu-seconds]\n", stderr);
        return 2;
    }
    const Program corvane{"Corvane", argv[1], "岚签"};
    const Program floor{"floor", argv[2], "corvane floor"};
    const int runs = argc > 5 ? std::atoi(argv[5]) : 7;
    const int idleSeconds = argc > 6 ? std::atoi(argv[6]) : 10;
    const int cpuSeconds = argc > 7 ? std::atoi(argv[7]) : 60;

    std::string pattern = (std::filesystem::temp_directory_path() / "corvane-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        std::perror("bench_startup: mkdtemp");
        return 1;
    }
    const std::filesystem::path dir(pattern);
    const int result = run(corvane, floor, argv[3], argv[4], runs, idleSeconds, cpuSeconds, dir);
    std::filesystem::remove_all(dir);
    return result;
}
