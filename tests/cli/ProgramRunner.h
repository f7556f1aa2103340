// Runs the built vlconvert as a user would: its own process, arguments and working folder, standard output
// and standard error read through pipes (or standard error on a pseudo-terminal). The program gets the
// test's environment, so a test sets what it should see (HOME, WINEPREFIX, TZ) with setenv.
#pragma once

#include <fcntl.h>
#include <poll.h>
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

struct ProgramResult {
    int exitCode = -1;  // -1 when ended by a signal
    std::string out;
    std::string err;
};

// One running vlconvert. Destroying it without finish() kills the program.
class Program {
public:
    // folder: the working folder, empty for the test's own; terminal: standard error on a pseudo-terminal
    // 100 columns wide.
    explicit Program(std::vector<std::string> args, const std::string& folder = "", bool terminal = false) {
        int outPipe[2];
        int errPipe[2] = {-1, -1};
        if (pipe2(outPipe, O_CLOEXEC) != 0) throw std::runtime_error("pipe");
        if (terminal) {
            errPipe[0] = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
            if (errPipe[0] < 0 || grantpt(errPipe[0]) != 0 || unlockpt(errPipe[0]) != 0)
                throw std::runtime_error("pty");
            const winsize size{24, 100, 0, 0};
            ioctl(errPipe[0], TIOCSWINSZ, &size);
            errPipe[1] = open(ptsname(errPipe[0]), O_RDWR | O_NOCTTY | O_CLOEXEC);
        } else if (pipe2(errPipe, O_CLOEXEC) != 0) {
            throw std::runtime_error("pipe");
        }
        if (errPipe[1] < 0) throw std::runtime_error("pty slave");
        fds_[0] = {outPipe[0], POLLIN, 0};
        fds_[1] = {errPipe[0], POLLIN, 0};

        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_adddup2(&actions, outPipe[1], 1);
        posix_spawn_file_actions_adddup2(&actions, errPipe[1], 2);
        if (!folder.empty()) posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
        args.insert(args.begin(), VLCONVERT_PATH);
        std::vector<char*> argv;
        for (std::string& arg : args)
            argv.push_back(arg.data());
        argv.push_back(nullptr);
        const int spawned = posix_spawn(&pid_, VLCONVERT_PATH, &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        close(outPipe[1]);
        close(errPipe[1]);
        if (spawned != 0) throw std::runtime_error("posix_spawn failed");
        reaped_ = false;
    }

    ~Program() {
        if (!reaped_) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        for (const pollfd& fd : fds_)
            if (fd.fd >= 0) close(fd.fd);
    }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    void signal(int number) const { kill(pid_, number); }

    // True once the program has ended (its output may still be waiting in the pipes).
    bool ended() {
        if (!reaped_ && waitpid(pid_, &status_, WNOHANG) == pid_) reaped_ = true;
        return reaped_;
    }

    // Reads both streams to their end and waits for the program.
    ProgramResult finish() {
        ProgramResult result;
        std::string* texts[2] = {&result.out, &result.err};
        for (int open = 2; open > 0;) {
            if (poll(fds_, 2, -1) < 0) {
                if (errno == EINTR) continue;
                break;
            }
            for (int i = 0; i < 2; ++i) {
                if (fds_[i].fd < 0 || fds_[i].revents == 0) continue;
                char buffer[4096];
                const ssize_t n = read(fds_[i].fd, buffer, sizeof buffer);
                if (n > 0) {
                    texts[i]->append(buffer, static_cast<std::size_t>(n));
                } else if (n == 0 || errno != EINTR) {
                    // End of a pipe, or EIO once the terminal's last user has gone.
                    close(fds_[i].fd);
                    fds_[i].fd = -1;
                    --open;
                }
            }
        }
        if (!reaped_) waitpid(pid_, &status_, 0);
        reaped_ = true;
        result.exitCode = WIFEXITED(status_) ? WEXITSTATUS(status_) : -1;
        return result;
    }

private:
    pid_t pid_ = -1;
    int status_ = 0;
    bool reaped_ = true;
    pollfd fds_[2] = {{-1, POLLIN, 0}, {-1, POLLIN, 0}};
};

inline ProgramResult runProgram(std::vector<std::string> args, const std::string& folder = "",
                                bool terminal = false) {
    return Program(std::move(args), folder, terminal).finish();
}

namespace fs = std::filesystem;
using noxi::test::goodHands;
using noxi::test::readFile;
using noxi::test::TempDir;
using noxi::test::writeFile;

inline std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);)
        lines.push_back(line);
    return lines;
}

// The hands written to a history.
inline std::size_t handsIn(const std::string& history) {
    std::size_t count = 0;
    for (std::size_t at = history.find("#Game No : "); at != std::string::npos;
         at = history.find("#Game No : ", at + 1))
        ++count;
    return count;
}

inline constexpr const char* UsageLine = "Usage: vlconvert [OPTION]... [INPUT] OUTPUT";

}  // namespace vlconvert::test
