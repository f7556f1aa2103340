// Small helpers shared by the test programs: temporary folders, whole-file reads and writes, a pinned time
// zone, and a conversion run without the desktop program's pauses.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <random>
#include <sstream>
#include <string>

#include "NoxiConverter.h"
#include "frame/Driver.h"
#include "frame/LibraryState.h"
#include "hand/ChunkParser.h"

namespace noxi::test {

namespace fs = std::filesystem;

// A fresh folder under the system's temporary folder, removed with everything in it at the end.
class TempDir {
public:
    TempDir() {
        std::random_device seed;
        path_ = fs::temp_directory_path() / ("noxi-test-" + std::to_string(seed()) + std::to_string(seed()));
        fs::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ignored;
        fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const fs::path& path() const { return path_; }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

private:
    fs::path path_;
};

inline std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void writeFile(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

inline void setEnvironment(const char* name, const char* value) {
#ifdef _WIN32
    _putenv_s(name, value != nullptr ? value : "");
#else
    if (value != nullptr)
        setenv(name, value, 1);
    else
        unsetenv(name);
#endif
}

// Pins the local time zone for the lifetime of the object.
class TimeZone {
public:
    explicit TimeZone(const char* zone) {
        if (const char* old = std::getenv("TZ")) saved_ = old;
        setEnvironment("TZ", zone);
        refreshTimeZone();
    }
    ~TimeZone() {
        setEnvironment("TZ", saved_ ? saved_->c_str() : nullptr);
        refreshTimeZone();
    }
    TimeZone(const TimeZone&) = delete;
    TimeZone& operator=(const TimeZone&) = delete;

private:
    std::optional<std::string> saved_;
};

// The zone every whole-history test pins: five hours west of UTC with daylight saving time, as the
// histories' "EDT" assumes.
#ifdef _WIN32
inline constexpr const char* HistoryZone = "EST5EDT";
#else
inline constexpr const char* HistoryZone = "America/New_York";
#endif

// ConvertHands as a caller sees it (the library's own options, counters and error log), without pauses.
inline int convert(const std::string& in, const std::string& out, ProgressCallback callback = nullptr,
                   void* user = nullptr, DriverSettings settings = {}) {
    LibraryState& state = libraryState();
    settings.pauses = false;
    return exportedResult(
        convertHands(in.c_str(), out.c_str(), callback, user, state.options, state.results, settings));
}

// Every option at its start value, as in a library just loaded.
inline void resetOptions() {
    attachLibrary();
}

}  // namespace noxi::test
