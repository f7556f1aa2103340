#include "Names.h"

#include <unordered_set>

namespace loggen {
namespace {

const char* const Words[] = {
    "ace",    "king",    "queen",  "jack",   "river",  "turn",   "flop",   "chip",   "stack",  "bluff",
    "shark",  "fish",    "donk",   "nuts",   "rock",   "maniac", "grind",  "tilt",   "cooler", "bullet",
    "cowboy", "lady",    "hook",   "snake",  "eagle",  "tiger",  "wolf",   "bear",   "fox",    "raven",
    "storm",  "thunder", "blaze",  "frost",  "shadow", "ghost",  "lucky",  "silent", "crazy",  "golden",
    "iron",   "steel",   "velvet", "neon",   "cosmic", "rapid",  "lazy",   "happy",  "grumpy", "sly",
    "pocket", "rocket",  "deuce",  "trey",   "felt",   "dealer", "button", "blind",  "muck",   "rail",
    "moose",  "otter",   "badger", "falcon", "panda",  "cobra",  "viper",  "mango",  "pepper", "cookie",
    "wizard", "ninja",   "pirate", "viking", "baron",  "duke",   "monk",   "joker",  "bandit", "captain"};

const char* const FirstNames[] = {"Tom",   "Anna",  "Mike", "Sarah", "Joe",   "Linda", "Dave",  "Karen",
                                  "Steve", "Maria", "Paul", "Emma",  "Chris", "Julia", "Frank", "Nina",
                                  "Peter", "Laura", "Jim",  "Olga",  "Hank",  "Rosa",  "Bobby", "Tina",
                                  "Marco", "Ines",  "Gus",  "Vera",  "Sam",   "Ada",   "Lars",  "Greta",
                                  "Pedro", "Yuki",  "Ivan", "Mei",   "Ahmed", "Zoe",   "Kurt",  "Elsa"};

const char* const LastNames[] = {
    "Becker", "Miller", "Novak",  "Rossi",  "Jensen", "Walsh",  "Kowalski", "Dubois", "Silva",   "Moreau",
    "Brandt", "Carter", "Hughes", "Larsen", "Okafor", "Petrov", "Quinn",    "Reyes",  "Schultz", "Tanaka",
    "Vance",  "Weber",  "Young",  "Zeller", "Abbott", "Nolan",  "Fischer",  "Garcia", "Holm",    "Ito"};

const char* const Places[] = {"Juniper", "Amber",   "Cedar",   "Harbor",  "Maple",   "Granite", "Willow",
                              "Copper",  "Falcon",  "Silver",  "Lantern", "Orchard", "Marble",  "Coral",
                              "Saffron", "Thistle", "Beacon",  "Meadow",  "Ember",   "Tundra",  "Sierra",
                              "Bayou",   "Canyon",  "Prairie", "Summit",  "Lagoon",  "Quarry"};

const char* const PlaceKinds[] = {"Falls", "Ridge", "Bay",  "Creek", "Point", "Hollow",  "Springs",
                                  "Grove", "Park",  "Pass", "Hills", "Flats", "Landing", "Row"};

const char* const Sites[] = {"Velmora Club", "Northgate Poker", "Blue Harbor Cards", "Silverline Room"};

std::string capitalized(const char* word) {
    std::string text = word;
    if (!text.empty() && text[0] >= 'a' && text[0] <= 'z') text[0] = static_cast<char>(text[0] - 'a' + 'A');
    return text;
}

std::string makeOneName(Random& random) {
    const char* word = random.pick(Words);
    const char* other = random.pick(Words);
    switch (random.below(9)) {
        case 0:
            return capitalized(word) + capitalized(other);
        case 1:
            return capitalized(word) + std::to_string(random.range(1, 99));
        case 2:
            return std::string(word) + "_" + other;
        case 3:
            return std::string(random.pick(FirstNames)) + " " + random.pick(LastNames);
        case 4:
            return capitalized(word) + " " + capitalized(other);
        case 5:
            return std::string(word) + other + std::to_string(random.range(1960, 2005));
        case 6:
            return std::string(random.pick(FirstNames)) + "_" + std::to_string(random.range(1, 999));
        case 7:
            return "xX" + capitalized(word) + "Xx";
        default:
            return std::string(word) + std::to_string(random.range(1, 9)) + std::string(other).substr(0, 3);
    }
}

}  // namespace

std::vector<std::string> makePlayerNames(Random& random, int count) {
    std::vector<std::string> names;
    std::unordered_set<std::string> seen;
    names.reserve(static_cast<std::size_t>(count));
    while (static_cast<int>(names.size()) < count) {
        std::string name = makeOneName(random);
        // Plenty of distinct forms; a repeat just draws again, with a number to make sure it ends.
        if (!seen.insert(name).second) {
            name += std::to_string(names.size());
            if (!seen.insert(name).second) continue;
        }
        names.push_back(std::move(name));
    }
    return names;
}

std::string makeTableName(Random& random) {
    const char* place = random.pick(Places);
    switch (random.below(3)) {
        case 0:
            return std::string(place) + " " + random.pick(PlaceKinds);
        case 1:
            return std::string(place) + " " + std::to_string(random.range(1, 40));
        default:
            return std::string(place) + " " + random.pick(PlaceKinds) + " #" +
                   std::to_string(random.range(2, 9));
    }
}

const char* pickSiteName(Random& random) {
    return random.pick(Sites);
}

}  // namespace loggen
