#include "windows/CommandHelpers.h"

#include <windows.h>

#include <cctype>
#include <cstring>
#include <limits>

namespace vlc {

std::int32_t leadingInteger(const char* text) {
    if (text == nullptr) return 0;
    while (std::isspace(static_cast<unsigned char>(*text)))
        ++text;
    const bool negative = *text == '-';
    if (*text == '-' || *text == '+') ++text;
    constexpr std::int64_t Limit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    std::int64_t value = 0;
    for (; *text >= '0' && *text <= '9'; ++text) {
        // Past 32 bits the digits no longer matter: the value is held at the limit.
        if (value < Limit) value = value * 10 + (*text - '0');
    }
    if (negative) value = -value;
    if (value > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
    if (value < std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(value);
}

bool splitChosenPath(const char* path, char* folder, std::size_t folderSize, char* file,
                     std::size_t fileSize) {
    if (path == nullptr) return false;
    const char* slash = std::strrchr(path, '\\');
    if (slash == nullptr) return false;
    const std::size_t folderLength = static_cast<std::size_t>(slash - path);
    // A bare drive keeps its backslash, so that it still names the drive's root folder.
    const std::size_t keptLength = folderLength <= 2 ? folderLength + 1 : folderLength;
    const std::size_t fileLength = std::strlen(slash + 1);
    if (keptLength >= folderSize || fileLength >= fileSize) return false;
    std::memcpy(folder, path, keptLength);
    folder[keptLength] = '\0';
    std::memcpy(file, slash + 1, fileLength + 1);
    return true;
}

std::optional<std::string> settingsPathFor(const char* programPath) {
    if (programPath == nullptr) return std::nullopt;
    const char* dot = std::strrchr(programPath, '.');
    if (dot == nullptr || _stricmp(dot, ".exe") != 0) return std::nullopt;
    return std::string(programPath, dot) + ".cfg";
}

std::optional<std::string> besideProgram(const char* programPath, const char* name) {
    if (programPath == nullptr || name == nullptr) return std::nullopt;
    const char* slash = std::strrchr(programPath, '\\');
    if (slash == nullptr) return std::nullopt;
    std::string path = std::string(programPath, slash + 1) + name;
    if (path.size() >= MAX_PATH) return std::nullopt;
    return path;
}

}  // namespace vlc
