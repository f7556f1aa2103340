#include "Generator.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "Names.h"

namespace loggen {
namespace {

constexpr int NamePool = 4000;
// 2008-01-01 00:00:00 UTC in milliseconds.
constexpr std::int64_t ClockStart = 1199145600000;
// A letter string or a BETS list must stay well inside one 255-character chunk.
constexpr std::size_t SequenceRoom = 190;
constexpr std::size_t BetsRoom = 200;

struct Stakes {
    std::int64_t small;
    std::int64_t big;
};

// Cents. Limit blinds are those of the usual limits: $1/$2 is 0.50/1.00, $3/$6 is 1.00/3.00.
const Stakes RealNoLimit[] = {{1, 2},    {2, 5},     {5, 10},    {10, 25},   {25, 50},
                              {50, 100}, {100, 200}, {200, 400}, {500, 1000}};
const Stakes RealLimit[] = {{5, 10},    {10, 25},   {25, 50},   {50, 100},
                            {100, 200}, {100, 300}, {200, 500}, {500, 1000}};
const Stakes PlayMoney[] = {{500, 1000}, {1000, 2000}, {2500, 5000}, {5000, 10000}, {10000, 20000}};
const int SeatLayouts[] = {10, 10, 9, 9, 9, 6, 6, 6, 6, 6, 2, 2, 8, 4, 5, 7, 3};
const char* const OtherGames[] = {"Omaha", "Omaha Hi/Lo", "7 Card Stud", "Razz"};
const char BadLetters[] = {'x', 'a', 'X', 'A', 'C', 'K', 'R', 'S', 'T', 'F'};

void appendInt(std::string& out, std::int64_t value) {
    char text[24];
    const auto result = std::to_chars(text, text + sizeof text, value);
    out.append(text, result.ptr);
}

// Real money with two decimals ("12.50"); play money in whole chips ("1500").
void appendMoney(std::string& out, std::int64_t cents, bool playMoney) {
    if (playMoney && cents % 100 == 0) {
        appendInt(out, cents / 100);
        return;
    }
    appendInt(out, cents / 100);
    out.push_back('.');
    out.push_back(static_cast<char>('0' + cents % 100 / 10));
    out.push_back(static_cast<char>('0' + cents % 10));
}

void appendFixed2(std::string& out, double value) {
    char text[64];
    const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 2);
    out.append(text, result.ptr);
}

void appendCard(std::string& out, int card) {
    out.push_back("23456789TJQKA"[card / 4]);
    out.push_back("hdcs"[card % 4]);
}

double preflopStrength(const std::array<int, 2>& hole) {
    const int high = std::max(hole[0] / 4, hole[1] / 4);
    const int low = std::min(hole[0] / 4, hole[1] / 4);
    double strength = (high + low) / 24.0 * 0.55;
    if (high == low) strength += 0.35 + low / 120.0;
    if (hole[0] % 4 == hole[1] % 4) strength += 0.06;
    if (high - low == 1) strength += 0.04;
    return std::min(1.0, strength);
}

// The betting state of one street that the converter does not need: who still has to act, who may
// still raise, the size of a full raise.
struct Street {
    Flags needs{};
    Flags acted{};  // acted since the last full raise: may call or fold, not raise again
    bool betMade = false;
    int aggressions = 0;
    std::int64_t minRaise = 0;
};

struct Choice {
    char letter;
    std::int64_t value;  // the BETS value of a no-limit 'b' or 'r', in cents
};

[[noreturn]] void internalError(const char* what) {
    std::fprintf(stderr, "loggen: internal error: %s\n", what);
    std::exit(3);
}

}  // namespace

void Output::flush() {
    if (buffer.empty() || file == nullptr) return;
    if (std::fwrite(buffer.data(), 1, buffer.size(), file) != buffer.size()) failed = true;
    buffer.clear();
}

int Table::seatedCount() const {
    int count = 0;
    for (const auto& seat : seats)
        count += seat.has_value() ? 1 : 0;
    return count;
}

Flags Table::emptySeats() const {
    Flags empty{};
    for (int seat = 0; seat < Seats; ++seat)
        empty[seat] = !seats[seat].has_value();
    return empty;
}

Generator::Generator(const Options& chosen)
    : options(chosen),
      play(chosen.seed),
      damage(chosen.seed ^ 0xD1B54A32D192ED03ull),
      timing(chosen.seed ^ 0x8CB92BA72F3D8DD7ull),
      repeats(chosen.seed ^ 0xABC98388FB8FAC03ull) {
    names = makePlayerNames(play, NamePool);
    heroName = static_cast<int>(play.below(NamePool));
    const std::int64_t top = std::numeric_limits<std::int32_t>::max();
    const std::int64_t hands = static_cast<std::int64_t>(options.hands);
    nextId = std::min<std::int64_t>(10000000 + play.range64(0, 40000000), top - hands);
    // Hand numbers skip the hands of other tables, but must stay within 32 bits.
    idStepMax = static_cast<std::uint32_t>(
        std::clamp<std::int64_t>((top - nextId) / std::max<std::int64_t>(hands, 1) - 1, 1, 40));
    clockMs = ClockStart + play.range64(0, 2LL * 365 * 24 * 3600 * 1000);
}

std::int64_t Generator::buyIn() {
    const std::int64_t big = table.bigBlind;
    const std::int64_t chip = table.playMoney ? 100 : 1;
    const double kind = play.unit();
    std::int64_t stack;
    if (kind < 0.04) {
        // A few chips left: blinds that put the poster all-in.
        stack = big * play.range(1, 3) - (play.chance(0.5) ? big / 2 : 0);
    } else if (!table.noLimit) {
        stack = big * play.range(10, 60);
    } else if (kind < 0.2) {
        stack = big * play.range(8, 25);
    } else if (kind < 0.9) {
        stack = big * play.range(40, 100);
    } else {
        stack = big * play.range(100, 250);
    }
    if (!table.playMoney && play.chance(0.5)) stack += play.range(0, static_cast<int>(big));
    return std::max(chip, stack / chip * chip);
}

void Generator::startSession() {
    table = Table{};
    table.name = makeTableName(play);
    table.site = pickSiteName(play);
    table.noLimit = !play.chance(options.limitShare);
    table.playMoney = play.chance(0.2);
    const Stakes stakes = table.playMoney ? play.pick(PlayMoney)
                          : table.noLimit ? play.pick(RealNoLimit)
                                          : play.pick(RealLimit);
    table.smallBlind = stakes.small;
    table.bigBlind = stakes.big;
    table.maxSeats = play.pick(SeatLayouts);
    table.showAnte = play.chance(0.25);
    table.showValues = play.chance(0.3);
    const double hero = play.unit();
    table.heroMode = hero < 0.88 ? HeroMode::Seated : hero < 0.97 ? HeroMode::Watching : HeroMode::Unnamed;
    table.handsLeft = play.range(30, 400);

    const int wanted = std::max(2, table.maxSeats - static_cast<int>(play.below(table.maxSeats / 2 + 1)));
    if (table.heroMode == HeroMode::Seated) {
        table.heroSeat = play.range(0, table.maxSeats - 1);
        table.seats[table.heroSeat] = Player{heroName, buyIn(), Pending::None};
    }
    while (table.seatedCount() < wanted)
        sitDown(Pending::None);
    table.button = -1;
    clockMs += play.range64(10 * 60 * 1000, 20LL * 3600 * 1000);
}

void Generator::betweenHands() {
    const std::int64_t big = table.bigBlind;
    for (int seat = 0; seat < table.maxSeats; ++seat) {
        auto& player = table.seats[seat];
        if (!player) continue;
        if (seat == table.heroSeat) {
            if (player->stack == 0) player->stack = buyIn();
            continue;
        }
        if (player->stack == 0) {
            if (play.chance(0.4)) {
                player->stack = buyIn();
            } else {
                player.reset();
            }
        } else if (play.chance(0.015) || (player->stack > 300 * big && play.chance(0.1))) {
            player.reset();
        }
    }
    // The emptier the table, the sooner somebody sits down.
    const int before = table.seatedCount();
    if (before < table.maxSeats && (before < 3 || play.chance(0.3 * (table.maxSeats - before)))) {
        // A player sitting down at a running table posts to come in, or waits for the big blind.
        Pending pending = Pending::None;
        if (before >= 3) {
            const double post = play.unit();
            pending = post < 0.35   ? Pending::Live
                      : post < 0.45 ? Pending::DeadAndLive
                      : post < 0.47 ? Pending::Dead
                                    : Pending::None;
        }
        sitDown(pending);
    }
    // Never fewer than two players: somebody sits down at once.
    while (table.seatedCount() < 2)
        sitDown(Pending::None);
}

bool Generator::sitDown(Pending pending) {
    const int seat = play.range(0, table.maxSeats - 1);
    const int name = static_cast<int>(play.below(NamePool));
    bool taken = table.seats[seat].has_value() || name == heroName;
    for (const auto& other : table.seats)
        taken = taken || (other && other->name == name);
    if (!taken) table.seats[seat] = Player{name, buyIn(), pending};
    return !taken;
}

void Generator::playHand() {
    if (table.handsLeft <= 0) startSession();
    --table.handsLeft;
    betweenHands();

    Hand& h = hand;
    h.numPlayers = table.seatedCount();
    const Flags empty = table.emptySeats();
    table.button = nextSeat(table.button < 0 ? play.range(0, Seats - 1) : table.button, empty);
    for (int seat = 0; seat < Seats; ++seat) {
        h.seated[seat] = !empty[seat];
        h.folded[seat] = empty[seat];
        h.shown[seat] = false;
        h.stacks[seat] = empty[seat] ? 0 : table.seats[seat]->stack;
    }

    // Deal: a partial shuffle of the deck, two cards per seated seat and five for the board.
    int deck[52];
    for (int card = 0; card < 52; ++card)
        deck[card] = card;
    int dealt = 0;
    auto draw = [&]() {
        const int pick = dealt + static_cast<int>(play.below(static_cast<std::uint32_t>(52 - dealt)));
        std::swap(deck[dealt], deck[pick]);
        return deck[dealt++];
    };
    for (int seat = 0; seat < Seats; ++seat) {
        if (!h.seated[seat]) continue;
        h.hole[seat][0] = draw();
        h.hole[seat][1] = draw();
    }
    for (int& card : h.board)
        card = draw();

    const bool noLimit = table.noLimit;
    const std::int64_t big = table.bigBlind;
    cents.start(h.stacks, h.seated, table.button, h.numPlayers, table.smallBlind, big, noLimit);
    exact.start(h.stacks, h.seated, table.button, h.numPlayers, table.smallBlind, big, noLimit);
    h.sequence.clear();
    h.bets.clear();
    h.betsTextLength = 0;
    h.rake = 0;

    // Blinds. Now and then the small blind is missing (its player has just left).
    const bool missingSmallBlind = h.numPlayers >= 3 && play.chance(0.012);
    int smallSeat = -1;
    if (!missingSmallBlind) {
        cents.postSmallBlind();
        exact.postSmallBlind();
        h.sequence.push_back('s');
        smallSeat = cents.actor;
    }
    cents.postBigBlind();
    exact.postBigBlind();
    h.sequence.push_back('B');
    const int bigSeat = cents.actor;

    // Players who sat down post to come in: a live big blind, a dead small blind with it, or rarely the
    // dead small blind alone.
    for (int seat = 0; seat < Seats; ++seat) {
        auto& player = table.seats[seat];
        if (!player || player->pending == Pending::None || seat == table.button) continue;
        const Pending pending = player->pending;
        player->pending = Pending::None;
        if (seat == smallSeat || seat == bigSeat || h.numPlayers < 3 || cents.stackLeft[seat] < 5 * big)
            continue;
        if (pending != Pending::Live) {
            cents.postDead(seat);
            exact.postDead(seat);
            h.sequence.push_back('D');
            h.sequence.push_back(static_cast<char>('0' + seat));
        }
        if (pending != Pending::Dead) {
            cents.postOutOfPosition(seat);
            exact.postOutOfPosition(seat);
            h.sequence.push_back('P');
            h.sequence.push_back(static_cast<char>('0' + seat));
        }
    }

    std::array<double, Seats> strength{};
    for (int seat = 0; seat < Seats; ++seat)
        strength[seat] = h.seated[seat] ? preflopStrength(h.hole[seat]) : 0;
    auto playersIn = [&]() {
        int count = 0;
        for (int seat = 0; seat < Seats; ++seat)
            count += h.folded[seat] ? 0 : 1;
        return count;
    };
    auto committed = [&](int seat) { return cents.deadGivenBack(seat) ? 0 : cents.roundBet[seat]; };

    Street street;
    auto toCall = [&](int seat) {
        return street.betMade ? std::max<std::int64_t>(0, cents.betLevel - committed(seat)) : std::int64_t{0};
    };
    auto roundTo = [&](double amount) {
        const std::int64_t grain = table.playMoney ? 100 * std::max<std::int64_t>(1, big / 2000)
                                   : big < 50      ? 1
                                   : big < 200     ? 5
                                   : big < 1000    ? 25
                                                   : 100;
        return std::max(grain, static_cast<std::int64_t>(amount / static_cast<double>(grain) + 0.5) * grain);
    };
    // Both ledgers must see the same all-in, or the converter would seat the next letters differently.
    auto agrees = [&](const Choice& c) {
        if (c.letter != 'b' && c.letter != 'c' && c.letter != 'r') return true;
        return cents.wouldGoAllIn(c.letter, c.value) ==
               exact.wouldGoAllIn(c.letter, fromCents<double>(c.value));
    };

    auto aggressive = [&](int seat, std::int64_t behind) -> Choice {
        const char letter = street.betMade ? 'r' : 'b';
        if (!noLimit) return {letter, 0};
        std::int64_t pot = cents.potBefore;
        for (std::int64_t in : cents.roundBet)
            pot += in;
        const bool shortStack = behind <= 15 * big;
        if (letter == 'b') {
            static const double Fractions[] = {0.33, 0.5, 0.5, 0.66, 0.75, 1.0, 1.25};
            std::int64_t bet = std::max(big, roundTo(static_cast<double>(pot) * play.pick(Fractions)));
            if (bet >= behind || (shortStack && play.chance(0.4)) || play.chance(0.03)) bet = behind;
            return {'b', bet};
        }
        const std::int64_t level = cents.betLevel;
        double target;
        if (cents.street == Preflop && level <= big) {
            static const double Opens[] = {2.0, 2.5, 3.0, 3.0, 3.5, 4.0};
            target = static_cast<double>(big) * (play.pick(Opens) + play.range(0, 2));
        } else {
            static const double Raises[] = {2.2, 2.5, 3.0, 3.0, 3.5};
            target = static_cast<double>(level) * play.pick(Raises);
        }
        std::int64_t increment = std::max(street.minRaise, roundTo(target - static_cast<double>(level)));
        const std::int64_t in = committed(seat);
        if (level + increment - in >= behind || (shortStack && play.chance(0.45)) || play.chance(0.05)) {
            increment = behind + in - level;  // all in: exactly the chips behind
        }
        return {'r', increment};
    };

    // A short all-in raise must still lift the level above what every other player has in; a seat with a
    // dead and a live blind in could otherwise sit above the level and still be asked to act.
    auto raiseOrCall = [&](int seat, std::int64_t behind) -> Choice {
        const Choice c = aggressive(seat, behind);
        if (c.letter != 'r') return c;
        const std::int64_t in = committed(seat);
        const std::int64_t level = in + std::min(behind, cents.need('r', c.value));
        for (int other = 0; other < Seats; ++other) {
            if (other != seat && !cents.out[other] && committed(other) >= level)
                return {toCall(seat) > 0 ? 'c' : 'k', 0};
        }
        return c;
    };

    auto decide = [&](int seat) -> Choice {
        const bool preflop = cents.street == Preflop;
        const std::int64_t behind =
            cents.deadGivenBack(seat) ? cents.stackLeft[seat] + cents.roundBet[seat] : cents.stackLeft[seat];
        const std::int64_t owed = toCall(seat);
        int others = 0;
        for (int other = 0; other < Seats; ++other)
            others += other != seat && !cents.out[other] ? 1 : 0;
        const bool roomy = h.sequence.size() < SequenceRoom && h.betsTextLength < BetsRoom;
        const bool mayRaise = !street.acted[seat] && others > 0 && behind > owed &&
                              street.aggressions < (noLimit ? 5 : 4) && roomy;
        const double s = preflop ? strength[seat] : 0.5 * strength[seat] + 0.5 * play.unit();
        if (owed == 0) {
            const double attack = preflop ? 0.12 + 0.3 * s : 0.18 + 0.35 * s;
            if (mayRaise && play.chance(attack)) return raiseOrCall(seat, behind);
            return {'k', 0};
        }
        const double price = std::min(1.0, static_cast<double>(owed) / static_cast<double>(behind));
        const double fold =
            std::clamp((preflop ? 0.85 - 0.7 * s : 0.55 - 0.45 * s) + 0.25 * price, 0.03, 0.92);
        const double raise = mayRaise ? 0.05 + 0.25 * s * s : 0;
        const double roll = play.unit();
        if (roll < fold) return {'f', 0};
        if (roll < fold + raise) return raiseOrCall(seat, behind);
        return {'c', 0};
    };

    // Where the exact chips would tip the all-in test one way in cents and the other in doubles, a shove
    // is written one cent above the stack (still all-in for the stack), and a call becomes a fold.
    auto settle = [&](Choice c, int seat) {
        for (int attempt = 0; attempt < 4 && !agrees(c); ++attempt) {
            if ((c.letter == 'b' || c.letter == 'r') && noLimit && attempt == 0) {
                c.value += 1;
            } else if (c.letter == 'b' || c.letter == 'r') {
                c = toCall(seat) > 0 ? Choice{'c', 0} : Choice{'k', 0};
            } else {
                c = {'f', 0};
            }
        }
        if (!agrees(c)) internalError("no action keeps the two ledgers in step");
        return c;
    };

    auto apply = [&](int seat, const Choice& c) {
        const std::int64_t levelBefore = street.betMade ? cents.betLevel : 0;
        cents.act(c.letter, c.value);
        exact.act(c.letter, fromCents<double>(c.value));
        h.sequence.push_back(c.letter);
        street.needs[seat] = false;
        street.acted[seat] = true;
        if (c.letter == 'f') h.folded[seat] = true;
        if (c.letter != 'b' && c.letter != 'r') return;
        if (noLimit) {
            const std::size_t before = h.betsTextLength;
            std::string text;
            appendMoney(text, c.value, table.playMoney);
            h.betsTextLength = before + text.size() + (h.bets.empty() ? 0 : 1);
            h.bets.push_back(c.value);
        }
        street.betMade = true;
        ++street.aggressions;
        const std::int64_t raisedBy = cents.betLevel - levelBefore;
        if (raisedBy >= (noLimit ? street.minRaise : cents.unit())) {
            if (noLimit) street.minRaise = raisedBy;
            street.acted.fill(false);
            street.acted[seat] = true;
        }
        for (int other = 0; other < Seats; ++other) {
            if (other != seat && !cents.out[other] && committed(other) < cents.betLevel)
                street.needs[other] = true;
        }
    };

    // Streets: betting while two or more can act, dealt out when at most one can.
    bool handOver = false;
    for (int round = 0; round < 4 && !handOver; ++round) {
        if (round > 0) {
            cents.endStreet();
            exact.endStreet();
            h.sequence.push_back('/');
        }
        street = Street{};
        street.betMade = round == 0;
        street.aggressions = round == 0 ? 1 : 0;
        street.minRaise = big;
        for (int seat = 0; seat < Seats; ++seat)
            street.needs[seat] = !cents.out[seat];
        while (true) {
            int canAct = 0;
            int lone = -1;
            for (int seat = 0; seat < Seats; ++seat) {
                if (cents.out[seat]) continue;
                ++canAct;
                lone = seat;
            }
            // The last player who can act has nobody to bet against once nothing is owed.
            if (canAct == 1 && toCall(lone) == 0) street.needs[lone] = false;
            bool pending = false;
            for (int seat = 0; seat < Seats; ++seat)
                pending = pending || (street.needs[seat] && !cents.out[seat]);
            if (!pending) break;
            const int seat = cents.nextActor();
            if (!street.needs[seat] || cents.out[seat]) internalError("the next actor has nothing to do");
            apply(seat, settle(decide(seat), seat));
            if (playersIn() == 1) {
                handOver = true;
                break;
            }
        }
    }
    cents.finish();
    exact.finish();
    h.streetsDealt = cents.street - Preflop;

    // The converter's doubles must name the same records and the same pots as the cents.
    h.exact = cents.records.size() == exact.records.size() && cents.pots.size() == exact.pots.size();
    for (std::size_t i = 0; h.exact && i < cents.records.size(); ++i) {
        const auto& c = cents.records[i];
        const auto& d = exact.records[i];
        h.exact = c.seat == d.seat && c.type == d.type &&
                  std::fabs(d.amount * 100 - static_cast<double>(c.amount)) < 0.01;
    }
    for (std::size_t i = 0; h.exact && i < cents.pots.size(); ++i) {
        h.exact = std::fabs(exact.pots[i] * 100 - static_cast<double>(cents.pots[i])) < 0.01;
    }

    // Who shows: everyone still in when more than one is.
    const int left = playersIn();
    for (int seat = 0; seat < Seats; ++seat)
        h.shown[seat] = left > 1 && !h.folded[seat];

    // Pay the pot for the next hand's stacks: each layer of it to one of the players still in who put in
    // that much (the log names no winner, so any of them will do). The rake comes out of the biggest win.
    std::array<std::int64_t, Seats> paid{};
    std::int64_t total = 0;
    for (int seat = 0; seat < Seats; ++seat) {
        paid[seat] = h.seated[seat] ? h.stacks[seat] - cents.stackLeft[seat] : 0;
        total += paid[seat];
    }
    if (!table.playMoney && h.streetsDealt > 0) {
        h.rake = std::min(total / 20, std::clamp<std::int64_t>(3 * big, 50, 300));
    }
    std::array<std::int64_t, Seats> won{};
    std::int64_t floor = 0;
    std::int64_t handedOut = 0;
    int lastWinner = -1;
    while (true) {
        std::int64_t top = -1;
        for (int seat = 0; seat < Seats; ++seat) {
            if (!h.folded[seat] && paid[seat] > floor && (top < 0 || paid[seat] < top)) top = paid[seat];
        }
        if (top < 0) break;
        int candidates[Seats];
        int count = 0;
        for (int seat = 0; seat < Seats; ++seat) {
            if (!h.folded[seat] && paid[seat] >= top) candidates[count++] = seat;
        }
        std::int64_t layer = 0;
        for (int seat = 0; seat < Seats; ++seat)
            layer += std::clamp<std::int64_t>(paid[seat] - floor, 0, top - floor);
        lastWinner = candidates[play.below(static_cast<std::uint32_t>(count))];
        won[lastWinner] += layer;
        handedOut += layer;
        floor = top;
    }
    // Chips of folded players above the deepest player still in go with the last layer.
    if (lastWinner >= 0) won[lastWinner] += total - handedOut;
    *std::max_element(won.begin(), won.end()) -= h.rake;
    for (int seat = 0; seat < Seats; ++seat) {
        if (h.seated[seat]) table.seats[seat]->stack = cents.stackLeft[seat] + won[seat];
    }
}

void Generator::appendLine(std::string& out, std::int64_t id) const {
    const Hand& h = hand;
    const bool chips = table.playMoney;
    out += "ID=";
    appendInt(out, id);
    out += ";TIME=";
    appendInt(out, h.timeMs);
    out += ";SITE=";
    out += table.site;
    out += ";GAME=Texas Hold'em;TABLE=";
    out += table.name;
    if (table.showAnte) out += ";ANTE=0";
    out += ";SB=";
    appendMoney(out, table.smallBlind, chips);
    out += ";BB=";
    appendMoney(out, table.bigBlind, chips);
    out += ";NP=";
    appendInt(out, h.numPlayers);
    out += ";BTN=";
    appendInt(out, table.button);
    if (table.heroMode != HeroMode::Unnamed) {
        out += ";HERO=";
        out += names[static_cast<std::size_t>(heroName)];
    }
    for (int seat = 0; seat < Seats; ++seat) {
        if (!h.seated[seat]) continue;
        const char digit = static_cast<char>('0' + seat);
        const int name = table.seats[seat]->name;
        out += ";PN";
        out += digit;
        out += '=';
        out += names[static_cast<std::size_t>(name)];
        out += ";PB";
        out += digit;
        out += '=';
        appendMoney(out, h.stacks[seat], chips);
        if (table.showValues) {
            out += ";PV";
            out += digit;
            out += '=';
            appendInt(out, name % 7);
        }
        out += ";PC";
        out += digit;
        out += '=';
        if (seat == table.heroSeat || h.shown[seat]) {
            appendCard(out, h.hole[seat][0]);
            appendCard(out, h.hole[seat][1]);
        } else {
            out += "????";
        }
    }
    out += ";BOARD=";
    const int known = h.streetsDealt == 0 ? 0 : h.streetsDealt + 2;
    for (int card = 0; card < 5; ++card) {
        if (card < known) {
            appendCard(out, h.board[card]);
        } else {
            out += "??";
        }
    }
    out += ";SEQ=";
    out += h.sequence;
    if (table.noLimit) {
        out += ";BETS=";
        for (std::size_t i = 0; i < h.bets.size(); ++i) {
            if (i > 0) out += ',';
            appendMoney(out, h.bets[i], chips);
        }
    }
    if (h.rake > 0) {
        out += ";RAKE=";
        appendMoney(out, h.rake, chips);
    }
    out += ';';
}

void Generator::appendTruth(std::string& out) const {
    appendInt(out, hand.id);
    for (const auto& record : exact.records) {
        out += ' ';
        appendInt(out, record.seat);
        out += ':';
        appendInt(out, record.type);
        out += ':';
        appendFixed2(out, record.amount);
    }
    out += " |";
    for (double total : exact.pots) {
        out += ' ';
        appendFixed2(out, total);
    }
    out += '\n';
}

void damageLine(std::string& line, Damage kind, Random& random) {
    auto chunkAt = [&](const std::string& key) -> std::size_t {
        if (line.compare(0, key.size(), key) == 0) return 0;
        const std::size_t at = line.find(";" + key);
        return at == std::string::npos ? at : at + 1;
    };
    switch (kind) {
        case Damage::Truncated: {
            // Cut inside a chunk, so that the last chunk has lost its semicolon.
            std::size_t cut = 4 + random.below(static_cast<std::uint32_t>(line.size() - 5));
            if (line[cut - 1] == ';') --cut;
            line.resize(cut);
            break;
        }
        case Damage::NoSemicolon: {
            const std::size_t stack = chunkAt("PB");
            if (random.chance(0.5) || stack == std::string::npos) {
                line.pop_back();
            } else {
                line.erase(line.find(';', stack), 1);
            }
            break;
        }
        case Damage::BadNumber: {
            static const char* const Keys[] = {"BB=", "SB=", "NP=", "ID=", "TIME=", "BTN=", "PB"};
            const std::string key = random.pick(Keys);
            const std::size_t start = chunkAt(key);
            const std::size_t value = line.find('=', start) + 1;
            const std::size_t end = line.find(';', value);
            std::string number = line.substr(value, end - value);
            const bool integer = key == "NP=" || key == "ID=" || key == "TIME=";
            if (key == "BTN=") {
                number = random.chance(0.5) ? "10" : "x";
            } else if (random.chance(0.3)) {
                number = "n/a";
            } else if (integer) {
                number += random.chance(0.5) ? ".0" : "x";
            } else if (number.find('.') != std::string::npos) {
                number[number.find('.')] = ',';
            } else {
                number.insert(number.size() > 3 ? number.size() - 3 : 0, ",");
            }
            line.replace(value, end - value, number);
            break;
        }
        case Damage::BadLetter: {
            const std::size_t value = chunkAt("SEQ=") + 4;
            const std::size_t length = line.find(';', value) - value;
            std::size_t at = value + random.below(static_cast<std::uint32_t>(length + 1));
            // Not between a post letter and its seat digit, where the post itself would be the error.
            if (at > value && (line[at - 1] == 'D' || line[at - 1] == 'P')) ++at;
            line.insert(at, 1, random.pick(BadLetters));
            break;
        }
        case Damage::Tournament: {
            const std::size_t at = line.find(';', chunkAt("TABLE=")) + 1;
            line.insert(at, "TOURNAMENT_ID=" + std::to_string(random.range(100000, 9999999)) + ";");
            break;
        }
        case Damage::OtherGame: {
            const std::size_t value = chunkAt("GAME=") + 5;
            line.replace(value, line.find(';', value) - value, random.pick(OtherGames));
            break;
        }
        case Damage::NoSequence: {
            const std::size_t start = chunkAt("SEQ=");
            line.erase(start, line.find(';', start) - start + 1);
            break;
        }
        case Damage::BlankLine:
            line.clear();
            break;
        case Damage::RepeatedId:
            break;
    }
}

void Generator::run(Output& log, Output* truth) {
    if (options.tables > 1) {
        runTables(log, truth);
    } else {
        while (tally.lines < options.hands) {
            playHand();
            hand.id = nextId;
            nextId += 1 + play.below(idStepMax);
            clockMs += play.range64(25000, 120000);
            hand.timeMs = clockMs;
            Finished finished = finishHand(truth != nullptr);
            finished.started = started++;
            write(finished, log, truth);
        }
    }
    log.flush();
    if (truth != nullptr) truth->flush();
}

void Generator::runTables(Output& log, Output* truth) {
    const auto count = static_cast<std::size_t>(options.tables);
    tables.assign(count, Table{});
    freeAtMs.assign(count, 0);
    // The player opens the tables one after another in the first minutes.
    for (std::int64_t& at : freeAtMs)
        at = clockMs + timing.range64(0, 3 * 60 * 1000);
    while (true) {
        const std::size_t next =
            static_cast<std::size_t>(std::min_element(freeAtMs.begin(), freeAtMs.end()) - freeAtMs.begin());
        writeEnded(freeAtMs[next], log, truth);
        if (tally.lines + playing.size() >= options.hands) break;

        std::swap(table, tables[next]);
        playHand();
        // The room gives the hand its number and time as it starts; the numbers of the hands other
        // players start meanwhile are skipped.
        hand.id = nextId;
        nextId += 1 + play.below(idStepMax);
        hand.timeMs = freeAtMs[next];
        Finished finished = finishHand(truth != nullptr);
        finished.started = started++;
        finished.endMs = hand.timeMs + handLength();
        freeAtMs[next] = finished.endMs + timing.range64(2000, 6000);
        // When the session is over, the player opens another table in its place.
        if (table.handsLeft <= 0) freeAtMs[next] += timing.range64(20000, 5 * 60 * 1000);
        std::swap(table, tables[next]);
        playing.push_back(std::move(finished));
    }
    writeEnded(std::numeric_limits<std::int64_t>::max(), log, truth);
}

std::int64_t Generator::handLength() {
    // The room's clock for every decision sets the same pace at every table: a hand takes about 40 s,
    // give or take a fifth of a second, so that most lines stay in the order their hands started. One
    // hand in twenty drags on for up to a minute more (a player thinks it over, a connection drops),
    // while the other tables finish theirs.
    std::int64_t length = 40000 + timing.range64(-200, 200);
    if (timing.chance(0.05)) length += timing.range64(5000, 60000);
    return length;
}

Finished Generator::finishHand(bool withTruth) const {
    Finished finished;
    finished.id = hand.id;
    finished.exact = hand.exact;
    finished.line.reserve(2048);
    appendLine(finished.line, hand.id);
    if (withTruth && hand.exact) appendTruth(finished.truth);
    return finished;
}

void Generator::writeEnded(std::int64_t untilMs, Output& log, Output* truth) {
    while (true) {
        auto first = playing.end();
        for (auto it = playing.begin(); it != playing.end(); ++it) {
            if (it->endMs <= untilMs && (first == playing.end() || it->endMs < first->endMs ||
                                         (it->endMs == first->endMs && it->started < first->started))) {
                first = it;
            }
        }
        if (first == playing.end()) return;
        Finished finished = std::move(*first);
        *first = std::move(playing.back());
        playing.pop_back();
        write(finished, log, truth);
    }
}

void Generator::write(Finished& finished, Output& log, Output* truth) {
    const bool damaged = options.brokenShare > 0 && damage.chance(options.brokenShare);
    Damage kind = Damage::BlankLine;
    if (damaged) {
        kind = static_cast<Damage>(damage.below(DamageKinds));
        if (kind == Damage::RepeatedId && lastGoodId < 0) kind = Damage::Truncated;
    }
    if (damaged) {
        if (kind == Damage::RepeatedId) {
            // Another hand under the number of the last good line before it.
            std::string number;
            appendInt(number, lastGoodId);
            finished.line.replace(3, finished.line.find(';') - 3, number);
        }
        damageLine(finished.line, kind, damage);
        ++tally.damaged;
    } else {
        lastGoodId = finished.id;
        if (finished.exact) {
            if (truth != nullptr) {
                truth->buffer += finished.truth;
                truth->flushIfFull();
            }
            ++tally.truthLines;
        } else {
            ++tally.leftOut;
        }
    }

    if (lastWrittenId > finished.id) ++tally.outOfOrder;
    lastWrittenId = finished.id;
    const std::uint64_t place = written++;
    tally.farthest = std::max(tally.farthest,
                              place > finished.started ? place - finished.started : finished.started - place);
    writeLine(finished.line, log);

    if (options.repeatShare <= 0) return;
    if (!damaged) {
        std::string& kept = recentLines[recentCount++ % recentLines.size()];
        kept.assign(finished.line);
    }
    // A share s of all lines: a chance of s / (1 - s) after each hand's own line.
    const double chance = options.repeatShare / (1 - options.repeatShare);
    if (recentCount > 0 && tally.lines + playing.size() < options.hands && repeats.chance(chance)) {
        const std::size_t kept = std::min(recentCount, recentLines.size());
        writeLine(recentLines[repeats.below(static_cast<std::uint32_t>(kept))], log);
        ++tally.repeated;
    }
}

void Generator::writeLine(const std::string& line, Output& log) {
    log.buffer += line;
    log.buffer += "\r\n";
    tally.bytes += line.size() + 2;
    ++tally.lines;
    log.flushIfFull();
}

}  // namespace loggen
