#include "frame/ScratchFile.h"

#include <atomic>
#include <cerrno>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace noxi {
namespace {

std::atomic<unsigned> scratchCounter{0};

#ifdef _WIN32
int processId() {
    return static_cast<int>(GetCurrentProcessId());
}

// True when both names lead to one file (or either cannot be looked at, to be safe).
bool sameFile(const char* a, const char* b) {
    auto identity = [](const char* path, BY_HANDLE_FILE_INFORMATION& info) {
        HANDLE handle =
            CreateFileA(path, FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                        nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        if (handle == INVALID_HANDLE_VALUE) return false;
        const bool known = GetFileInformationByHandle(handle, &info) != 0;
        CloseHandle(handle);
        return known;
    };
    BY_HANDLE_FILE_INFORMATION first{};
    BY_HANDLE_FILE_INFORMATION second{};
    if (!identity(a, first) || !identity(b, second)) return true;
    return first.dwVolumeSerialNumber == second.dwVolumeSerialNumber &&
           first.nFileIndexHigh == second.nFileIndexHigh && first.nFileIndexLow == second.nFileIndexLow;
}
#else
int processId() {
    return static_cast<int>(getpid());
}
#endif

// A new file opened for writing, never one that exists already.
std::FILE* createNew(const std::string& path) {
#ifdef _WIN32
    const int fd = _open(path.c_str(), _O_CREAT | _O_EXCL | _O_WRONLY | _O_BINARY, _S_IREAD | _S_IWRITE);
    if (fd < 0) return nullptr;
    std::FILE* file = _fdopen(fd, "wb");
    if (file == nullptr) _close(fd);
#else
    const int fd = ::open(path.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0666);
    if (fd < 0) return nullptr;
    std::FILE* file = fdopen(fd, "wb");
    if (file == nullptr) ::close(fd);
#endif
    if (file != nullptr) std::setvbuf(file, nullptr, _IONBF, 0);
    return file;
}

}  // namespace

bool ScratchFile::create(const std::string& target, const char* inPath) {
    discard();
    promoted_ = false;
    targetExisted_ = false;
#ifdef _WIN32
    // Only a plain file (or none) is replaced; the platform refuses to replace a read-only one.
    const DWORD attributes = GetFileAttributesA(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        if ((attributes &
             (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_READONLY)) != 0) {
            return false;
        }
        targetExisted_ = true;
    }
    // The log itself is never replaced.
    if (inPath == nullptr || (targetExisted_ && sameFile(target.c_str(), inPath))) return false;
#else
    struct stat info {};
    if (::lstat(target.c_str(), &info) == 0) {
        if (!S_ISREG(info.st_mode) || info.st_nlink != 1 || info.st_uid != ::geteuid()) return false;
        struct stat input {};
        if (inPath == nullptr ||
            (::stat(inPath, &input) == 0 && input.st_dev == info.st_dev && input.st_ino == info.st_ino)) {
            return false;
        }
        targetExisted_ = true;
        targetMode_ = info.st_mode & 07777;
    } else if (errno != ENOENT) {
        return false;
    }
#endif
    for (int attempt = 0; attempt < 16 && file_ == nullptr; ++attempt) {
        path_ =
            target + ".vlc" + std::to_string(processId()) + "-" + std::to_string(scratchCounter++) + ".part";
        file_ = createNew(path_);
        if (file_ == nullptr && errno != EEXIST) break;
    }
    if (file_ == nullptr) {
        path_.clear();
        return false;
    }
    target_ = target;
    size_ = 0;
    return true;
}

bool ScratchFile::write(const char* bytes, std::size_t size) {
    if (file_ == nullptr) return false;
    const std::size_t written = std::fwrite(bytes, 1, size, file_);
    size_ += written;
    return written == size;
}

bool ScratchFile::promote() {
    if (file_ == nullptr || promoted_) return false;
    // The open file keeps the name it had on platforms that cannot rename an open file.
    if (std::fclose(file_) != 0) {
        file_ = nullptr;
        discard();
        return false;
    }
    file_ = nullptr;
#ifdef _WIN32
    const bool renamed = MoveFileExA(path_.c_str(), target_.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
#else
    if (targetExisted_) ::chmod(path_.c_str(), targetMode_);
    const bool renamed = std::rename(path_.c_str(), target_.c_str()) == 0;
#endif
    if (!renamed) {
        std::remove(path_.c_str());
        path_.clear();
        return false;
    }
    promoted_ = true;
    path_.clear();
    file_ = std::fopen(target_.c_str(), "r+b");
    if (file_ == nullptr) return false;
    std::setvbuf(file_, nullptr, _IONBF, 0);
    return std::fseek(file_, 0, SEEK_END) == 0;
}

bool ScratchFile::truncate(std::uint64_t size) {
    if (file_ == nullptr || !promoted_) return false;
#ifdef _WIN32
    const bool cut = _chsize_s(_fileno(file_), static_cast<long long>(size)) == 0;
    const bool moved = _fseeki64(file_, 0, SEEK_END) == 0;
#else
    const bool cut = ::ftruncate(fileno(file_), static_cast<off_t>(size)) == 0;
    const bool moved = fseeko(file_, 0, SEEK_END) == 0;
#endif
    if (cut) size_ = size;
    return cut && moved;
}

bool ScratchFile::close() {
    if (file_ == nullptr) return false;
    const bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    return closed;
}

void ScratchFile::discard() {
    if (file_ != nullptr) {
        std::fclose(file_);
        file_ = nullptr;
    }
    if (!promoted_ && !path_.empty()) std::remove(path_.c_str());
    path_.clear();
}

}  // namespace noxi
