// The path rules that are the same on every platform, built on the platform's fileNameStart.
#include "Paths.h"

namespace vlconvert {
namespace {

bool endsWithSeparator(std::string_view path) {
    return !path.empty() && path.back() != ':' && fileNameStart(path) == path.size();
}

}  // namespace

std::string folderOf(std::string_view path) {
    std::string_view folder = path.substr(0, fileNameStart(path));
    // "out//" is the folder out; "/" and "C:\" stay roots.
    while (folder.size() >= 2 && endsWithSeparator(folder) && folder[folder.size() - 2] != ':')
        folder.remove_suffix(1);
    return std::string(folder);
}

std::string besideFile(std::string_view path, std::string_view name) {
    return std::string(path.substr(0, fileNameStart(path))) + std::string(name);
}

}  // namespace vlconvert
