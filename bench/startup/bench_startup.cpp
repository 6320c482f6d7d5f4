// The whole app against floor programs, all measured in the same run on the current
// display and Secret Service:
//   - start with 20 accounts, from spawning the process: to the panel's first paint and
//     to the first paint of real codes, against the floor's first paint (a minimal
//     frameless Qt window showing a line of Chinese text); interleaved pairs, medians;
//   - resident memory: VmRSS of both after some seconds of idling, shown;
//   - start with 1,000 accounts: the visible codes against the start with 20;
//   - idle CPU with three rows against three plain bars that repaint only when a pixel
//     changes, side by side, from the CPU time of all threads of each process.
//   bench_startup CORVANE FLOOR BAR-FLOOR SEED [runs] [idle-seconds] [cpu-seconds]
// The moments come from the programs' own "corvane.startup" log lines (off unless this
// turns them on), each written on the turn of the event loop after the frame was painted
// and handed to the X server. The accounts go into a private settings folder and are
// taken out of the keyring again at the end. Exits 1 when a figure misses its target.
#include "Targets.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto paintTimeout = std::chrono::seconds(30);
constexpr int accountCount = 20;
constexpr int manyAccountCount = 1000;
constexpr int idleAccountCount = 3;
constexpr double paintRatioTarget = 1.25;
constexpr double codesRatioTarget = 1.4;
constexpr double manyCodesRatioTarget = 1.25;
constexpr double memoryDifferenceTarget = 6; // MiB
constexpr double idleRatioTarget = 1.25;

const std::string panelPainted = "panel painted";
// Libraries only importing, exporting and QR codes need.
const std::vector<std::string> transferLibraries{"libZXing", "libprotobuf", "libqrencode", "libsodium"};
const std::string codesPainted = "codes painted";

// The environment of the measured programs: ours, with private settings and temporary
// folders so that they neither read the user's settings nor meet a running Corvane, and
// with the start-up log lines on.
class Environment
{
public:
    Environment(const std::string &configHome, const std::string &tmp)
    {
        for (char **e = environ; *e; ++e) {
            const std::string entry(*e);
            if (entry.starts_with("XDG_CONFIG_HOME=") || entry.starts_with("TMPDIR=")
                || entry.starts_with("QT_QPA_PLATFORM=") || entry.starts_with("QT_LOGGING_RULES="))
                continue;
            m_entries.push_back(entry);
        }
        m_entries.push_back("XDG_CONFIG_HOME=" + configHome);
        m_entries.push_back("TMPDIR=" + tmp);
        m_entries.push_back("QT_QPA_PLATFORM=xcb");
        m_entries.push_back("QT_LOGGING_RULES=corvane.startup.info=true");
        for (std::string &entry : m_entries)
            m_pointers.push_back(entry.data());
        m_pointers.push_back(nullptr);
    }
    char **get() { return m_pointers.data(); }

private:
    std::vector<std::string> m_entries;
    std::vector<char *> m_pointers;
};

// `stderrFd`, when given, becomes the program's standard error.
pid_t spawn(const std::vector<std::string> &command, Environment &environment, int stderrFd = -1)
{
    std::vector<char *> argv;
    for (const std::string &argument : command)
        argv.push_back(const_cast<char *>(argument.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (stderrFd >= 0)
        posix_spawn_file_actions_adddup2(&actions, stderrFd, STDERR_FILENO);
    pid_t pid = -1;
    const int failed = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environment.get());
    posix_spawn_file_actions_destroy(&actions);
    return failed ? -1 : pid;
}

int waitExit(pid_t pid)
{
    int status = 0;
    if (waitpid(pid, &status, 0) != pid)
        return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// A started program whose standard error is read on a thread of its own until the
// program ends: each start-up moment is stamped when its line arrives, everything else
// is passed on to our standard error.
class Started
{
public:
    Started(const std::string &path, Environment &environment) : m_begin(Clock::now())
    {
        int fds[2];
        if (pipe2(fds, O_CLOEXEC) != 0)
            return;
        m_pid = spawn({path}, environment, fds[1]);
        close(fds[1]);
        m_reader = std::thread([this, fd = fds[0]] { read(fd); });
    }
    ~Started()
    {
        if (m_pid > 0) {
            kill(m_pid, SIGTERM);
            waitExit(m_pid);
        }
        if (m_reader.joinable())
            m_reader.join();
    }
    Started(const Started &) = delete;
    Started &operator=(const Started &) = delete;

    pid_t pid() const { return m_pid; }

    // Milliseconds from the spawn to the line naming `moment`; absent past the timeout.
    std::optional<double> waitFor(const std::string &moment)
    {
        std::unique_lock lock(m_mutex);
        if (!m_seen.wait_for(lock, paintTimeout, [&] { return m_moments.contains(moment) || m_ended; })
            || !m_moments.contains(moment))
            return std::nullopt;
        return std::chrono::duration<double, std::milli>(m_moments[moment] - m_begin).count();
    }

private:
    void read(int fd)
    {
        std::string pending;
        char buffer[4096];
        ssize_t got;
        while ((got = ::read(fd, buffer, sizeof buffer)) > 0) {
            const Clock::time_point at = Clock::now();
            pending.append(buffer, size_t(got));
            for (size_t end; (end = pending.find('\n')) != std::string::npos; pending.erase(0, end + 1))
                note(pending.substr(0, end), at);
        }
        close(fd);
        std::lock_guard lock(m_mutex);
        m_ended = true;
        m_seen.notify_all();
    }
    void note(const std::string &line, Clock::time_point at)
    {
        for (const std::string &moment : {panelPainted, codesPainted}) {
            if (line.find(moment) != std::string::npos) {
                std::lock_guard lock(m_mutex);
                m_moments.try_emplace(moment, at);
                m_seen.notify_all();
                return;
            }
        }
        std::fprintf(stderr, "%s\n", line.c_str());
    }

    Clock::time_point m_begin;
    pid_t m_pid = -1;
    std::thread m_reader;
    std::mutex m_mutex;
    std::condition_variable m_seen;
    std::map<std::string, Clock::time_point> m_moments;
    bool m_ended = false;
};

struct Program
{
    std::string label;
    std::string path;
    // The moments it announces: the floor only paints, Corvane also paints its codes.
    std::vector<std::string> moments;
};

// Starts the program and waits for each of its moments; the started program, and the
// milliseconds to each moment.
std::unique_ptr<Started> start(Environment &environment, const Program &program, std::vector<double> &times)
{
    auto started = std::make_unique<Started>(program.path, environment);
    if (started->pid() < 0) {
        std::fprintf(stderr, "%s: could not start %s\n", program.label.c_str(), program.path.c_str());
        return nullptr;
    }
    times.clear();
    for (const std::string &moment : program.moments) {
        const auto ms = started->waitFor(moment);
        if (!ms) {
            std::fprintf(stderr, "%s: no \"%s\" within %lld s\n", program.label.c_str(), moment.c_str(),
                         static_cast<long long>(paintTimeout.count()));
            return nullptr;
        }
        times.push_back(*ms);
    }
    return started;
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

// How many of the libraries whose file names contain one of `names` the process maps.
int mappedLibraries(pid_t pid, const std::vector<std::string> &names)
{
    std::ifstream maps("/proc/" + std::to_string(pid) + "/maps");
    std::vector<std::string> found;
    std::string line;
    while (std::getline(maps, line)) {
        const std::string file = line.substr(std::min(line.size(), line.rfind(' ') + 1));
        for (const std::string &name : names) {
            if (file.find(name) != std::string::npos && std::find(found.begin(), found.end(), file) == found.end())
                found.push_back(file);
        }
    }
    return int(found.size());
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

// Median milliseconds to each moment of each program.
using Medians = std::vector<std::vector<double>>;

struct Bench
{
    const Program &corvane;
    const Program &floor;
    const std::string &barFloor;
    const std::string &seed;
    std::string settingsFile;
    Environment &environment;

    bool seedAccounts(int count)
    {
        waitExit(spawn({seed, settingsFile, "--remove"}, environment));
        if (count == 0 || waitExit(spawn({seed, settingsFile, std::to_string(count)}, environment)) == 0)
            return true;
        std::fputs("bench_startup: could not store the accounts in the keyring\n", stderr);
        return false;
    }

    // Corvane and the floor started one after the other, `runs` times. The first start of
    // each loads its libraries from disk: not counted.
    std::optional<Medians> startMedians(int runs)
    {
        const std::vector<const Program *> programs{&corvane, &floor};
        std::vector<std::vector<std::vector<double>>> times(programs.size());
        for (int i = 0; i <= runs; ++i) {
            for (size_t p = 0; p < programs.size(); ++p) {
                std::vector<double> moments;
                if (!start(environment, *programs[p], moments))
                    return std::nullopt;
                if (i > 0)
                    times[p].push_back(moments);
            }
        }
        Medians medians(programs.size());
        for (size_t p = 0; p < programs.size(); ++p) {
            for (size_t m = 0; m < programs[p]->moments.size(); ++m) {
                std::vector<double> values;
                for (const auto &run : times[p])
                    values.push_back(run[m]);
                medians[p].push_back(median(values));
            }
        }
        return medians;
    }

    // Resident MiB of Corvane and of the floor after idling side by side for `seconds`, and
    // how many of the transfer layer's libraries Corvane maps by then.
    std::optional<std::tuple<double, double, int>> resident(int seconds)
    {
        std::vector<double> ignored;
        const auto corvaneIdle = start(environment, corvane, ignored);
        const auto floorIdle = start(environment, floor, ignored);
        if (!corvaneIdle || !floorIdle)
            return std::nullopt;
        std::this_thread::sleep_for(std::chrono::seconds(seconds));
        const double corvaneMiB = residentMiB(corvaneIdle->pid()), floorMiB = residentMiB(floorIdle->pid());
        if (corvaneMiB < 0 || floorMiB < 0) {
            std::fputs("bench_startup: could not read the resident memory\n", stderr);
            return std::nullopt;
        }
        return std::tuple{corvaneMiB, floorMiB, mappedLibraries(corvaneIdle->pid(), transferLibraries)};
    }

    // CPU milliseconds a minute of Corvane with its panel shown and of the bar floor,
    // idling side by side for `seconds` after settling.
    std::optional<std::pair<double, double>> idleCpu(int seconds)
    {
        std::vector<double> ignored;
        const auto shown = start(environment, corvane, ignored);
        if (!shown)
            return std::nullopt;
        const pid_t bars = spawn({barFloor, "100000", "400"}, environment);
        std::this_thread::sleep_for(std::chrono::seconds(3));
        const double corvaneBefore = cpuMs(shown->pid()), barsBefore = cpuMs(bars);
        std::this_thread::sleep_for(std::chrono::seconds(seconds));
        const double corvaneMs = cpuMs(shown->pid()) - corvaneBefore, barsMs = cpuMs(bars) - barsBefore;
        kill(bars, SIGTERM);
        waitExit(bars);
        if (corvaneBefore < 0 || barsBefore < 0)
            return std::nullopt;
        return std::pair{corvaneMs * 60 / seconds, barsMs * 60 / seconds};
    }
};

// The start figures of one account count: both paints against the floor's.
bool reportStart(const Medians &medians, int accounts)
{
    const double paint = medians[0][0], codes = medians[0][1], floorPaint = medians[1][0];
    char label[64], against[96];
    std::snprintf(against, sizeof against, "panel %.0f ms, codes %.0f ms, floor %.0f ms", paint, codes, floorPaint);
    std::snprintf(label, sizeof label, "start to codes, %d accounts", accounts);
    reportInformation(label, codes, "ms", against);
    std::snprintf(label, sizeof label, "first paint, %d accounts / floor", accounts);
    bool met = reportFigure(label, paint / floorPaint, "x", paintRatioTarget);
    std::snprintf(label, sizeof label, "codes, %d accounts / floor paint", accounts);
    met &= reportFigure(label, codes / floorPaint, "x", codesRatioTarget);
    return met;
}

int run(const Program &corvane, const Program &floor, const std::string &barFloor, const std::string &seed, int runs,
        int idleSeconds, int cpuSeconds, const std::filesystem::path &dir)
{
    const std::string configHome = (dir / "config").string();
    const std::string settingsFile = configHome + "/Corvane/Corvane.conf";
    std::filesystem::create_directories(dir / "config" / "Corvane");
    std::filesystem::create_directories(dir / "tmp");
    Environment environment(configHome, (dir / "tmp").string());

    Bench bench{corvane, floor, barFloor, seed, settingsFile, environment};
    if (!bench.seedAccounts(accountCount))
        return 1;
    const auto starts = bench.startMedians(runs);
    if (!starts)
        return 1;
    bool met = reportStart(*starts, accountCount);

    const auto memory = bench.resident(idleSeconds);
    if (!memory)
        return 1;
    const auto [corvaneMiB, floorMiB, transferMapped] = *memory;
    char against[96];
    std::snprintf(against, sizeof against, "Corvane %.1f MiB, floor %.1f MiB", corvaneMiB, floorMiB);
    reportInformation("resident memory, 20 accounts", corvaneMiB, "MiB", against);
    met &= reportFigure("resident memory above the floor", corvaneMiB - floorMiB, "MiB", memoryDifferenceTarget);
    met &= reportFigure("transfer libraries mapped while idle", transferMapped, "", 0);

    if (!bench.seedAccounts(manyAccountCount))
        return 1;
    const auto manyStarts = bench.startMedians(runs);
    if (!manyStarts)
        return 1;
    met &= reportStart(*manyStarts, manyAccountCount);
    met &= reportFigure("codes, 1000 / 20 accounts", (*manyStarts)[0][1] / (*starts)[0][1], "x", manyCodesRatioTarget);

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
    // A program that ends while we still read its output must not end us.
    std::signal(SIGPIPE, SIG_IGN);
    const Program corvane{"Corvane", argv[1], {panelPainted, codesPainted}};
    const Program floor{"floor", argv[2], {panelPainted}};
    const int runs = argc > 5 ? std::atoi(argv[5]) : 11;
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
