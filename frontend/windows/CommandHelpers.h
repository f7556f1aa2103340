// Small rules of the main window that need no window: reading numbers from edits, splitting a chosen path
// and the files beside the program.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace vlc {

// The text read as a leading decimal integer, as the number edits are read: leading blanks, an optional sign
// and the digits up to the first other character; text without digits gives 0. Values beyond 32 bits are
// held at the nearest 32-bit value.
std::int32_t leadingInteger(const char* text);

// Splits a full path chosen in the Open or Save dialog at its last backslash: the name after it, and the
// folder before it, which keeps its backslash when only a drive is left ("C:\"). False, with both buffers
// untouched, when the path has no backslash or a part does not fit its buffer.
bool splitChosenPath(const char* path, char* folder, std::size_t folderSize, char* file,
                     std::size_t fileSize);

// The settings file of a program: its path with ".exe" (any case) at the last full stop replaced by ".cfg".
// None when the path does not end so.
std::optional<std::string> settingsPathFor(const char* programPath);

// A file beside the program: the program's path with everything after its last backslash replaced by name.
// None when there is no backslash or the result would not fit a path buffer.
std::optional<std::string> besideProgram(const char* programPath, const char* name);

}  // namespace vlc
