// Screen names, table names and card-room names for the sample logs.
#pragma once

#include <string>
#include <vector>

#include "Random.h"

namespace loggen {

// `count` distinct screen names: plain words, words with digits, underscores or blanks, first and last
// names. None holds a semicolon, an equals sign or a line end.
std::vector<std::string> makePlayerNames(Random& random, int count);

// A table name such as "Juniper Falls" or "Harbor 12".
std::string makeTableName(Random& random);

// A card-room name for the SITE key (the converter ignores it).
const char* pickSiteName(Random& random);

}  // namespace loggen
