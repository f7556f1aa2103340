#include "LogDiscovery.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <string_view>

#ifndef _WIN32
#include <pwd.h>
#include <unistd.h>
#endif

namespace vlconvert {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view LogFileName = "GAMES_V3.LOG";

// The product folders in the order the desktop program tries them. The apostrophe is the typographic one,
// which Wine stores as UTF-8 on a Linux file system.
constexpr std::array<std::string_view, 6> ProductFolders = {
    "VelmoraPro2", "VelmoraPro", "Velmora", "VelmoraPro2Demo", "VelmoraProDemo", "Noxi\xE2\x80\x99sVelmora"};

char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool equalIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return lowerAscii(x) == lowerAscii(y); });
}

bool containsIgnoringCase(std::string_view text, std::string_view part) {
    if (part.size() > text.size()) return false;
    for (std::size_t at = 0; at + part.size() <= text.size(); ++at) {
        if (equalIgnoringCase(text.substr(at, part.size()), part)) return true;
    }
    return false;
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

// folder/name, or the entry whose name differs from it only in case (Wine's own matching).
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
    std::optional<fs::path> log = pathIgnoringCase(productFolder, {"logs", LogFileName});
    if (!log || isDirectory(*log)) return std::nullopt;
    return log;
}

std::optional<fs::path> findInAppData(const fs::path& appData) {
    for (std::string_view product : ProductFolders) {
        if (std::optional<fs::path> folder = childIgnoringCase(appData, product)) {
            if (std::optional<fs::path> log = logIn(*folder)) return log;
        }
    }
    const std::vector<fs::path> named = entriesWhere(
        appData, [](const std::string& entry) { return containsIgnoringCase(entry, "velmora"); });
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

}  // namespace

WineSetup wineSetupFromEnvironment() {
    WineSetup setup;
    std::string home = environment("HOME");
    std::string login;
#ifndef _WIN32
    if (const passwd* entry = getpwuid(getuid())) {
        login = entry->pw_name;
        if (home.empty()) home = entry->pw_dir;
    }
#endif
    const std::string prefix = environment("WINEPREFIX");
    setup.prefix = !prefix.empty() ? fs::path(prefix) : fs::path(home) / ".wine";
    if (!login.empty()) setup.userNames.push_back(login);
    const std::string user = environment("USER");
    if (!user.empty() && user != login) setup.userNames.push_back(user);
    return setup;
}

std::vector<fs::path> applicationDataFolders(const WineSetup& setup) {
    std::vector<fs::path> folders;
#ifdef _WIN32
    // On Windows itself the user's own application-data folder is the one to search.
    if (const std::string appData = environment("APPDATA"); !appData.empty() && isDirectory(appData)) {
        folders.emplace_back(appData);
        return folders;
    }
#endif
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

LogSearch findVelmoraLog(const WineSetup& setup) {
    LogSearch search;
    search.appDataFolders = applicationDataFolders(setup);
    const std::string user = setup.userNames.empty() ? std::string("<user>") : setup.userNames.front();
    search.expectedAppData = setup.prefix / "drive_c" / "users" / user / "AppData" / "Roaming";
    for (const fs::path& appData : search.appDataFolders) {
        if ((search.log = findInAppData(appData))) break;
    }
    return search;
}

std::string searchedFoldersText() {
    std::string text;
    for (std::string_view product : ProductFolders) {
        text += product;
        text += "/logs, ";
    }
    text += "*velmora*/logs";
    return text;
}

}  // namespace vlconvert
