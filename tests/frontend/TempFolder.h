// Files and folders of the Windows tests.
#pragma once

#include <windows.h>

#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>

namespace vlc::testing {

// Removes a file or a folder with everything in it; names in the ANSI code page, as the platform reads them.
inline void removeTree(const std::string& path) {
    const std::string list = path + '\0';  // a list of names, ended by an empty one
    SHFILEOPSTRUCTA operation{};
    operation.wFunc = FO_DELETE;
    operation.pFrom = list.c_str();
    operation.fFlags = FOF_NO_UI;
    SHFileOperationA(&operation);
}

inline std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// A path of the build machine as programs see it under Wine, where drive Z: is the root folder.
inline std::string hostPath(std::string path) {
    if (!path.starts_with('/')) return path;
    std::ranges::replace(path, '/', '\\');
    return "Z:" + path;
}

// A folder of the user's profile by its CSIDL, empty if the platform has none.
inline std::string specialFolder(int id) {
    char folder[MAX_PATH] = "";
    SHGetSpecialFolderPathA(nullptr, folder, id, FALSE);
    return folder;
}

struct TempFolder {
    std::string path;  // no trailing backslash

    TempFolder() {
        char base[MAX_PATH];
        GetTempPathA(MAX_PATH, base);
        static int counter = 0;
        path = std::string(base) + "vlc-test-" + std::to_string(GetCurrentProcessId()) + "-" +
               std::to_string(++counter);
        removeTree(path);
        CreateDirectoryA(path.c_str(), nullptr);
    }
    ~TempFolder() { removeTree(path); }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    std::string operator/(const std::string& name) const { return path + "\\" + name; }
};

}  // namespace vlc::testing
