// Runs the sample-log generator and checks what it writes: the same bytes for the same seed, lines the
// converter can take in, and the share of damaged lines. Its truth lines are checked against the decoder in
// betting/CrossCheckTest.cpp.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "support/TestSupport.h"

namespace {

namespace fs = std::filesystem;

using noxi::test::readFile;

// A file in a folder of this test program's own, removed at its end.
fs::path scratch(const std::string& name) {
    static const noxi::test::TempDir folder;
    return folder.path() / name;
}

int runLoggen(const std::string& arguments) {
    std::string command = std::string("\"") + LOGGEN_PATH + "\" " + arguments;
#ifdef _WIN32
    // cmd /c takes away the first and the last quote of a command line that starts with one.
    command = "\"" + command + "\"";
#endif
    return std::system(command.c_str());
}

// Lines without their CR LF; the test fails if a line does not end in CR LF.
std::vector<std::string> crlfLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos) {
            ADD_FAILURE() << "text after the last CR LF: " << text.substr(start, 80);
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t at; (at = text.find(separator, start)) != std::string::npos; start = at + 1) {
        parts.push_back(text.substr(start, at - start));
    }
    parts.push_back(text.substr(start));
    return parts;
}

bool digits(const std::string& text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}

bool amount(const std::string& text) {
    const std::size_t dot = text.find('.');
    if (dot == std::string::npos) return digits(text);
    return digits(text.substr(0, dot)) && digits(text.substr(dot + 1));
}

bool cards(const std::string& text, std::size_t count) {
    if (text.size() != 2 * count) return false;
    for (std::size_t i = 0; i < text.size(); i += 2) {
        const bool unknown = text[i] == '?' && text[i + 1] == '?';
        if (!unknown && (std::string("23456789TJQKA").find(text[i]) == std::string::npos ||
                         std::string("hdcs").find(text[i + 1]) == std::string::npos)) {
            return false;
        }
    }
    return true;
}

struct LogLine {
    std::map<std::string, std::string> keys;
    std::string problem;  // empty for a hand the converter takes in
};

// Reads one line the way the converter will, and says why it would be refused. `ids` holds the hand ids
// already taken in: a repeated id is refused too.
LogLine readLine(const std::string& line, std::set<std::string>& ids) {
    LogLine read;
    if (line.empty()) return {{}, "blank line"};
    if (line.find_first_of("\r\n") != std::string::npos) return {{}, "line end inside the line"};
    if (line.back() != ';') return {{}, "last chunk without its semicolon"};
    static const std::set<std::string> Plain = {"ID",  "TIME", "SITE", "GAME",         "TABLE", "ANTE",
                                                "SB",  "BB",   "NP",   "BTN",          "HERO",  "BOARD",
                                                "SEQ", "BETS", "RAKE", "TOURNAMENT_ID"};
    int seated = 0;
    for (const std::string& chunk : split(line.substr(0, line.size() - 1), ';')) {
        if (chunk.empty() || chunk.size() > 255) return {{}, "chunk of " + std::to_string(chunk.size())};
        const std::size_t eq = chunk.find('=');
        if (eq == std::string::npos) return {{}, "chunk without a key: " + chunk};
        const std::string key = chunk.substr(0, eq);
        const std::string value = chunk.substr(eq + 1);
        const bool seatKey = key.size() == 3 &&
                             (key.rfind("PN", 0) == 0 || key.rfind("PB", 0) == 0 || key.rfind("PC", 0) == 0 ||
                              key.rfind("PV", 0) == 0) &&
                             key[2] >= '0' && key[2] <= '9';
        if (!seatKey && Plain.count(key) == 0) return {{}, "unknown key " + key};
        read.keys[key] = value;
        if (key.rfind("PB", 0) == 0 && !amount(value)) read.problem = "bad stack " + chunk;
        if (key.rfind("PC", 0) == 0 && !cards(value, 2)) read.problem = "bad hole cards " + chunk;
        if (key.rfind("PN", 0) == 0) ++seated;
    }
    auto& k = read.keys;
    if (!read.problem.empty()) return read;
    if (k.count("TOURNAMENT_ID")) return {k, "tournament hand"};
    if (k["GAME"] != "Texas Hold'em") return {k, "game " + k["GAME"]};
    for (const char* key : {"ID", "TIME", "NP", "BTN"}) {
        if (!digits(k[key])) return {k, std::string("bad ") + key};
    }
    for (const char* key : {"SB", "BB"}) {
        if (!amount(k[key])) return {k, std::string("bad ") + key};
    }
    if (k.count("RAKE") && !amount(k["RAKE"])) return {k, "bad RAKE"};
    if (k["BTN"].size() != 1) return {k, "button out of range"};
    if (!k.count("SEQ")) return {k, "no SEQ"};
    const std::string& seq = k["SEQ"];
    for (std::size_t i = 0; i < seq.size(); ++i) {
        if (std::string("sBkbcrf/_").find(seq[i]) != std::string::npos) continue;
        if ((seq[i] == 'D' || seq[i] == 'P') && i + 1 < seq.size() && seq[i + 1] >= '0' &&
            seq[i + 1] <= '9') {
            ++i;
            continue;
        }
        return {k, std::string("unknown letter ") + seq[i]};
    }
    if (!cards(k["BOARD"], 5)) return {k, "bad board"};
    if (std::stoi(k["NP"]) != seated) return {k, "NP is not the number of players"};
    if (!k.count(std::string("PN") + k["BTN"])) return {k, "the button is not seated"};
    if (!ids.insert(k["ID"]).second) return {k, "repeated id"};
    return read;
}

struct Generated {
    std::vector<std::string> lines;
    std::string truth;
};

Generated generate(const std::string& arguments) {
    const fs::path log = scratch("log");
    const fs::path truth = scratch("truth");
    EXPECT_EQ(runLoggen(arguments + " --output \"" + log.string() + "\" --truth \"" + truth.string() + "\""),
              0);
    return {crlfLines(readFile(log)), readFile(truth)};
}

TEST(Loggen, SameSeedAndOptionsGiveTheSameBytes) {
    const fs::path first = scratch("first");
    const fs::path second = scratch("second");
    const fs::path other = scratch("other");
    ASSERT_EQ(runLoggen("--hands 400 --seed 11 --broken 0.1 --output \"" + first.string() + "\""), 0);
    ASSERT_EQ(runLoggen("--seed=11 --broken=0.1 --hands=400 > \"" + second.string() + "\""), 0);
    ASSERT_EQ(runLoggen("--hands 400 --seed 12 --broken 0.1 --output \"" + other.string() + "\""), 0);
    const std::string bytes = readFile(first);
    EXPECT_GT(bytes.size(), 400u * 150);
    EXPECT_EQ(bytes, readFile(second)) << "the same seed through standard output";
    EXPECT_NE(bytes, readFile(other)) << "another seed";
}

TEST(Loggen, EveryLineIsAHandTheConverterTakesIn) {
    const Generated out = generate("--hands 3000 --seed 3");
    ASSERT_EQ(out.lines.size(), 3000u);
    std::set<std::string> ids;
    long long lastId = -1;
    long long lastTime = -1;
    std::size_t bytes = 0;
    std::set<std::string> names;
    for (const std::string& line : out.lines) {
        bytes += line.size() + 2;
        const LogLine read = readLine(line, ids);
        ASSERT_EQ(read.problem, "") << line;
        const long long id = std::stoll(read.keys.at("ID"));
        const long long time = std::stoll(read.keys.at("TIME"));
        EXPECT_GT(id, lastId);
        EXPECT_LE(id, 2147483647LL);
        EXPECT_GT(time, lastTime);
        lastId = id;
        lastTime = time;
        for (const auto& [key, value] : read.keys) {
            if (key.rfind("PN", 0) == 0) names.insert(value);
        }
    }
    // Realistic size and a pool of names that recur.
    EXPECT_GT(bytes / out.lines.size(), 250u);
    EXPECT_LT(bytes / out.lines.size(), 450u);
    EXPECT_LT(names.size(), 1000u);
}

TEST(Loggen, LimitShareDecidesWhichHandsCarryBets) {
    std::set<std::string> ids;
    for (const std::string& line : generate("--hands 300 --seed 4 --limit-share 0").lines) {
        EXPECT_EQ(readLine(line, ids).keys.count("BETS"), 1u) << line;
    }
    ids.clear();
    for (const std::string& line : generate("--hands 300 --seed 4 --limit-share 1").lines) {
        EXPECT_EQ(readLine(line, ids).keys.count("BETS"), 0u) << line;
    }
}

TEST(Loggen, DamagedLinesComeInTheShareAskedFor) {
    for (const double share : {0.05, 0.3, 0.8}) {
        const Generated out = generate("--hands 2000 --seed 8 --broken " + std::to_string(share));
        ASSERT_EQ(out.lines.size(), 2000u);
        std::set<std::string> ids;
        std::set<std::string> kinds;
        int damaged = 0;
        for (const std::string& line : out.lines) {
            const LogLine read = readLine(line, ids);
            if (read.problem.empty()) continue;
            ++damaged;
            kinds.insert(read.problem.substr(0, read.problem.find(' ')));
        }
        EXPECT_NEAR(damaged / 2000.0, share, 0.04) << share;
        // The truth names the good hands only.
        const auto truthLines = split(out.truth, '\n');
        EXPECT_NEAR(static_cast<double>(truthLines.size() - 1), 2000.0 - damaged, 5 + 0.01 * 2000) << share;
        if (share > 0.5) {
            EXPECT_GE(kinds.size(), 8u) << "kinds of damage seen";
        }
    }
}

TEST(Loggen, RefusesBadOptions) {
    const std::string quiet = " > \"" + scratch("out").string() + "\" 2>&1";
    EXPECT_EQ(runLoggen("--help" + quiet), 0);
    for (const char* bad : {"--broken 1.5", "--broken", "--hands x", "--hands -3", "--limit-share 2",
                            "--frobnicate", "--output"}) {
        EXPECT_NE(runLoggen(bad + quiet), 0) << bad;
    }
}

}  // namespace
