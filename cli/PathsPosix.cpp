#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "Paths.h"

namespace vlconvert {

const char PathSeparator = '/';

namespace fs = std::filesystem;

std::size_t fileNameStart(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? 0 : slash + 1;
}

bool sameFile(const std::string& a, const std::string& b) {
    std::error_code error;
    if (fs::exists(a, error) && fs::exists(b, error)) {
        const bool same = fs::equivalent(a, b, error);
        return same && !error;
    }
    std::error_code otherError;
    const fs::path first = fs::weakly_canonical(a, error);
    const fs::path second = fs::weakly_canonical(b, otherError);
    return !error && !otherError && first == second;
}

PathKind pathKind(const std::string& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) return PathKind::Missing;
    return S_ISDIR(status.st_mode) ? PathKind::Folder : PathKind::File;
}

std::optional<std::string> cannotCreateIn(const std::string& folder) {
    const std::string path = folder.empty() ? "." : folder;
#ifdef O_TMPFILE
    // A file without a name: the real test of creating one, and nobody watching the folder sees it.
    const int fd = ::open(path.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    if (fd >= 0) {
        ::close(fd);
        return std::nullopt;
    }
    if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) return std::strerror(errno);
#endif
    // A file system without nameless files: the permissions tell.
    if (::access(path.c_str(), W_OK | X_OK) != 0) return std::strerror(errno);
    return std::nullopt;
}

bool canWrite(const std::string& path) {
    return pathKind(path) == PathKind::File && ::access(path.c_str(), W_OK) == 0;
}

std::string currentFolder() {
    std::error_code error;
    return fs::current_path(error).string();
}

FileLock::~FileLock() {
    if (handle_ >= 0) ::close(static_cast<int>(handle_));
}

FileLock::Result FileLock::lock(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) return Result::Failed;
    // A lock of the whole open file, which no read or write heeds.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const bool busy = errno == EWOULDBLOCK;
        ::close(fd);
        return busy ? Result::Busy : Result::Failed;
    }
    handle_ = fd;
    return Result::Locked;
}

}  // namespace vlconvert
