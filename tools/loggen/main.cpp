// loggen: writes sample Velmora hand logs of any size from a seed, for testing the converter.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "Generator.h"

namespace {

const char* const Help =
    "Usage: loggen [options]\n"
    "Writes a Velmora hand log (GAMES_V3.LOG format, one hand per line, lines ending in CR LF) of\n"
    "simulated Texas Hold'em ring-game hands. The same seed and options always give the same bytes.\n"
    "\n"
    "Options:\n"
    "  --hands N          lines to write, good and damaged (default 1000)\n"
    "  --seed S           seed of the simulation (default 1)\n"
    "  --output FILE      the log file (default: standard output)\n"
    "  --broken F         share 0..1 of lines damaged the way real logs get damaged (default 0): a\n"
    "                     truncated line, a chunk without its semicolon, a bad number, an unknown SEQ\n"
    "                     letter, a tournament hand, a hand of another game, a missing SEQ, a blank line,\n"
    "                     a repeated hand id\n"
    "  --limit-share F    share 0..1 of table sessions played as limit (default 0.3)\n"
    "  --tables N         play N tables at once, 1 to 24 (default 1): the room numbers each hand as\n"
    "                     it starts and the log gets its line as it ends, so neighbouring lines swap\n"
    "                     now and then (about 8 % of them at 24 tables) and a hand that drags on is\n"
    "                     written up to a few dozen lines late; the numbers stay unique\n"
    "  --repeats F        share 0..0.5 of lines that repeat one of the last 16 good lines whole, as\n"
    "                     when a hand is written twice (default 0)\n"
    "  --truth FILE       also write, for every good hand, the records and pots the converter must\n"
    "                     produce (see below)\n"
    "  --stats            print the counts of the run to standard error\n"
    "  --help             this text\n"
    "\n"
    "Truth lines: the hand id, then one seat:type:amount triple per record in order (type = the\n"
    "converter's record type number, amount with two decimals), then \" | \" and the pot totals, largest\n"
    "first, with two decimals; lines end in LF. They assume the option that invents missing small\n"
    "blinds is off. Left out are damaged lines, the repeated lines (the converter keeps the first\n"
    "hand of an id), and the rare good hands in which amounts in exact cents and in the converter's\n"
    "binary fractions could part (a pot level or a record that would differ); --stats counts those.\n";

bool parseCount(const char* text, std::uint64_t& value) {
    if (text == nullptr || *text < '0' || *text > '9') return false;
    char* end = nullptr;
    errno = 0;
    const unsigned long long parsed = std::strtoull(text, &end, 10);
    if (errno != 0 || *end != '\0') return false;
    value = parsed;
    return true;
}

bool parseShare(const char* text, double& value) {
    if (text == nullptr || *text == '\0') return false;
    char* end = nullptr;
    const double parsed = std::strtod(text, &end);
    if (*end != '\0' || !(parsed >= 0 && parsed <= 1)) return false;
    value = parsed;
    return true;
}

int usageError(const std::string& message) {
    std::fprintf(stderr, "loggen: %s\nTry 'loggen --help'.\n", message.c_str());
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    loggen::Options options;
    std::string outputPath;
    std::string truthPath;
    bool stats = false;
    for (int i = 1; i < argc; ++i) {
        std::string_view arg = argv[i];
        std::string inlineValue;
        bool hasInline = false;
        if (const auto eq = arg.find('='); arg.substr(0, 2) == "--" && eq != std::string_view::npos) {
            inlineValue = std::string(arg.substr(eq + 1));
            arg = arg.substr(0, eq);
            hasInline = true;
        }
        auto value = [&]() -> const char* {
            if (hasInline) return inlineValue.c_str();
            return i + 1 < argc ? argv[++i] : nullptr;
        };
        if (arg == "--help" || arg == "-h") {
            std::fputs(Help, stdout);
            return 0;
        } else if (arg == "--stats") {
            stats = true;
        } else if (arg == "--hands") {
            if (!parseCount(value(), options.hands) || options.hands > 2000000000) {
                return usageError("--hands needs a whole number from 0 to 2000000000");
            }
        } else if (arg == "--seed") {
            if (!parseCount(value(), options.seed)) return usageError("--seed needs a whole number");
        } else if (arg == "--broken") {
            if (!parseShare(value(), options.brokenShare))
                return usageError("--broken needs a share from 0 to 1");
        } else if (arg == "--limit-share") {
            if (!parseShare(value(), options.limitShare)) {
                return usageError("--limit-share needs a share from 0 to 1");
            }
        } else if (arg == "--tables") {
            std::uint64_t tables = 0;
            if (!parseCount(value(), tables) || tables < 1 ||
                tables > static_cast<std::uint64_t>(loggen::MaxTables))
                return usageError("--tables needs a whole number from 1 to 24");
            options.tables = static_cast<int>(tables);
        } else if (arg == "--repeats") {
            if (!parseShare(value(), options.repeatShare) || options.repeatShare > loggen::MaxRepeatShare)
                return usageError("--repeats needs a share from 0 to 0.5");
        } else if (arg == "--output" || arg == "--truth") {
            const char* path = value();
            if (path == nullptr || *path == '\0') return usageError(std::string(arg) + " needs a file name");
            (arg == "--output" ? outputPath : truthPath) = path;
        } else {
            return usageError("unknown option '" + std::string(argv[i]) + "'");
        }
    }

    loggen::Output log;
    loggen::Output truth;
    if (outputPath.empty()) {
#ifdef _WIN32
        _setmode(_fileno(stdout), _O_BINARY);
#endif
        log.file = stdout;
    } else if ((log.file = std::fopen(outputPath.c_str(), "wb")) == nullptr) {
        std::fprintf(stderr, "loggen: cannot create '%s': %s\n", outputPath.c_str(), std::strerror(errno));
        return 1;
    }
    if (!truthPath.empty() && (truth.file = std::fopen(truthPath.c_str(), "wb")) == nullptr) {
        std::fprintf(stderr, "loggen: cannot create '%s': %s\n", truthPath.c_str(), std::strerror(errno));
        if (log.file != stdout) std::fclose(log.file);
        return 1;
    }

    loggen::Generator generator(options);
    generator.run(log, truth.file != nullptr ? &truth : nullptr);

    bool failed = log.failed || truth.failed;
    if (log.file == stdout) {
        failed = std::fflush(stdout) != 0 || failed;
    } else {
        failed = std::fclose(log.file) != 0 || failed;
    }
    if (truth.file != nullptr) failed = std::fclose(truth.file) != 0 || failed;
    if (failed) {
        std::fprintf(stderr, "loggen: writing the output failed\n");
        return 1;
    }
    if (stats) {
        const auto& t = generator.tally;
        std::fprintf(stderr,
                     "lines %llu, damaged %llu, truth lines %llu, good hands left out of the truth %llu, "
                     "bytes %llu, average line %.1f bytes\n",
                     static_cast<unsigned long long>(t.lines), static_cast<unsigned long long>(t.damaged),
                     static_cast<unsigned long long>(t.truthLines),
                     static_cast<unsigned long long>(t.leftOut), static_cast<unsigned long long>(t.bytes),
                     t.lines ? static_cast<double>(t.bytes) / t.lines : 0.0);
        if (options.tables > 1 || options.repeatShare > 0) {
            const std::uint64_t hands = t.lines - t.repeated;
            std::fprintf(
                stderr,
                "tables %d, hands written after a higher number %llu (%.1f %%), farthest from its "
                "place in number order %llu lines, repeated lines %llu\n",
                options.tables, static_cast<unsigned long long>(t.outOfOrder),
                hands > 1 ? 100.0 * static_cast<double>(t.outOfOrder) / static_cast<double>(hands - 1) : 0.0,
                static_cast<unsigned long long>(t.farthest), static_cast<unsigned long long>(t.repeated));
        }
    }
    return 0;
}
