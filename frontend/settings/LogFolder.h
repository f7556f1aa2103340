// Finding the Velmora log folder, and the path rules the main window shares with it.
#pragma once

#include <cstddef>
#include <string>

namespace vlc {

// Fills path (a buffer of size characters) with the most likely Velmora log folder under the user's
// application-data folder: the first existing one of VelmoraPro2, VelmoraPro, Velmora, VelmoraPro2Demo,
// VelmoraProDemo and Noxi's Velmora (typographic apostrophe), each with "\logs"; then the "logs" folder of
// the first folder whose name contains "Velmora"; else the application-data folder itself with its trailing
// backslash; and the desktop folder when a matching folder has no logs folder, or when there is no
// application-data folder. The result fits MAX_PATH. Returns true; false, with path emptied, only when size
// is below MAX_PATH (260).
bool findLogFolder(char* path, std::size_t size);

// Looks in folder for a sub-folder whose name matches the wildcard pattern (the platform's matching, so
// without regard to case on Windows). The first match, in the platform's order, that is a folder and whose
// name fits into room characters with its terminator is copied into name (when name is not null); files and
// names that do not fit are passed over. False when nothing is found, when folder or pattern is missing, when
// room is 0 with a name buffer, or when folder cannot be entered. The process's current folder is the same
// afterwards.
bool findSubfolder(const char* folder, char* name, std::size_t room, const char* pattern);

// True when the joined path names an existing file or folder; false when either text is missing.
bool fileExistsIn(const char* folder, const char* fileName);

// folder + fileName with one backslash between them: none is added when folder ends with one. An empty
// folder gives fileName alone.
std::string joinPath(const char* folder, const char* fileName);

}  // namespace vlc
