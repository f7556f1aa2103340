// The running vlconvert.exe on Windows: CreateProcess in a job object that ends it with the test, standard
// output and error in files, Ctrl-C through the console the test shares with it. Included by
// ProgramRunner.h.
#pragma once

#include <windows.h>

#include <stdexcept>

namespace vlconvert::test {

// vlconvert.exe lies beside the test program.
inline std::string programPath() {
    char path[MAX_PATH];
    const std::string self(path, GetModuleFileNameA(nullptr, path, MAX_PATH));
    return self.substr(0, self.find_last_of('\\') + 1) + "vlconvert.exe";
}

// One argument as the C runtime splits a command line: quoted when it holds blanks or quotes or is empty,
// with the backslashes before a quote doubled.
inline std::string quoted(const std::string& arg) {
    if (!arg.empty() && arg.find_first_of(" \t\"") == std::string::npos) return arg;
    std::string text = "\"";
    std::size_t backslashes = 0;
    for (const char c : arg) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        text.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
        backslashes = 0;
        text += c;
    }
    text.append(backslashes * 2, '\\');
    return text + "\"";
}

// What the program wrote in text mode, with "\n" line ends as on POSIX.
inline std::string withLineFeeds(std::string text) {
    std::string converted;
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (!(text[at] == '\r' && at + 1 < text.size() && text[at + 1] == '\n')) converted += text[at];
    }
    return converted;
}

// One running vlconvert.exe. Destroying it without finish() ends the program.
class Program {
public:
    // folder: the working folder (empty: the test's own). A terminal is a POSIX matter: there is none here.
    explicit Program(const std::vector<std::string>& args, const std::string& folder = "",
                     bool terminal = false)
        : job_(CreateJobObjectA(nullptr, nullptr)) {
        if (terminal) throw std::runtime_error("no terminal on Windows");
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        SetInformationJobObject(job_, JobObjectExtendedLimitInformation, &limits, sizeof limits);

        SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
        const auto open = [&](const std::string& path, DWORD access, DWORD disposition) {
            return CreateFileA(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherited,
                               disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
        };
        const HANDLE in = open("NUL", GENERIC_READ, OPEN_EXISTING);
        const HANDLE out = open(streams_.file("out"), GENERIC_WRITE, CREATE_ALWAYS);
        const HANDLE err = open(streams_.file("err"), GENERIC_WRITE, CREATE_ALWAYS);
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = in;
        startup.hStdOutput = out;
        startup.hStdError = err;

        std::string commandLine = quoted(programPath());
        for (const std::string& arg : args)
            commandLine += " " + quoted(arg);
        PROCESS_INFORMATION process{};
        const BOOL created =
            CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, CREATE_SUSPENDED, nullptr,
                           folder.empty() ? nullptr : folder.c_str(), &startup, &process);
        CloseHandle(in);
        CloseHandle(out);
        CloseHandle(err);
        if (!created)
            throw std::runtime_error("CreateProcess failed: error " + std::to_string(GetLastError()));
        AssignProcessToJobObject(job_, process.hProcess);
        ResumeThread(process.hThread);
        CloseHandle(process.hThread);
        process_ = process.hProcess;
    }

    ~Program() {
        if (process_ != nullptr) CloseHandle(process_);
        CloseHandle(job_);  // ends the program if it still runs
    }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Ctrl-C in the console the test shares with the program (prepareInterrupts gives the test one).
    void interrupt() const { GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0); }

    // What the program has written to standard output and standard error so far.
    std::string outSoFar() const { return withLineFeeds(readFile(streams_.path() / "out")); }

    std::string errSoFar() const { return withLineFeeds(readFile(streams_.path() / "err")); }

    bool ended() const { return WaitForSingleObject(process_, 0) == WAIT_OBJECT_0; }

    // Ends the program at once, as a crash or a power cut would: it can do nothing more.
    void kill() {
        TerminateProcess(process_, 1);
        WaitForSingleObject(process_, INFINITE);
    }

    ProgramResult finish() {
        WaitForSingleObject(process_, INFINITE);
        DWORD code = 0;
        GetExitCodeProcess(process_, &code);
        ProgramResult result;
        result.exitCode = static_cast<int>(code);
        result.out = withLineFeeds(readFile(streams_.path() / "out"));
        result.err = withLineFeeds(readFile(streams_.path() / "err"));
        return result;
    }

private:
    TempDir streams_;
    HANDLE job_;
    HANDLE process_ = nullptr;
};

// Programs started while it lives begin with Ctrl-C ignored, as a script's background jobs do: they inherit
// the flag of this process.
class InterruptsIgnored {
public:
    InterruptsIgnored() { SetConsoleCtrlHandler(nullptr, TRUE); }
    ~InterruptsIgnored() { SetConsoleCtrlHandler(nullptr, FALSE); }
    InterruptsIgnored(const InterruptsIgnored&) = delete;
    InterruptsIgnored& operator=(const InterruptsIgnored&) = delete;
};

// Ctrl-C goes to every program of a console: the test gets a console of its own, which the programs it starts
// share, and lets Ctrl-C pass over itself.
inline void prepareInterrupts() {
    FreeConsole();
    AllocConsole();
    SetConsoleCtrlHandler([](DWORD event) -> BOOL { return event == CTRL_C_EVENT; }, TRUE);
}

}  // namespace vlconvert::test
