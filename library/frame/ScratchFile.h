// A file written beside the output while the log is still being read, which then takes the output's name in
// one step. It lets the driver write each hand while it first reads it (when the hands come in order),
// instead of reading every hand a second time, and still leaves the output untouched until the saving step.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace noxi {

class ScratchFile {
public:
    ScratchFile() = default;
    ~ScratchFile() { discard(); }
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;

    // Creates a new, empty file beside target under a name no other file has. False, with nothing created,
    // when target is not a plain file of ours that another file can take the place of (a link, a folder, a
    // file with more than one name or of another owner, the log being read), or nothing can be created there.
    bool create(const std::string& target, const char* inPath);
    bool isOpen() const { return file_ != nullptr; }

    // Hands bytes to the file; false when they did not all reach it.
    bool write(const char* bytes, std::size_t size);
    std::uint64_t size() const { return size_; }

    // Gives the file the target's name, replacing the target (with the target's permissions, where the
    // platform has them), and leaves it open for the rest of the output. False when that cannot be done; the
    // file is then still the scratch file.
    bool promote();
    // Shortens the promoted file to size bytes; what follows is written from there.
    bool truncate(std::uint64_t size);
    // Closes the promoted file; false when what was written did not all reach it.
    bool close();

    // Closes the scratch file and removes it.
    void discard();

private:
    std::string path_;
    std::string target_;
    std::FILE* file_ = nullptr;
    std::uint64_t size_ = 0;
    bool promoted_ = false;
    bool targetExisted_ = false;
    unsigned targetMode_ = 0;
};

}  // namespace noxi
