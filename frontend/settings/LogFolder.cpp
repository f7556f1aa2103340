#include "settings/LogFolder.h"

#include <windows.h>

#include <shlobj.h>
#include <shlwapi.h>

#include <cstring>
#include <string_view>

#include "common/LogFolders.h"

namespace vlc {
namespace {

constexpr char Separator = '\\';

// Copies text into a buffer of size characters, cut to fit.
void copyInto(char* buffer, std::size_t size, const std::string& text) {
    const std::size_t length = text.size() < size ? text.size() : size - 1;
    std::memcpy(buffer, text.data(), length);
    buffer[length] = '\0';
}

// A special folder, or an empty text when the platform cannot give it.
std::string specialFolder(int folderId) {
    char folder[MAX_PATH] = "";
    if (!SHGetSpecialFolderPathA(nullptr, folder, folderId, FALSE)) return {};
    return folder;
}

bool isDotName(const char* name) {
    return std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0;
}

}  // namespace

bool findLogFolder(char* path, std::size_t size) {
    if (path == nullptr) return false;
    if (size < MAX_PATH) {
        if (size > 0) path[0] = '\0';
        return false;
    }
    const std::string appData = specialFolder(CSIDL_APPDATA);
    if (appData.empty()) {
        copyInto(path, size, specialFolder(CSIDL_DESKTOP));
        return true;
    }
    std::string base = appData;
    if (base.back() != Separator) base += Separator;

    // The product folders, most likely first, each with its logs folder.
    const std::string logs = Separator + std::string(common::LogsFolder);
    for (const std::string_view product : common::ProductFolders) {
        const std::string folder = base + std::string(product) + logs;
        if (folder.size() < MAX_PATH && PathIsDirectoryA(folder.c_str())) {
            copyInto(path, size, folder);
            return true;
        }
    }

    // A found name must leave room for "\logs" after it within MAX_PATH.
    const std::size_t used = base.size() + logs.size();
    const std::size_t room = used < MAX_PATH ? MAX_PATH - used : 0;
    std::string folder = base;
    char name[MAX_PATH];
    const std::string pattern(common::AnyVelmoraPattern);
    if (room > 0 && findSubfolder(base.c_str(), name, room, pattern.c_str())) {
        folder += name;
        folder += logs;
    }
    // Nothing matched: the application-data folder itself, which exists.
    if (PathIsDirectoryA(folder.c_str())) {
        copyInto(path, size, folder);
        return true;
    }
    // A Velmora folder without logs: the user is sent to the desktop.
    copyInto(path, size, specialFolder(CSIDL_DESKTOP));
    return true;
}

bool findSubfolder(const char* folder, char* name, std::size_t room, const char* pattern) {
    if (folder == nullptr || pattern == nullptr || (name != nullptr && room == 0)) return false;
    // The current folder is changed for the search only; one that could not be restored is left alone.
    char previous[MAX_PATH];
    const DWORD previousLength = GetCurrentDirectoryA(MAX_PATH, previous);
    if (previousLength == 0 || previousLength >= MAX_PATH) return false;
    if (!SetCurrentDirectoryA(folder)) return false;

    bool found = false;
    WIN32_FIND_DATAA entry;
    const HANDLE search = FindFirstFileA(pattern, &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const bool isFolder = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
            const std::size_t length = std::strlen(entry.cFileName);
            // "." and ".." are no sub-folders, though a pattern such as "*" matches them.
            if (isFolder && !isDotName(entry.cFileName) && (name == nullptr || length < room)) {
                if (name != nullptr) std::memcpy(name, entry.cFileName, length + 1);
                found = true;
            }
        } while (!found && FindNextFileA(search, &entry));
        FindClose(search);
    }
    SetCurrentDirectoryA(previous);
    return found;
}

bool fileExistsIn(const char* folder, const char* fileName) {
    if (folder == nullptr || fileName == nullptr) return false;
    return PathFileExistsA(joinPath(folder, fileName).c_str()) != FALSE;
}

std::string joinPath(const char* folder, const char* fileName) {
    std::string path = folder == nullptr ? "" : folder;
    if (!path.empty() && path.back() != '\\') path += '\\';
    if (fileName != nullptr) path += fileName;
    return path;
}

}  // namespace vlc
