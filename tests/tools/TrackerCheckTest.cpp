// The tracker-safe output held against trackercheck, which reads histories as a tracker's importer does and
// shares no code with the library: first the checker itself on small histories with one fault each, then
// the output for generated logs, plain and with damaged betting letters, unknown hole cards and streets the
// letters never reach.
#include "HistoryCheck.h"

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>
#include <vector>

#include "support/TestSupport.h"
#include "tools/ToolRuns.h"

namespace {

namespace fs = std::filesystem;

using noxi::test::readFile;
using noxi::test::runLoggen;
using noxi::test::scratch;
using noxi::test::writeFile;

// A hand of four players (dee with 1.5, the others with 100), the button at seat 1, then the lines given.
std::string history(const std::vector<std::string>& lines, const std::string& stakes = "$2/$4") {
    std::string text = "\r\n#Game No : 7 \r\n***** Hand History for Game 7 *****\r\n" + stakes +
                       " Hold'em - Monday, January 15, 14:30:00 EDT 2007\r\nTable Apex (Real Money)\r\n"
                       "Seat 1 is the button\r\nTotal number of players : 4 \r\nSeat 1: ann ( $100 )\r\n"
                       "Seat 2: bob ( $100 )\r\nSeat 3: cy lee ( $100 )\r\nSeat 4: dee ( $1.5 )\r\n";
    for (const std::string& line : lines)
        text += line + "\r\n";
    return text;
}

std::set<std::string> faultKinds(const trackercheck::HandResult& result) {
    std::set<std::string> kinds;
    for (const std::string& fault : result.faults)
        kinds.insert(fault.substr(0, fault.find(':')));
    return kinds;
}

const std::vector<std::string> Blinds = {"bob posts small blind [$1].", "cy lee posts big blind [$2].",
                                         "** Dealing down cards **", "dee folds."};

std::vector<std::string> with(std::vector<std::string> lines, const std::vector<std::string>& more) {
    lines.insert(lines.end(), more.begin(), more.end());
    return lines;
}

// One fault each, as the default output has them, and the sound forms beside them.
TEST(TrackerCheck, FindsEachFault) {
    using Kinds = std::set<std::string>;
    const struct {
        const char* name;
        std::string text;
        std::int64_t rake;  // cents, as the log says
        Kinds faults;
    } cases[] = {
        {"a sound hand",
         history(with(Blinds, {"ann calls [$2].", "bob calls [$1].", "cy lee checks.",
                               "cy lee wins $5 from  the main pot  with a pair of twos."})),
         100,
         {}},
        {"a share not in whole cents",
         history(with(Blinds, {"ann calls [$2].", "bob calls [$1].", "cy lee checks.",
                               "cy lee wins $2.495 from  the main pot  with a pair of twos.",
                               "bob wins $2.495 from  the main pot  with a pair of twos."})),
         100,
         {"amount not in whole cents", "rake"}},
        {"a negative share",
         history(with(Blinds, {"ann calls [$2].", "bob calls [$1].", "cy lee checks.",
                               "cy lee wins $-1 from  the main pot  with a pair."})),
         0,
         {"amount not in whole cents", "rake"}},
        {"an amount in exponent notation",
         history({"bob posts small blind [$1e+06].", "cy lee posts big blind [$2].", "bob folds.",
                  "cy lee wins $3"}),
         0,
         {"amount not in whole cents", "rake"}},
        // The importer returns the uncalled 2 itself: a win that holds it books it twice.
        {"an uncalled bet in the win",
         history(with(Blinds, {"ann calls [$2].", "bob calls [$1].", "cy lee bets [$2].", "ann folds.",
                               "bob folds.", "cy lee wins $8"})),
         0,
         {"rake"}},
        {"an uncalled bet returned",
         history(with(Blinds, {"ann calls [$2].", "bob calls [$1].", "cy lee bets [$2].", "ann folds.",
                               "bob folds.", "cy lee wins $6"})),
         0,
         {}},
        // dee is all-in for 1.5; bob's unmatched 0.5 is no pot of its own.
        {"a side pot of one player's chips",
         history({"bob posts small blind [$1].", "dee posts big blind [$1.5].", "ann folds.", "cy lee folds.",
                  "bob calls [$1].", "dee shows [ 7s, 2c ] high card king.",
                  "bob shows [ Qh, Qd ] a pair of queens.", "bob wins $0.5 from  side pot #1  with a pair.",
                  "bob wins $3 from  the main pot  with a pair."}),
         0,
         {"pot of one player's chips", "rake"}},
        {"a rake other than the log's",
         history(with(Blinds, {"ann calls [$2].", "bob calls [$1].", "cy lee checks.", "cy lee wins $6"})),
         100,
         {"rake"}},
        // A rake above the pot is the pot.
        {"a rake above the pot",
         history({"bob posts small blind [$1].", "cy lee posts big blind [$2].", "ann calls [$2].",
                  "bob folds.", "cy lee checks.", "ann wins $0"}),
         900,
         {}},
        // The dead half of the post is not counted for the uncalled part: dee's live 2 matches cy lee's 2.
        {"dead money",
         history({"bob posts small blind [$1].", "cy lee posts big blind [$2].",
                  "ann posts big blind + dead [$3].", "** Dealing down cards **", "dee folds.", "ann checks.",
                  "bob folds.", "cy lee checks.", "ann wins $6"}),
         0,
         {}},
        {"unknown cards shown",
         history(with(Blinds, {"ann calls [$2].", "bob calls [$1].", "cy lee checks.",
                               "cy lee shows [ Ee, Ee ] high card ace.",
                               "ann shows [ Ah, Kd ] high card ace.", "ann wins $6"})),
         0,
         {"unknown card shown"}},
        {"unknown cards dealt",
         history({"bob posts small blind [$1].", "cy lee posts big blind [$2].", "** Dealing down cards **",
                  "Dealt to cy lee [  Ee Ee ]", "ann folds.", "bob folds.", "cy lee wins $2"}),
         0,
         {"unknown card dealt"}},
        {"stakes in one decimal",
         history({"bob posts small blind [$0.05].", "cy lee posts big blind [$0.1].", "ann folds.",
                  "bob folds.", "cy lee wins $0.1"},
                 "$0.1/$0.2"),
         0,
         {"stake not in two decimals"}},
        {"stakes in two decimals",
         history({"bob posts small blind [$0.05].", "cy lee posts big blind [$0.1].", "ann folds.",
                  "bob folds.", "cy lee wins $0.1"},
                 "$0.10/$0.20"),
         0,
         {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const trackercheck::HandResult result = trackercheck::checkHand(c.text, c.rake);
        EXPECT_EQ(result.id, "7");
        EXPECT_EQ(faultKinds(result), c.faults) << ::testing::PrintToString(result.faults);
    }
}

// The options a conversion for the check runs with, tracker-safe always.
struct Options {
    const char* name;
    bool realMoney, fixSmallBlind, muckHands, saveAllHole;
};
constexpr Options Runs[] = {{"real money", true, false, true, false},
                            {"small blinds fixed, every hand shown", true, true, false, true},
                            {"play money", false, false, true, false}};

// Converts the log with the options into hh.txt and checks every hand (a tracker-safe conversion must pass).
trackercheck::FileResult convertAndCheck(const fs::path& log, const Options& run, bool trackerSafe) {
    noxi::test::resetOptions();
    SetFileSplit(trackerSafe ? SingleFile | TrackerSafeOutput : SingleFile, 0);
    SetRealMoney(run.realMoney);
    SetFixSmallBlind(run.fixSmallBlind);
    SetMuckHands(run.muckHands);
    SetSaveAllHole(run.saveAllHole);
    const fs::path out = scratch("hh.txt");
    EXPECT_EQ(noxi::test::convert(log.string(), out.string()), 1) << GetErrorLog();
    const auto rakes = trackercheck::rakesOfLog(readFile(log));
    trackercheck::FileResult result;
    trackercheck::checkFile(readFile(out), &rakes, 3, result);
    for (const auto& hand : result.firstFaulty) {
        if (trackerSafe) ADD_FAILURE() << "hand " << hand.id << ": " << ::testing::PrintToString(hand.faults);
    }
    return result;
}

constexpr int GeneratedHands = 20000;

const fs::path& generatedLog() {
    static const fs::path log = [] {
        const fs::path path = scratch("generated.log");
        EXPECT_EQ(runLoggen("--hands " + std::to_string(GeneratedHands) +
                            " --seed 17 --broken 0.02 --output \"" + path.string() + "\""),
                  0);
        return path;
    }();
    return log;
}

TEST(TrackerCheck, TrackerSafeOutputOfGeneratedLogs) {
    for (const Options& run : Runs) {
        SCOPED_TRACE(run.name);
        const trackercheck::FileResult result = convertAndCheck(generatedLog(), run, true);
        EXPECT_GT(result.hands, GeneratedHands * 95u / 100);
        EXPECT_EQ(result.faultyHands, 0u);
    }
}

// The checker is not blind: the default output of the same log has faults of every kind it can have.
TEST(TrackerCheck, TheDefaultOutputFailsIt) {
    trackercheck::FileResult result;
    noxi::test::resetOptions();
    SetFileSplit(SingleFile, 0);
    SetRealMoney(true);
    const fs::path out = scratch("default.txt");
    ASSERT_EQ(noxi::test::convert(generatedLog().string(), out.string()), 1);
    const auto rakes = trackercheck::rakesOfLog(readFile(generatedLog()));
    trackercheck::checkFile(readFile(out), &rakes, 0, result);
    EXPECT_GT(result.faultyHands, result.hands / 2);
    for (const char* kind :
         {"amount not in whole cents", "rake", "stake not in two decimals", "pot of one player's chips"})
        EXPECT_GT(result.faultsByKind[kind], 0u) << kind;
}

// The generated log with its betting damaged: letters put in, dropped and replaced, a quarter of the hole
// cards unknown, the street ends cut from some hands (whose boards still hold the cards), small blinds of 0.
// Whatever the letters do, every hand converted must pass.
TEST(TrackerCheck, TrackerSafeOutputOfDamagedBetting) {
    std::mt19937 random(4242);
    auto chance = [&random](int percent) { return static_cast<int>(random() % 100) < percent; };
    const std::string letters = "sBkbcrf/_kcfDP";
    std::string damaged;
    std::set<std::string> ids;
    const std::string text = readFile(generatedLog());
    for (std::size_t at = 0; at < text.size();) {
        std::size_t end = text.find("\r\n", at);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(at, end - at);
        at = end + 2;
        // One line per hand number: the checker takes the rake of the first.
        if (!ids.insert(line.substr(0, line.find(';'))).second) continue;
        if (const std::size_t seq = line.find(";SEQ="); seq != std::string::npos && chance(70)) {
            const std::size_t from = seq + 5;
            std::string letters_ = line.substr(from, line.find(';', from) - from);
            for (int edit = static_cast<int>(random() % 4); edit >= 0; --edit) {
                const std::size_t where = letters_.empty() ? 0 : random() % (letters_.size() + 1);
                const char letter = letters[random() % letters.size()];
                if (chance(40)) {
                    letters_.insert(where, 1, letter);
                    if (letter == 'D' || letter == 'P')
                        letters_.insert(where + 1, 1, static_cast<char>('0' + random() % 10));
                } else if (!letters_.empty()) {
                    letters_.erase(std::min(where, letters_.size() - 1), 1);
                }
            }
            if (chance(10)) std::erase(letters_, '/');
            line.replace(from, line.find(';', from) - from, letters_);
        }
        for (std::size_t pc = line.find(";PC"); pc != std::string::npos; pc = line.find(";PC", pc + 1)) {
            if (chance(25)) line.replace(pc + 5, 4, "????");
        }
        if (chance(5)) {
            const std::size_t sb = line.find(";SB=");
            if (sb != std::string::npos) line.replace(sb + 4, line.find(';', sb + 4) - sb - 4, "0");
        }
        damaged += line + "\r\n";
    }
    const fs::path log = scratch("damaged.log");
    writeFile(log, damaged);
    for (const Options& run : Runs) {
        SCOPED_TRACE(run.name);
        const trackercheck::FileResult result = convertAndCheck(log, run, true);
        EXPECT_GT(result.hands, GeneratedHands / 2u);
        EXPECT_EQ(result.faultyHands, 0u);
    }

    // The damage made what it was meant to: players at a showdown who show nothing, streets dealt that the
    // letters never reached.
    auto count = [](const std::string& text, const std::string& what) {
        std::size_t n = 0;
        for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
            ++n;
        return n;
    };
    const std::string safe = readFile(scratch("hh.txt"));
    convertAndCheck(log, Runs[2], false);
    const std::string byDefault = readFile(scratch("hh.txt"));
    EXPECT_GT(count(safe, "does not show cards."), count(byDefault, "does not show cards.") + 100);
    EXPECT_GT(count(safe, "** Dealing River **"), count(byDefault, "** Dealing River **") + 100);
}

}  // namespace
