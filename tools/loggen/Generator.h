// The sample-log generator: table sessions of simulated Hold'em hands, each written as one log line, with
// a share of lines damaged the way real logs get damaged, and optionally the records and pot totals the
// converter must produce for every good hand.
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
};

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

struct Generator {
    Options options;
    Random play;    // the poker
    Random damage;  // which lines are damaged and how: apart, so the share does not change the poker
    std::vector<std::string> names;
    int heroName = 0;
    Table table;
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
