// Each rule of tracker-safe output on a small log line, with the exact lines it must give (the history's
// end, from the line given first). The whole output of generated logs is held against trackercheck in
// tests/tools/TrackerCheckTest.cpp.
#include <gtest/gtest.h>

#include <string>

#include "support/Histories.h"
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
    return test::historyOf(line, options);
}

TEST(TrackerSafe, EachRuleOnASmallHand) {
    const struct {
        const char* rule;
        const char* flags;
        const char* line;     // after "ID=1;GAME=Texas Hold'em;TABLE=T;"
        const char* excerpt;  // lines the history holds
        const char* ending;   // the history's last lines
    } cases[] = {
        {"a split pot in whole cents, the odd cent to the winner nearest the button's left", "",
         "BTN=0;NP=3;SB=0.01;BB=0.02;PN0=ann;PB0=5;PC0=AhKd;PN1=bob;PB1=5;PC1=AsKc;PN2=cy;PB2=5;PC2=7h3d;"
         "BOARD=2c8d9hJsQs;SEQ=sBcck///;RAKE=0.01;HERO=ann;",
         "bob posts small blind [$0.01].\n",
         "ann wins $0.02 from  the main pot  with high card ace with ace kicker.\n"
         "bob wins $0.03 from  the main pot  with high card ace with ace kicker.\n"},
        {"the rake in whole cents over the pots, the odd cent from the pot printed first", "",
         "BTN=0;NP=3;SB=1;BB=2;BETS=18,10;PN0=ann;PB0=100;PC0=7h3d;PN1=bob;PB1=10;PC1=AcAd;PN2=cy;PB2=100;"
         "PC2=KcKd;BOARD=2c7d9hJsQs;SEQ=sBrcc/bc//;RAKE=0.05;HERO=ann;",
         "bob is all-In  [$9]\ncy calls [$18].\n",
         "cy wins $39.97 from  side pot #1  with a pair of kings.\n"
         "bob wins $29.98 from  the main pot  with a pair of aces.\n"},
        {"the rake never more than the pot", "",
         "BTN=0;NP=3;SB=1;BB=2;PN0=ann;PB0=100;PC0=7h3d;PN1=bob;PB1=100;PC1=AcAd;PN2=cy;PB2=100;PC2=KcKd;"
         "BOARD=2c7d9hJsQs;SEQ=sBcck///;RAKE=9;HERO=ann;",
         "", "bob wins $0 from  the main pot  with a pair of aces.\n"},
        {"the uncalled part of the last bet in no pot and not in the win", "",
         "BTN=0;NP=3;SB=1;BB=2;PN0=ann;PB0=100;PC0=7h3d;PN1=bob;PB1=100;PC1=AcAd;PN2=cy;PB2=100;PC2=KcKd;"
         "BOARD=2c7d9hJsQs;SEQ=sBcck/kbff;RAKE=0.5;HERO=ann;",
         "", "cy bets [$2].\nann folds.\nbob folds.\ncy does not show cards.\ncy wins $5.5\n"},
        {"no pot of one player's chips", "",
         "BTN=4;NP=2;SB=1;BB=2;BETS=;PN4=eve;PB4=50;PC4=QhQd;PN6=finn;PB6=1.5;PC6=7s2c;BOARD=3c8dJs4hKc;SEQ="
         "sBc///;HERO=eve;",
         "finn posts big blind [$1.5].\n** Dealing down cards **\nDealt to eve [  Qh Qd ]\neve calls [$1].\n",
         "eve wins $3 from  the main pot  with a pair of queens.\n"},
        {"unknown hole cards show nothing and win nothing against known ones", "",
         "BTN=0;NP=3;SB=1;BB=2;PN0=ann;PB0=100;PC0=7h3d;PN1=bob;PB1=100;PC1=AcAd;PN2=cy;PB2=100;PC2=????;"
         "BOARD=2c7d9hJsQs;SEQ=sBfck///;HERO=ann;",
         "", "cy does not show cards.\nbob wins $4 from  the main pot  with a pair of aces.\n"},
        {"every contestant's cards unknown: the pot split as ever", "",
         "BTN=0;NP=3;SB=1;BB=2;PN0=ann;PB0=100;PC0=7h3d;PN1=bob;PB1=100;PC1=????;PN2=cy;PB2=100;PC2=????;"
         "BOARD=2c7d9hJsQs;SEQ=sBfck///;RAKE=0.01;HERO=ann;",
         "",
         "bob does not show cards.\ncy does not show cards.\n"
         "bob wins $2 from  the main pot  with high card queen.\n"
         "cy wins $1.99 from  the main pot  with high card queen.\n"},
        {"an out-of-position big blind posted", "",
         "BTN=0;NP=4;SB=1;BB=2;PN0=ann;PB0=100;PC0=7h3d;PN1=bob;PB1=100;PN2=cy;PB2=100;PN3=dee;PB3=100;BOARD="
         "2c7d9hJsQs;SEQ=sBP3kfcff;HERO=ann;",
         "cy posts big blind [$2].\ndee posts big blind [$2].\n** Dealing down cards **\n", "bob wins $6\n"},
        {"a kept dead small blind posted as a small blind, the stack as it was", "",
         "BTN=0;NP=4;SB=1;BB=2;PN0=ann;PB0=100;PC0=7h3d;PN1=bob;PB1=100;PN2=cy;PB2=100;PN3=dee;PB3=100;BOARD="
         "2c7d9hJsQs;SEQ=sBD3fcfk;HERO=ann;",
         "Seat 4: dee ( $100 )\nbob posts small blind [$1].\ncy posts big blind [$2].\n"
         "dee posts small blind [$1].\n** Dealing down cards **\n",
         "ann wins $6 from  the main pot  with a pair of sevens.\n"},
        {"dead money not counted toward the poster's calls", "",
         "BTN=0;NP=4;SB=1;BB=2;PN0=ann;PB0=100;PC0=7h3d;PN1=bob;PB1=100;PN2=cy;PB2=100;PN3=dee;PB3=100;PC3="
         "AhAd;BOARD=2c7d9hJsQs;SEQ=sBD3P3krffc///;HERO=ann;",
         "dee posts big blind + dead [$3].\n** Dealing down cards **\nDealt to ann [  7h 3d ]\ndee checks.\n"
         "ann raises [$4].\nbob folds.\ncy folds.\ndee calls [$2].\n",
         "dee wins $12 from  the main pot  with a pair of aces.\n"},
        {"streets the board holds dealt before the show lines", "",
         "BTN=4;NP=2;SB=1;BB=2;BETS=48;PN4=eve;PB4=50;PC4=QhQd;PN6=finn;PB6=80;PC6=AsKs;BOARD=3c8dJs4hKc;SEQ="
         "sBrc;HERO=eve;",
         "",
         "finn calls [$48].\n** Dealing Flop ** [ 3c, 8d, Js ]\n** Dealing Turn ** [ 4h ]\n"
         "** Dealing River ** [ Kc ]\neve shows [ Qh, Qd ] a pair of queens.\n"
         "finn shows [ As, Ks ] a pair of kings.\nfinn wins $100 from  the main pot  with a pair of "
         "kings.\n"},
        {"the invented small blind in the pot, the poster calling the rest", "f",
         "BTN=0;NP=3;SB=1;BB=2;PN0=ann;PB0=100;PC0=7h3d;PN1=bob;PB1=100;PC1=AcAd;PN2=cy;PB2=100;PC2=KcKd;"
         "BOARD=2c7d9hJsQs;SEQ=Bcck///;HERO=ann;",
         "Seat 1: ann ( $101 )\nSeat 2: bob ( $100 )\nSeat 3: cy ( $100 )\nann posts small blind [$1].\n"
         "bob posts big blind [$2].\n** Dealing down cards **\nDealt to ann [  7h 3d ]\ncy calls [$2].\n"
         "ann calls [$1].\n",
         "bob wins $6 from  the main pot  with a pair of aces.\n"},
        {"dealt lines for known cards only, the log owner's last", "a",
         "BTN=0;NP=3;SB=1;BB=2;PN0=ann;PB0=100;PC0=7h3d;PN1=bob;PB1=100;PC1=????;PN2=cy;PB2=100;PC2=KcKd;"
         "BOARD=2c7d9hJsQs;SEQ=sBff;HERO=ann;",
         "** Dealing down cards **\nDealt to cy [  Kc Kd ]\nDealt to ann [  7h 3d ]\nann folds.\n", ""},
    };
    test::TimeZone zone("UTC");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rule);
        const std::string history =
            trackerSafeHistory(std::string("ID=1;GAME=Texas Hold'em;TABLE=T;") + c.line, c.flags);
        EXPECT_NE(history.find(c.excerpt), std::string::npos) << history;
        EXPECT_TRUE(history.ends_with(c.ending)) << history;
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
