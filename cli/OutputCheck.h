// The checks that refuse an output before any work is done: a conversion whose files cannot be made would
// otherwise read the whole log first and then fail.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vlconvert {

// Why no file can be written into folder (empty: the current folder), or none when files can. The message
// names the folder and says what it is for ("the folder 'out' for OUTPUT does not exist").
std::optional<std::string> folderProblem(const std::string& folder, std::string_view what);

// Why the file at path cannot be written, or none: the path names a folder, or its folder has one of the
// problems above. An existing file that may be written passes in a folder where no new file can be made.
std::optional<std::string> outputFileProblem(const std::string& path, std::string_view what);

}  // namespace vlconvert
