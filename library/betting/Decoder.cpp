#include "betting/Decoder.h"

#include <array>
#include <bit>
#include <cstddef>
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
    double betLevel = 0;   // what every seat must have in this street to stay in
    double potBefore = 0;  // chips of the closed streets
    int street = Preflop;
    int actor = 0;  // the last seat that acted; the next actor is sought from here
    int lastAggressor = 0;
    bool smallBlindSeen = false;

    Decoder(const HandRecord& record, const DecodeOptions& chosen, DecodedHand& decoded)
        : hand(record), out(decoded), options(chosen) {
        out.clear();
        // The parser keeps the button in 0..9; a record filled otherwise must not index outside the table.
        button = hand.button >= 0 && hand.button < SeatCount ? hand.button : 0;
        for (int seat = 0; seat < SeatCount; ++seat) {
            seated[seat] = hand.isSeated(seat);
            if (!seated[seat]) setOut(seat);
            out.folded[seat] = !seated[seat];
            out.stacks[seat] = hand.stacks[seat];
            stackLeft[seat] = hand.stacks[seat];
            deadPost[seat] = -1;
            oopPost[seat] = -1;
        }
        actor = button;
        lastAggressor = nextClearSeat(button, outMask);
    }

    void setOut(int seat) {
        isOut[seat] = true;
        outMask |= 1u << seat;
    }

    void record(int seat, int type, double amount) { out.actions.emplace_back(seat, type, amount); }

    // A seat with no more chips than an action needs puts in everything it has left and is all-in. Both are
    // compared in whole cents: a stack that only binary dust keeps above the need (24.700000000000003
    // against 24.7) is all-in, not left with nothing behind and asked to act again.
    bool covers(int seat, double need) const { return centsOf(stackLeft[seat]) > centsOf(need); }
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
            amount = street <= DealFlop ? hand.bigBlind : 2 * hand.bigBlind;
            return true;
        }
        if (out.betsUsed >= hand.bets.size()) return false;
        amount = hand.bets[out.betsUsed++];
        return true;
    }

    void postSmallBlind() {
        const int poster = hand.numPlayers > 2 ? nextClearSeat(button, outMask) : button;
        actor = lastAggressor = poster;
        betLevel = hand.smallBlind;
        if (covers(poster, hand.smallBlind)) {
            roundBet[poster] = hand.smallBlind;
            stackLeft[poster] -= hand.smallBlind;
        } else {
            roundBet[poster] = takeAll(poster);
        }
        smallBlindSeen = true;
        // A short small blind stays a blind post.
        record(poster, PostSmallBlind, roundBet[poster]);
    }

    void postBigBlind() {
        if (options.fixSmallBlind && !smallBlindSeen) {
            // The log left the small blind out: the button (or the nearest seat before an empty button) is
            // shown posting it. Only the printed stack grows; the chips enter no pot, so the poster still
            // calls the full level later.
            int poster = button;
            if (!hand.seatNames[button] || !(out.stacks[button] + hand.smallBlind > 0)) {
                poster = HandRecord::prevSeat(button, out.folded);
            }
            out.stacks[poster] += hand.smallBlind;
            record(poster, PostSmallBlind, hand.smallBlind);
            smallBlindSeen = true;
            actor = button;
        }
        const int poster = nextActor();
        lastAggressor = poster;
        betLevel = hand.bigBlind;  // also when the poster is short
        if (covers(poster, hand.bigBlind)) {
            roundBet[poster] = hand.bigBlind;
            stackLeft[poster] -= hand.bigBlind;
        } else {
            roundBet[poster] = takeAll(poster);
        }
        record(poster, PostBigBlind, roundBet[poster]);
    }

    // D: a dead small blind; no record until the end, and only together with a P.
    void postDead(int seat) {
        if (covers(seat, hand.smallBlind)) {
            roundBet[seat] = hand.smallBlind;
            stackLeft[seat] -= hand.smallBlind;
        } else {
            roundBet[seat] = takeAll(seat);
        }
        deadPost[seat] = roundBet[seat];
    }

    // P: a live big blind out of position, on top of a dead post already made.
    void postOutOfPosition(int seat) {
        if (covers(seat, hand.bigBlind)) {
            roundBet[seat] += hand.bigBlind;
            stackLeft[seat] -= hand.bigBlind;
        } else {
            roundBet[seat] += takeAll(seat);
        }
        oopPost[seat] = roundBet[seat];
    }

    // A seat that calls or raises after a dead small blind alone takes those chips back: the post leaves
    // no trace.
    void cancelDeadPost(int seat) {
        if (!deadOnly(seat)) return;
        stackLeft[seat] += roundBet[seat];
        roundBet[seat] = 0;
        deadPost[seat] = -1;
    }

    void fold() {
        const int seat = nextActor();
        record(seat, Fold, 0);
        // The dead chips stay in the pot, so the printed starting stack leaves them out. Only once: a seat
        // folding again (nobody else left to act) must not lose them twice.
        if (deadOnly(seat) && !out.folded[seat]) out.stacks[seat] -= deadPost[seat];
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
            betLevel = need;
            roundBet[seat] = need;
            stackLeft[seat] -= need;
            record(seat, Bet, need);
        } else {
            const double chips = takeAll(seat);
            betLevel = chips;
            roundBet[seat] = chips;
            record(seat, AllIn, chips);
        }
        return true;
    }

    void call() {
        const int seat = nextActor();
        cancelDeadPost(seat);
        const double need = betLevel - roundBet[seat];
        if (covers(seat, need)) {
            roundBet[seat] = betLevel;
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
        const double need = betLevel + increment - roundBet[seat];
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

    void finish() {
        buildPots(out.pots, allInNow, isOut, roundBet, potBefore, true);
        record(lastAggressor, Showdown, 0);
        // Dead-and-live posts are shown after all blind posts, before the first other record (the Showdown
        // at the latest), lower seats first.
        for (int seat = 0; seat < SeatCount; ++seat) {
            if (!(deadPost[seat] > 0 && oopPost[seat] > 0)) continue;
            std::size_t at = 0;
            while (at < out.actions.size() && out.actions[at].type <= PostBigBlindDead)
                ++at;
            out.actions.emplace(out.actions.begin() + static_cast<std::ptrdiff_t>(at), seat, PostBigBlindDead,
                                oopPost[seat]);
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
