// The sample-log generator: table sessions of simulated Hold'em hands, each written as one log line, with
// a share of lines damaged the way real logs get damaged, and optionally the records and pot totals the
// converter must produce for every good hand. A player may sit at several tables at once: the room numbers
// the hands as they start, the log gets each line as its hand ends, so the numbers come out of order.
#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "Ledger.h"
#include "Random.h"

namespace loggen {

struct Options {
    std::uint64_t hands = 1000;  // lines written, good and damaged
    std::uint64_t seed = 1;
    double brokenShare = 0;   // share of lines damaged, 0..1
    double limitShare = 0.3;  // share of table sessions played as limit
    int tables = 1;           // tables played at once, 1..MaxTables
    double repeatShare = 0;   // share of lines that repeat an earlier good line, 0..MaxRepeatShare
};

constexpr int MaxTables = 24;
constexpr double MaxRepeatShare = 0.5;

// Buffered output to a file opened in binary mode, so CR LF reaches the file unchanged.
struct Output {
    std::FILE* file = nullptr;
    std::string buffer;
    bool failed = false;

    void flushIfFull() {
        if (buffer.size() >= (1u << 20)) flush();
    }
    void flush();
};

// Counts of one run, for --stats and the tests.
struct Tally {
    std::uint64_t lines = 0;
    std::uint64_t damaged = 0;
    std::uint64_t truthLines = 0;
    std::uint64_t leftOut = 0;  // good hands the truth leaves out (cents and doubles might disagree)
    std::uint64_t bytes = 0;
    std::uint64_t repeated = 0;    // lines that repeat an earlier good line
    std::uint64_t outOfOrder = 0;  // hands whose number is below that of the hand written just before
    std::uint64_t farthest = 0;    // the largest distance, in hands, of a hand from its place in number order
};

enum class Pending { None, Live, DeadAndLive, Dead };

struct Player {
    int name = 0;
    std::int64_t stack = 0;  // cents
    Pending pending = Pending::None;
};

enum class HeroMode { Seated, Watching, Unnamed };

struct Table {
    std::string name;
    const char* site = "";
    bool noLimit = true;
    bool playMoney = false;
    bool showAnte = false;
    bool showValues = false;
    std::int64_t smallBlind = 0;  // cents
    std::int64_t bigBlind = 0;
    int maxSeats = 10;
    int button = -1;
    int heroSeat = -1;
    HeroMode heroMode = HeroMode::Seated;
    int handsLeft = 0;
    std::array<std::optional<Player>, Seats> seats;

    int seatedCount() const;
    Flags emptySeats() const;
};

// One simulated hand, as the line writer needs it.
struct Hand {
    std::int64_t id = 0;
    std::int64_t timeMs = 0;
    int numPlayers = 0;
    Flags seated{};
    Flags folded{};
    Flags shown{};
    std::array<std::int64_t, Seats> stacks{};
    std::array<std::array<int, 2>, Seats> hole{};
    std::array<int, 5> board{};
    int streetsDealt = 0;
    std::string sequence;
    std::vector<std::int64_t> bets;
    std::size_t betsTextLength = 0;
    std::int64_t rake = 0;
    bool exact = true;  // the cents and the doubles agree on every record and pot
};

// A played hand whose line waits to be written until the hand ends.
struct Finished {
    std::int64_t id = 0;
    std::int64_t endMs = 0;
    std::uint64_t started = 0;  // hands started before this one: its place in number order
    std::string line;           // without the line end
    std::string truth;          // its truth line, when asked for and the hand is exact
    bool exact = true;
};

struct Generator {
    Options options;
    Random play;     // the poker
    Random damage;   // which lines are damaged and how: apart, so the share does not change the poker
    Random timing;   // how long the hands of several tables last: apart, for the same reason
    Random repeats;  // which lines are written twice
    std::vector<std::string> names;
    int heroName = 0;
    Table table;  // the table being dealt; the others wait in `tables`
    std::vector<Table> tables;
    std::vector<std::int64_t> freeAtMs;       // when each of `tables` deals its next hand
    std::vector<Finished> playing;            // hands started and not yet written
    std::array<std::string, 16> recentLines;  // the latest good lines, without their line ends
    std::size_t recentCount = 0;
    std::uint64_t started = 0;
    std::uint64_t written = 0;  // hands written, repeats left out
    std::int64_t lastWrittenId = -1;
    Hand hand;
    Ledger<std::int64_t> cents;
    Ledger<double> exact;
    std::int64_t nextId = 0;
    std::uint32_t idStepMax = 1;
    std::int64_t clockMs = 0;
    std::int64_t lastGoodId = -1;
    Tally tally;

    explicit Generator(const Options& chosen);

    // Writes every line to `log` and, when given, the truth lines to `truth`.
    void run(Output& log, Output* truth);
    // The hands of several tables at once, each line written when its hand ends.
    void runTables(Output& log, Output* truth);
    // The line and truth of the hand just played, numbered and timed.
    Finished finishHand(bool withTruth) const;
    // Writes the hands that ended by `untilMs`, in the order they ended.
    void writeEnded(std::int64_t untilMs, Output& log, Output* truth);
    // Writes one hand's line, damaged now and then, and now and then an earlier good line again after it.
    void write(Finished& finished, Output& log, Output* truth);
    void writeLine(const std::string& line, Output& log);
    // How long a hand at one of several tables lasts.
    std::int64_t handLength();

    // Simulates the next hand into `hand`, starting a new table session when the last one is over.
    void playHand();

    void startSession();
    void betweenHands();
    std::int64_t buyIn();
    // A new player from the pool takes a random seat, unless that seat is taken or the player is already
    // at the table. Returns whether somebody sat down.
    bool sitDown(Pending pending);
    void appendLine(std::string& out, std::int64_t id) const;
    void appendTruth(std::string& out) const;
};

enum class Damage {
    Truncated,
    NoSemicolon,
    BadNumber,
    BadLetter,
    Tournament,
    OtherGame,
    NoSequence,
    BlankLine,
    RepeatedId
};
constexpr int DamageKinds = 9;

// Damages a finished line (without its CR LF) in the given way; RepeatedId is made by the caller.
void damageLine(std::string& line, Damage kind, Random& random);

}  // namespace loggen
