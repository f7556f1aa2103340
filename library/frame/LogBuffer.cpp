#include "frame/LogBuffer.h"

#include <new>

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace noxi {

bool LogBuffer::allocate(std::size_t size) {
    release();
    if (size == static_cast<std::size_t>(-1)) return false;
#ifdef __linux__
    // A log of hundreds of megabytes is touched page by page as it is read: large pages make that a few
    // hundred page faults instead of a hundred thousand.
    constexpr std::size_t LargePage = std::size_t{2} << 20;
    if (size >= LargePage) {
        const std::size_t capacity = (size + 1 + LargePage - 1) / LargePage * LargePage;
        void* memory = mmap(nullptr, capacity, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (memory != MAP_FAILED) {
            madvise(memory, capacity, MADV_HUGEPAGE);
            data_ = static_cast<char*>(memory);
            capacity_ = capacity;
            mapped_ = true;
            return true;
        }
    }
#endif
    data_ = new (std::nothrow) char[size + 1];
    capacity_ = size + 1;
    return data_ != nullptr;
}

void LogBuffer::release() {
    if (data_ == nullptr) return;
#ifdef __linux__
    if (mapped_) {
        munmap(data_, capacity_);
    } else {
        delete[] data_;
    }
#else
    delete[] data_;
#endif
    data_ = nullptr;
    capacity_ = 0;
    mapped_ = false;
}

}  // namespace noxi
