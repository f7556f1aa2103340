// vlconvert: converts a Velmora hand log into PartyPoker hand histories from the command line.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>

#include "CommandLine.h"
#include "Console.h"
#include "Follow.h"
#include "LogDiscovery.h"
#include "OutputCheck.h"
#include "Paths.h"
#include "Progress.h"
#include "Summary.h"
#include "common/LogFolders.h"
#include "frame/Conversion.h"

namespace vlconvert {
namespace {

// How a message about the default error log ends.
constexpr const char* NameAnother = "; name another with --error-log";

// Whether writing the output would write over path: the output file itself, or one of the numbered files
// of a split.
bool namesOutputFile(const std::string& path, const std::string& output, bool splitting) {
    if (!splitting) return sameFile(path, output);
    const std::string firstFile = noxi::splitFileName(output, 1);
    std::string_view stem = noxi::fileNamePart(firstFile);
    stem.remove_suffix(std::string_view("1.txt").size());
    // Named as the library names the split files: the part after the last backslash or slash.
    const std::string name(noxi::fileNamePart(path));
    if (name.size() <= stem.size() + 4 || !name.starts_with(stem) || !name.ends_with(".txt")) return false;
    const std::string number = name.substr(stem.size(), name.size() - stem.size() - 4);
    if (number.size() > 10 || number.front() == '0' ||
        number.find_first_not_of("0123456789") != std::string::npos) {
        return false;
    }
    const unsigned long long k = std::stoull(number);
    return k <= 0xFFFFFFFFull && sameFile(path, noxi::splitFileName(output, static_cast<std::uint32_t>(k)));
}

// A reason not to start: a file the run writes would replace the log, or the error log an output file.
std::optional<std::string> overwriteConflict(const CliOptions& options, const std::string& errorLog) {
    const std::string& input = *options.input;
    // The files of a folder of tables are named after their tables and days, never after the log.
    const bool intoFolder = options.followFolder.has_value();
    if (!intoFolder && namesOutputFile(input, options.output, options.splitting())) {
        return "OUTPUT '" + options.output + "' would replace INPUT '" + input + "'";
    }
    // The default error log was not the user's choice: the message says how to choose another.
    const auto errorLogConflict = [&](const char* what) {
        return options.errorLog ? "--error-log: the error log '" + errorLog + "' would replace " + what
                                : "the error log '" + errorLog + "' would replace " + what + NameAnother;
    };
    if (sameFile(errorLog, input)) return errorLogConflict("INPUT");
    if (!intoFolder && namesOutputFile(errorLog, options.output, options.splitting()))
        return errorLogConflict("an output file");
    return std::nullopt;
}

// A reason why the run's files could not be written, found before any work: OUTPUT (for a split, the folder
// its files are made in; when following into a folder, that folder), then the error log.
std::optional<std::string> outputProblem(const CliOptions& options, const std::string& errorLog) {
    if (options.followFolder) {
        if (auto problem = folderProblem(*options.followFolder, "--follow-folder")) return problem;
    } else if (!options.splitting()) {
        if (auto problem = outputFileProblem(options.output, "OUTPUT")) return problem;
    } else if (!canWrite(noxi::splitFileName(options.output, 1))) {
        if (auto problem = folderProblem(folderOf(options.output), "OUTPUT")) return problem;
    }
    if (options.errorLog) return outputFileProblem(errorLog, "--error-log");
    if (auto problem = outputFileProblem(errorLog, "the error log")) return *problem + NameAnother;
    return std::nullopt;
}

// Writes text as the whole file, in text mode as the desktop program writes its error log (CR LF line ends on
// Windows); on failure returns the reason.
std::optional<std::string> writeTextFile(const std::string& path, const std::string& text) {
    std::FILE* file = std::fopen(path.c_str(), "w");
    if (file == nullptr) return std::strerror(errno);
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    const int writeErrno = errno;
    const bool closed = std::fclose(file) == 0;
    if (!written) return std::strerror(writeErrno);
    if (!closed) return std::strerror(errno);
    return std::nullopt;
}

void explainMissingLog(const LogSearch& search) {
    std::cerr << "vlconvert: no INPUT given, and no GAMES_V3.LOG found in the Velmora log folders\n";
    if (search.appDataFolders.empty()) std::cerr << "vlconvert: " << search.noAppData << '\n';
    for (const std::string& folder : search.appDataFolders)
        std::cerr << "vlconvert: looked in " << folder << " for " << searchedFoldersText() << '\n';
    std::cerr << "vlconvert: give the log's path as INPUT\n";
}

// A run that cannot start: the message, and the JSON summary when one is asked for.
int refuse(RunReport& report, const CliOptions& options, const std::string& message) {
    std::cerr << "vlconvert: " << message << '\n';
    if (options.json) {
        report.outcome = Outcome::Failed;
        report.error = message;
        std::cout << summaryJson(report);
    }
    return ExitFailure;
}

// Prints what a run did and works out the exit status.
int finishRun(RunReport& report, const CliOptions& options, const std::string& errorLogPath) {
    int status = ExitSuccess;
    switch (report.outcome) {
        case Outcome::Failed:
            std::cerr << "vlconvert: " << report.error.value_or("the conversion failed") << '\n';
            status = ExitFailure;
            break;
        case Outcome::Interrupted:
            std::cerr << "vlconvert: interrupted\n";
            status = ExitInterrupted;
            break;
        case Outcome::Finished:
            if (options.strict && report.counts.numBadHands > 0) status = ExitSkipped;
            break;
    }

    // The log holds one line per skipped hand; an error-log file of an earlier run is replaced only when
    // this run has something to put there.
    if (!report.counts.errorLog.empty()) {
        if (const auto reason = writeTextFile(errorLogPath, report.counts.errorLog)) {
            // A failed run has told its failure already: one failure is said once.
            if (report.outcome != Outcome::Failed) {
                const std::string message =
                    "could not write the error log '" + errorLogPath + "': " + *reason;
                std::cerr << "vlconvert: " << message << '\n';
                report.error = message;
                if (status == ExitSuccess || status == ExitSkipped) status = ExitFailure;
            }
        } else {
            report.errorLog = errorLogPath;
        }
    }

    if (options.json) {
        std::cout << summaryJson(report);
    } else {
        // A failed run has not made what was asked for: no summary counts it as a success.
        if (report.outcome != Outcome::Failed) std::cout << summaryText(report);
        if (report.errorLog) std::cout << "Errors were logged to " << *report.errorLog << ".\n";
    }
    return status;
}

// The log to follow may be made later (a new session of the poker program), but not in a folder that is not
// there: that would be waited for forever.
std::optional<std::string> followedLogProblem(const std::string& input) {
    switch (pathKind(input)) {
        case PathKind::Folder:
            return "INPUT '" + input + "' is a folder";
        case PathKind::File:
            return std::nullopt;
        case PathKind::Missing:
            break;
    }
    const std::string folder = folderOf(input);
    if (!folder.empty() && pathKind(folder) != PathKind::Folder)
        return "the folder '" + folder + "' of INPUT does not exist";
    return std::nullopt;
}

// The error log when none is named: errorLog.txt beside the output, as a conversion writes it. A folder of
// tables gets one a tracker does not take for hand histories.
std::string defaultErrorLog(const CliOptions& options) {
    if (options.followFolder) return inFolder(*options.followFolder, "vlconvert-errors.log");
    return besideFile(options.output, common::ErrorLogFileName);
}

int run(CliOptions& options) {
    RunReport report;
    report.splitting = options.splitting();
    report.input = options.input;
    const std::string errorLogPath = options.errorLog.value_or(defaultErrorLog(options));
    if (const auto problem = outputProblem(options, errorLogPath)) return refuse(report, options, *problem);

    if (!options.input) {
        const LogSearch search = findVelmoraLog();
        if (!search.log) {
            explainMissingLog(search);
            if (options.json) {
                report.outcome = Outcome::Failed;
                report.error = "no GAMES_V3.LOG found";
                std::cout << summaryJson(report);
            }
            return ExitFailure;
        }
        options.input = report.input = *search.log;
        if (!options.quiet) std::cerr << "vlconvert: reading " << *options.input << '\n';
    }

    if (const auto conflict = overwriteConflict(options, errorLogPath)) {
        printUsageError(std::cerr, *conflict);
        return ExitUsage;
    }

    if (options.follow) {
        if (const auto problem = followedLogProblem(*options.input)) return refuse(report, options, *problem);
        if (!options.quiet && pathKind(*options.input) == PathKind::Missing)
            std::cerr << "vlconvert: waiting for " << *options.input << " to be made\n";
        return followLog(options, errorLogPath);
    }

    ProgressDisplay progress(stderr, !options.quiet && isTerminal(stderr));
    catchInterrupt();
    const noxi::RunResult result =
        noxi::convertLog(options.input->c_str(), options.output.c_str(), options.conversion,
                         &ProgressDisplay::callback, &progress, report.counts);
    releaseInterrupt();
    progress.clear();

    bool lastFileFailed = false;
    if (result == noxi::RunResult::Finished) {
        report.outcome = Outcome::Finished;
    } else if (result == noxi::RunResult::Stopped) {
        report.outcome = Outcome::Interrupted;
    } else {
        report.outcome = Outcome::Failed;
        report.error = progress.failure();
        lastFileFailed = report.error && report.error->starts_with("Couldn't create");
    }
    report.files = writtenFiles(options.output, report.splitting, report.counts.numFiles, lastFileFailed);
    return finishRun(report, options, errorLogPath);
}

// Output that did not reach standard output (a full disk, a closed pipe) makes the run a failure.
int checkedExit(int status) {
    std::cout.flush();
    if (!std::cout) {
        std::cerr << "vlconvert: write error on standard output\n";
        return status == ExitSuccess ? ExitFailure : status;
    }
    return status;
}

}  // namespace
}  // namespace vlconvert

int main(int argc, char** argv) {
    using namespace vlconvert;
    ParsedCommandLine parsed = parseCommandLine(argc, argv, std::cout, std::cerr);
    if (!parsed.options) return checkedExit(parsed.exitStatus);
    return checkedExit(run(*parsed.options));
}
