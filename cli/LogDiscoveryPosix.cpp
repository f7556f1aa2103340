// On Linux the Velmora program runs under Wine: the application-data folders lie in the Wine prefix
// ($WINEPREFIX, else ~/.wine), where Wine keeps Windows names in UTF-8 and matches them without regard to
// case.
#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string_view>

#include "LogDiscovery.h"
#include "common/LogFolders.h"

namespace vlconvert {
namespace {

namespace fs = std::filesystem;

// The Wine prefix and the user names whose folders it may hold.
struct WineSetup {
    fs::path prefix;
    std::vector<std::string> userNames;  // the login name, and $USER when it differs
};

char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool equalIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return lowerAscii(x) == lowerAscii(y); });
}

// The entries of a folder whose names pass the test, in name order; none when it cannot be read.
template <typename Test>
std::vector<fs::path> entriesWhere(const fs::path& folder, Test test) {
    std::vector<fs::path> found;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        if (test(it->path().filename().string())) found.push_back(it->path());
    }
    std::sort(found.begin(), found.end());
    return found;
}

// folder/name, or the entry whose name differs from it only in case.
std::optional<fs::path> childIgnoringCase(const fs::path& folder, std::string_view name) {
    std::error_code error;
    fs::path exact = folder / fs::path(std::string(name));
    if (fs::exists(exact, error)) return exact;
    const std::vector<fs::path> matches =
        entriesWhere(folder, [name](const std::string& entry) { return equalIgnoringCase(entry, name); });
    if (matches.empty()) return std::nullopt;
    return matches.front();
}

std::optional<fs::path> pathIgnoringCase(fs::path folder, std::initializer_list<std::string_view> names) {
    for (std::string_view name : names) {
        std::optional<fs::path> child = childIgnoringCase(folder, name);
        if (!child) return std::nullopt;
        folder = std::move(*child);
    }
    return folder;
}

bool isDirectory(const fs::path& path) {
    std::error_code error;
    return fs::is_directory(path, error);
}

// The log inside a product folder's logs folder, when it is there and is no folder itself.
std::optional<fs::path> logIn(const fs::path& productFolder) {
    std::optional<fs::path> log = pathIgnoringCase(productFolder, {common::LogsFolder, common::LogFileName});
    if (!log || isDirectory(*log)) return std::nullopt;
    return log;
}

std::optional<fs::path> findInAppData(const fs::path& appData) {
    for (std::string_view product : common::ProductFolders) {
        if (std::optional<fs::path> folder =
                childIgnoringCase(appData, common::utf8FromCodePage1252(product))) {
            if (std::optional<fs::path> log = logIn(*folder)) return log;
        }
    }
    const std::vector<fs::path> named = entriesWhere(appData, [](const std::string& entry) {
        return common::matchesWildcard(entry, common::AnyVelmoraPattern);
    });
    for (const fs::path& folder : named) {
        if (!isDirectory(folder)) continue;
        if (std::optional<fs::path> log = logIn(folder)) return log;
    }
    return std::nullopt;
}

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

WineSetup wineSetupFromEnvironment() {
    WineSetup setup;
    std::string home = environment("HOME");
    std::string login;
    if (const passwd* entry = getpwuid(getuid())) {
        login = entry->pw_name;
        if (home.empty()) home = entry->pw_dir;
    }
    const std::string prefix = environment("WINEPREFIX");
    setup.prefix = !prefix.empty() ? fs::path(prefix) : fs::path(home) / ".wine";
    if (!login.empty()) setup.userNames.push_back(login);
    const std::string user = environment("USER");
    if (!user.empty() && user != login) setup.userNames.push_back(user);
    return setup;
}

// The user's application-data folders: AppData/Roaming, then the older Application Data, below
// drive_c/users/<user> of the prefix.
std::vector<fs::path> applicationDataFolders(const WineSetup& setup) {
    std::vector<fs::path> folders;
    for (const std::string& user : setup.userNames) {
        const std::optional<fs::path> home = pathIgnoringCase(setup.prefix, {"drive_c", "users", user});
        if (!home) continue;
        for (const std::optional<fs::path>& folder : {pathIgnoringCase(*home, {"AppData", "Roaming"}),
                                                      pathIgnoringCase(*home, {"Application Data"})}) {
            if (!folder || !isDirectory(*folder)) continue;
            // Newer prefixes link Application Data to AppData/Roaming: search such a folder once.
            const bool seen = std::any_of(folders.begin(), folders.end(), [&folder](const fs::path& other) {
                std::error_code error;
                return fs::equivalent(other, *folder, error);
            });
            if (!seen) folders.push_back(*folder);
        }
    }
    return folders;
}

}  // namespace

LogSearch findVelmoraLog() {
    const WineSetup setup = wineSetupFromEnvironment();
    LogSearch search;
    const std::vector<fs::path> folders = applicationDataFolders(setup);
    for (const fs::path& appData : folders) {
        search.appDataFolders.push_back(appData.string());
        if (const std::optional<fs::path> log = findInAppData(appData)) {
            search.log = log->string();
            break;
        }
    }
    if (folders.empty()) {
        const std::string user = setup.userNames.empty() ? std::string("<user>") : setup.userNames.front();
        const fs::path expected = setup.prefix / "drive_c" / "users" / user / "AppData" / "Roaming";
        search.noAppData = "there is no application-data folder at " + expected.string() +
                           " (the Wine prefix is $WINEPREFIX, else ~/.wine)";
    }
    return search;
}

std::string searchedFoldersText() {
    std::string text;
    for (std::string_view product : common::ProductFolders)
        text += common::utf8FromCodePage1252(product) + "/" + std::string(common::LogsFolder) + ", ";
    return text + std::string(common::AnyVelmoraPattern) + "/" + std::string(common::LogsFolder);
}

const char* inputHelp() {
    return "INPUT is the Velmora log to read. Without it, vlconvert looks for GAMES_V3.LOG\n"
           "in the Velmora log folders of the Wine prefix ($WINEPREFIX, else ~/.wine) and\n"
           "tells which file it took.";
}

}  // namespace vlconvert
