// The bookkeeping the converter applies to a hand's betting letters: who acts, what each letter puts in,
// the records it yields and the pot totals. The generator keeps two copies in step, one in whole cents
// (the poker as dealt) and one in doubles with the converter's own order of additions (what the converter
// will compute), so that it can tell when the two could disagree and leave such a hand out of the truth.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

namespace loggen {

constexpr int Seats = 10;
using Flags = std::array<bool, Seats>;

// The converter's record types, with its numbers.
enum RecordType : int {
    PostSmallBlind = 0,
    PostBigBlind = 1,
    PostBigBlindDead = 2,
    Check = 3,
    Bet = 4,
    Call = 5,
    Raise = 6,
    Fold = 7,
    AllIn = 8,
    Preflop = 9,
    DealFlop = 10,
    DealTurn = 11,
    DealRiver = 12,
    Showdown = 13,
};

// The next seat clockwise whose flag is clear, or `from` itself when every other seat is flagged.
inline int nextSeat(int from, const Flags& flags) {
    int seat = from;
    do {
        seat = (seat + 1) % Seats;
    } while (seat != from && flags[seat]);
    return seat;
}

// A log amount as the converter holds it after reading it: whole cents, or cents / 100 in a double.
template <class Money>
Money fromCents(std::int64_t cents);
template <>
inline std::int64_t fromCents<std::int64_t>(std::int64_t cents) {
    return cents;
}
template <>
inline double fromCents<double>(std::int64_t cents) {
    return static_cast<double>(cents) / 100;
}

template <class Money>
struct Record {
    int seat;
    int type;
    Money amount;
};

template <class Money>
struct Ledger {
    Flags out{};       // empty, folded or all-in: passed over when the next actor is sought
    Flags allInNow{};  // went all-in during this street
    std::array<Money, Seats> stackLeft{};
    std::array<Money, Seats> roundBet{};
    std::array<Money, Seats> deadPost{};
    std::array<Money, Seats> oopPost{};
    Money smallBlind{};
    Money bigBlind{};
    Money betLevel{};
    Money potBefore{};
    bool noLimit = false;
    int button = 0;
    int numPlayers = 0;
    int street = Preflop;
    int actor = 0;
    int lastAggressor = 0;
    std::vector<Record<Money>> records;
    std::vector<Money> pots;  // pot totals, largest first

    void start(const std::array<std::int64_t, Seats>& stackCents, const Flags& seated, int buttonSeat,
               int players, std::int64_t smallCents, std::int64_t bigCents, bool withBets) {
        for (int seat = 0; seat < Seats; ++seat) {
            out[seat] = !seated[seat];
            allInNow[seat] = false;
            stackLeft[seat] = fromCents<Money>(stackCents[seat]);
            roundBet[seat] = 0;
            deadPost[seat] = -1;
            oopPost[seat] = -1;
        }
        smallBlind = fromCents<Money>(smallCents);
        bigBlind = fromCents<Money>(bigCents);
        betLevel = 0;
        potBefore = 0;
        noLimit = withBets;
        button = buttonSeat;
        numPlayers = players;
        street = Preflop;
        actor = button;
        lastAggressor = nextSeat(button, out);
        records.clear();
        pots.clear();
    }

    Money unit() const { return street <= DealFlop ? bigBlind : bigBlind * 2; }
    int nextActor() const { return nextSeat(actor, out); }
    // A dead small blind without a live big blind is given back when its seat calls or raises.
    bool deadGivenBack(int seat) const { return deadPost[seat] > 0 && !(oopPost[seat] > 0); }

    // Chips the next actor needs for `letter` ('b', 'c' or 'r'; `value` is the BETS value of a no-limit
    // 'b' or 'r'), and what it has behind at that moment.
    Money need(char letter, Money value) const {
        const int seat = nextActor();
        const bool back = letter != 'b' && deadGivenBack(seat);
        const Money in = back ? Money{} : roundBet[seat];
        if (letter == 'b') return noLimit ? value : unit();
        if (letter == 'c') return betLevel - in;
        return betLevel + (noLimit ? value : unit()) - in;
    }
    Money behind(char letter) const {
        const int seat = nextActor();
        return letter != 'b' && deadGivenBack(seat) ? stackLeft[seat] + roundBet[seat] : stackLeft[seat];
    }
    bool wouldGoAllIn(char letter, Money value) const { return behind(letter) <= need(letter, value); }

    void postSmallBlind() {
        const int poster = numPlayers > 2 ? nextSeat(button, out) : button;
        actor = lastAggressor = poster;
        betLevel = smallBlind;
        if (stackLeft[poster] <= smallBlind) {
            roundBet[poster] = stackLeft[poster];
            goAllIn(poster);
        } else {
            roundBet[poster] = smallBlind;
            stackLeft[poster] -= smallBlind;
        }
        records.push_back({poster, PostSmallBlind, roundBet[poster]});
    }

    void postBigBlind() {
        const int poster = nextSeat(actor, out);
        actor = lastAggressor = poster;
        betLevel = bigBlind;
        if (stackLeft[poster] <= bigBlind) {
            roundBet[poster] = stackLeft[poster];
            goAllIn(poster);
        } else {
            roundBet[poster] = bigBlind;
            stackLeft[poster] -= bigBlind;
        }
        records.push_back({poster, PostBigBlind, roundBet[poster]});
    }

    void postDead(int seat) {
        if (stackLeft[seat] <= smallBlind) {
            roundBet[seat] = stackLeft[seat];
            goAllIn(seat);
        } else {
            roundBet[seat] = smallBlind;
            stackLeft[seat] -= smallBlind;
        }
        deadPost[seat] = roundBet[seat];
    }

    void postOutOfPosition(int seat) {
        if (stackLeft[seat] <= bigBlind) {
            roundBet[seat] += stackLeft[seat];
            goAllIn(seat);
        } else {
            roundBet[seat] += bigBlind;
            stackLeft[seat] -= bigBlind;
        }
        oopPost[seat] = roundBet[seat];
    }

    // One of 'k', 'f', 'b', 'c', 'r' by the next actor.
    void act(char letter, Money value) {
        const int seat = actor = nextActor();
        if ((letter == 'c' || letter == 'r') && deadGivenBack(seat)) {
            stackLeft[seat] += roundBet[seat];
            roundBet[seat] = 0;
            deadPost[seat] = -1;
        }
        switch (letter) {
            case 'k':
                records.push_back({seat, Check, Money{}});
                break;
            case 'f':
                out[seat] = true;
                records.push_back({seat, Fold, Money{}});
                break;
            case 'b': {
                lastAggressor = seat;
                const Money needed = noLimit ? value : unit();
                if (stackLeft[seat] <= needed) {
                    betLevel = roundBet[seat] = stackLeft[seat];
                    records.push_back({seat, AllIn, stackLeft[seat]});
                    goAllIn(seat);
                } else {
                    betLevel = roundBet[seat] = needed;
                    stackLeft[seat] -= needed;
                    records.push_back({seat, Bet, needed});
                }
                break;
            }
            case 'c': {
                const Money needed = betLevel - roundBet[seat];
                if (stackLeft[seat] <= needed) {
                    roundBet[seat] += stackLeft[seat];
                    records.push_back({seat, AllIn, stackLeft[seat]});
                    goAllIn(seat);
                } else {
                    roundBet[seat] = betLevel;
                    stackLeft[seat] -= needed;
                    records.push_back({seat, Call, needed});
                }
                break;
            }
            case 'r': {
                lastAggressor = seat;
                const Money needed = betLevel + (noLimit ? value : unit()) - roundBet[seat];
                if (stackLeft[seat] <= needed) {
                    const Money chips = stackLeft[seat];
                    betLevel = chips + roundBet[seat];
                    roundBet[seat] = betLevel;
                    records.push_back({seat, AllIn, chips});
                    goAllIn(seat);
                } else {
                    betLevel = needed + roundBet[seat];
                    roundBet[seat] = betLevel;
                    stackLeft[seat] -= needed;
                    records.push_back({seat, Raise, needed});
                }
                break;
            }
            default:
                break;
        }
    }

    // The letter '/'.
    void endStreet() {
        street += 1;
        records.push_back({lastAggressor, street, Money{}});
        lastAggressor = nextSeat(button, out);
        buildPots(false);
        for (int seat = 0; seat < Seats; ++seat) {
            potBefore += roundBet[seat];
            roundBet[seat] = 0;
        }
        actor = button;
    }

    // After the last letter: the last pots, the closing record and the records of dead-and-live posts.
    void finish() {
        buildPots(true);
        records.push_back({lastAggressor, Showdown, Money{}});
        auto at = std::find_if(records.begin(), records.end(), [](const Record<Money>& r) {
            return r.type != PostSmallBlind && r.type != PostBigBlind && r.type != PostBigBlindDead;
        });
        for (int seat = 0; seat < Seats; ++seat) {
            if (deadPost[seat] > 0 && oopPost[seat] > 0) {
                at = records.insert(at, {seat, PostBigBlindDead, oopPost[seat]});
                ++at;
            }
        }
    }

private:
    void goAllIn(int seat) {
        stackLeft[seat] = 0;
        allInNow[seat] = true;
        out[seat] = true;
    }

    void buildPots(bool final) {
        for (int p = 0; p < Seats; ++p) {
            if (!allInNow[p] && (!final || out[p])) continue;
            Money level = potBefore;
            for (int r = 0; r < Seats; ++r)
                level += std::min(roundBet[r], roundBet[p]);
            if (std::find(pots.begin(), pots.end(), level) != pots.end()) continue;
            pots.insert(std::find_if(pots.begin(), pots.end(), [&](Money total) { return total < level; }),
                        level);
        }
        allInNow.fill(false);
    }
};

}  // namespace loggen
