// vlconvert --follow as a player runs it during a session: the log written in steps while it follows, its
// end the same hands as a conversion of the same lines; its options, its stops and failures, what it shows
// on a terminal and to scripts, and the folder of tables.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>
#include <set>
#include <thread>

#include "cli/ProgramRunner.h"

namespace vlconvert::test {
namespace {

using namespace std::chrono_literals;
using noxi::test::handWith;
using noxi::test::writtenIds;

constexpr std::string_view Closed = "Table Closed\r\n";

// Long enough for a loaded machine, a sanitized build and Wine; a test that passes waits only as long as the
// program takes.
constexpr auto Patience = 120s;

// Looks again and again until ready() holds or patience runs out; whether it holds.
template <typename Ready>
bool eventually(Ready ready) {
    const auto deadline = std::chrono::steady_clock::now() + Patience;
    while (!ready()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(10ms);
    }
    return true;
}

void appendFile(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::app);
    out << text;
}

// A whole file in one read into bytes, whose memory is used again (the histories of a burst are megabytes,
// read again and again while waiting).
void readWhole(const std::string& path, std::string& bytes) {
    bytes.clear();
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) return;
    bytes.resize(static_cast<std::size_t>(in.tellg()));
    in.seekg(0);
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
}

// Counts the hands in a file that grows, reading it again only when its size changed.
class HandCounter {
public:
    explicit HandCounter(std::string path) : path_(std::move(path)) {}
    std::size_t operator()() {
        std::error_code error;
        const auto size = fs::file_size(path_, error);
        if (error) return 0;
        if (size != size_) {
            size_ = size;
            readWhole(path_, bytes_);
            count_ = 0;
            for (std::size_t at = bytes_.find(Marker); at != std::string::npos;
                 at = bytes_.find(Marker, at + 1))
                ++count_;
        }
        return count_;
    }

private:
    static constexpr std::string_view Marker = "\n#Game No : ";
    std::string path_;
    std::string bytes_;
    std::uintmax_t size_ = 0;
    std::size_t count_ = 0;
};

// The hands of a history by number, each from its "#Game No" line to its last line, without the line that
// announces the next hand or the closing line; and their numbers in the order written.
struct Hands {
    std::vector<long long> order;
    std::map<long long, std::string> text;
};

Hands handsOf(const std::string& history) {
    Hands hands;
    const std::string marker = "\r\n#Game No : ";
    std::size_t at = history.find(marker);
    EXPECT_EQ(at, 0u) << "a history starts with its first hand";
    while (at != std::string::npos) {
        const std::size_t next = history.find(marker, at + 1);
        std::string hand = history.substr(at, next == std::string::npos ? next : next - at);
        if (hand.ends_with(Closed)) hand.resize(hand.size() - Closed.size());
        const std::size_t lastLine = hand.rfind("\r\n", hand.size() - 3);
        if (next != std::string::npos && hand.compare(lastLine + 2, 6, "Game #") == 0)
            hand.resize(lastLine + 2);
        const long long id = std::stoll(hand.substr(marker.size()));
        hands.order.push_back(id);
        hands.text.emplace(id, std::move(hand));
        at = next;
    }
    return hands;
}

// The numbers of a log's records that start with one, in the log's order; line ends of every kind.
std::vector<long long> recordNumbers(const std::string& log) {
    std::vector<long long> numbers;
    std::size_t start = 0;
    while (start < log.size()) {
        std::size_t end = log.find_first_of("\r\n", start);
        if (end == std::string::npos) end = log.size();
        const std::string record = log.substr(start, end - start);
        char* digitsEnd = nullptr;
        const long long id = record.starts_with("ID=") ? std::strtoll(record.c_str() + 3, &digitsEnd, 10) : 0;
        if (digitsEnd != nullptr && *digitsEnd == ';') numbers.push_back(id);
        start = end + 1;
    }
    return numbers;
}

// Log lines of every kind of hand: the showcase's hands (tables of several sizes, stakes, blinds, all-ins,
// side pots, split pots, showdowns) under other numbers.
class Records {
public:
    Records() {
        std::istringstream lines(readFile(fs::path(NOXI_TEST_DATA) / "golden" / "showcase.log"));
        for (std::string line; std::getline(lines, line);) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (!line.empty()) hands_.push_back(line.substr(line.find(';')));
        }
    }
    // Hand id as one line; another variant gives a hand of that number with other contents.
    std::string operator()(long long id, int variant = 0) const {
        return "ID=" + std::to_string(id) + hands_[static_cast<std::size_t>(id + variant) % hands_.size()] +
               "\r\n";
    }

private:
    std::vector<std::string> hands_;
};

// What a conversion of the same lines writes.
struct Batch {
    Hands hands;
    std::string errorLog;
};

Batch convertAsABatch(const fs::path& folder, const std::string& log, std::vector<std::string> options) {
    fs::create_directories(folder);
    writeFile(folder / "GAMES_V3.LOG", log);
    options.insert(options.end(), {(folder / "GAMES_V3.LOG").string(), (folder / "hh.txt").string()});
    const ProgramResult result = runProgram(options);
    EXPECT_EQ(result.exitCode, 0) << result.err;
    return {handsOf(readFile(folder / "hh.txt")), readFile(folder / "errorLog.txt")};
}

std::vector<std::string> operator+(std::vector<std::string> first, const std::vector<std::string>& second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

// A session, written as the poker program writes it while vlconvert follows: whole lines, a half line
// completed later, a line end in two pieces, hands out of order, a damaged line, a repeated number, a burst
// of 10,000 lines during which vlconvert is killed and started again, and the log cut short and written anew.
// At the end the output holds exactly the hands of conversions of the same lines, byte for byte, each once,
// in the order their lines came, and the error log the same lines as theirs.
TEST(Follow, AGrowingLogEndsAsAConversionOfItsLines) {
    prepareInterrupts();
    TempDir temp;
    const Records record;
    const std::string log = temp.file("GAMES_V3.LOG");
    const std::string out = (temp.path() / "live" / "hands.txt").string();
    fs::create_directory(temp.path() / "live");
    const std::vector<std::string> options = {"--real-money", "--six-max"};
    const auto follow = [&] {
        return std::make_unique<Program>(options + std::vector<std::string>{"--follow", log, out});
    };

    std::string firstLog;     // what the log held before it was cut short
    std::set<long long> ids;  // the numbers of the good hands so far
    const auto append = [&](const std::string& text) {
        appendFile(log, text);
        firstLog += text;
    };
    const auto good = [&](long long id, int variant = 0) {
        ids.insert(id);
        return record(id, variant);
    };
    HandCounter written(out);
    const auto allWritten = [&] { return eventually([&] { return written() >= ids.size(); }); };

    append(good(1) + good(2) + good(3) + good(4) + good(5));
    std::unique_ptr<Program> program = follow();
    ASSERT_TRUE(allWritten());
    // Whole lines, two of them out of order.
    append(good(6) + good(7) + good(9) + good(8));
    ASSERT_TRUE(allWritten());
    // Half a line, written with a whole one: it waits for its end. Then its end, a CR whose LF comes with
    // the next line.
    const std::string eleven = record(11);
    append(good(10) + eleven.substr(0, 100));
    ASSERT_TRUE(allWritten());
    ids.insert(11);
    append(eleven.substr(100, eleven.size() - 101));
    ASSERT_TRUE(allWritten());
    append("\n" + good(12));
    ASSERT_TRUE(allWritten());
    // A damaged line, and a number again with another hand: the first one stays.
    append("garbage\r\n" + record(3, 1) + good(13));
    ASSERT_TRUE(allWritten());

    // The burst, in pieces as fast as they can be written, with damaged lines and repeated numbers.
    const std::size_t beforeBurst = ids.size();
    std::vector<std::string> pieces;
    for (int line = 0; line < 10'000; ++line) {
        if (line % 100 == 0) pieces.emplace_back();
        if (line % 1000 == 500) {
            pieces.back() += "ID=" + std::to_string(70'000 + line) + ";GAME=Omaha;\r\n";
        } else if (line % 700 == 350) {
            pieces.back() += record(100 + line - 300, 1);
        } else {
            pieces.back() += good(100 + line);
        }
    }
    for (std::size_t piece = 0; piece < pieces.size(); ++piece) {
        append(pieces[piece]);
        if (piece == pieces.size() / 2) {
            // Killed as soon as hands of the burst come out, most likely while it writes them.
            ASSERT_TRUE(eventually([&] { return written() > beforeBurst; }));
            program->kill();
        }
    }
    program = follow();
    ASSERT_TRUE(allWritten());

    // A new session of the poker program writes the log anew: its first hands were written already.
    const std::string secondLog = good(1, 2) + "ID=x;\r\n" + good(20'001) + good(2, 2) + good(20'002);
    writeFile(log, secondLog);
    ASSERT_TRUE(allWritten());

    program->interrupt();
    const ProgramResult result = program->finish();
    EXPECT_EQ(result.exitCode, 130);
    EXPECT_EQ(result.err, "");
    EXPECT_NE(result.out.find(" hands were converted successfully.\n"), std::string::npos) << result.out;
    const std::string errorLog = (temp.path() / "live" / "errorLog.txt").string();
    EXPECT_TRUE(result.out.ends_with("Errors were logged to " + errorLog + ".\n")) << result.out;

    const Batch first = convertAsABatch(temp.path() / "first", firstLog, options);
    const Batch second = convertAsABatch(temp.path() / "second", secondLog, options);
    std::vector<long long> expectedOrder;
    std::map<long long, std::string> expected;
    for (const Batch* batch : {&first, &second}) {
        for (const long long id : recordNumbers(batch == &first ? firstLog : secondLog)) {
            const auto hand = batch->hands.text.find(id);
            if (hand != batch->hands.text.end() && expected.emplace(id, hand->second).second)
                expectedOrder.push_back(id);
        }
    }
    ASSERT_EQ(expectedOrder.size(), ids.size());

    const std::string history = readFile(out);
    EXPECT_EQ(history.find(Closed), history.size() - Closed.size()) << "one closing line, at the end";
    const Hands hands = handsOf(history);
    EXPECT_EQ(hands.order, expectedOrder);
    std::size_t different = 0;
    for (const auto& [id, text] : expected) {
        const auto hand = hands.text.find(id);
        if (hand != hands.text.end() && hand->second != text && ++different == 1)
            ADD_FAILURE() << "hand " << id << " differs:\n" << hand->second << "\nexpected:\n" << text;
    }
    EXPECT_EQ(different, 0u);
    EXPECT_EQ(readFile(errorLog), first.errorLog + second.errorLog);
    EXPECT_EQ(linesOf(first.errorLog).size(), 11u);
}

class FollowOptions : public ::testing::Test {
protected:
    void SetUp() override {
        writeFile(log, goodHands(1, 3));
        fs::create_directory(folder);
    }
    TempDir temp;
    const std::string log = temp.file("GAMES_V3.LOG");
    const std::string out = temp.file("hh.txt");
    const std::string folder = temp.file("import");
};

// What following cannot do is a usage error: the hand range (every hand is written as its line comes), a
// share of files (the number of hands is never known), --strict (following ends only when stopped); the
// folder takes the place of OUTPUT, with one file per table and day.
TEST_F(FollowOptions, UsageErrors) {
    const struct {
        std::vector<std::string> args;
        std::string message;
    } cases[] = {
        {{"--follow", "--first", "1", log, out}, "--follow and --first cannot be used together"},
        {{"--last", "1", "--follow", log, out}, "--follow and --last cannot be used together"},
        {{"--follow", "--between", "1", "2", log, out}, "--follow and --between cannot be used together"},
        {{"--follow", "--files", "2", log, out},
         "--follow and --files cannot be used together: the number of hands is never known while the log "
         "grows (--hands-per-file N splits)"},
        {{"--follow", "--strict", log, out},
         "--follow and --strict cannot be used together: following ends only when it is stopped"},
        {{"--follow-folder", folder, log}, "--follow-folder needs --follow"},
        {{"--follow-folder", folder, log, out}, "--follow-folder needs --follow"},
        {{"--follow", "--follow-folder", folder, "--hands-per-file", "2", log},
         "--follow-folder and --hands-per-file cannot be used together: the folder holds one file per table "
         "and day"},
        {{"--follow", "--follow-folder", folder, log, out},
         "unexpected argument '" + out + "' (--follow-folder takes the place of OUTPUT)"},
        {{"--follow", "--follow-folder", "", log}, "--follow-folder: empty folder name"},
        {{"--follow", log, "--follow-folder"}, "--follow-folder: missing DIR"},
        {{"--follow"}, "missing OUTPUT"},
        {{"--follow", log, log}, "OUTPUT '" + log + "' would replace INPUT '" + log + "'"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        const ProgramResult result = runProgram(c.args);
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.err, "vlconvert: " + c.message + UsageHint);
        EXPECT_FALSE(fs::exists(out));
        EXPECT_EQ(fs::directory_iterator(folder), fs::directory_iterator());
    }
}

// Folders that are not there, and a log that cannot be one, are refused before any work, status 1. A log
// not there yet in a folder that is may come later (a new session of the poker program).
TEST_F(FollowOptions, PlacesThatCannotServeAreRefusedUpFront) {
    writeFile(temp.path() / "file", "");
    const struct {
        std::vector<std::string> args;
        std::string message;
    } cases[] = {
        {{"--follow-folder", temp.file("none"), log},
         "the folder '" + temp.file("none") + "' for --follow-folder does not exist"},
        {{"--follow-folder", temp.file("file"), log},
         "the folder '" + temp.file("file") + "' for --follow-folder is a file, not a folder"},
        {{temp.file("none/GAMES_V3.LOG"), out},
         "the folder '" + temp.file("none") + "' of INPUT does not exist"},
        {{folder, out}, "INPUT '" + folder + "' is a folder"},
        {{log, temp.file("none/hh.txt")}, "the folder '" + temp.file("none") + "' for OUTPUT does not exist"},
        {{"--error-log", temp.file("none/e.log"), log, out},
         "the folder '" + temp.file("none") + "' for --error-log does not exist"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        const ProgramResult result = runProgram(std::vector<std::string>{"--follow"} + c.args);
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.err, "vlconvert: " + c.message + "\n");
        EXPECT_FALSE(fs::exists(out));
        EXPECT_FALSE(fs::exists(out + ".follow"));
        EXPECT_EQ(fs::directory_iterator(folder), fs::directory_iterator());
    }
}

// Ctrl-C ends following after the hand being written: the file gets its closing line, the summary tells
// what this session wrote, status 130. Started again, it goes on in the same file without a hand twice.
TEST_F(FollowOptions, CtrlCEndsFollowingWithStatus130AndItGoesOnWhenStartedAgain) {
    prepareInterrupts();
    HandCounter written(out);
    for (const long long last : {3, 5}) {
        Program program({"--follow", log, out});
        ASSERT_TRUE(eventually([&] { return written() == static_cast<std::size_t>(last); }));
        program.interrupt();
        const ProgramResult result = program.finish();
        EXPECT_EQ(result.exitCode, 130);
        EXPECT_EQ(result.err, "");
        EXPECT_EQ(result.out, last == 3 ? "3 hands were converted successfully.\n"
                                        : "2 hands were converted successfully.\n");
        const std::string history = readFile(out);
        EXPECT_EQ(writtenIds(history), noxi::test::idRange(1, last));
        EXPECT_EQ(history.find(Closed), history.size() - Closed.size());
        appendFile(log, goodHands(4, 5));
    }
}

// A second program following into the same place would write every hand again: it is refused, and the
// first goes on.
TEST_F(FollowOptions, ASecondProgramFollowingIntoTheSamePlaceIsRefused) {
    prepareInterrupts();
    for (const bool folderOfTables : {false, true}) {
        SCOPED_TRACE(folderOfTables);
        const std::vector<std::string> args = folderOfTables
                                                  ? std::vector<std::string>{"--follow-folder", folder, log}
                                                  : std::vector<std::string>{log, out};
        Program first(std::vector<std::string>{"--follow"} + args);
        // The state is saved once the first hands are written.
        const std::string state = folderOfTables ? folder + "/vlconvert.follow" : out + ".follow";
        ASSERT_TRUE(eventually([&] { return fs::exists(state); }));
        Program refused(std::vector<std::string>{"--follow"} + args);
        ASSERT_TRUE(eventually([&] { return refused.ended(); }));
        const ProgramResult second = refused.finish();
        EXPECT_EQ(second.exitCode, 1);
        EXPECT_EQ(second.err, "vlconvert: another vlconvert is already following into '" +
                                  (folderOfTables ? folder : out) + "'\n");
        EXPECT_EQ(second.out, "");
        first.interrupt();
        const ProgramResult result = first.finish();
        EXPECT_EQ(result.exitCode, 130);
        EXPECT_EQ(result.out, "3 hands were converted successfully.\n");
    }
}

// A log not there yet is waited for, and said so.
TEST_F(FollowOptions, ALogNotThereYetIsWaitedFor) {
    prepareInterrupts();
    const std::string later = temp.file("later.log");
    Program program({"--follow", later, out});
    ASSERT_TRUE(eventually([&] { return !program.errSoFar().empty() || program.ended(); }));
    writeFile(later, goodHands(1, 2));
    HandCounter written(out);
    ASSERT_TRUE(eventually([&] { return written() == 2; }));
    program.interrupt();
    const ProgramResult result = program.finish();
    EXPECT_EQ(result.exitCode, 130);
    EXPECT_EQ(result.err, "vlconvert: waiting for " + later + " to be made\n");
}

// A failure while following (here the output made a folder meanwhile) is said once, with status 1 and no
// summary; so is a state that is not one of this program.
TEST_F(FollowOptions, AFailureIsSaidOnceWithStatus1) {
    {
        Program program({"--follow", log, out});
        HandCounter written(out);
        ASSERT_TRUE(eventually([&] { return written() == 3; }));
        // Removed once the program has closed it (on Windows a file being written cannot be removed).
        ASSERT_TRUE(eventually([&] {
            std::error_code error;
            fs::remove(out, error);
            return !error;
        }));
        fs::create_directory(out);
        appendFile(log, goodHands(4, 4));
        const ProgramResult result = program.finish();
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_EQ(result.err, "vlconvert: cannot write the hand history file '" + out + "'\n");
        EXPECT_EQ(result.out, "");
    }
    const std::string other = temp.file("other.txt");
    writeFile(other + ".follow", "a note of the user's\n");
    const ProgramResult result = runProgram({"--follow", "--json", log, other});
    EXPECT_EQ(result.exitCode, 1);
    const std::string message = "'" + other + ".follow' is not a follow state of this program";
    EXPECT_EQ(result.err, "vlconvert: " + message + "\n");
    EXPECT_EQ(nlohmann::json::parse(result.out), (nlohmann::json{{"result", "failed"},
                                                                 {"input", log},
                                                                 {"output", other},
                                                                 {"folder", nullptr},
                                                                 {"handsConverted", 0},
                                                                 {"handsSkipped", 0},
                                                                 {"errorLog", nullptr},
                                                                 {"error", message}}));
    EXPECT_EQ(readFile(other + ".follow"), "a note of the user's\n");
}

// For scripts: one JSON object on a line of its own for each batch that wrote or skipped hands, there as
// soon as the batch is written; the summary as one more object at the end.
TEST_F(FollowOptions, JsonLines) {
    prepareInterrupts();
    setEnvironment("TZ", noxi::test::HistoryZone);
    Program program({"--follow", "--json", log, out});
    ASSERT_TRUE(eventually([&] { return !program.outSoFar().empty(); }));
    EXPECT_EQ(nlohmann::json::parse(program.outSoFar()), (nlohmann::json{{"hands", 3},
                                                                         {"skipped", 0},
                                                                         {"lastHand", 3},
                                                                         {"lastHandTime", "14:30:00"},
                                                                         {"sessionHands", 3},
                                                                         {"sessionSkipped", 0},
                                                                         {"logReadAnew", false}}));
    appendFile(log, "garbage\r\n" + goodHands(-7, -7));
    ASSERT_TRUE(eventually([&] { return linesOf(program.outSoFar()).size() >= 2; }));
    program.interrupt();
    const ProgramResult result = program.finish();
    EXPECT_EQ(result.exitCode, 130);
    const std::vector<std::string> lines = linesOf(result.out);
    ASSERT_GE(lines.size(), 3u) << result.out;
    std::uint64_t hands = 0, skipped = 0;
    for (std::size_t k = 0; k + 1 < lines.size(); ++k) {
        const auto step = nlohmann::json::parse(lines[k]);
        hands += step["hands"].get<std::uint64_t>();
        skipped += step["skipped"].get<std::uint64_t>();
    }
    EXPECT_EQ(hands, 4u);
    EXPECT_EQ(skipped, 1u);
    const auto last = nlohmann::json::parse(lines[lines.size() - 2]);
    EXPECT_EQ(last["lastHand"], -7);  // as the histories number it
    EXPECT_EQ(last["sessionHands"], 4);
    EXPECT_EQ(last["sessionSkipped"], 1);
    const std::string errorLog = temp.file("errorLog.txt");
    EXPECT_EQ(nlohmann::json::parse(lines.back()), (nlohmann::json{{"result", "interrupted"},
                                                                   {"input", log},
                                                                   {"output", out},
                                                                   {"folder", nullptr},
                                                                   {"handsConverted", 4},
                                                                   {"handsSkipped", 1},
                                                                   {"errorLog", errorLog},
                                                                   {"error", nullptr}}));
    EXPECT_EQ(readFile(errorLog), textFile("ERROR on Line 4, Chunk 1: Not a hand history.\n"));
}

// One file per table and day in the folder, named after both; the error log beside them under a name a
// tracker does not import, and the state too. Each file gets its closing line when following ends.
TEST_F(FollowOptions, AFolderOfTables) {
    prepareInterrupts();
    setEnvironment("TZ", noxi::test::HistoryZone);
    const auto at = [](long long id, const char* table, const char* time) {
        return handWith(id,
                        {{"TABLE", std::string("TABLE=") + table}, {"TIME", std::string("TIME=") + time}}) +
               "\r\n";
    };
    // 2007-01-15 and 2007-01-16, 14:30 in New York.
    writeFile(log, at(1, "Anna", "1168889400000") + at(2, "Bo/b", "1168889400000") + "garbage\r\n");
    Program program({"--follow", "--follow-folder", folder, log});
    const fs::path anna15 = fs::path(folder) / "Anna 2007-01-15.txt";
    const fs::path bob15 = fs::path(folder) / "Bo_b 2007-01-15.txt";
    const fs::path anna16 = fs::path(folder) / "Anna 2007-01-16.txt";
    ASSERT_TRUE(eventually([&] { return fs::exists(bob15); }));
    EXPECT_FALSE(readFile(anna15).ends_with(Closed));
    appendFile(log, at(3, "Anna", "1168975800000"));
    ASSERT_TRUE(eventually([&] { return fs::exists(anna16); }));
    program.interrupt();
    const ProgramResult result = program.finish();
    EXPECT_EQ(result.exitCode, 130);
    const std::string errorLog = (fs::path(folder) / "vlconvert-errors.log").string();
    EXPECT_EQ(result.out,
              "3 hands were converted successfully.\n1 hand was skipped due to errors.\n"
              "Errors were logged to " +
                  errorLog + ".\n");
    EXPECT_EQ(readFile(errorLog), textFile("ERROR on Line 3, Chunk 1: Not a hand history.\n"));
    for (const auto& [file, hands] : std::vector<std::pair<fs::path, std::vector<long long>>>{
             {anna15, {1}}, {bob15, {2}}, {anna16, {3}}}) {
        const std::string history = readFile(file);
        EXPECT_EQ(writtenIds(history), hands) << file;
        EXPECT_EQ(history.find(Closed), history.size() - Closed.size()) << file;
    }
    EXPECT_TRUE(fs::exists(fs::path(folder) / "vlconvert.follow"));
}

// With --hands-per-file the numbered files fill one after the other; each is closed once full.
TEST_F(FollowOptions, NumberedFiles) {
    prepareInterrupts();
    Program program({"--follow", "--hands-per-file", "2", log, out});
    ASSERT_TRUE(eventually([&] { return writtenIds(readFile(temp.file("hh2.txt"))).size() == 1; }));
    EXPECT_TRUE(readFile(temp.file("hh1.txt")).ends_with(Closed));
    EXPECT_FALSE(readFile(temp.file("hh2.txt")).ends_with(Closed));
    appendFile(log, goodHands(4, 5));
    ASSERT_TRUE(eventually([&] { return fs::exists(temp.file("hh3.txt")); }));
    program.interrupt();
    EXPECT_EQ(program.finish().exitCode, 130);
    for (int file = 1; file <= 3; ++file) {
        const std::string history = readFile(temp.file("hh" + std::to_string(file) + ".txt"));
        EXPECT_EQ(writtenIds(history), noxi::test::idRange(2 * file - 1, std::min(2 * file, 5)));
        EXPECT_TRUE(history.ends_with(Closed));
    }
    EXPECT_FALSE(fs::exists(out));
}

#ifndef _WIN32
// A request to end (SIGTERM) and a closed terminal (SIGHUP) stop following as Ctrl-C does.
TEST_F(FollowOptions, ARequestToEndAndAClosedTerminalStopItAsCtrlCDoes) {
    prepareInterrupts();
    for (const int signal : {SIGTERM, SIGHUP}) {
        SCOPED_TRACE(signal);
        for (const std::string& file : {out, out + ".follow", out + ".follow-hands"})
            fs::remove(file);
        Program program({"--follow", log, out});
        HandCounter written(out);
        ASSERT_TRUE(eventually([&] { return written() == 3; }));
        program.send(signal);
        const ProgramResult result = program.finish();
        EXPECT_EQ(result.exitCode, 130);
        EXPECT_EQ(result.out, "3 hands were converted successfully.\n");
        EXPECT_TRUE(readFile(out).ends_with(Closed));
    }
}

// On a terminal, one status line redrawn in place: the hands written and skipped this session and the time
// of the last hand, wiped at the end. --quiet shows none.
TEST_F(FollowOptions, StatusLineOnATerminal) {
    setEnvironment("TZ", noxi::test::HistoryZone);
    prepareInterrupts();
    for (const bool quiet : {false, true}) {
        SCOPED_TRACE(quiet);
        for (const std::string& file : {out, out + ".follow", out + ".follow-hands"})
            fs::remove(file);
        writeFile(log, goodHands(1, 3));
        std::vector<std::string> args = {"--follow", log, out};
        if (quiet) args.insert(args.begin(), "--quiet");
        Program program(args, "", true);
        HandCounter written(out);
        ASSERT_TRUE(eventually([&] { return written() == 3; }));
        appendFile(log, "garbage\r\n" + goodHands(4, 4));
        ASSERT_TRUE(eventually([&] { return written() == 4; }));
        program.interrupt();
        const ProgramResult result = program.finish();
        EXPECT_EQ(result.exitCode, 130);
        if (quiet) {
            EXPECT_EQ(result.err, "");
            continue;
        }
        const std::string& screen = result.err;
        EXPECT_EQ(screen.find('\n'), std::string::npos) << screen;
        EXPECT_TRUE(screen.starts_with("\rFollowing GAMES_V3.LOG: 0 hands written, 0 skipped")) << screen;
        EXPECT_NE(screen.find("\rFollowing GAMES_V3.LOG: 3 hands written, 0 skipped, last hand at 14:30:00"),
                  std::string::npos)
            << screen;
        EXPECT_NE(screen.find("\rFollowing GAMES_V3.LOG: 4 hands written, 1 skipped, last hand at 14:30:00"),
                  std::string::npos)
            << screen;
        EXPECT_TRUE(screen.ends_with('\r'));
        std::istringstream drawings(screen.substr(1));
        for (std::string drawing; std::getline(drawings, drawing, '\r');)
            EXPECT_LT(drawing.size(), 100u) << drawing;
        EXPECT_EQ(screen.substr(screen.rfind('\r', screen.size() - 2) + 1).find_first_not_of(" \r"),
                  std::string::npos);
        EXPECT_EQ(result.out,
                  "4 hands were converted successfully.\n1 hand was skipped due to errors.\n"
                  "Errors were logged to " +
                      temp.file("errorLog.txt") + ".\n");
    }
}
#endif

}  // namespace
}  // namespace vlconvert::test
