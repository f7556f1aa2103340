// Runs the built vlconvert as a user would: its own process, arguments, environment and working folder,
// standard output and standard error read through pipes (or standard error on a pseudo-terminal).
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "frame/LogFixtures.h"

extern char** environ;

namespace vlconvert::test {

struct ProgramRun {
    std::vector<std::string> args;
    std::map<std::string, std::optional<std::string>> environment;  // set, or removed when nullopt
    std::string workingFolder;                                      // empty: the test's own
    bool stderrOnTerminal = false;                                  // a pseudo-terminal 100 columns wide
};

struct ProgramResult {
    int exitCode = -1;  // -1 when ended by a signal
    std::string out;
    std::string err;
};

// One running vlconvert. Destroying it without finish() kills the program.
class Program {
public:
    explicit Program(const ProgramRun& run) {
        int outPipe[2];
        if (pipe2(outPipe, O_CLOEXEC) != 0) throw std::runtime_error("pipe");
        out_ = outPipe[0];
        int errWrite = -1;
        if (run.stderrOnTerminal) {
            err_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
            if (err_ < 0 || grantpt(err_) != 0 || unlockpt(err_) != 0) throw std::runtime_error("pty");
            winsize size{};
            size.ws_row = 24;
            size.ws_col = 100;
            ioctl(err_, TIOCSWINSZ, &size);
            errWrite = open(ptsname(err_), O_RDWR | O_NOCTTY | O_CLOEXEC);
            if (errWrite < 0) throw std::runtime_error("pty slave");
        } else {
            int errPipe[2];
            if (pipe2(errPipe, O_CLOEXEC) != 0) throw std::runtime_error("pipe");
            err_ = errPipe[0];
            errWrite = errPipe[1];
        }

        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_adddup2(&actions, outPipe[1], 1);
        posix_spawn_file_actions_adddup2(&actions, errWrite, 2);
        if (!run.workingFolder.empty())
            posix_spawn_file_actions_addchdir_np(&actions, run.workingFolder.c_str());

        std::vector<std::string> args{VLCONVERT_PATH};
        args.insert(args.end(), run.args.begin(), run.args.end());
        std::vector<char*> argv;
        for (std::string& arg : args)
            argv.push_back(arg.data());
        argv.push_back(nullptr);

        std::vector<std::string> environment = mergedEnvironment(run.environment);
        std::vector<char*> envp;
        for (std::string& entry : environment)
            envp.push_back(entry.data());
        envp.push_back(nullptr);

        const int spawned = posix_spawn(&pid_, VLCONVERT_PATH, &actions, nullptr, argv.data(), envp.data());
        posix_spawn_file_actions_destroy(&actions);
        close(outPipe[1]);
        close(errWrite);
        if (spawned != 0) throw std::runtime_error("posix_spawn failed");
    }

    ~Program() {
        if (!reaped_) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        if (out_ >= 0) close(out_);
        if (err_ >= 0) close(err_);
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
        pollfd fds[2] = {{out_, POLLIN, 0}, {err_, POLLIN, 0}};
        std::string* texts[2] = {&result.out, &result.err};
        int open = 2;
        while (open > 0) {
            if (poll(fds, 2, -1) < 0) {
                if (errno == EINTR) continue;
                break;
            }
            for (int i = 0; i < 2; ++i) {
                if (fds[i].fd < 0 || fds[i].revents == 0) continue;
                char buffer[4096];
                const ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
                if (n > 0) {
                    texts[i]->append(buffer, static_cast<std::size_t>(n));
                } else if (n == 0 || errno != EINTR) {
                    // End of a pipe, or EIO once the terminal's last user has gone.
                    fds[i].fd = -1;
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
    static std::vector<std::string> mergedEnvironment(
        const std::map<std::string, std::optional<std::string>>& changes) {
        std::vector<std::string> merged;
        for (char** entry = environ; *entry != nullptr; ++entry) {
            const std::string text(*entry);
            const std::string name = text.substr(0, text.find('='));
            if (changes.count(name) == 0) merged.push_back(text);
        }
        for (const auto& [name, value] : changes) {
            if (value) merged.push_back(name + "=" + *value);
        }
        return merged;
    }

    pid_t pid_ = -1;
    int status_ = 0;
    bool reaped_ = false;
    int out_ = -1;
    int err_ = -1;
};

inline ProgramResult runProgram(const ProgramRun& run) {
    Program program(run);
    return program.finish();
}

inline ProgramResult runProgram(std::vector<std::string> args) {
    ProgramRun run;
    run.args = std::move(args);
    return runProgram(run);
}

// The shared test helpers the vlconvert tests use.
namespace fs = std::filesystem;
using noxi::test::goodHands;
using noxi::test::readFile;
using noxi::test::TempDir;
using noxi::test::writeFile;

// The lines of a text, without their line feeds.
inline std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        lines.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos) break;
        start = end + 1;
    }
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

// The summary's line of the hands converted.
inline std::string handsSummary(std::size_t hands) {
    return hands == 1 ? std::string("1 hand was converted successfully.\n")
                      : std::to_string(hands) + " hands were converted successfully.\n";
}

inline constexpr const char* UsageLine = "Usage: vlconvert [OPTION]... [INPUT] OUTPUT";

}  // namespace vlconvert::test
