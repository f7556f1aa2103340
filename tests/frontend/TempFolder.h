// Files and folders of the Windows tests: a folder of its own for one test under the system's temporary
// folder, whole-file reads and writes, the user's special folders, and paths of the build machine as programs
// see them under Wine.
#pragma once

#include <windows.h>

#include <shlobj.h>

#include <fstream>
#include <iterator>
#include <string>

namespace vlc::testing {

// Removes a file or a folder with everything in it. The names are in the ANSI code page, which only the
// platform's own functions read as such.
inline void removeTree(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return;
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        DeleteFileA(path.c_str());
        return;
    }
    WIN32_FIND_DATAA entry;
    const HANDLE search = FindFirstFileA((path + "\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = entry.cFileName;
            if (name != "." && name != "..") removeTree(path + "\\" + name);
        } while (FindNextFileA(search, &entry));
        FindClose(search);
    }
    RemoveDirectoryA(path.c_str());
}

inline std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// A path of the build machine as programs see it under Wine, where drive Z: is the root folder; other paths
// as they are.
inline std::string hostPath(std::string path) {
    if (path.empty() || path[0] != '/') return path;
    for (char& c : path) {
        if (c == '/') c = '\\';
    }
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
