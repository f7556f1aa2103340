#include "CommandLine.h"

#include <CLI/CLI.hpp>
#include <charconv>
#include <cstdint>
#include <limits>
#include <vector>

#include "LogDiscovery.h"
#include "NoxiConverter.h"
#include "common/Choices.h"

namespace vlconvert {
namespace {

constexpr const char* UsageLine = "Usage: vlconvert [OPTION]... [INPUT] OUTPUT";
// The ways to follow a log, listed under the usage line in the help.
constexpr const char* FollowUsageLines =
    "  or:  vlconvert --follow [OPTION]... [INPUT] OUTPUT\n"
    "  or:  vlconvert --follow --follow-folder DIR [OPTION]... [INPUT]\n";

constexpr const char* Summary = "Convert a Velmora hand log (GAMES_V3.LOG) into PartyPoker hand histories.";

// After the lines on INPUT, which differ by platform.
constexpr const char* OutputHelp =
    "OUTPUT is the hand-history file to write; an existing file is replaced. When the\n"
    "hands are split, the files are named after OUTPUT: hh.txt gives hh1.txt,\n"
    "hh2.txt, and so on.\n"
    "\n"
    "While converting, a progress bar is shown on standard error when that is a\n"
    "terminal. The summary goes to standard output.\n"
    "\n"
    "With --follow, vlconvert converts what the log holds, then goes on watching it\n"
    "while Velmora plays and appends the hands of each new line to OUTPUT within\n"
    "about a second, for a hand tracker's auto-import. A line is taken once its\n"
    "line end is written; each hand number is written once, in the order the lines\n"
    "come. It runs until it is stopped (Ctrl-C, a request to end, or its terminal\n"
    "closed), then ends each file with its closing line and exits with status 130.\n"
    "Started again, it goes on where it stopped: a state file beside OUTPUT\n"
    "(OUTPUT.follow, or vlconvert.follow in DIR) tells what was written. A log cut\n"
    "short or replaced is read again from its start, without writing a hand twice.\n"
    "On a terminal, a status line shows the hands written and skipped this session\n"
    "and the time of the last hand; --json prints a line for each batch of hands.\n\n";

constexpr const char* Footer =
    "A hand that cannot be converted is skipped and gets one line in the error log;\n"
    "the conversion goes on with the next hand.\n"
    "\n"
    "Exit status:\n"
    "  0    the conversion finished (also when hands were skipped)\n"
    "  1    it failed: INPUT missing or empty, no log found, OUTPUT not writable\n"
    "  2    wrong or conflicting options\n"
    "  3    hands were skipped and --strict was given\n"
    "  130  interrupted by Ctrl-C; the file being written is closed properly\n"
    "       (with --follow: stopped, the usual end of following)\n"
    "\n"
    "Examples:\n"
    "  vlconvert GAMES_V3.LOG hands.txt\n"
    "        every hand of the log into hands.txt\n"
    "  vlconvert --last 500 --real-money --six-max GAMES_V3.LOG recent.txt\n"
    "        the 500 latest hands, with dollar amounts and 6-max tables marked\n"
    "  vlconvert --between 1200 1450 --all-hole-cards GAMES_V3.LOG review.txt\n"
    "        hands 1200 to 1450 with everyone's hole cards\n"
    "  vlconvert --hands-per-file 1000 --fix-small-blind GAMES_V3.LOG hh.txt\n"
    "        hh1.txt, hh2.txt, ... with 1000 hands each\n"
    "  vlconvert --files 4 --show-losing-hands --error-log skipped.txt in.log hh.txt\n"
    "        hh1.txt to hh4.txt; the skipped hands listed in skipped.txt\n"
    "  vlconvert --first 100 hands.txt\n"
    "        the first 100 hands of the GAMES_V3.LOG found in Velmora's log folders\n"
    "  vlconvert --quiet --json --strict GAMES_V3.LOG hands.txt\n"
    "        for scripts: no progress, a JSON summary, status 3 if hands were skipped\n"
    "  vlconvert --follow --real-money GAMES_V3.LOG live/hands.txt\n"
    "        while playing: each new hand appended to live/hands.txt\n"
    "  vlconvert --follow --follow-folder import\n"
    "        the log found in Velmora's log folders, one file per table and day in\n"
    "        the folder import, which a tracker's auto-import watches";

// GNU-style help: "-q, --quiet" with long-only options lined up under the long names, the usage line first.
class HelpFormatter : public CLI::Formatter {
public:
    HelpFormatter() { column_width(28); }

    std::string make_help(const CLI::App* app, std::string, CLI::AppFormatMode mode) const override {
        std::string text = make_usage(app, {});
        text += app->get_description();
        text += make_groups(app, mode);
        while (text.ends_with("\n\n"))
            text.pop_back();
        text += '\n';
        text += app->get_footer();
        text += '\n';
        return text;
    }
    std::string make_group(std::string group, bool positional,
                           std::vector<const CLI::Option*> options) const override {
        std::string text = group + ":\n";
        for (const CLI::Option* option : options)
            text += make_option(option, positional);
        return text;
    }
    std::string make_usage(const CLI::App*, std::string) const override {
        return std::string(UsageLine) + "\n" + FollowUsageLines;
    }
    std::string make_option_name(const CLI::Option* option, bool) const override {
        std::string name;
        for (const std::string& shortName : option->get_snames())
            name += "-" + shortName + ", ";
        if (name.empty()) name = "    ";
        for (const std::string& longName : option->get_lnames())
            name += "--" + longName;
        return name;
    }
    std::string make_option_opts(const CLI::Option* option) const override {
        return option->get_type_size() == 0 ? std::string() : " " + option->get_type_name();
    }
};

// A whole number in decimal, with an optional sign; nothing else around it. Numbers beyond 64 bits come
// back as the largest or smallest 64-bit number, which every range check refuses.
std::optional<std::int64_t> wholeNumber(const std::string& text) {
    std::string_view digits(text);
    const bool negative = !digits.empty() && digits.front() == '-';
    if (!digits.empty() && (digits.front() == '+' || negative)) digits.remove_prefix(1);
    if (digits.empty() || digits.front() < '0' || digits.front() > '9') return std::nullopt;
    std::uint64_t magnitude = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), magnitude);
    if (end != digits.data() + digits.size()) return std::nullopt;
    constexpr std::uint64_t largest = std::numeric_limits<std::int64_t>::max();
    if (error == std::errc::result_out_of_range || magnitude > largest) {
        return negative ? std::numeric_limits<std::int64_t>::min() : std::numeric_limits<std::int64_t>::max();
    }
    const auto value = static_cast<std::int64_t>(magnitude);
    return negative ? -value : value;
}

// Checks a count option, by the desktop program's rule and with its message for a count that is too small.
std::optional<std::uint32_t> countValue(const std::string& option, const std::string& text,
                                        common::Count count, std::string& error) {
    const std::optional<std::int64_t> value = wholeNumber(text);
    if (!value) {
        error = option + ": invalid number '" + text + "'";
    } else if (const char* tooSmall = common::countError(count, *value)) {
        error = option + ": " + tooSmall;
    } else if (*value > std::numeric_limits<std::uint32_t>::max()) {
        error = option + ": '" + text + "' is too large (at most 4294967295)";
    } else {
        return static_cast<std::uint32_t>(*value);
    }
    return std::nullopt;
}

// A hand number for --between. Hand numbers are compared as unsigned 32-bit numbers, so a negative number
// stands for the hand numbers the log writes as negative ones, as in the desktop program.
std::optional<std::uint32_t> handNumber(const std::string& text, std::string& error) {
    const std::optional<std::int64_t> value = wholeNumber(text);
    if (!value) {
        error = "--between: invalid number '" + text + "'";
    } else if (*value < std::numeric_limits<std::int32_t>::min() ||
               *value > std::numeric_limits<std::uint32_t>::max()) {
        error = "--between: hand number '" + text + "' is out of range";
    } else {
        return static_cast<std::uint32_t>(*value);
    }
    return std::nullopt;
}

// The one-line text of a parse error, naming what was wrong.
std::string parseErrorText(const CLI::ParseError& error, const CLI::App& app) {
    if (dynamic_cast<const CLI::ExtrasError*>(&error) != nullptr) {
        const std::vector<std::string> extras = app.remaining();
        if (!extras.empty()) {
            const std::string& first = extras.front();
            if (first.size() > 1 && first.front() == '-') return "unrecognized option '" + first + "'";
            return "unexpected argument '" + first + "'";
        }
    }
    std::string text = error.what();
    if (dynamic_cast<const CLI::ArgumentMismatch*>(&error) != nullptr) {
        // The parser's wording said plainly: "--first: At Most 1 required but received 2", "--error-log: 1
        // required FILE missing", "json was given a disallowed flag override" (a flag without its dashes).
        const std::string name = text.substr(0, text.find_first_of(": "));
        const std::string option = name.starts_with('-') ? name : "--" + name;
        if (text.find(": At Most ") != std::string::npos) return option + ": given more than once";
        if (text.ends_with(" was given a disallowed flag override")) return option + ": takes no value";
        if (option == "--between") return option + ": needs two hand numbers, A and B";
        constexpr std::string_view Required = " required ", Missing = " missing";
        const std::size_t required = text.find(Required);
        if (required != std::string::npos && text.ends_with(Missing)) {
            const std::size_t type = required + Required.size();
            return option + ": missing " + text.substr(type, text.size() - Missing.size() - type);
        }
        return text;
    }
    if (dynamic_cast<const CLI::ExcludesError*>(&error) != nullptr) {
        // "--first excludes --last"
        const std::size_t at = text.find(" excludes ");
        if (at != std::string::npos) text = text.replace(at, 10, " and ") + " cannot be used together";
    }
    return text;
}

}  // namespace

bool CliOptions::splitting() const {
    return conversion.splitMode == SplitByFileCount || conversion.splitMode == SplitByHandsPerFile;
}

void printUsageError(std::ostream& err, const std::string& message) {
    err << "vlconvert: " << message << '\n'
        << UsageLine << '\n'
        << "Try 'vlconvert --help' for more information.\n";
}

ParsedCommandLine parseCommandLine(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
    CLI::App app(std::string(Summary) + "\n\n" + inputHelp() + "\n\n" + OutputHelp, "vlconvert");
    app.formatter(std::make_shared<HelpFormatter>());
    app.footer(Footer);
    app.set_help_flag();  // made again below, so that it is listed with the options of its group
    // A flag takes no value: "--json=false" is an error, not a way to turn it off.
    app.option_defaults()->disable_flag_override();
    // GNU-style options on every platform: on Windows "/x" is a path from the drive's root, not an option.
    app.allow_windows_style_options(false);

    std::optional<std::string> first, last, files, handsPerFile, errorLog, followFolder;
    std::vector<std::string> between, paths;
    bool fixSmallBlind = false, sixMax = false, realMoney = false, allHoleCards = false;
    bool showLosingHands = false, trackerSafe = false, json = false, quiet = false, strict = false;
    bool follow = false;

    const char* range = "Hand range (default: all hands)";
    CLI::Option* firstOption =
        app.add_option("--first", first, "only the first N hands, in hand-number order")->type_name("N");
    CLI::Option* lastOption = app.add_option("--last", last, "only the last N hands")->type_name("N");
    CLI::Option* betweenOption =
        app.add_option("--between", between, "only the hands numbered A to B, both included")
            ->expected(2)
            ->allow_extra_args(false)
            ->type_name("A B");
    firstOption->group(range)->excludes(lastOption)->excludes(betweenOption);
    lastOption->group(range)->excludes(betweenOption);
    betweenOption->group(range);

    const char* splitting = "File splitting (default: one file, written at OUTPUT)";
    CLI::Option* filesOption =
        app.add_option("--files", files, "share the hands between about N files (N > 1)")->type_name("N");
    CLI::Option* perFileOption =
        app.add_option("--hands-per-file", handsPerFile, "write N hands to each file")->type_name("N");
    filesOption->group(splitting)->excludes(perFileOption);
    perFileOption->group(splitting);

    const char* conversion = "Conversion";
    app.add_flag("--fix-small-blind", fixSmallBlind, "put in small blinds that the log left out")
        ->group(conversion);
    app.add_flag("--six-max", sixMax, "mark tables of at most six players as 6 max")->group(conversion);
    app.add_flag("--real-money", realMoney, "write amounts in dollars, as real-money tables")
        ->group(conversion);
    app.add_flag("--all-hole-cards", allHoleCards, "write every player's hole cards, not only yours")
        ->group(conversion);
    app.add_flag("--show-losing-hands", showLosingHands,
                 "show beaten and uncalled hands at showdown\ninstead of mucking them")
        ->group(conversion);
    app.add_flag("--tracker-safe", trackerSafe,
                 "write histories that trackers import right: whole\n"
                 "cents, uncalled bets returned, every post shown")
        ->group(conversion);

    const char* following = "Live conversion";
    app.add_flag("--follow", follow, "go on converting the lines appended to the log\nuntil stopped")
        ->group(following);
    app.add_option("--follow-folder", followFolder,
                   "with --follow: one file per table and day in DIR\n"
                   "instead of OUTPUT, for a tracker's auto-import")
        ->type_name("DIR")
        ->group(following);

    const char* results = "Results";
    app.add_option("--error-log", errorLog,
                   "where to write the error log when hands are\n"
                   "skipped (default: errorLog.txt beside OUTPUT,\n"
                   "or vlconvert-errors.log in the --follow-folder)")
        ->type_name("FILE")
        ->group(results);
    app.add_flag("--json", json,
                 "print the summary as JSON (when following, also\na line for each batch of hands)")
        ->group(results);
    app.add_flag("--strict", strict, "exit with status 3 when hands were skipped")->group(results);
    app.add_flag("-q,--quiet", quiet, "no progress bar and no notes on standard error")->group(results);
    app.set_help_flag("-h,--help", "display this help and exit")->group(results);
    app.set_version_flag("--version", "vlconvert " VLCONVERT_VERSION, "output version information and exit")
        ->group(results);

    app.add_option("paths", paths)->group("");

    ParsedCommandLine parsed;
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        out << app.help();
        return parsed;
    } catch (const CLI::CallForVersion& version) {
        out << version.what() << '\n';
        return parsed;
    } catch (const CLI::ParseError& error) {
        printUsageError(err, parseErrorText(error, app));
        parsed.exitStatus = ExitUsage;
        return parsed;
    }

    std::string error;
    CliOptions options;
    if (followFolder) {
        // The folder takes the place of OUTPUT.
        if (!follow) {
            error = "--follow-folder needs --follow";
        } else if (followFolder->empty()) {
            error = "--follow-folder: empty folder name";
        } else if (paths.size() > 1) {
            error = "unexpected argument '" + paths[1] + "' (--follow-folder takes the place of OUTPUT)";
        } else if (paths.size() == 1) {
            options.input = paths.front();
            if (options.input->empty()) error = "empty file name";
        }
    } else if (paths.empty()) {
        error = "missing OUTPUT";
    } else if (paths.size() > 2) {
        error = "unexpected argument '" + paths[2] + "'";
    } else {
        options.output = paths.back();
        if (paths.size() == 2) options.input = paths.front();
        if (options.output.empty() || (options.input && options.input->empty())) error = "empty file name";
    }
    // Following writes every hand as its line comes: no range can be chosen, and the number of hands a
    // share of files needs is never known.
    if (error.empty() && follow) {
        const auto refused = [&](const char* option, const char* why) {
            error = std::string("--follow and ") + option + " cannot be used together" + why;
        };
        if (first) {
            refused("--first", "");
        } else if (last) {
            refused("--last", "");
        } else if (!between.empty()) {
            refused("--between", "");
        } else if (files) {
            refused("--files",
                    ": the number of hands is never known while the log grows (--hands-per-file N splits)");
        } else if (strict) {
            refused("--strict", ": following ends only when it is stopped");
        } else if (followFolder && handsPerFile) {
            error =
                "--follow-folder and --hands-per-file cannot be used together: the folder holds one file "
                "per table and day";
        }
    }

    noxi::ConversionOptions& conv = options.conversion;
    conv.rangeType = RangeAll;
    if (error.empty() && first) {
        conv.rangeType = RangeFirst;
        const auto n = countValue("--first", *first, common::Count::FirstHands, error);
        conv.rangeFrom = n.value_or(0);
    }
    if (error.empty() && last) {
        conv.rangeType = RangeLast;
        const auto n = countValue("--last", *last, common::Count::LastHands, error);
        conv.rangeFrom = n.value_or(0);
    }
    if (error.empty() && !between.empty()) {
        conv.rangeType = RangeBetween;
        const auto from = handNumber(between[0], error);
        const auto to = error.empty() ? handNumber(between[1], error) : std::nullopt;
        conv.rangeFrom = from.value_or(0);
        conv.rangeTo = to.value_or(0);
    }

    conv.splitMode = SingleFile;
    conv.splitValue = 0;
    if (error.empty() && files) {
        conv.splitMode = SplitByFileCount;
        const auto n = countValue("--files", *files, common::Count::SplitFiles, error);
        conv.splitValue = n.value_or(0);
    }
    if (error.empty() && handsPerFile) {
        conv.splitMode = SplitByHandsPerFile;
        const auto n = countValue("--hands-per-file", *handsPerFile, common::Count::HandsPerFile, error);
        conv.splitValue = n.value_or(0);
    }
    if (error.empty() && errorLog && errorLog->empty()) error = "--error-log: empty file name";

    if (!error.empty()) {
        printUsageError(err, error);
        parsed.exitStatus = ExitUsage;
        return parsed;
    }

    conv.fixSmallBlind = fixSmallBlind;
    conv.make6Max = sixMax;
    conv.realMoney = realMoney;
    conv.saveAllHole = allHoleCards;
    conv.muckHands = !showLosingHands;
    conv.trackerSafe = trackerSafe;
    options.errorLog = errorLog;
    options.json = json;
    options.quiet = quiet;
    options.strict = strict;
    options.follow = follow;
    options.followFolder = followFolder;
    parsed.options = std::move(options);
    return parsed;
}

}  // namespace vlconvert
