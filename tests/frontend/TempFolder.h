// A folder of its own for one test under the system's temporary folder, removed with its contents.
#pragma once

#include <windows.h>

#include <string>

namespace vlc::testing {

// Removes a file or a folder with everything in it; true when nothing is left.
inline bool removeTree(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return true;
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) return DeleteFileA(path.c_str()) != FALSE;
    WIN32_FIND_DATAA entry;
    const HANDLE search = FindFirstFileA((path + "\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = entry.cFileName;
            if (name != "." && name != "..") removeTree(path + "\\" + name);
        } while (FindNextFileA(search, &entry));
        FindClose(search);
    }
    return RemoveDirectoryA(path.c_str()) != FALSE;
}

// A path of the build machine as programs see it under Wine, where drive Z: is the root folder; other paths
// as they are.
inline std::string hostPath(const std::string& path) {
    if (path.empty() || path[0] != '/') return path;
    std::string windows = "Z:" + path;
    for (char& c : windows) {
        if (c == '/') c = '\\';
    }
    return windows;
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
