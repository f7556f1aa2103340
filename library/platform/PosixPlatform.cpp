// The platform layer on POSIX systems.
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <string>

#ifdef __linux__
#include <sys/inotify.h>
#endif

#include "platform/Platform.h"

namespace noxi::platform {
namespace {

int fd(std::intptr_t handle) {
    return static_cast<int>(handle);
}

FileIdentity identityOf(const struct stat& info) {
    return {static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino)};
}

}  // namespace

bool InputFile::open(const char* path) {
    close();
    const int descriptor = ::open(path, O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) return false;
    struct stat info {};
    if (::fstat(descriptor, &info) != 0 || S_ISDIR(info.st_mode)) {
        ::close(descriptor);
        return false;
    }
    handle_ = descriptor;
    return true;
}

void InputFile::close() {
    if (handle_ == Closed) return;
    ::close(fd(handle_));
    handle_ = Closed;
}

std::int64_t InputFile::size() const {
    struct stat info {};
    if (handle_ == Closed || ::fstat(fd(handle_), &info) != 0) return -1;
    return static_cast<std::int64_t>(info.st_size);
}

std::int64_t InputFile::readAt(std::uint64_t offset, char* bytes, std::size_t size) const {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::pread(fd(handle_), bytes + done, size - done, static_cast<off_t>(offset + done));
        if (n < 0) {
            if (errno == EINTR) continue;
            return -1;
        }
        if (n == 0) break;
        done += static_cast<std::size_t>(n);
    }
    return static_cast<std::int64_t>(done);
}

bool InputFile::identity(FileIdentity& out) const {
    struct stat info {};
    if (handle_ == Closed || ::fstat(fd(handle_), &info) != 0) return false;
    out = identityOf(info);
    return true;
}

bool OutputFile::create(const char* path) {
    close();
    const int descriptor = ::open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (descriptor < 0) return false;
    handle_ = descriptor;
    size_ = 0;
    return true;
}

OutputFile::Created OutputFile::createNew(const char* path) {
    close();
    const int descriptor = ::open(path, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (descriptor < 0) return errno == EEXIST ? Created::Exists : Created::Failed;
    handle_ = descriptor;
    size_ = 0;
    return Created::Yes;
}

bool OutputFile::openForAppend(const char* path) {
    close();
    const int descriptor = ::open(path, O_WRONLY | O_CLOEXEC);
    if (descriptor < 0) return false;
    const off_t end = ::lseek(descriptor, 0, SEEK_END);
    if (end < 0) {
        ::close(descriptor);
        return false;
    }
    handle_ = descriptor;
    size_ = static_cast<std::uint64_t>(end);
    return true;
}

std::size_t OutputFile::write(const char* bytes, std::size_t size) {
    if (handle_ == Closed) return 0;
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::write(fd(handle_), bytes + done, size - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            break;
        }
        if (n == 0) break;
        done += static_cast<std::size_t>(n);
    }
    size_ += done;
    return done;
}

bool OutputFile::sync() {
    return handle_ != Closed && ::fdatasync(fd(handle_)) == 0;
}

bool OutputFile::truncate(std::uint64_t size) {
    if (handle_ == Closed || ::ftruncate(fd(handle_), static_cast<off_t>(size)) != 0) return false;
    if (::lseek(fd(handle_), static_cast<off_t>(size), SEEK_SET) < 0) return false;
    size_ = size;
    return true;
}

bool OutputFile::close() {
    if (handle_ == Closed) return true;
    const bool closed = ::close(fd(handle_)) == 0;
    handle_ = Closed;
    return closed;
}

bool FileWatch::watch(const char* path) {
    close();
#ifdef __linux__
    const int notify = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (notify < 0) return false;
    std::string folder(path);
    const std::size_t slash = folder.find_last_of('/');
    folder = slash == std::string::npos ? "." : slash == 0 ? "/" : folder.substr(0, slash);
    const int watched = ::inotify_add_watch(
        notify, folder.c_str(),
        IN_MODIFY | IN_CLOSE_WRITE | IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_ATTRIB);
    if (watched < 0) {
        ::close(notify);
        return false;
    }
    handle_ = notify;
    watch_ = watched;
    return true;
#else
    (void)path;
    return false;
#endif
}

void FileWatch::close() {
    if (handle_ >= 0) ::close(fd(handle_));
    handle_ = watch_ = -1;
}

bool FileWatch::wait(int timeoutMs) {
    if (handle_ < 0) {
        ::usleep(static_cast<useconds_t>(std::min(timeoutMs, 250)) * 1000);
        return false;
    }
    pollfd waiting{fd(handle_), POLLIN, 0};
    if (::poll(&waiting, 1, timeoutMs) <= 0) return false;
    // Every event waiting is read, so the next wait waits for a new one.
    alignas(inotify_event) char events[4096];
    while (::read(fd(handle_), events, sizeof events) > 0) {
    }
    return true;
}

bool pathFacts(const char* path, PathFacts& out) {
    out = PathFacts{};
    struct stat info {};
    if (::lstat(path, &info) != 0) return errno == ENOENT;
    out.exists = true;
    out.replaceable = S_ISREG(info.st_mode) && info.st_nlink == 1 && info.st_uid == ::geteuid();
    out.mode = info.st_mode & 07777;
    return true;
}

bool replaceFile(const char* from, const char* to, bool keepMode, unsigned mode) {
    if (keepMode) ::chmod(from, static_cast<mode_t>(mode));
    return std::rename(from, to) == 0;
}

bool heldByAnotherProgram() {
    return false;
}

bool removeFile(const char* path) {
    return std::remove(path) == 0;
}

bool fileIdentity(const char* path, FileIdentity& out) {
    struct stat info {};
    if (::stat(path, &info) != 0) return false;
    out = identityOf(info);
    return true;
}

Sameness sameFile(const char* a, const char* b) {
    FileIdentity first;
    FileIdentity second;
    if (!fileIdentity(a, first) || !fileIdentity(b, second)) return Sameness::Unknown;
    return first == second ? Sameness::Same : Sameness::Different;
}

const char* const TextLineEnd = "\n";

unsigned long processId() {
    return static_cast<unsigned long>(::getpid());
}

bool localTime(std::int64_t seconds, std::tm& out) {
    const auto moment = static_cast<std::time_t>(seconds);
    if (static_cast<std::int64_t>(moment) != seconds) return false;
    return ::localtime_r(&moment, &out) != nullptr;
}

long refreshStandardOffset() {
    ::tzset();
    return ::timezone;
}

}  // namespace noxi::platform
