#include "betting/Decoder.h"

#include <array>
#include <bit>
#include <cstddef>
#include <iterator>
#include <string_view>

#include "betting/PotBuilder.h"
#include "hand/Money.h"

namespace noxi {
namespace {

using SeatMoney = std::array<double, SeatCount>;

constexpr const char* NotEnoughBets = "ERROR: Not enough bets in SEQ.";

// HandRecord::nextSeat for a start in 0..9 and the flags as a mask (bit n for seat n): the first seat after
// `from` clockwise whose bit is clear, or `from` when every other seat's bit is set. Walking the table seat
// by seat is the decoder's most frequent step, and its branches are hard to predict.
int nextClearSeat(int from, unsigned flagged) {
    constexpr unsigned AllSeats = (1u << SeatCount) - 1;
    const unsigned clear = ~flagged & AllSeats;
    const unsigned after = clear & (AllSeats << (from + 1));
    if (after != 0) return std::countr_zero(after);
    const unsigned before = clear & ((1u << from) - 1);
    return before != 0 ? std::countr_zero(before) : from;
}

// The working state of one decode. Seats are always 0..9 here: the walks start from the button (kept in
// range) or from seats they returned, and post digits are checked.
struct Decoder {
    const HandRecord& hand;
    DecodedHand& out;
    DecodeOptions options;
    int button = 0;
    SeatFlags seated{};    // seated when the decode began
    SeatFlags isOut{};     // cannot act: empty, folded or all-in
    unsigned outMask = 0;  // the same as a mask, bit n for seat n; both change through setOut only
    SeatFlags allInNow{};  // went all-in this street; cleared by every pot build
    SeatMoney stackLeft{};
    SeatMoney roundBet{};  // chips put in this street
    SeatMoney deadPost{};  // chips of the seat's D post, -1 for none
    SeatMoney oopPost{};   // roundBet right after the seat's P post, -1 for none
    // Tracker-safe only: a full dead small blind posted with a full live big blind, which is dead money (in
    // the pot, not in roundBet), and that big blind; the chips of the seat's other P posts.
    SeatMoney deadMoney{};
    SeatMoney deadMoneyLive{};
    SeatMoney oopLive{};
    double smallBlind = 0;  // the blinds as this decode takes them
    double bigBlind = 0;
    double betLevel = 0;   // what every seat must have in this street to stay in
    double potBefore = 0;  // chips of the closed streets
    int street = Preflop;
    int actor = 0;  // the last seat that acted; the next actor is sought from here
    int lastAggressor = 0;
    bool smallBlindSeen = false;

    Decoder(const HandRecord& record, const DecodeOptions& chosen, DecodedHand& decoded)
        : hand(record), out(decoded), options(chosen) {
        out.clear();
        // Tracker-safe output has no negative amounts: a negative blind or BETS value counts as 0.
        smallBlind = safe() ? nonNegative(hand.smallBlind) : hand.smallBlind;
        bigBlind = safe() ? nonNegative(hand.bigBlind) : hand.bigBlind;
        // The parser keeps the button in 0..9; a record filled otherwise must not index outside the table.
        button = hand.button >= 0 && hand.button < SeatCount ? hand.button : 0;
        for (int seat = 0; seat < SeatCount; ++seat) {
            seated[seat] = hand.isSeated(seat);
            if (!seated[seat]) setOut(seat);
            out.folded[seat] = !seated[seat];
            out.stacks[seat] = hand.stacks[seat];
            // Tracker-safe output shows no chips of a seat the history does not seat (a stack without a
            // name).
            stackLeft[seat] = safe() && !seated[seat] ? 0 : hand.stacks[seat];
            deadPost[seat] = -1;
            oopPost[seat] = -1;
        }
        actor = button;
        lastAggressor = nextClearSeat(button, outMask);
    }

    bool safe() const { return options.trackerSafe; }
    static double nonNegative(double amount) { return amount > 0 ? amount : 0; }

    // Chips put into this street on top of what the seat has in it already. The default decoding sets a
    // post's or a bet's chips in place of what was there (which loses chips when a log makes a seat post
    // twice); the tracker-safe one adds them, so every chip taken from a stack is in the pot.
    void putIn(int seat, double chips) { roundBet[seat] = safe() ? roundBet[seat] + chips : chips; }

    int stillIn() const {
        int count = 0;
        for (const bool folded : out.folded)
            count += folded ? 0 : 1;
        return count;
    }

    void setOut(int seat) {
        isOut[seat] = true;
        outMask |= 1u << seat;
    }

    void record(int seat, int type, double amount) {
        // The list keeps its room from hand to hand: it grows only for the longest hands.
        if (out.actions.size() == out.actions.capacity()) out.actions.reserve(2 * out.actions.size() + 32);
        out.actions.push_back(Action(seat, type, amount));
    }

    // A seat with no more chips than an action needs puts in everything it has left and is all-in. Both are
    // compared in whole cents: a stack that only binary dust keeps above the need (24.700000000000003
    // against 24.7) is all-in, not left with nothing behind and asked to act again.
    bool covers(int seat, double need) const {
        // Amounts more than two cents apart compare the same in whole cents (rounding keeps the order, and
        // moves each by less than a cent); only those closer are worked out to the cent.
        const double over = stackLeft[seat] - need;
        if (over > 0.03) return true;
        if (over < -0.03) return false;
        return centsOf(stackLeft[seat]) > centsOf(need);
    }
    double takeAll(int seat) {
        const double chips = stackLeft[seat];
        stackLeft[seat] = 0;
        allInNow[seat] = true;
        setOut(seat);
        return chips;
    }

    int nextActor() {
        actor = nextClearSeat(actor, outMask);
        return actor;
    }

    // A dead small blind with no live big blind beside it.
    bool deadOnly(int seat) const { return deadPost[seat] > 0 && !(oopPost[seat] > 0); }

    // The amount of a bet or raise: the street's unit in a limit hand, else the next BETS value.
    bool nextAmount(double& amount) {
        if (!hand.hasBets) {
            amount = street <= DealFlop ? bigBlind : 2 * bigBlind;
            return true;
        }
        if (out.betsUsed >= hand.bets.size()) return false;
        amount = hand.bets[out.betsUsed++];
        if (safe()) amount = nonNegative(amount);
        return true;
    }

    void postSmallBlind() {
        const int poster = hand.numPlayers > 2 ? nextClearSeat(button, outMask) : button;
        actor = lastAggressor = poster;
        betLevel = smallBlind;
        double chips = smallBlind;
        if (covers(poster, smallBlind)) {
            stackLeft[poster] -= smallBlind;
        } else {
            chips = takeAll(poster);
        }
        putIn(poster, chips);
        smallBlindSeen = true;
        // A short small blind stays a blind post.
        record(poster, PostSmallBlind, chips);
    }

    void postBigBlind() {
        if (options.fixSmallBlind && !smallBlindSeen) {
            // The log left the small blind out: the button (or the nearest seat before an empty button) is
            // shown posting it, from a printed stack grown by it. Its chips enter no pot, so the poster still
            // calls the full level later; in tracker-safe output they are in the pot, so that the bets a
            // reader sees add up to it, and the poster calls the rest.
            int poster = button;
            if (!hand.seatNames[button] || !(out.stacks[button] + smallBlind > 0)) {
                poster = HandRecord::prevSeat(button, out.folded);
            }
            out.stacks[poster] += smallBlind;
            if (safe()) roundBet[poster] += smallBlind;
            record(poster, PostSmallBlind, smallBlind);
            smallBlindSeen = true;
            actor = button;
        }
        const int poster = nextActor();
        lastAggressor = poster;
        betLevel = bigBlind;  // also when the poster is short
        double chips = bigBlind;
        if (covers(poster, bigBlind)) {
            stackLeft[poster] -= bigBlind;
        } else {
            chips = takeAll(poster);
        }
        putIn(poster, chips);
        record(poster, PostBigBlind, chips);
    }

    // D: a dead small blind; no record until the end, and only together with a P.
    void postDead(int seat) {
        double chips = smallBlind;
        if (covers(seat, smallBlind)) {
            stackLeft[seat] -= smallBlind;
        } else {
            chips = takeAll(seat);
        }
        putIn(seat, chips);
        // A second dead post of a seat adds to its first in tracker-safe output, which shows them all.
        deadPost[seat] = safe() && deadPost[seat] > 0 ? deadPost[seat] + chips : chips;
    }

    // P: a live big blind out of position, on top of a dead post already made.
    void postOutOfPosition(int seat) {
        double chips = bigBlind;
        if (covers(seat, bigBlind)) {
            stackLeft[seat] -= bigBlind;
        } else {
            chips = takeAll(seat);
        }
        roundBet[seat] += chips;
        if (safe()) {
            // A full dead small blind with a full live big blind is dead money, as trackers take it: in the
            // pot, but not counted toward the poster's calls.
            if (deadPost[seat] > 0 && !(deadMoney[seat] > 0) && centsOf(chips) == centsOf(bigBlind) &&
                centsOf(deadPost[seat]) == centsOf(smallBlind)) {
                deadMoney[seat] = deadPost[seat];
                deadMoneyLive[seat] = chips;
                roundBet[seat] -= deadMoney[seat];
                potBefore += deadMoney[seat];
            } else {
                oopLive[seat] += chips;
            }
        }
        oopPost[seat] = roundBet[seat];
    }

    // A seat that calls or raises after a dead small blind alone takes those chips back: the post leaves
    // no trace.
    void cancelDeadPost(int seat) {
        if (!deadOnly(seat)) return;
        if (safe()) {
            // Only the dead chips: roundBet may hold others beside them.
            stackLeft[seat] += deadPost[seat];
            roundBet[seat] -= deadPost[seat];
        } else {
            stackLeft[seat] += roundBet[seat];
            roundBet[seat] = 0;
        }
        deadPost[seat] = -1;
    }

    void fold() {
        const int seat = nextActor();
        // When every seat is out, the walk may come back to a seat that folded before: tracker-safe output
        // shows no second fold.
        if (safe() && out.folded[seat]) return;
        record(seat, Fold, 0);
        // The dead chips stay in the pot, so the printed starting stack leaves them out. Only once: a seat
        // folding again (nobody else left to act) must not lose them twice. Tracker-safe output shows them
        // as a small blind post instead, from the stack as it was.
        if (deadOnly(seat) && !out.folded[seat] && !safe()) out.stacks[seat] -= deadPost[seat];
        setOut(seat);
        out.folded[seat] = true;
    }

    // False when the BETS list has no value left.
    bool bet() {
        const int seat = nextActor();
        lastAggressor = seat;
        double need = 0;
        if (!nextAmount(need)) return false;
        if (covers(seat, need)) {
            putIn(seat, need);
            betLevel = roundBet[seat];
            stackLeft[seat] -= need;
            record(seat, Bet, need);
        } else {
            const double chips = takeAll(seat);
            putIn(seat, chips);
            betLevel = roundBet[seat];
            record(seat, AllIn, chips);
        }
        return true;
    }

    void call() {
        const int seat = nextActor();
        cancelDeadPost(seat);
        double need = betLevel - roundBet[seat];
        // A call never takes chips back in tracker-safe output (a seat above the level calls nothing).
        if (safe() && need < 0) need = 0;
        if (covers(seat, need)) {
            if (need > 0 || !safe()) roundBet[seat] = betLevel;
            stackLeft[seat] -= need;
            record(seat, Call, need);
        } else {
            const double chips = takeAll(seat);
            roundBet[seat] += chips;
            record(seat, AllIn, chips);
        }
    }

    // False when the BETS list has no value left.
    bool raise() {
        const int seat = nextActor();
        cancelDeadPost(seat);
        lastAggressor = seat;
        double increment = 0;
        if (!nextAmount(increment)) return false;
        // A BETS value of a raise is the step above the current level; the record shows the chips added.
        double need = betLevel + increment - roundBet[seat];
        if (safe() && need < 0) need = 0;
        if (covers(seat, need)) {
            betLevel = need + roundBet[seat];
            roundBet[seat] = betLevel;
            stackLeft[seat] -= need;
            record(seat, Raise, need);
        } else {
            // The level the all-in reaches, full raise or not.
            const double chips = takeAll(seat);
            betLevel = chips + roundBet[seat];
            roundBet[seat] = betLevel;
            record(seat, AllIn, chips);
        }
        return true;
    }

    // False on a fourth street end.
    bool endStreet() {
        if (street >= DealRiver) return false;
        ++street;
        record(lastAggressor, street, 0);
        lastAggressor = nextClearSeat(button, outMask);
        buildPots(out.pots, allInNow, isOut, roundBet, potBefore, false);
        for (int seat = 0; seat < SeatCount; ++seat) {
            potBefore += roundBet[seat];
            roundBet[seat] = 0;
        }
        actor = button;
        // betLevel stays: the street's first bet sets it.
        return true;
    }

    // Inserts a post after all blind posts, before the first other record (the Showdown at the latest).
    void insertPost(int seat, int type, double amount) {
        std::size_t at = 0;
        while (at < out.actions.size() && out.actions[at].type <= PostBigBlindDead)
            ++at;
        out.actions.emplace(out.actions.begin() + static_cast<std::ptrdiff_t>(at), seat, type, amount);
    }

    // Tracker-safe output shows every post, so that the bets a reader sees add up to the pot: a full dead
    // and live post as "big blind + dead", any other dead post kept in the pot as a small blind, any other
    // out-of-position big blind as a big blind. Lower seats first.
    void insertEveryPost() {
        for (int seat = 0; seat < SeatCount; ++seat) {
            out.deadMoney[seat] = deadMoney[seat];
            if (deadMoney[seat] > 0)
                insertPost(seat, PostBigBlindDead, deadMoney[seat] + deadMoneyLive[seat]);
            const double otherDead = deadPost[seat] > 0 ? deadPost[seat] - deadMoney[seat] : 0;
            if (otherDead > 0) insertPost(seat, PostSmallBlind, otherDead);
            if (oopLive[seat] > 0) insertPost(seat, PostBigBlind, oopLive[seat]);
        }
    }

    // The streets whose cards the board holds but the letters never reached, dealt before a showdown of two
    // or more players, so that no shown hand names cards a reader never saw dealt.
    void dealUnplayedStreets() {
        if (stillIn() < 2) return;
        const auto& board = hand.board;
        while (street < DealRiver) {
            const bool known = street == Preflop
                                   ? board[0].isKnown() && board[1].isKnown() && board[2].isKnown()
                                   : board[static_cast<std::size_t>(street - DealFlop + 3)].isKnown();
            if (!known) break;
            ++street;
            record(lastAggressor, street, 0);
        }
    }

    // A log whose letters fold the last player still in leaves nobody to win the pot. Tracker-safe output
    // takes that last fold as none (there was nobody left to fold to), so that every chip is won.
    void keepTheLastPlayerIn() {
        if (stillIn() > 0) return;
        for (auto action = out.actions.rbegin(); action != out.actions.rend(); ++action) {
            if (action->type != Fold) continue;
            out.folded[static_cast<std::size_t>(action->seat)] = false;
            out.actions.erase(std::next(action).base());
            return;
        }
    }

    void finish() {
        buildPots(out.pots, allInNow, isOut, roundBet, potBefore, true);
        if (safe()) keepTheLastPlayerIn();
        if (safe()) dealUnplayedStreets();
        record(lastAggressor, Showdown, 0);
        if (safe()) {
            insertEveryPost();
            return;
        }
        // Dead-and-live posts are shown after all blind posts, lower seats first; a seat with only one of
        // the two posts gets no record.
        for (int seat = 0; seat < SeatCount; ++seat) {
            if (deadPost[seat] > 0 && oopPost[seat] > 0) insertPost(seat, PostBigBlindDead, oopPost[seat]);
        }
    }

    // The seat named by the digit after D or P, or -1 when it is not a digit or names nobody seated.
    int postSeat(std::string_view text, std::size_t at) const {
        if (at >= text.size()) return -1;
        const char digit = text[at];
        if (digit < '0' || digit > '9') return -1;
        const int seat = digit - '0';
        return seated[seat] ? seat : -1;
    }

    // Null when the whole string was decoded, else the message of the first bad letter.
    const char* run() {
        const std::string_view text = hand.sequence ? std::string_view(*hand.sequence) : std::string_view();
        // The letters end at the string's end or at a zero byte, whichever comes first.
        for (std::size_t position = 0; position < text.size() && text[position] != '\0'; ++position) {
            switch (text[position]) {
                case 's':
                    postSmallBlind();
                    break;
                case 'B':
                    postBigBlind();
                    break;
                case 'D': {
                    const int seat = postSeat(text, ++position);
                    if (seat < 0) return "ERROR: Bad dead post.";
                    postDead(seat);
                    break;
                }
                case 'P': {
                    const int seat = postSeat(text, ++position);
                    if (seat < 0) return "ERROR: Bad OOP post.";
                    postOutOfPosition(seat);
                    break;
                }
                case 'k':
                    record(nextActor(), Check, 0);
                    break;
                case 'b':
                    if (!bet()) return NotEnoughBets;
                    break;
                case 'c':
                    call();
                    break;
                case 'r':
                    if (!raise()) return NotEnoughBets;
                    break;
                case 'f':
                    fold();
                    break;
                case '/':
                    if (!endStreet()) return "ERROR: Too many rounds in SEQ.";
                    break;
                case '_':
                    break;
                default:
                    return "ERROR: Unknown letter in SEQ.";
            }
        }
        finish();
        return nullptr;
    }
};

}  // namespace

const char* decodeSequence(const HandRecord& hand, const DecodeOptions& options, DecodedHand& decoded) {
    Decoder decoder(hand, options, decoded);
    return decoder.run();
}

}  // namespace noxi
