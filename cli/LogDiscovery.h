// Finding GAMES_V3.LOG where the Velmora program keeps it: in a logs folder below the user's application-data
// folder, which on Linux lies inside the Wine prefix that the program runs in.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace vlconvert {

// Where to look: the Wine prefix and the user names whose folders it may hold.
struct WineSetup {
    std::filesystem::path prefix;        // $WINEPREFIX, else ~/.wine
    std::vector<std::string> userNames;  // the login name, and $USER when it differs
};

// The outcome of a search: the log found, or where it was looked for.
struct LogSearch {
    std::optional<std::filesystem::path> log;
    std::vector<std::filesystem::path>
        appDataFolders;                     // application-data folders that exist, in search order
    std::filesystem::path expectedAppData;  // where the first one should have been
};

// The Wine prefix and user names of this process's environment.
WineSetup wineSetupFromEnvironment();

// The user's application-data folders: AppData/Roaming, then the older Application Data, below
// drive_c/users/<user> of the prefix. Names are matched without regard to case, as Wine does.
std::vector<std::filesystem::path> applicationDataFolders(const WineSetup& setup);

// Looks in each application-data folder, in order, for GAMES_V3.LOG in the logs folder of VelmoraPro2,
// VelmoraPro, Velmora, VelmoraPro2Demo, VelmoraProDemo and Noxi’sVelmora, then of the folders whose name
// holds "velmora" in any case (in name order). The first log found is taken.
LogSearch findVelmoraLog(const WineSetup& setup);

// The folders searched below an application-data folder, for telling the user where the log was looked for.
std::string searchedFoldersText();

}  // namespace vlconvert
