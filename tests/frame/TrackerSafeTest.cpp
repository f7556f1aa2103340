// Each rule of tracker-safe output on a small log line, with the exact lines it must give (the history's
// end, from the line given first). The whole output of generated logs is held against trackercheck in
// tests/tools/TrackerCheckTest.cpp.
#include <gtest/gtest.h>

#include <string>

#include "frame/Intake.h"
#include "support/TestSupport.h"

namespace noxi {
namespace {

// The tracker-safe history of one log line with real money and the flags given ("a" all hole cards, "f" the
// small blind fix), without carriage returns.
std::string trackerSafeHistory(const std::string& line, std::string_view flags) {
    ConversionOptions options;
    options.trackerSafe = true;
    options.realMoney = true;
    options.saveAllHole = flags.find('a') != std::string_view::npos;
    options.fixSmallBlind = flags.find('f') != std::string_view::npos;
    TakenHand hand;
    EXPECT_GT(parseLine(hand, line.c_str(), options), 0) << hand.errorText();
    std::string text;
    writeHistory(hand, text, options, true);
    std::erase(text, '\r');
    return text;
}

TEST(TrackerSafe, EachRuleOnASmallHand) {
    const struct {
        const char* rule;
        const char* flags;
        const char* line;    // after "ID=1;GAME=Texas Hold'em;TABLE=T;"
        const char* ending;  // the history from this text to its end
    } cases[] = {
        {"a split pot in whole cents, the odd cent to the winner nearest the button's left", "",
         "BTN=0;NP=3;SB=0.01;BB=0.02;PN0=ann;PB0=5;PC0=AhKd;PN1=bob;PB1=5;PC1=AsKc;PN2=cy;PB2=5;PC2=7h3d;"
         "BOARD=2c8d9hJsQs;SEQ=sBcck///;RAKE=0.01;HERO=ann;",
         "bob posts small blind [$0.01].\n"
         "cy posts big blind [$0.02].\n"
         "** Dealing down cards **\n"
         "Dealt to ann [  Ah Kd ]\n"
         "ann calls [$0.02].\n"
         "bob calls [$0.01].\n"
         "cy checks.\n"
         "** Dealing Flop ** [ 2c, 8d, 9h ]\n"
         "** Dealing Turn ** [ Js ]\n"
         "** Dealing River ** [ Qs ]\n"
         "bob shows [ As, Kc ] high card ace.\n"
         "cy doesn't show [ 7h, 3d ] high card queen.\n"
         "ann shows [ Ah, Kd ] high card ace.\n"
         "ann wins $0.02 from  the main pot  with high card ace with ace kicker.\n"
         "bob wins $0.03 from  the main pot  with high card ace with ace kicker.\n"},
        {"the rake in whole cents over the pots, the odd cent from the pot printed first", "",
         "BTN=0;NP=3;SB=1;BB=2;BETS=18,10;PN0=ann;PB0=100;PC0=7h3d;PN1=bob;PB1=10;PC1=AcAd;PN2=cy;PB2=100;"
         "PC2=KcKd;BOARD=2c7d9hJsQs;SEQ=sBrcc/bc//;RAKE=0.05;HERO=ann;",
         "bob posts small blind [$1].\n"
         "cy posts big blind [$2].\n"
         "** Dealing down cards **\n"
         "Dealt to ann [  7h 3d ]\n"
         "ann raises [$20].\n"
         "bob is all-In  [$9]\n"
         "cy calls [$18].\n"
         "** Dealing Flop ** [ 2c, 7d, 9h ]\n"
         "cy bets [$10].\n"
         "ann calls [$10].\n"
         "** Dealing Turn ** [ Js ]\n"
         "** Dealing River ** [ Qs ]\n"
         "cy shows [ Kc, Kd ] a pair of kings.\n"
         "ann doesn't show [ 7h, 3d ] a pair of sevens.\n"
         "bob shows [ Ac, Ad ] a pair of aces.\n"
         "cy wins $39.97 from  side pot #1  with a pair of kings.\n"
         "bob wins $29.98 from  the main pot  with a pair of aces.\n"},
        {"the rake never more than the pot", "",
         "BTN=0;NP=3;SB=1;BB=2;PN0=ann;PB0=100;PC0=7h3d;PN1=bob;PB1=100;PC1=AcAd;PN2=cy;PB2=100;PC2=KcKd;"
         "BOARD=2c7d9hJsQs;SEQ=sBcck///;RAKE=9;HERO=ann;",
         "bob posts small blind [$1].\n"
         "cy posts big blind [$2].\n"
         "** Dealing down cards **\n"
         "Dealt to ann [  7h 3d ]\n"
         "ann calls [$2].\n"
         "bob calls [$1].\n"
         "cy checks.\n"
         "** Dealing Flop ** [ 2c, 7d, 9h ]\n"
         "** Dealing Turn ** [ Js ]\n"
         "** Dealing River ** [ Qs ]\n"
         "bob shows [ Ac, Ad ] a pair of aces.\n"
         "cy doesn't show [ Kc, Kd ] a pair of kings.\n"
         "ann doesn't show [ 7h, 3d ] a pair of sevens.\n"
         "bob wins $0 from  the main pot  with a pair of aces.\n"},
        {"the uncalled part of the last bet in no pot and not in the win", "",
         "BTN=0;NP=3;SB=1;BB=2;PN0=ann;PB0=100;PC0=7h3d;PN1=bob;PB1=100;PC1=AcAd;PN2=cy;PB2=100;PC2=KcKd;"
         "BOARD=2c7d9hJsQs;SEQ=sBcck/kbff;RAKE=0.5;HERO=ann;",
         "bob posts small blind [$1].\n"
         "cy posts big blind [$2].\n"
         "** Dealing down cards **\n"
         "Dealt to ann [  7h 3d ]\n"
         "ann calls [$2].\n"
         "bob calls [$1].\n"
         "cy checks.\n"
         "** Dealing Flop ** [ 2c, 7d, 9h ]\n"
         "bob checks.\n"
         "cy bets [$2].\n"
         "ann folds.\n"
         "bob folds.\n"
         "cy does not show cards.\n"
         "cy wins $5.5\n"},
        {"no pot of one player's chips", "",
         "BTN=4;NP=2;SB=1;BB=2;BETS=;PN4=eve;PB4=50;PC4=QhQd;PN6=finn;PB6=1.5;PC6=7s2c;BOARD=3c8dJs4hKc;SEQ="
         "sBc///;HERO=eve;",
         "eve posts small blind [$1].\n"
         "finn posts big blind [$1.5].\n"
         "** Dealing down cards **\n"
         "Dealt to eve [  Qh Qd ]\n"
         "eve calls [$1].\n"
         "** Dealing Flop ** [ 3c, 8d, Js ]\n"
         "** Dealing Turn ** [ 4h ]\n"
         "** Dealing River ** [ Kc ]\n"
         "eve shows [ Qh, Qd ] a pair of queens.\n"
         "finn doesn't show [ 7s, 2c ] high card king.\n"
         "eve wins $3 from  the main pot  with a pair of queens.\n"},
        {"unknown hole cards show nothing and win nothing against known ones", "",
         "BTN=0;NP=3;SB=1;BB=2;PN0=ann;PB0=100;PC0=7h3d;PN1=bob;PB1=100;PC1=AcAd;PN2=cy;PB2=100;PC2=????;"
         "BOARD=2c7d9hJsQs;SEQ=sBfck///;HERO=ann;",
         "bob posts small blind [$1].\n"
         "cy posts big blind [$2].\n"
         "** Dealing down cards **\n"
         "Dealt to ann [  7h 3d ]\n"
         "ann folds.\n"
         "bob calls [$1].\n"
         "cy checks.\n"
         "** Dealing Flop ** [ 2c, 7d, 9h ]\n"
         "** Dealing Turn ** [ Js ]\n"
         "** Dealing River ** [ Qs ]\n"
         "bob shows [ Ac, Ad ] a pair of aces.\n"
         "cy does not show cards.\n"
         "bob wins $4 from  the main pot  with a pair of aces.\n"},
        {"every contestant's cards unknown: the pot split as ever", "",
         "BTN=0;NP=3;SB=1;BB=2;PN0=ann;PB0=100;PC0=7h3d;PN1=bob;PB1=100;PC1=????;PN2=cy;PB2=100;PC2=????;"
         "BOARD=2c7d9hJsQs;SEQ=sBfck///;RAKE=0.01;HERO=ann;",
         "bob posts small blind [$1].\n"
         "cy posts big blind [$2].\n"
         "** Dealing down cards **\n"
         "Dealt to ann [  7h 3d ]\n"
         "ann folds.\n"
         "bob calls [$1].\n"
         "cy checks.\n"
         "** Dealing Flop ** [ 2c, 7d, 9h ]\n"
         "** Dealing Turn ** [ Js ]\n"
         "** Dealing River ** [ Qs ]\n"
         "bob does not show cards.\n"
         "cy does not show cards.\n"
         "bob wins $2 from  the main pot  with high card queen.\n"
         "cy wins $1.99 from  the main pot  with high card queen.\n"},
        {"an out-of-position big blind posted", "",
         "BTN=0;NP=4;SB=1;BB=2;PN0=ann;PB0=100;PC0=7h3d;PN1=bob;PB1=100;PN2=cy;PB2=100;PN3=dee;PB3=100;BOARD="
         "2c7d9hJsQs;SEQ=sBP3kfcff;HERO=ann;",
         "bob posts small blind [$1].\n"
         "cy posts big blind [$2].\n"
         "dee posts big blind [$2].\n"
         "** Dealing down cards **\n"
         "Dealt to ann [  7h 3d ]\n"
         "dee checks.\n"
         "ann folds.\n"
         "bob calls [$1].\n"
         "cy folds.\n"
         "dee folds.\n"
         "bob does not show cards.\n"
         "bob wins $6\n"},
        {"a kept dead small blind posted as a small blind, the stack as it was", "",
         "BTN=0;NP=4;SB=1;BB=2;PN0=ann;PB0=100;PC0=7h3d;PN1=bob;PB1=100;PN2=cy;PB2=100;PN3=dee;PB3=100;BOARD="
         "2c7d9hJsQs;SEQ=sBD3fcfk;HERO=ann;",
         "Seat 4: dee ( $100 )\n"
         "bob posts small blind [$1].\n"
         "cy posts big blind [$2].\n"
         "dee posts small blind [$1].\n"
         "** Dealing down cards **\n"
         "Dealt to ann [  7h 3d ]\n"
         "dee folds.\n"
         "ann calls [$2].\n"
         "bob folds.\n"
         "cy checks.\n"
         "** Dealing Flop ** [ 2c, 7d, 9h ]\n"
         "** Dealing Turn ** [ Js ]\n"
         "** Dealing River ** [ Qs ]\n"
         "cy does not show cards.\n"
         "ann shows [ 7h, 3d ] a pair of sevens.\n"
         "ann wins $6 from  the main pot  with a pair of sevens.\n"},
        {"dead money not counted toward the poster's calls", "",
         "BTN=0;NP=4;SB=1;BB=2;PN0=ann;PB0=100;PC0=7h3d;PN1=bob;PB1=100;PN2=cy;PB2=100;PN3=dee;PB3=100;PC3="
         "AhAd;BOARD=2c7d9hJsQs;SEQ=sBD3P3krffc///;HERO=ann;",
         "bob posts small blind [$1].\n"
         "cy posts big blind [$2].\n"
         "dee posts big blind + dead [$3].\n"
         "** Dealing down cards **\n"
         "Dealt to ann [  7h 3d ]\n"
         "dee checks.\n"
         "ann raises [$4].\n"
         "bob folds.\n"
         "cy folds.\n"
         "dee calls [$2].\n"
         "** Dealing Flop ** [ 2c, 7d, 9h ]\n"
         "** Dealing Turn ** [ Js ]\n"
         "** Dealing River ** [ Qs ]\n"
         "dee shows [ Ah, Ad ] a pair of aces.\n"
         "ann doesn't show [ 7h, 3d ] a pair of sevens.\n"
         "dee wins $12 from  the main pot  with a pair of aces.\n"},
        {"streets the board holds dealt before the show lines", "",
         "BTN=4;NP=2;SB=1;BB=2;BETS=48;PN4=eve;PB4=50;PC4=QhQd;PN6=finn;PB6=80;PC6=AsKs;BOARD=3c8dJs4hKc;SEQ="
         "sBrc;HERO=eve;",
         "eve posts small blind [$1].\n"
         "finn posts big blind [$2].\n"
         "** Dealing down cards **\n"
         "Dealt to eve [  Qh Qd ]\n"
         "eve is all-In  [$49]\n"
         "finn calls [$48].\n"
         "** Dealing Flop ** [ 3c, 8d, Js ]\n"
         "** Dealing Turn ** [ 4h ]\n"
         "** Dealing River ** [ Kc ]\n"
         "eve shows [ Qh, Qd ] a pair of queens.\n"
         "finn shows [ As, Ks ] a pair of kings.\n"
         "finn wins $100 from  the main pot  with a pair of kings.\n"},
        {"the invented small blind in the pot, the poster calling the rest", "f",
         "BTN=0;NP=3;SB=1;BB=2;PN0=ann;PB0=100;PC0=7h3d;PN1=bob;PB1=100;PC1=AcAd;PN2=cy;PB2=100;PC2=KcKd;"
         "BOARD=2c7d9hJsQs;SEQ=Bcck///;HERO=ann;",
         "Seat 1: ann ( $101 )\n"
         "Seat 2: bob ( $100 )\n"
         "Seat 3: cy ( $100 )\n"
         "ann posts small blind [$1].\n"
         "bob posts big blind [$2].\n"
         "** Dealing down cards **\n"
         "Dealt to ann [  7h 3d ]\n"
         "cy calls [$2].\n"
         "ann calls [$1].\n"
         "bob checks.\n"
         "** Dealing Flop ** [ 2c, 7d, 9h ]\n"
         "** Dealing Turn ** [ Js ]\n"
         "** Dealing River ** [ Qs ]\n"
         "bob shows [ Ac, Ad ] a pair of aces.\n"
         "cy doesn't show [ Kc, Kd ] a pair of kings.\n"
         "ann doesn't show [ 7h, 3d ] a pair of sevens.\n"
         "bob wins $6 from  the main pot  with a pair of aces.\n"},
        {"dealt lines for known cards only, the log owner's last", "a",
         "BTN=0;NP=3;SB=1;BB=2;PN0=ann;PB0=100;PC0=7h3d;PN1=bob;PB1=100;PC1=????;PN2=cy;PB2=100;PC2=KcKd;"
         "BOARD=2c7d9hJsQs;SEQ=sBff;HERO=ann;",
         "bob posts small blind [$1].\n"
         "cy posts big blind [$2].\n"
         "** Dealing down cards **\n"
         "Dealt to cy [  Kc Kd ]\n"
         "Dealt to ann [  7h 3d ]\n"
         "ann folds.\n"
         "bob folds.\n"
         "cy does not show cards.\n"
         "cy wins $2\n"},
    };
    test::TimeZone zone("UTC");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rule);
        const std::string history =
            trackerSafeHistory(std::string("ID=1;GAME=Texas Hold'em;TABLE=T;") + c.line, c.flags);
        const std::string ending = c.ending;
        ASSERT_GE(history.size(), ending.size());
        EXPECT_EQ(history.substr(history.size() - ending.size()), ending) << history;
    }
}

// Stakes with cents in two decimals, as trackers look them up; whole ones stay whole.
TEST(TrackerSafe, Stakes) {
    const struct {
        const char* blinds;
        const char* stakes;
    } cases[] = {{"SB=0.05;BB=0.1", "$0.10/$0.20 Hold'em"}, {"SB=0.1;BB=0.25", "$0.25/$0.50 Hold'em"},
                 {"SB=0.25;BB=0.5", "$0.50/$1 Hold'em"},    {"SB=1;BB=2", "$2/$4 Hold'em"},
                 {"SB=1;BB=1.5", "$1.50/$3 Hold'em"},       {"BETS=;SB=0.1;BB=0.25", "$25 NL Hold'em"},
                 {"BETS=;SB=0.01;BB=0.02", "$2 NL Hold'em"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.blinds);
        const std::string line = std::string("ID=1;GAME=Texas Hold'em;TABLE=T;BTN=0;NP=2;") + c.blinds +
                                 ";PN0=ann;PB0=5;PN1=bob;PB1=5;SEQ=sBf;";
        const std::string history = trackerSafeHistory(line, "");
        EXPECT_NE(history.find("\n" + std::string(c.stakes) + " - "), std::string::npos) << history;
    }
}

}  // namespace
}  // namespace noxi
