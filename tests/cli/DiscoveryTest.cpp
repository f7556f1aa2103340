// Without INPUT, vlconvert finds GAMES_V3.LOG in a Wine prefix where the Velmora program keeps it. Each test
// builds a prefix of its own in a temporary folder.
#include <gtest/gtest.h>
#include <pwd.h>

#include <nlohmann/json.hpp>

#include "cli/ProgramRunner.h"
#include "support/TestSupport.h"

namespace vlconvert::test {
namespace {

namespace fs = std::filesystem;
using noxi::test::TempDir;
using noxi::test::writeFile;

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

struct FoundCase {
    const char* name;
    std::vector<std::string> logs;  // paths below the user's folder, with 1, 2, ... hands in this order
    std::vector<std::string> folders;
    std::size_t chosen;  // the log taken, which holds chosen + 1 hands
    friend void PrintTo(const FoundCase& c, std::ostream* out) { *out << c.name; }
};

class Found : public Discovery, public ::testing::WithParamInterface<FoundCase> {};

TEST_P(Found, TakesTheFirstLogInTheDesktopProgramsOrderAndSaysWhich) {
    const FoundCase& c = GetParam();
    for (std::size_t i = 0; i < c.logs.size(); ++i)
        place(c.logs[i], static_cast<int>(i) + 1);
    for (const std::string& path : c.folders)
        folder(path);
    const ProgramResult result = convert();
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.err, "vlconvert: reading " + (user / c.logs[c.chosen]).string() + "\n");
    EXPECT_EQ(result.out, handsSummary(c.chosen + 1));
}

const std::string Roaming = "AppData/Roaming/";

// The log in the logs folder of a folder of the roaming application data.
std::string logIn(const std::string& folder) {
    return Roaming + folder + "/logs/GAMES_V3.LOG";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Found,
    ::testing::Values(
        FoundCase("Pro2BeforePro", {logIn("VelmoraPro"), logIn("VelmoraPro2")}, {}, 1),
        FoundCase("ProBeforePlain", {logIn("Velmora"), logIn("VelmoraPro")}, {}, 1),
        FoundCase("PlainBeforeDemos", {logIn("VelmoraProDemo"), logIn("Velmora")}, {}, 1),
        FoundCase("Pro2DemoBeforeProDemo", {logIn("VelmoraProDemo"), logIn("VelmoraPro2Demo")}, {}, 1),
        FoundCase("TypographicApostrophe", {logIn("Noxi\xE2\x80\x99sVelmora")}, {}, 0),
        FoundCase("AnyFolderNamedVelmora", {logIn("My velmora Tables")}, {}, 0),
        FoundCase("NamedFoldersInNameOrder", {logIn("Velmora-B"), logIn("Velmora-A")}, {}, 1),
        FoundCase("ProductFoldersBeforeNamedOnes", {logIn("Old Velmora"), logIn("VelmoraProDemo")}, {}, 1),
        // Wine matches names without regard to case, so its folders may be written in any case.
        FoundCase("AnyCase", {"appdata/roaming/velmorapro/LOGS/games_v3.log"}, {}, 0),
        FoundCase("OlderApplicationData", {"Application Data/Velmora/logs/GAMES_V3.LOG"}, {}, 0),
        FoundCase("RoamingBeforeApplicationData",
                  {"Application Data/VelmoraPro2/logs/GAMES_V3.LOG", logIn("Velmora")}, {}, 1),
        // A logs folder without the log, or with a folder of that name, does not end the search.
        FoundCase("LogsFolderWithoutTheLogPassedOver", {logIn("Velmora")},
                  {Roaming + "VelmoraPro/logs", logIn("VelmoraPro2")}, 0)),
    [](const ::testing::TestParamInfo<FoundCase>& info) { return std::string(info.param.name); });

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
