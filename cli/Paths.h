// The questions vlconvert asks of paths before a conversion, as the platform answers them. Paths are the
// platform's narrow text: bytes on POSIX, the ANSI code page on Windows (as the library opens them), where
// '\' and '/' both separate names and a drive may lead. One source file per platform (PathsPosix.cpp,
// PathsWindows.cpp).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vlconvert {

// Where the file name starts in path: after its last separator, or after a leading drive ("C:hh.txt").
std::size_t fileNameStart(std::string_view path);

// The folder part of path: everything before the file name, without the separators that end it, except a
// root's own ("/", "C:\"). Empty for a bare file name.
std::string folderOf(std::string_view path);

// name in the folder of path, written as the path writes its folder: "out/hh.txt" gives "out/name".
std::string besideFile(std::string_view path, std::string_view name);

// name inside folder: "out" gives "out/name" ("out\name" on Windows), "out/" gives "out/name".
std::string inFolder(std::string_view folder, std::string_view name);

// The separator the platform writes between names.
extern const char PathSeparator;

// Whether the two paths name one file: the same file on disk (through links too) when both exist, else the
// same absolute path.
bool sameFile(const std::string& a, const std::string& b);

enum class PathKind { Missing, File, Folder };
PathKind pathKind(const std::string& path);

// Why no new file can be made in folder (the system's reason), or none when one can. Nothing is left behind.
std::optional<std::string> cannotCreateIn(const std::string& folder);

// Whether path names an existing file that may be opened for writing.
bool canWrite(const std::string& path);

// The process's current folder.
std::string currentFolder();

// A file held locked by this process while the lock lives, so that a second vlconvert meant to write the
// same files is refused. The lock lies beyond the file's bytes, which others go on reading and writing.
class FileLock {
public:
    FileLock() = default;
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    enum class Result { Locked, Busy, Failed };
    // Locks the file at path, making it when it is not there: Busy when another process holds it.
    Result lock(const std::string& path);

private:
    std::intptr_t handle_ = -1;
};

}  // namespace vlconvert
