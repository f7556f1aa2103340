// The running vlconvert on POSIX: posix_spawn, standard error on a pseudo-terminal when asked, Ctrl-C as
// SIGINT. Included by ProgramRunner.h.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <stdexcept>

extern char** environ;

namespace vlconvert::test {

// One running vlconvert. Destroying it without finish() kills the program.
class Program {
public:
    // folder: the working folder (empty: the test's own); terminal: standard error on a 100-column terminal.
    explicit Program(std::vector<std::string> args, const std::string& folder = "", bool terminal = false) {
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 1, streams_.file("out").c_str(), O_WRONLY | O_CREAT, 0600);
        int slave = -1;
        if (terminal) {
            terminal_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
            if (terminal_ < 0 || grantpt(terminal_) != 0 || unlockpt(terminal_) != 0)
                throw std::runtime_error("pty");
            const winsize size{24, 100, 0, 0};
            ioctl(terminal_, TIOCSWINSZ, &size);
            // Held open until the program has it, so that reading ends only when the program lets go.
            slave = open(ptsname(terminal_), O_RDWR | O_NOCTTY | O_CLOEXEC);
            posix_spawn_file_actions_adddup2(&actions, slave, 2);
        } else {
            posix_spawn_file_actions_addopen(&actions, 2, streams_.file("err").c_str(), O_WRONLY | O_CREAT,
                                             0600);
        }
        if (!folder.empty()) posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
        args.insert(args.begin(), VLCONVERT_PATH);
        std::vector<char*> argv;
        for (std::string& arg : args)
            argv.push_back(arg.data());
        argv.push_back(nullptr);
        const int spawned = posix_spawn(&pid_, VLCONVERT_PATH, &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        if (slave >= 0) close(slave);
        if (spawned != 0) throw std::runtime_error("posix_spawn failed");
        reaped_ = false;
    }

    ~Program() {
        if (!reaped_) {
            ::kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        if (terminal_ >= 0) close(terminal_);
    }

    // Ctrl-C, as a terminal sends it.
    void interrupt() const { send(SIGINT); }
    void send(int signal) const { ::kill(pid_, signal); }
    // Ends the program at once, as a crash or a power cut would: it can do nothing more.
    void kill() {
        if (reaped_) return;
        send(SIGKILL);
        waitpid(pid_, &status_, 0);
        reaped_ = true;
    }

    // What the program has written to standard output and (without a terminal) standard error so far.
    std::string outSoFar() const { return readFile(streams_.path() / "out"); }

    std::string errSoFar() const { return readFile(streams_.path() / "err"); }

    bool ended() {
        if (!reaped_ && waitpid(pid_, &status_, WNOHANG) == pid_) reaped_ = true;
        return reaped_;
    }

    // Reads a terminal while the program runs, as it stops when the terminal's buffer is full (EIO: gone).
    ProgramResult finish() {
        ProgramResult result;
        char buffer[4096];
        while (terminal_ >= 0) {
            const ssize_t n = read(terminal_, buffer, sizeof buffer);
            if (n > 0)
                result.err.append(buffer, static_cast<std::size_t>(n));
            else if (n == 0 || errno != EINTR)
                break;
        }
        if (!reaped_) waitpid(pid_, &status_, 0);
        reaped_ = true;
        result.exitCode = WIFEXITED(status_) ? WEXITSTATUS(status_) : -1;
        result.out = readFile(streams_.path() / "out");
        if (terminal_ < 0) result.err = readFile(streams_.path() / "err");
        return result;
    }

private:
    TempDir streams_;
    pid_t pid_ = -1;
    int status_ = 0;
    bool reaped_ = true;
    int terminal_ = -1;
};

// Programs started while it lives begin with Ctrl-C ignored, as a script's background jobs do.
class InterruptsIgnored {
public:
    InterruptsIgnored() : previous_(std::signal(SIGINT, SIG_IGN)) {}
    ~InterruptsIgnored() { std::signal(SIGINT, previous_); }
    InterruptsIgnored(const InterruptsIgnored&) = delete;
    InterruptsIgnored& operator=(const InterruptsIgnored&) = delete;

private:
    void (*previous_)(int);
};

// Ctrl-C and the other requests to stop reach the program through kill. The programs started must not
// inherit them ignored, as they would from a test run as a script's background job.
inline void prepareInterrupts() {
    for (const int signal : {SIGINT, SIGTERM, SIGHUP})
        std::signal(signal, SIG_DFL);
}

}  // namespace vlconvert::test
