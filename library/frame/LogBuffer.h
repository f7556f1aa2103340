// The whole input log in memory, followed by one NUL byte.
#pragma once

#include <cstddef>

namespace noxi {

class LogBuffer {
public:
    LogBuffer() = default;
    ~LogBuffer() { release(); }
    LogBuffer(const LogBuffer&) = delete;
    LogBuffer& operator=(const LogBuffer&) = delete;

    // Room for size bytes and the terminating NUL; false (and nothing held) when memory runs out.
    bool allocate(std::size_t size);
    void release();

    char* data() const { return data_; }
    explicit operator bool() const { return data_ != nullptr; }

private:
    char* data_ = nullptr;
    std::size_t capacity_ = 0;
    bool mapped_ = false;
};

}  // namespace noxi
