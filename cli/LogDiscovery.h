// Finding GAMES_V3.LOG where the Velmora program keeps it: in a logs folder below the user's
// application-data folder. On Windows that is the user's own (CSIDL_APPDATA, as the desktop program asks for
// it); on Linux it lies inside the Wine prefix the program runs in. One source file per platform
// (LogDiscoveryPosix.cpp, LogDiscoveryWindows.cpp).
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vlconvert {

// The outcome of a search: the log found, or where it was looked for.
struct LogSearch {
    std::optional<std::string> log;
    std::vector<std::string> appDataFolders;  // the application-data folders searched, in order
    std::string noAppData;                    // when there is none: where it was expected
};

// Looks in each application-data folder, in order, for GAMES_V3.LOG in the logs folder of each Velmora
// product folder in the desktop program's order, then of the folders whose name matches "*Velmora*" (in name
// order). Names are matched without regard to case, as Windows matches them. The first log found is taken.
LogSearch findVelmoraLog();

// The folders searched below an application-data folder, for telling the user where the log was looked for.
std::string searchedFoldersText();

// The help's lines on INPUT: where the log is looked for when it is left out.
const char* inputHelp();

}  // namespace vlconvert
