#include "OutputCheck.h"

#include "Paths.h"

namespace vlconvert {

std::optional<std::string> folderProblem(const std::string& folder, std::string_view what) {
    const std::string shown =
        "the folder '" + (folder.empty() ? currentFolder() : folder) + "' for " + std::string(what);
    switch (pathKind(folder.empty() ? "." : folder)) {
        case PathKind::Missing:
            return shown + " does not exist";
        case PathKind::File:
            return shown + " is a file, not a folder";
        case PathKind::Folder:
            break;
    }
    if (const auto reason = cannotCreateIn(folder)) return "no file can be made in " + shown + ": " + *reason;
    return std::nullopt;
}

std::optional<std::string> outputFileProblem(const std::string& path, std::string_view what) {
    if (pathKind(path) == PathKind::Folder) return std::string(what) + " '" + path + "' is a folder";
    if (canWrite(path)) return std::nullopt;
    return folderProblem(folderOf(path), what);
}

}  // namespace vlconvert
