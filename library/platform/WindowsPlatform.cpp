// The platform layer on Windows.
#include <windows.h>

#include <time.h>

#include <algorithm>
#include <string>

#include "platform/Platform.h"

namespace noxi::platform {
namespace {

HANDLE asHandle(std::intptr_t handle) {
    return reinterpret_cast<HANDLE>(handle);
}

std::intptr_t fromHandle(HANDLE handle) {
    return handle == INVALID_HANDLE_VALUE ? -1 : reinterpret_cast<std::intptr_t>(handle);
}

bool handleIdentity(HANDLE handle, FileIdentity& out, DWORD* links = nullptr) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (GetFileInformationByHandle(handle, &info) == 0) return false;
    out.device = info.dwVolumeSerialNumber;
    out.file = (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow;
    if (links != nullptr) *links = info.nNumberOfLinks;
    return true;
}

// Looks at the file at path without opening it for reading or writing.
bool pathIdentity(const char* path, FileIdentity& out, DWORD* links = nullptr) {
    HANDLE handle =
        CreateFileA(path, FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return false;
    const bool known = handleIdentity(handle, out, links);
    CloseHandle(handle);
    return known;
}

HANDLE openForWriting(const char* path, DWORD disposition) {
    return CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, disposition,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

bool InputFile::open(const char* path) {
    close();
    // A folder cannot be opened this way: that is the failure wanted.
    HANDLE handle = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    handle_ = fromHandle(handle);
    return isOpen();
}

void InputFile::close() {
    if (handle_ == Closed) return;
    CloseHandle(asHandle(handle_));
    handle_ = Closed;
}

std::int64_t InputFile::size() const {
    LARGE_INTEGER size{};
    if (handle_ == Closed || GetFileSizeEx(asHandle(handle_), &size) == 0) return -1;
    return size.QuadPart;
}

std::int64_t InputFile::readAt(std::uint64_t offset, char* bytes, std::size_t size) const {
    std::size_t done = 0;
    while (done < size) {
        OVERLAPPED at{};
        const std::uint64_t position = offset + done;
        at.Offset = static_cast<DWORD>(position);
        at.OffsetHigh = static_cast<DWORD>(position >> 32);
        const auto wanted = static_cast<DWORD>(std::min<std::size_t>(size - done, std::size_t{1} << 30));
        DWORD read = 0;
        if (ReadFile(asHandle(handle_), bytes + done, wanted, &read, &at) == 0) {
            if (GetLastError() == ERROR_HANDLE_EOF) break;
            return -1;
        }
        if (read == 0) break;
        done += read;
    }
    return static_cast<std::int64_t>(done);
}

bool InputFile::identity(FileIdentity& out) const {
    return handle_ != Closed && handleIdentity(asHandle(handle_), out);
}

bool OutputFile::create(const char* path) {
    close();
    handle_ = fromHandle(openForWriting(path, CREATE_ALWAYS));
    size_ = 0;
    return isOpen();
}

OutputFile::Created OutputFile::createNew(const char* path) {
    close();
    handle_ = fromHandle(openForWriting(path, CREATE_NEW));
    size_ = 0;
    if (isOpen()) return Created::Yes;
    const DWORD error = GetLastError();
    return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS ? Created::Exists : Created::Failed;
}

bool OutputFile::openForAppend(const char* path) {
    close();
    HANDLE handle = openForWriting(path, OPEN_EXISTING);
    if (handle == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER end{};
    if (SetFilePointerEx(handle, LARGE_INTEGER{}, &end, FILE_END) == 0) {
        CloseHandle(handle);
        return false;
    }
    handle_ = fromHandle(handle);
    size_ = static_cast<std::uint64_t>(end.QuadPart);
    return true;
}

std::size_t OutputFile::write(const char* bytes, std::size_t size) {
    if (handle_ == Closed) return 0;
    std::size_t done = 0;
    while (done < size) {
        const auto wanted = static_cast<DWORD>(std::min<std::size_t>(size - done, std::size_t{1} << 30));
        DWORD written = 0;
        if (WriteFile(asHandle(handle_), bytes + done, wanted, &written, nullptr) == 0 || written == 0) break;
        done += written;
    }
    size_ += done;
    return done;
}

bool OutputFile::sync() {
    return handle_ != Closed && FlushFileBuffers(asHandle(handle_)) != 0;
}

bool OutputFile::truncate(std::uint64_t size) {
    if (handle_ == Closed) return false;
    LARGE_INTEGER at{};
    at.QuadPart = static_cast<LONGLONG>(size);
    if (SetFilePointerEx(asHandle(handle_), at, nullptr, FILE_BEGIN) == 0) return false;
    if (SetEndOfFile(asHandle(handle_)) == 0) return false;
    size_ = size;
    return true;
}

bool OutputFile::close() {
    if (handle_ == Closed) return true;
    const bool closed = CloseHandle(asHandle(handle_)) != 0;
    handle_ = Closed;
    return closed;
}

bool FileWatch::watch(const char* path) {
    close();
    std::string folder(path);
    const std::size_t slash = folder.find_last_of("\\/");
    folder = slash == std::string::npos ? "." : folder.substr(0, slash + 1);
    HANDLE change = FindFirstChangeNotificationA(
        folder.c_str(), FALSE,
        FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE | FILE_NOTIFY_CHANGE_FILE_NAME);
    if (change == INVALID_HANDLE_VALUE) return false;
    handle_ = reinterpret_cast<std::intptr_t>(change);
    return true;
}

void FileWatch::close() {
    if (handle_ != -1) FindCloseChangeNotification(asHandle(handle_));
    handle_ = -1;
}

bool FileWatch::wait(int timeoutMs) {
    // The system may tell the growth of a file that its writer keeps open only when the writer closes it:
    // the file is looked at again at least four times a second.
    const auto timeout = static_cast<DWORD>(std::min(timeoutMs, 250));
    if (handle_ == -1) {
        Sleep(timeout);
        return false;
    }
    if (WaitForSingleObject(asHandle(handle_), timeout) != WAIT_OBJECT_0) return false;
    FindNextChangeNotification(asHandle(handle_));
    return true;
}

bool pathFacts(const char* path, PathFacts& out) {
    out = PathFacts{};
    const DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    }
    out.exists = true;
    // The platform refuses to rename over a read-only file.
    constexpr DWORD NotPlain =
        FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_READONLY;
    FileIdentity identity;
    DWORD links = 0;
    out.replaceable = (attributes & NotPlain) == 0 && pathIdentity(path, identity, &links) && links == 1;
    return true;
}

bool replaceFile(const char* from, const char* to, bool, unsigned) {
    return MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING) != 0;
}

bool heldByAnotherProgram() {
    const DWORD error = GetLastError();
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
}

bool removeFile(const char* path) {
    return DeleteFileA(path) != 0;
}

bool fileIdentity(const char* path, FileIdentity& out) {
    return pathIdentity(path, out);
}

Sameness sameFile(const char* a, const char* b) {
    FileIdentity first;
    FileIdentity second;
    if (!pathIdentity(a, first) || !pathIdentity(b, second)) return Sameness::Unknown;
    return first == second ? Sameness::Same : Sameness::Different;
}

const char* const TextLineEnd = "\r\n";

unsigned long processId() {
    return GetCurrentProcessId();
}

bool localTime(std::int64_t seconds, std::tm& out) {
    const auto moment = static_cast<time_t>(seconds);
    if (static_cast<std::int64_t>(moment) != seconds) return false;
    return localtime_s(&out, &moment) == 0;
}

long refreshStandardOffset() {
    // MinGW's msvcrt import library has no _get_timezone; the variable serves msvcrt and the UCRT alike.
    _tzset();
    return _timezone;
}

}  // namespace noxi::platform
