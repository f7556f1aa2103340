#include "HistoryCheck.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace trackercheck {
namespace {

using std::string_view;

// Whole cents: digits, then at most a point and one or two digits. A sign, an exponent, a third decimal or
// anything else is not.
std::optional<std::int64_t> wholeCents(string_view text) {
    const std::size_t point = text.find('.');
    const string_view whole = text.substr(0, point);
    const string_view fraction = point == string_view::npos ? string_view() : text.substr(point + 1);
    auto digits = [](string_view part) {
        return std::all_of(part.begin(), part.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    if (whole.empty() || whole.size() > 15 || !digits(whole)) return std::nullopt;
    if (point != string_view::npos && (fraction.empty() || fraction.size() > 2 || !digits(fraction)))
        return std::nullopt;
    std::int64_t cents = 0;
    std::from_chars(whole.data(), whole.data() + whole.size(), cents);
    cents *= 100;
    if (!fraction.empty()) cents += (fraction[0] - '0') * 10 + (fraction.size() > 1 ? fraction[1] - '0' : 0);
    return cents;
}

// An unknown card is written with "E" for its rank or "e" for its suit; no known card has either.
bool hasUnknownCard(string_view cards) {
    return cards.find_first_of("Ee") != string_view::npos;
}

// The cards between the first "[" of the text and the "]" after it.
string_view cardsOf(string_view text) {
    const std::size_t open = text.find('[');
    if (open == string_view::npos) return {};
    const std::size_t close = text.find(']', open);
    return text.substr(open + 1, close == string_view::npos ? string_view::npos : close - open - 1);
}

string_view afterPrefix(string_view text, string_view prefix) {
    return text.starts_with(prefix) ? text.substr(prefix.size()) : string_view();
}

struct Player {
    std::string name;
    std::int64_t put = 0;   // every chip shown going in
    std::int64_t dead = 0;  // the dead part of "big blind + dead" posts
    std::int64_t won = 0;
    bool folded = false;
    std::int64_t live() const { return put - dead; }
};

class Hand {
public:
    HandResult check(string_view history, std::optional<std::int64_t> logRake);

private:
    void fault(const std::string& kind, string_view detail) {
        result_.faults.push_back(kind + ": " + std::string(detail));
    }
    // An amount of the line; a fault when it is not in whole cents.
    std::optional<std::int64_t> amount(string_view text, string_view line) {
        const auto cents = wholeCents(text);
        if (!cents) fault("amount not in whole cents", line);
        return cents;
    }
    // "$X" or "X" up to the closing text.
    std::optional<std::int64_t> bracketAmount(string_view rest, string_view close, string_view line) {
        const std::size_t end = rest.find(close);
        if (end == string_view::npos || end + close.size() != rest.size()) {
            fault("unread line", line);
            return std::nullopt;
        }
        string_view text = rest.substr(0, end);
        if (text.starts_with('$')) text.remove_prefix(1);
        return amount(text, line);
    }
    void readStakes(string_view line);
    void readSeat(string_view line);
    void readPlayerLine(string_view line);
    Player* playerOf(string_view line, string_view& rest);
    void settle(std::optional<std::int64_t> logRake);

    HandResult result_;
    std::int64_t bigBlind_ = 0;
    std::vector<Player> players_;
    std::vector<int> potNumbers_;  // of the win lines that name their pot
};

void Hand::readStakes(string_view line) {
    const std::size_t end = line.find(" Hold'em - ");
    if (end == string_view::npos) {
        fault("unread line", line);
        return;
    }
    const string_view stakes = line.substr(0, end);
    auto stake = [&](string_view text) -> std::int64_t {
        if (text.starts_with('$')) text.remove_prefix(1);
        const std::size_t point = text.find('.');
        if (point != string_view::npos && text.size() - point != 3) fault("stake not in two decimals", line);
        return amount(text, line).value_or(0);
    };
    if (stakes.ends_with(" NL")) {
        bigBlind_ = stake(stakes.substr(0, stakes.size() - 3)) / 100;
    } else if (const std::size_t slash = stakes.find('/'); slash != string_view::npos) {
        bigBlind_ = stake(stakes.substr(0, slash));
        stake(stakes.substr(slash + 1));
    } else {
        fault("unread line", line);
    }
}

void Hand::readSeat(string_view line) {
    // "Seat 3: name ( $12.5 )"
    const std::size_t colon = line.find(": ");
    const std::size_t open = line.rfind(" ( $");
    if (colon == string_view::npos || open == string_view::npos || open < colon || !line.ends_with(" )")) {
        fault("unread line", line);
        return;
    }
    players_.push_back(Player{std::string(line.substr(colon + 2, open - colon - 2))});
    amount(line.substr(open + 4, line.size() - open - 6), line);
}

// The player whose name starts the line (the longest name that does, followed by a blank), and the rest.
Player* Hand::playerOf(string_view line, string_view& rest) {
    Player* found = nullptr;
    for (Player& player : players_) {
        if (line.size() > player.name.size() && line.starts_with(player.name) &&
            line[player.name.size()] == ' ' && (found == nullptr || player.name.size() > found->name.size()))
            found = &player;
    }
    if (found != nullptr) rest = line.substr(found->name.size() + 1);
    return found;
}

void Hand::readPlayerLine(string_view line) {
    string_view rest;
    Player* player = playerOf(line, rest);
    if (player == nullptr) {
        fault("unread line", line);
        return;
    }
    static constexpr std::array<string_view, 6> Putting = {
        "posts small blind [", "posts big blind [", "bets [", "calls [", "raises [", "is all-In  ["};
    if (const string_view dead = afterPrefix(rest, "posts big blind + dead ["); !dead.empty()) {
        // The importer books the big blind as live and the rest as dead money.
        const std::int64_t chips = bracketAmount(dead, "].", line).value_or(0);
        player->put += chips;
        player->dead += std::max<std::int64_t>(0, chips - bigBlind_);
        return;
    }
    for (const string_view verb : Putting) {
        if (const string_view value = afterPrefix(rest, verb); !value.empty()) {
            player->put += bracketAmount(value, verb == "is all-In  [" ? "]" : "].", line).value_or(0);
            return;
        }
    }
    if (rest == "folds.") {
        player->folded = true;
    } else if (rest == "checks." || rest == "does not show cards.") {
    } else if (rest.starts_with("shows [ ") || rest.starts_with("doesn't show [ ")) {
        if (hasUnknownCard(cardsOf(rest))) fault("unknown card shown", line);
    } else if (const string_view win = afterPrefix(rest, "wins "); !win.empty()) {
        // "wins $X[ from ...]" or "wins X play chips[ from ...]"
        string_view text = win.substr(0, win.find(' '));
        if (text.starts_with('$')) text.remove_prefix(1);
        player->won += amount(text, line).value_or(0);
        if (const std::size_t side = win.find(" from  side pot #"); side != string_view::npos) {
            int number = -1;
            const string_view digits = win.substr(side + 17);
            std::from_chars(digits.data(), digits.data() + digits.size(), number);
            potNumbers_.push_back(number);
        } else if (win.find(" from  the main pot  with ") != string_view::npos) {
            potNumbers_.push_back(0);
        }
    } else {
        fault("unread line", line);
    }
}

// The importer's own account: the uncalled part returned, the pots of the players still in, the rake as
// what is left.
void Hand::settle(std::optional<std::int64_t> logRake) {
    std::int64_t put = 0;
    std::int64_t won = 0;
    for (const Player& player : players_) {
        put += player.put;
        won += player.won;
    }
    // The one player with the most live chips gets back what the second most did not match.
    std::vector<std::int64_t> live;
    for (const Player& player : players_)
        live.push_back(player.live());
    std::int64_t returned = 0;
    if (!live.empty()) {
        const auto most = static_cast<std::size_t>(std::max_element(live.begin(), live.end()) - live.begin());
        std::int64_t second = 0;
        bool alone = true;
        for (std::size_t i = 0; i < live.size(); ++i) {
            if (i == most) continue;
            alone = alone && live[i] != live[most];
            second = std::max(second, live[i]);
        }
        if (alone) {
            returned = live[most] - second;
            live[most] = second;
        }
    }
    const std::int64_t called = put - returned;
    const std::int64_t rake = called - won;
    if (logRake) {
        const std::int64_t expected = std::clamp<std::int64_t>(*logRake, 0, called);
        if (rake != expected)
            fault("rake", "chips put in less won " + std::to_string(rake) + " cents, the log's rake " +
                              std::to_string(expected));
    } else if (rake < 0) {
        fault("rake", "more won than put in by " + std::to_string(-rake) + " cents");
    }

    // The pots: one per distinct live total of the players still in; a pot holds the chips of every player
    // between the level below and its own (the top one also those above it), the main pot the dead money.
    std::vector<std::int64_t> levels;
    for (std::size_t i = 0; i < players_.size(); ++i) {
        if (!players_[i].folded && live[i] > 0) levels.push_back(live[i]);
    }
    std::sort(levels.begin(), levels.end());
    levels.erase(std::unique(levels.begin(), levels.end()), levels.end());
    std::int64_t below = 0;
    for (std::size_t level = 0; level < levels.size(); ++level) {
        int players = 0;
        for (std::size_t i = 0; i < players_.size(); ++i) {
            const bool chipsHere = live[i] > below;
            const bool deadHere = level == 0 && players_[i].dead > 0;
            players += chipsHere || deadHere ? 1 : 0;
        }
        if (players < 2) fault("pot of one player's chips", "pot " + std::to_string(level));
        below = levels[level];
    }
    // A pot the importer does not have: the chips of one player above everyone else's (an uncalled bet)
    // printed as a side pot of their own.
    for (const int number : potNumbers_) {
        if (number < 0 || static_cast<std::size_t>(number) >= std::max<std::size_t>(levels.size(), 1))
            fault("pot of one player's chips",
                  "side pot #" + std::to_string(number) + " of " + std::to_string(levels.size()) + " pots");
    }
}

HandResult Hand::check(string_view history, std::optional<std::int64_t> logRake) {
    enum class Part { Heading, Stakes, Seats, Play } part = Part::Heading;
    std::size_t at = 0;
    while (at < history.size()) {
        std::size_t end = history.find('\n', at);
        if (end == string_view::npos) end = history.size();
        string_view line = history.substr(at, end - at);
        at = end + 1;
        if (line.ends_with('\r')) line.remove_suffix(1);
        if (line.empty() || line == "Table Closed" ||
            (line.starts_with("Game #") && line.ends_with(" starts.")))
            continue;
        if (const string_view id = afterPrefix(line, "#Game No : "); !id.empty()) {
            result_.id = std::string(id.substr(0, id.find(' ')));
        } else if (line.starts_with("***** Hand History for Game ")) {
            part = Part::Stakes;
        } else if (part == Part::Stakes) {
            readStakes(line);
            part = Part::Seats;
        } else if (line.starts_with("Table ") || line.starts_with("Total number of players") ||
                   (line.starts_with("Seat ") && line.ends_with(" is the button"))) {
        } else if (part == Part::Seats && line.starts_with("Seat ")) {
            readSeat(line);
        } else if (line.starts_with("** ")) {
            part = Part::Play;
        } else if (const string_view dealt = afterPrefix(line, "Dealt to "); !dealt.empty()) {
            if (hasUnknownCard(cardsOf(dealt.substr(std::min(dealt.rfind('['), dealt.size())))))
                fault("unknown card dealt", line);
        } else {
            part = Part::Play;
            readPlayerLine(line);
        }
    }
    settle(logRake);
    return std::move(result_);
}

}  // namespace

HandResult checkHand(string_view history, std::optional<std::int64_t> logRake) {
    Hand hand;
    return hand.check(history, logRake);
}

std::unordered_map<std::int64_t, std::int64_t> rakesOfLog(string_view log) {
    std::unordered_map<std::int64_t, std::int64_t> rakes;
    auto chunk = [](string_view line, string_view key) -> std::optional<string_view> {
        for (std::size_t at = 0; at < line.size();) {
            const std::size_t end = std::min(line.find(';', at), line.size());
            const string_view part = line.substr(at, end - at);
            if (part.starts_with(key)) return part.substr(key.size());
            at = end + 1;
        }
        return std::nullopt;
    };
    std::size_t at = 0;
    while (at < log.size()) {
        std::size_t end = log.find('\n', at);
        if (end == string_view::npos) end = log.size();
        const string_view line = log.substr(at, end - at);
        at = end + 1;
        const auto id = chunk(line, "ID=");
        if (!id) continue;
        std::int64_t number = 0;
        if (std::from_chars(id->data(), id->data() + id->size(), number).ec != std::errc()) continue;
        const auto rake = chunk(line, "RAKE=");
        rakes.try_emplace(number, rake ? wholeCents(*rake).value_or(0) : 0);
    }
    return rakes;
}

void checkFile(string_view text, const std::unordered_map<std::int64_t, std::int64_t>* rakes,
               std::size_t keepFaulty, FileResult& result) {
    constexpr string_view Marker = "#Game No : ";
    std::size_t start = text.find(Marker);
    while (start != string_view::npos) {
        const std::size_t next = text.find(Marker, start + 1);
        const string_view history =
            text.substr(start, next == string_view::npos ? string_view::npos : next - start);
        std::optional<std::int64_t> rake;
        if (rakes != nullptr) {
            std::int64_t id = 0;
            const string_view digits = history.substr(Marker.size());
            std::from_chars(digits.data(), digits.data() + digits.size(), id);
            const auto found = rakes->find(id);
            rake = found != rakes->end() ? found->second : 0;
        }
        HandResult hand = checkHand(history, rake);
        ++result.hands;
        if (!hand.faults.empty()) {
            ++result.faultyHands;
            for (const std::string& fault : hand.faults)
                ++result.faultsByKind[fault.substr(0, fault.find(':'))];
            if (result.firstFaulty.size() < keepFaulty) result.firstFaulty.push_back(std::move(hand));
        }
        start = next;
    }
}

}  // namespace trackercheck
