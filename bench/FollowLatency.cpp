// The measuring side of bench/follow.sh: drives vlconvert --follow as a player's session does and times it.
// It appends the lines of a log one by one to a log that vlconvert follows (damaged lines and repeated
// numbers among them, written like any other line), times each good hand from the moment the write of its
// line's end returned to the moment its number appears in the output file, and on to the moment vlconvert
// tells (its --json line for the batch) that the batch is saved: the output, the error log and the state
// beside them on the disk. Then it measures the processor time vlconvert uses while the log stays idle.
// Linux only: inotify tells when the output changes, and the processor time comes from /proc/PID.
//
//   follow_latency VLCONVERT LOG ERRORLOG WORKDIR HANDS IDLE_SECONDS PAUSE_MS
//
// LOG is the log whose lines are appended; ERRORLOG the error log a conversion of it wrote, which tells the
// damaged records (a hand is looked for only where a conversion writes one: the first good line of each
// number). HANDS good hands are timed, with PAUSE_MS milliseconds between a hand's batch being saved and the
// next line. Prints "name value" lines: hands, median_ms, p99_ms, max_ms (to the hand in the output),
// saved_median_ms, saved_p99_ms, saved_max_ms (to its batch saved), idle_seconds, idle_cpu_percent,
// exit_status, hands_in_output.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/inotify.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

[[noreturn]] void fail(const std::string& message) {
    std::fprintf(stderr, "follow_latency: %s\n", message.c_str());
    std::exit(1);
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) fail("cannot read " + path);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A line of the log with its line end, and the hand number to look for after it (-1: none).
struct Line {
    std::string text;
    long long hand = -1;
};

// The log's lines, each marked with the hand a conversion writes of it. Records are counted as the converter
// counts them: a line of nothing but line ends and blanks is no record.
std::vector<Line> linesToAppend(const std::string& log, const std::string& errorLog, long long hands) {
    std::set<long long> damaged;
    std::istringstream errors(errorLog);
    for (std::string error; std::getline(errors, error);) {
        if (error.starts_with("ERROR on Line ")) damaged.insert(std::atoll(error.c_str() + 14));
    }
    std::vector<Line> lines;
    std::set<long long> written;
    long long record = 0;
    long long timed = 0;
    for (std::size_t start = 0; start < log.size() && timed < hands;) {
        std::size_t end = log.find('\n', start);
        end = end == std::string::npos ? log.size() : end + 1;
        Line line{log.substr(start, end - start)};
        start = end;
        if (line.text.find_first_not_of(" \r\n") == std::string::npos) {
            lines.push_back(std::move(line));
            continue;
        }
        ++record;
        char* digitsEnd = nullptr;
        const long long id =
            line.text.starts_with("ID=") ? std::strtoll(line.text.c_str() + 3, &digitsEnd, 10) : 0;
        if (!damaged.contains(record) && digitsEnd != nullptr && *digitsEnd == ';' &&
            written.insert(id).second) {
            line.hand = id;
            ++timed;
        }
        lines.push_back(std::move(line));
    }
    if (timed < hands) fail("the log has only " + std::to_string(timed) + " hands");
    return lines;
}

// The output file as it grows, read as far as it was written.
class Output {
public:
    explicit Output(std::string path) : path_(std::move(path)) {}
    ~Output() {
        if (fd_ >= 0) close(fd_);
    }
    // Whether hand's number has appeared after the hands found so far.
    bool has(long long hand) {
        if (fd_ < 0) fd_ = open(path_.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd_ >= 0) {
            char block[1 << 16];
            ssize_t n;
            while ((n = pread(fd_, block, sizeof block, static_cast<off_t>(text_.size()))) > 0)
                text_.append(block, static_cast<std::size_t>(n));
        }
        const std::string marker = "#Game No : " + std::to_string(hand) + " \r\n";
        const std::size_t at = text_.find(marker, searchFrom_);
        if (at == std::string::npos) return false;
        searchFrom_ = at + marker.size();
        return true;
    }
    std::size_t hands() const {
        std::size_t count = 0;
        for (std::size_t at = text_.find("#Game No : "); at != std::string::npos;
             at = text_.find("#Game No : ", at + 1))
            ++count;
        return count;
    }

private:
    std::string path_;
    int fd_ = -1;
    std::string text_;
    std::size_t searchFrom_ = 0;
};

// vlconvert's --json lines, read from a pipe as they come.
class JsonLines {
public:
    explicit JsonLines(int fd) : fd_(fd) {}
    ~JsonLines() { close(fd_); }
    int fd() const { return fd_; }
    // Whether a batch whose last hand is hand has been told, after those found so far.
    bool told(long long hand) {
        char block[4096];
        ssize_t n;
        while ((n = read(fd_, block, sizeof block)) > 0)
            text_.append(block, static_cast<std::size_t>(n));
        const std::string field = "\"lastHand\":" + std::to_string(hand) + ",";
        for (std::size_t end; (end = text_.find('\n')) != std::string::npos;) {
            const bool found = text_.substr(0, end).find(field) != std::string::npos;
            text_.erase(0, end + 1);
            if (found) return true;
        }
        return false;
    }
    // Reads to the end, once the program ends.
    void drain() {
        fcntl(fd_, F_SETFL, 0);
        char block[4096];
        while (read(fd_, block, sizeof block) > 0) {
        }
    }

private:
    int fd_;
    std::string text_;
};

// The processor time a process has used so far, in seconds: the scheduler's count in nanoseconds
// (/proc/PID/schedstat) where the kernel keeps it, else user and system time in clock ticks (/proc/PID/stat),
// too coarse for a program that wakes for a few microseconds once a second.
double processorSeconds(pid_t pid) {
    const std::string proc = "/proc/" + std::to_string(pid);
    if (std::ifstream schedstat(proc + "/schedstat"); schedstat) {
        long long nanoseconds = 0;
        if (schedstat >> nanoseconds) return static_cast<double>(nanoseconds) / 1e9;
    }
    const std::string stat = readFile(proc + "/stat");
    // The fields after the command name in parentheses, which may hold blanks.
    std::istringstream fields(stat.substr(stat.rfind(')') + 2));
    std::string field;
    long long ticks = 0;
    for (int number = 3; fields >> field && number <= 15; ++number) {
        if (number == 14 || number == 15) ticks += std::atoll(field.c_str());
    }
    return static_cast<double>(ticks) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

double percentile(std::vector<double> values, double share) {
    std::sort(values.begin(), values.end());
    const auto rank = static_cast<std::size_t>(share * static_cast<double>(values.size()) + 0.999999);
    return values[std::clamp<std::size_t>(rank, 1, values.size()) - 1];
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 8) fail("usage: follow_latency VLCONVERT LOG ERRORLOG WORKDIR HANDS IDLE_SECONDS PAUSE_MS");
    const std::string vlconvert = argv[1];
    const std::string work = argv[4];
    const long long hands = std::atoll(argv[5]);
    const int idleSeconds = std::atoi(argv[6]);
    const int pauseMs = std::atoi(argv[7]);
    const std::vector<Line> lines = linesToAppend(readFile(argv[2]), readFile(argv[3]), hands);

    const std::string log = work + "/GAMES_V3.LOG";
    const std::string output = work + "/hands.txt";
    const int logFd = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_APPEND | O_CLOEXEC, 0644);
    if (logFd < 0) fail("cannot make " + log);
    // Every change in the folder wakes the wait for a hand; the output is read again then.
    const int notify = inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
    if (notify < 0 || inotify_add_watch(notify, work.c_str(), IN_MODIFY | IN_CREATE | IN_MOVED_TO) < 0)
        fail("cannot watch " + work);

    int pipeEnds[2];
    if (pipe2(pipeEnds, O_CLOEXEC) != 0) fail("no pipe");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], 1);
    posix_spawn_file_actions_addopen(&actions, 2, (work + "/vlconvert.err").c_str(), O_WRONLY | O_CREAT,
                                     0644);
    std::vector<std::string> args = {vlconvert, "--follow", "--quiet", "--json", log, output};
    std::vector<char*> argvOf;
    for (std::string& arg : args)
        argvOf.push_back(arg.data());
    argvOf.push_back(nullptr);
    pid_t pid = -1;
    if (posix_spawn(&pid, vlconvert.c_str(), &actions, nullptr, argvOf.data(), environ) != 0)
        fail("cannot start " + vlconvert);
    close(pipeEnds[1]);
    fcntl(pipeEnds[0], F_SETFL, O_NONBLOCK);
    JsonLines told(pipeEnds[0]);

    Output out(output);
    std::vector<double> latencies, saved;
    const auto since = [](Clock::time_point start) {
        return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    };
    // Waits for the next change in the output's folder or the next --json line.
    const auto waitForNews = [&](long long hand) {
        pollfd waiting[2] = {{notify, POLLIN, 0}, {told.fd(), POLLIN, 0}};
        if (poll(waiting, 2, 10'000) <= 0)
            fail("hand " + std::to_string(hand) + " was not saved within 10 s");
        char events[4096];
        while (read(notify, events, sizeof events) > 0) {
        }
    };
    for (const Line& line : lines) {
        if (write(logFd, line.text.data(), line.text.size()) != static_cast<ssize_t>(line.text.size()))
            fail("cannot append to " + log);
        if (line.hand < 0) continue;
        const Clock::time_point written = Clock::now();
        while (!out.has(line.hand))
            waitForNews(line.hand);
        latencies.push_back(since(written));
        while (!told.told(line.hand))
            waitForNews(line.hand);
        saved.push_back(since(written));
        if (pauseMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(pauseMs));
    }

    // Idle: the last batch saved, nothing more is written to the log.
    std::this_thread::sleep_for(std::chrono::seconds(2));
    const double before = processorSeconds(pid);
    const Clock::time_point idleStart = Clock::now();
    std::this_thread::sleep_for(std::chrono::seconds(idleSeconds));
    const double after = processorSeconds(pid);
    const double idle = std::chrono::duration<double>(Clock::now() - idleStart).count();
    const double idleCpu = (after - before) / idle * 100;

    kill(pid, SIGINT);
    told.drain();
    int status = 0;
    waitpid(pid, &status, 0);
    out.has(-1);  // reads what the end wrote
    std::printf("hands %zu\nmedian_ms %.2f\np99_ms %.2f\nmax_ms %.2f\n", latencies.size(),
                percentile(latencies, 0.5), percentile(latencies, 0.99),
                *std::max_element(latencies.begin(), latencies.end()));
    std::printf("saved_median_ms %.2f\nsaved_p99_ms %.2f\nsaved_max_ms %.2f\n", percentile(saved, 0.5),
                percentile(saved, 0.99), *std::max_element(saved.begin(), saved.end()));
    std::printf("idle_seconds %.1f\nidle_cpu_percent %.4f\n", idle, idleCpu);
    std::printf("exit_status %d\nhands_in_output %zu\n", WIFEXITED(status) ? WEXITSTATUS(status) : -1,
                out.hands());
    return 0;
}
