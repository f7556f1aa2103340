// On Windows the application-data folder is the user's own, asked for as the desktop program asks for it.
#include <windows.h>

#include <shlobj.h>

#include <algorithm>
#include <string_view>

#include "LogDiscovery.h"
#include "Paths.h"
#include "common/LogFolders.h"

namespace vlconvert {
namespace {

constexpr char Separator = '\\';

std::string applicationDataFolder() {
    char folder[MAX_PATH] = "";
    if (!SHGetSpecialFolderPathA(nullptr, folder, CSIDL_APPDATA, FALSE)) return {};
    return folder;
}

// The log in a product folder's logs folder, when it is there and is no folder itself. Windows matches the
// names without regard to case.
std::optional<std::string> logIn(const std::string& productFolder) {
    const std::string log = productFolder + Separator + std::string(common::LogsFolder) + Separator +
                            std::string(common::LogFileName);
    if (pathKind(log) != PathKind::File) return std::nullopt;
    return log;
}

// The folders in folder whose names match pattern, in name order.
std::vector<std::string> foldersMatching(const std::string& folder, std::string_view pattern) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA entry;
    const std::string search = folder + Separator + std::string(pattern);
    const HANDLE found = FindFirstFileA(search.c_str(), &entry);
    if (found == INVALID_HANDLE_VALUE) return names;
    do {
        const std::string_view name = entry.cFileName;
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 && name != "." && name != "..")
            names.emplace_back(name);
    } while (FindNextFileA(found, &entry));
    FindClose(found);
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

LogSearch findVelmoraLog() {
    LogSearch search;
    std::string appData = applicationDataFolder();
    if (appData.empty() || pathKind(appData) != PathKind::Folder) {
        search.noAppData = appData.empty() ? "Windows names no application-data folder for this user"
                                           : "there is no application-data folder at " + appData;
        return search;
    }
    search.appDataFolders.push_back(appData);
    if (appData.size() > 3 && appData.back() == Separator) appData.pop_back();
    for (const std::string_view product : common::ProductFolders) {
        if ((search.log = logIn(appData + Separator + std::string(product)))) return search;
    }
    for (const std::string& name : foldersMatching(appData, common::AnyVelmoraPattern)) {
        if ((search.log = logIn(appData + Separator + name))) return search;
    }
    return search;
}

std::string searchedFoldersText() {
    std::string text;
    const std::string logs = Separator + std::string(common::LogsFolder);
    for (const std::string_view product : common::ProductFolders)
        text += std::string(product) + logs + ", ";
    return text + std::string(common::AnyVelmoraPattern) + logs;
}

const char* inputHelp() {
    return "INPUT is the Velmora log to read. Without it, vlconvert looks for GAMES_V3.LOG\n"
           "in the Velmora log folders of your application-data folder (%APPDATA%), as\n"
           "VLConverter does, and tells which file it took.";
}

}  // namespace vlconvert
