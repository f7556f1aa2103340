#include <windows.h>

#include <string>

#include "Paths.h"

namespace vlconvert {

const char PathSeparator = '\\';
namespace {

bool isSeparator(char c) {
    return c == '\\' || c == '/';
}

// The system's text for an error code, without its line end.
std::string systemMessage(DWORD error) {
    char text[512] = "";
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                        error, 0, text, sizeof text, nullptr);
    std::string message(text, length);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == ' '))
        message.pop_back();
    return message.empty() ? "error " + std::to_string(error) : message;
}

// The file's identity on its volume, or false when it cannot be opened. Opened for no access at all, so
// that a file in use by another program still answers.
bool fileIdentity(const std::string& path, BY_HANDLE_FILE_INFORMATION& info) {
    const HANDLE file = CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    const bool known = GetFileInformationByHandle(file, &info) != 0;
    CloseHandle(file);
    return known;
}

std::string fullPath(const std::string& path) {
    char full[MAX_PATH * 4];
    const DWORD length = GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
    return length == 0 || length >= sizeof full ? path : std::string(full, length);
}

}  // namespace

std::size_t fileNameStart(std::string_view path) {
    const std::size_t separator = path.find_last_of("\\/");
    if (separator != std::string_view::npos) return separator + 1;
    return path.size() >= 2 && path[1] == ':' ? 2 : 0;
}

bool sameFile(const std::string& a, const std::string& b) {
    BY_HANDLE_FILE_INFORMATION first{}, second{};
    if (fileIdentity(a, first) && fileIdentity(b, second)) {
        return first.dwVolumeSerialNumber == second.dwVolumeSerialNumber &&
               first.nFileIndexHigh == second.nFileIndexHigh && first.nFileIndexLow == second.nFileIndexLow;
    }
    // File names do not heed case.
    return CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, fullPath(a).c_str(), -1, fullPath(b).c_str(),
                          -1) == CSTR_EQUAL;
}

PathKind pathKind(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return PathKind::Missing;
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? PathKind::Folder : PathKind::File;
}

std::optional<std::string> cannotCreateIn(const std::string& folder) {
    // A hidden scratch file, made and removed at once: the folder's permissions are only known by trying.
    std::string probe = folder;
    if (!probe.empty() && !isSeparator(probe.back()) && !(probe.size() == 2 && probe[1] == ':'))
        probe += '\\';
    probe += "~vlconvert-" + std::to_string(GetCurrentProcessId()) + "-";
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string name = probe + std::to_string(attempt) + ".tmp";
        const HANDLE file = CreateFileA(
            name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
            FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            CloseHandle(file);
            return std::nullopt;
        }
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return systemMessage(error);
    }
    return std::nullopt;  // every name taken: the folder is plainly writable
}

bool canWrite(const std::string& path) {
    if (pathKind(path) != PathKind::File) return false;
    const HANDLE file =
        CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    return true;
}

std::string currentFolder() {
    char folder[MAX_PATH * 4];
    const DWORD length = GetCurrentDirectoryA(sizeof folder, folder);
    return length == 0 || length >= sizeof folder ? std::string(".") : std::string(folder, length);
}

FileLock::~FileLock() {
    if (handle_ != -1) CloseHandle(reinterpret_cast<HANDLE>(handle_));
}

FileLock::Result FileLock::lock(const std::string& path) {
    const HANDLE file =
        CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return Result::Failed;
    // Windows' locks bar reads and writes of the bytes they cover: one byte far beyond any file's end.
    OVERLAPPED place{};
    place.Offset = 0xFFFFFFFF;
    place.OffsetHigh = 0x7FFFFFFF;
    if (!LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &place)) {
        const bool busy = GetLastError() == ERROR_LOCK_VIOLATION;
        CloseHandle(file);
        return busy ? Result::Busy : Result::Failed;
    }
    handle_ = reinterpret_cast<std::intptr_t>(file);
    return Result::Locked;
}

}  // namespace vlconvert
