// Runs the built vlconvert as a user would: its own process, arguments and working folder, standard output
// and standard error caught in files (or standard error on a pseudo-terminal). The program gets the test's
// environment, so a test sets what it should see (HOME, WINEPREFIX, TZ) with setenv.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "frame/LogFixtures.h"

extern char** environ;

namespace vlconvert::test {

namespace fs = std::filesystem;
using noxi::test::goodHands;
using noxi::test::readFile;
using noxi::test::TempDir;
using noxi::test::writeFile;

struct ProgramResult {
    int exitCode = -1;  // -1 when ended by a signal
    std::string out;
    std::string err;
};

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
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        if (terminal_ >= 0) close(terminal_);
    }

    void signal(int number) const { kill(pid_, number); }

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

inline ProgramResult runProgram(std::vector<std::string> args, const std::string& folder = "",
                                bool terminal = false) {
    return Program(std::move(args), folder, terminal).finish();
}

inline std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);)
        lines.push_back(line);
    return lines;
}

inline constexpr const char* UsageLine = "Usage: vlconvert [OPTION]... [INPUT] OUTPUT";
// What follows the message of a usage error.
inline const std::string UsageHint =
    std::string("\n") + UsageLine + "\nTry 'vlconvert --help' for more information.\n";

}  // namespace vlconvert::test
