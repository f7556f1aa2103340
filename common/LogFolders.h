// Where the Velmora poker program keeps its hand log: the names both programs look for, in their order.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace common {

// The hand log's name, and the name of the error-log file the programs write.
inline constexpr std::string_view LogFileName = "GAMES_V3.LOG";
inline constexpr std::string_view ErrorLogFileName = "errorLog.txt";

// The log lies in a "logs" folder inside one of these product folders of the user's application-data
// folder, tried in this order. Names are in code page 1252: the sixth has the typographic apostrophe (0x92)
// and no blank after it.
inline constexpr std::string_view LogsFolder = "logs";
inline constexpr std::array<std::string_view, 6> ProductFolders = {
    "VelmoraPro2", "VelmoraPro", "Velmora", "VelmoraPro2Demo", "VelmoraProDemo", "Noxi\222sVelmora"};
// After them, a folder whose name matches this wildcard pattern.
inline constexpr std::string_view AnyVelmoraPattern = "*Velmora*";

// Whether name matches the pattern as a file search on Windows matches it: '*' stands for any run of
// characters, '?' for one, and letters match without regard to case.
bool matchesWildcard(std::string_view name, std::string_view pattern);

// Text of code page 1252 in UTF-8, the form in which Wine keeps Windows file names on a Linux file system.
std::string utf8FromCodePage1252(std::string_view text);

}  // namespace common
