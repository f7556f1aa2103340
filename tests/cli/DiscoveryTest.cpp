// Without INPUT, vlconvert finds GAMES_V3.LOG in a Wine prefix where the Velmora program keeps it. Each test
// builds a prefix of its own in a temporary folder.
#include <gtest/gtest.h>
#include <pwd.h>

#include <nlohmann/json.hpp>

#include "cli/ProgramRunner.h"

namespace vlconvert::test {
namespace {

class Discovery : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("WINEPREFIX", prefix.c_str(), 1);
        setenv("HOME", temp.file("home").c_str(), 1);
    }
    // A log of `hands` hands at a path below the user's folder of the prefix.
    void place(const std::string& path, int hands = 1) {
        fs::create_directories((user / path).parent_path());
        writeFile(user / path, goodHands(1, hands));
    }
    ProgramResult convert(std::vector<std::string> options = {}) {
        options.push_back(temp.file("hh.txt"));
        return runProgram(options);
    }

    TempDir temp;
    const fs::path prefix = temp.path() / "prefix";
    const fs::path user = prefix / "drive_c" / "users" / getpwuid(getuid())->pw_name;
};

const std::string Roaming = "AppData/Roaming/";
const std::string Searched =
    " for VelmoraPro2/logs, VelmoraPro/logs, Velmora/logs, VelmoraPro2Demo/logs, VelmoraProDemo/logs, "
    "Noxi\xE2\x80\x99sVelmora/logs, *Velmora*/logs";

// The desktop program's order: the products, then any folder named like them in name order, then the same
// in the older application-data folder (names matched without regard to case, as Wine does). Each log taken
// is removed or turned into a folder; neither ends the search for the next.
TEST_F(Discovery, TakesTheLogsInTheDesktopProgramsOrder) {
    std::vector<std::string> order;
    for (const char* folder : {"VelmoraPro2", "VelmoraPro", "Velmora", "VelmoraPro2Demo", "VelmoraProDemo",
                               "Noxi\xE2\x80\x99sVelmora", "My velmora Tables", "Velmora-A", "Velmora-B"})
        order.push_back(Roaming + folder + "/logs/GAMES_V3.LOG");
    order.push_back("application data/velmorapro2/LOGS/games_v3.log");
    order.push_back("application data/Velmora Backup/logs/GAMES_V3.LOG");
    for (std::size_t i = order.size(); i-- > 0;)
        place(order[i]);
    writeFile(user / Roaming / "A velmora note.txt", "a file, passed over");
    for (std::size_t i = 0; i < order.size(); ++i) {
        SCOPED_TRACE(order[i]);
        const ProgramResult result = convert();
        EXPECT_EQ(result.exitCode, 0) << result.err;
        EXPECT_EQ(result.err, "vlconvert: reading " + (user / order[i]).string() + "\n");
        EXPECT_EQ(result.out, "1 hand was converted successfully.\n");
        fs::remove(user / order[i]);
        if (i % 2 == 0) fs::create_directory(user / order[i]);
    }

    // Nothing left: where it looked, and no output.
    fs::remove(temp.file("hh.txt"));
    const ProgramResult result = convert();
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(linesOf(result.err),
              (std::vector<std::string>{
                  "vlconvert: no INPUT given, and no GAMES_V3.LOG found in the Velmora log folders",
                  "vlconvert: looked in " + (user / "AppData/Roaming").string() + Searched,
                  "vlconvert: looked in " + (user / "application data").string() + Searched,
                  "vlconvert: give the log's path as INPUT"}));
    EXPECT_FALSE(fs::exists(temp.file("hh.txt")));
}

// Without WINEPREFIX the prefix is ~/.wine; when it is missing, the text names the folder it expected.
TEST_F(Discovery, NoPrefix) {
    unsetenv("WINEPREFIX");
    ProgramResult result = convert();
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(linesOf(result.err).at(1),
              "vlconvert: there is no application-data folder at " + temp.file("home") +
                  "/.wine/drive_c/users/" + user.filename().string() +
                  "/AppData/Roaming (the Wine prefix is $WINEPREFIX, else ~/.wine)");

    result = convert({"--json"});
    EXPECT_EQ(result.exitCode, 1);
    const nlohmann::json summary = nlohmann::json::parse(result.out);
    EXPECT_EQ(summary["result"], "failed");
    EXPECT_TRUE(summary["input"].is_null());
    EXPECT_EQ(summary["error"], "no GAMES_V3.LOG found");
}

// Quiet: the log found is named in the JSON only. A clean run's JSON names its one file and no error log.
TEST_F(Discovery, QuietJsonRunNamesTheLogInTheSummaryOnly) {
    place(Roaming + "Velmora/logs/GAMES_V3.LOG", 3);
    const ProgramResult result = convert({"--quiet", "--json", "--last", "2"});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(nlohmann::json::parse(result.out),
              (nlohmann::json{{"result", "finished"},
                              {"input", (user / Roaming / "Velmora/logs/GAMES_V3.LOG").string()},
                              {"files", nlohmann::json::array({temp.file("hh.txt")})},
                              {"handsConverted", 2},
                              {"handsSkipped", 0},
                              {"errorLog", nullptr},
                              {"error", nullptr}}));
}

}  // namespace
}  // namespace vlconvert::test
