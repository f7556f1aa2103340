// Without INPUT, vlconvert.exe finds GAMES_V3.LOG in the Velmora log folders of the user's application-data
// folder, as the desktop program looks for them. The test run's private Wine prefix keeps that folder to
// itself: the test makes its folders there and removes exactly those, and refuses to run where Velmora
// folders exist.
#include <windows.h>

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "cli/ProgramRunner.h"
#include "frontend/TempFolder.h"

namespace vlconvert::test {
namespace {

class AppDataDiscovery : public ::testing::Test {
protected:
    void SetUp() override {
        appData = vlc::testing::specialFolder(CSIDL_APPDATA);
        ASSERT_FALSE(appData.empty());
        WIN32_FIND_DATAA entry;
        const HANDLE found = FindFirstFileA((appData + "\\*Velmora*").c_str(), &entry);
        if (found != INVALID_HANDLE_VALUE) {
            FindClose(found);
            GTEST_SKIP() << "the application-data folder holds Velmora folders of its own";
        }
    }
    void TearDown() override {
        for (const std::string& top : made)
            vlc::testing::removeTree(appData + "\\" + top);
    }

    // A log of `hands` hands at folder\logs\name below the application-data folder (names in code page 1252).
    void place(const std::string& folder, int hands = 1, const std::string& logs = "logs",
               const std::string& name = "GAMES_V3.LOG") {
        ASSERT_TRUE(CreateDirectoryA((appData + "\\" + folder).c_str(), nullptr)) << folder;
        made.push_back(folder);
        ASSERT_TRUE(CreateDirectoryA((appData + "\\" + folder + "\\" + logs).c_str(), nullptr));
        vlc::testing::writeFile(appData + "\\" + folder + "\\" + logs + "\\" + name, goodHands(1, hands));
    }
    std::string logOf(const std::string& folder) const {
        return appData + "\\" + folder + "\\logs\\GAMES_V3.LOG";
    }
    ProgramResult convert(std::vector<std::string> options = {}) {
        options.push_back(temp.file("hh.txt"));
        return runProgram(options);
    }

    std::string appData;
    std::vector<std::string> made;
    TempDir temp;
};

// The desktop program's order: the products, then any folder whose name holds Velmora, in name order; names
// match without regard to case. Each log taken is removed or turned into a folder; neither ends the search
// for the next.
TEST_F(AppDataDiscovery, TakesTheLogsInTheDesktopProgramsOrder) {
    const std::vector<std::string> order = {"VelmoraPro2",       "VelmoraPro",     "Velmora",
                                            "VelmoraPro2Demo",   "VelmoraProDemo", "Noxi\222sVelmora",
                                            "My velmora Tables", "Velmora-A",      "Velmora-B"};
    for (std::size_t i = order.size(); i-- > 0;) {
        if (order[i] == "VelmoraPro2Demo")
            place("VELMORAPRO2DEMO", 1, "LOGS", "games_v3.log");
        else
            place(order[i]);
    }
    vlc::testing::writeFile(appData + "\\A velmora note.txt", "a file, passed over");
    made.push_back("A velmora note.txt");
    for (std::size_t i = 0; i < order.size(); ++i) {
        SCOPED_TRACE(order[i]);
        const ProgramResult result = convert();
        EXPECT_EQ(result.exitCode, 0) << result.err;
        EXPECT_EQ(result.err, "vlconvert: reading " + logOf(order[i]) + "\n");
        EXPECT_EQ(result.out, "1 hand was converted successfully.\n");
        DeleteFileA(logOf(order[i]).c_str());
        if (i % 2 == 0) CreateDirectoryA(logOf(order[i]).c_str(), nullptr);
    }

    // Nothing left: where it looked, and no output.
    DeleteFileA(temp.file("hh.txt").c_str());
    const ProgramResult result = convert();
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(linesOf(result.err),
              (std::vector<std::string>{
                  "vlconvert: no INPUT given, and no GAMES_V3.LOG found in the Velmora log folders",
                  "vlconvert: looked in " + appData +
                      " for VelmoraPro2\\logs, VelmoraPro\\logs, Velmora\\logs, VelmoraPro2Demo\\logs, "
                      "VelmoraProDemo\\logs, Noxi\222sVelmora\\logs, *Velmora*\\logs",
                  "vlconvert: give the log's path as INPUT"}));
    EXPECT_FALSE(fs::exists(temp.file("hh.txt")));
}

// Quiet: the log found is named in the JSON only.
TEST_F(AppDataDiscovery, QuietJsonRunNamesTheLogInTheSummaryOnly) {
    place("Velmora", 3);
    const ProgramResult result = convert({"--quiet", "--json", "--last", "2"});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(nlohmann::json::parse(result.out),
              (nlohmann::json{{"result", "finished"},
                              {"input", logOf("Velmora")},
                              {"files", nlohmann::json::array({temp.file("hh.txt")})},
                              {"handsConverted", 2},
                              {"handsSkipped", 0},
                              {"errorLog", nullptr},
                              {"error", nullptr}}));
}

}  // namespace
}  // namespace vlconvert::test
