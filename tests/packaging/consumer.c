/* A developer's first program against the installed library: converts a log with the command-line
 * converter's default options and prints the counters. The package tests build it with pkg-config, with
 * CMake's find_package and, for Windows, against the zip's header and import library.
 *   consumer LOG OUTPUT */
#include <stdio.h>

#include <NoxiConverter.h>

int main(int argc, char** argv) {
    if (argc != 3) {
        fprintf(stderr, "usage: consumer LOG OUTPUT\n");
        return 2;
    }
    SetRangeType(RangeAll);
    SetRangeValues(0, 0);
    SetFileSplit(SingleFile, 0);
    SetFixSmallBlind(false);
    SetMake6Max(false);
    SetRealMoney(false);
    SetMuckHands(true);
    SetSaveAllHole(false);
    const int result = ConvertHands(argv[1], argv[2], NULL, NULL);
    printf("result %d, files %lu, hands %lu, skipped %lu\n", result, GetNumFiles(), GetTotalHands(),
           GetNumBadHands());
    return result == 1 ? 0 : 1;
}
