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

std::string inFolder(std::string_view folder, std::string_view name) {
    std::string path(folder);
    // A folder that ends with its separator, or a drive's current folder ("C:"), takes the name as it is.
    if (!path.empty() && fileNameStart(path) != path.size()) path += PathSeparator;
    return path + std::string(name);
}

}  // namespace vlconvert
