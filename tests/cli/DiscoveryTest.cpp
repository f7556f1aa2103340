// Without INPUT, vlconvert finds GAMES_V3.LOG in a Wine prefix where the Velmora program keeps it. Each test
// builds a prefix of its own in a temporary folder.
#include <gtest/gtest.h>
#include <pwd.h>

#include <nlohmann/json.hpp>

#include "cli/ProgramRunner.h"

namespace vlconvert::test {
namespace {

std::string loginName() {
    const passwd* entry = getpwuid(getuid());
    return entry != nullptr ? entry->pw_name : "user";
}

class Discovery : public ::testing::Test {
protected:
    // A log of `hands` hands at a path below the user's folder of the prefix.
    void place(const std::string& path, int hands = 1) {
        fs::create_directories((user / path).parent_path());
        writeFile(user / path, goodHands(1, hands));
    }
    void folder(const std::string& path) { fs::create_directories(user / path); }

    ProgramResult convert(std::vector<std::string> options = {}) {
        ProgramRun run;
        run.args = std::move(options);
        run.args.push_back(temp.file("hh.txt"));
        run.environment["WINEPREFIX"] = prefix.string();
        run.environment["HOME"] = temp.file("home");
        return runProgram(run);
    }

    TempDir temp;
    const fs::path prefix = temp.path() / "prefix";
    const fs::path user = prefix / "drive_c" / "users" / loginName();
};

const std::string Roaming = "AppData/Roaming/";

// The log in the logs folder of a folder of the roaming application data.
std::string logIn(const std::string& folder) {
    return Roaming + folder + "/logs/GAMES_V3.LOG";
}

// The first log in the desktop program's order is taken, and vlconvert says which.
TEST_F(Discovery, TakesTheFirstLogInTheDesktopProgramsOrder) {
    const struct {
        std::vector<std::string> logs;  // paths below the user's folder, with 1, 2, ... hands in this order
        std::vector<std::string> folders;
        std::size_t chosen;  // the log taken, which holds chosen + 1 hands
    } cases[] = {
        // The products first (Pro2, Pro, plain, Pro2 demo, Pro demo), then any folder named like them, in
        // name order, whatever the apostrophe or case.
        {{logIn("VelmoraPro"), logIn("VelmoraPro2")}, {}, 1},
        {{logIn("Velmora"), logIn("VelmoraPro")}, {}, 1},
        {{logIn("VelmoraProDemo"), logIn("Velmora")}, {}, 1},
        {{logIn("VelmoraProDemo"), logIn("VelmoraPro2Demo")}, {}, 1},
        {{logIn("Noxi\xE2\x80\x99sVelmora")}, {}, 0},
        {{logIn("My velmora Tables")}, {}, 0},
        {{logIn("Velmora-B"), logIn("Velmora-A")}, {}, 1},
        {{logIn("Old Velmora"), logIn("VelmoraProDemo")}, {}, 1},
        // Wine matches names without regard to case, so its folders may be written in any case.
        {{"appdata/roaming/velmorapro/LOGS/games_v3.log"}, {}, 0},
        // The older application-data folder, after the roaming one.
        {{"Application Data/Velmora/logs/GAMES_V3.LOG"}, {}, 0},
        {{"Application Data/VelmoraPro2/logs/GAMES_V3.LOG", logIn("Velmora")}, {}, 1},
        // A logs folder without the log, or with a folder of that name, does not end the search.
        {{logIn("Velmora")}, {Roaming + "VelmoraPro/logs", logIn("VelmoraPro2")}, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.logs[c.chosen]);
        fs::remove_all(prefix);
        for (std::size_t i = 0; i < c.logs.size(); ++i)
            place(c.logs[i], static_cast<int>(i) + 1);
        for (const std::string& path : c.folders)
            folder(path);
        const ProgramResult result = convert();
        EXPECT_EQ(result.exitCode, 0) << result.err;
        EXPECT_EQ(result.err, "vlconvert: reading " + (user / c.logs[c.chosen]).string() + "\n");
        EXPECT_EQ(result.out, handsSummary(c.chosen + 1));
    }
}

TEST_F(Discovery, FilesNamedVelmoraArePassedOver) {
    place(logIn("Velmora Backup"));
    writeFile(user / "AppData/Roaming/A velmora note.txt", "not a folder");
    const ProgramResult result = convert();
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.err,
              "vlconvert: reading " + (user / Roaming / "Velmora Backup/logs/GAMES_V3.LOG").string() + "\n");
}

TEST_F(Discovery, NothingFoundSaysWhereItLooked) {
    folder(Roaming + "Velmora/logs");
    folder(Roaming + "VelmoraTools");  // named like the product, without a logs folder
    const ProgramResult result = convert();
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.out, "");
    const std::vector<std::string> lines = linesOf(result.err);
    ASSERT_EQ(lines.size(), 3u) << result.err;
    EXPECT_EQ(lines[0], "vlconvert: no INPUT given, and no GAMES_V3.LOG found in the Velmora log folders");
    EXPECT_TRUE(lines[1].starts_with("vlconvert: looked in " + (user / "AppData/Roaming").string() +
                                     " for VelmoraPro2/logs, VelmoraPro/logs, "))
        << lines[1];
    EXPECT_EQ(lines[2], "vlconvert: give the log's path as INPUT");
    EXPECT_FALSE(fs::exists(temp.file("hh.txt")));
}

TEST_F(Discovery, NoPrefixSaysWhereTheFolderShouldBe) {
    const ProgramResult result = convert();
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err.find("no application-data folder at " + (user / "AppData/Roaming").string()),
              std::string::npos)
        << result.err;
}

TEST_F(Discovery, PrefixDefaultsToDotWineInTheHomeFolder) {
    const fs::path home = temp.path() / "home";
    const fs::path log =
        home / ".wine/drive_c/users" / loginName() / "AppData/Roaming/Velmora/logs/GAMES_V3.LOG";
    fs::create_directories(log.parent_path());
    writeFile(log, goodHands(1, 2));
    ProgramRun run;
    run.args = {temp.file("hh.txt")};
    run.environment["WINEPREFIX"] = std::nullopt;
    run.environment["HOME"] = home.string();
    const ProgramResult result = runProgram(run);
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.err, "vlconvert: reading " + log.string() + "\n");
    EXPECT_EQ(result.out, "2 hands were converted successfully.\n");
}

TEST_F(Discovery, QuietJsonRunNamesTheLogInTheSummaryOnly) {
    place(logIn("Velmora"), 3);
    const ProgramResult result = convert({"--quiet", "--json", "--last", "2"});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.err, "");
    const nlohmann::json summary = nlohmann::json::parse(result.out);
    EXPECT_EQ(summary["input"], (user / Roaming / "Velmora/logs/GAMES_V3.LOG").string());
    EXPECT_EQ(summary["handsConverted"], 2);
}

TEST_F(Discovery, JsonWhenNothingWasFound) {
    const ProgramResult result = convert({"--json"});
    EXPECT_EQ(result.exitCode, 1);
    const nlohmann::json summary = nlohmann::json::parse(result.out);
    EXPECT_EQ(summary["result"], "failed");
    EXPECT_TRUE(summary["input"].is_null());
    EXPECT_EQ(summary["error"], "no GAMES_V3.LOG found");
}

}  // namespace
}  // namespace vlconvert::test
