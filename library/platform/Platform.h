// What differs between the platforms, in one place: files with 64-bit sizes and offsets, positioned reads,
// new and replacing files, file identity, local time and the time zone. One source file per platform
// implements it; the build picks the one for its target.
#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>

namespace noxi::platform {

// Which file a name leads to, as the file system tells it: equal for two names of one file.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t file = 0;
    bool operator==(const FileIdentity&) const = default;
};

// A file opened for reading. Others may go on writing it (the poker program appends to its log while it
// runs), and on Windows even rename or delete it.
class InputFile {
public:
    InputFile() = default;
    ~InputFile() { close(); }
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    // Opens path for reading; false when it cannot be opened or names a folder.
    bool open(const char* path);
    bool isOpen() const { return handle_ != Closed; }
    void close();

    // The file's size now; -1 when it cannot be told.
    std::int64_t size() const;
    // Reads up to size bytes at offset into bytes: the number read (fewer only at the file's end), -1 on
    // failure.
    std::int64_t readAt(std::uint64_t offset, char* bytes, std::size_t size) const;
    // The open file's identity; false when it cannot be told.
    bool identity(FileIdentity& out) const;

private:
    static constexpr std::intptr_t Closed = -1;
    std::intptr_t handle_ = Closed;  // a descriptor, or a HANDLE
};

// A file opened for writing. Every write goes straight to the system: the caller hands over whole blocks.
class OutputFile {
public:
    OutputFile() = default;
    ~OutputFile() { close(); }
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    enum class Created { Yes, Exists, Failed };

    // Creates the file at path, or empties the one there; false when that cannot be done.
    bool create(const char* path);
    // Creates a new file at path: Exists when a file of that name is there already (nothing is touched).
    Created createNew(const char* path);
    // Opens the existing file at path for writing at its end; false when it cannot be opened.
    bool openForAppend(const char* path);
    bool isOpen() const { return handle_ != Closed; }

    // Writes size bytes at the current end; the number of bytes that reached the file (fewer on a full disk
    // or a size limit, and then the file's end is just after them).
    std::size_t write(const char* bytes, std::size_t size);
    // Waits until what was written is on the disk; false when that failed.
    bool sync();
    // Cuts the file to size bytes; later writes go on from there.
    bool truncate(std::uint64_t size);
    // The file's size as written so far.
    std::uint64_t size() const { return size_; }
    // Closes the file; false when what was written did not all reach it.
    bool close();

private:
    static constexpr std::intptr_t Closed = -1;
    std::intptr_t handle_ = Closed;
    std::uint64_t size_ = 0;
};

// Tells when a file may have changed: written, replaced, removed or made anew. It watches the file's folder,
// so a log that is replaced by another of its name is seen too.
class FileWatch {
public:
    FileWatch() = default;
    ~FileWatch() { close(); }
    FileWatch(const FileWatch&) = delete;
    FileWatch& operator=(const FileWatch&) = delete;

    // Starts watching the file at path; false when the system cannot tell changes (then wait only waits).
    bool watch(const char* path);
    void close();
    // Waits until the file may have changed, or at most timeoutMs milliseconds (less where the system tells
    // changes late: then it waits at most a quarter second). True when a change was told.
    bool wait(int timeoutMs);

private:
    std::intptr_t handle_ = -1;
    std::intptr_t watch_ = -1;
};

// What a name is, for deciding whether a new file may take its place.
struct PathFacts {
    bool exists = false;
    // A plain file of this user with one name that another file may replace: not a folder, not a link, not
    // read-only where that stops a rename, not someone else's, not a second name of a file.
    bool replaceable = false;
    unsigned mode = 0;  // permission bits, where the platform has them
};
// False when the name cannot be looked at (other than by not existing).
bool pathFacts(const char* path, PathFacts& out);

// Gives the file at from the name to, replacing what is there; mode (where the platform has permission
// bits) is set on it first when keepMode. False, with from untouched, when it cannot be done.
bool replaceFile(const char* from, const char* to, bool keepMode, unsigned mode);

// Whether the last file that could not be opened is held by another program for a while (on Windows, a
// program that opened it without sharing it); false where the system has no such holding.
bool heldByAnotherProgram();

// Removes the file at path; false when it cannot be done.
bool removeFile(const char* path);

// Whether both names lead to one file: Unknown when either cannot be looked at.
enum class Sameness { Same, Different, Unknown };
Sameness sameFile(const char* a, const char* b);

// The identity of the file at path; false when it cannot be looked at.
bool fileIdentity(const char* path, FileIdentity& out);

// This process's number, for names no other process makes.
unsigned long processId();

// The line end of the platform's text files: the error-log file the programs write ends its lines so ("\r\n"
// on Windows, "\n" elsewhere).
extern const char* const TextLineEnd;

// The local time of the moment `seconds` after 1970-01-01 00:00 UTC; false when the platform cannot convert
// it.
bool localTime(std::int64_t seconds, std::tm& out);

// Reads the time zone again (the TZ setting may have changed) and returns how many seconds local standard
// time is behind UTC (west positive).
long refreshStandardOffset();

}  // namespace noxi::platform
