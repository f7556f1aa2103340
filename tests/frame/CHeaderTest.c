/* The public header compiles as C, a freshly loaded library answers with its start values, and the
 * tracker-safe flag travels in SetFileSplit's mode byte. */
#include <stdio.h>
#include <string.h>

#include "NoxiConverter.h"

static bool ignoreProgress(int stage, char* text, int percent, void* user) {
    (void)stage, (void)text, (void)percent, (void)user;
    return true;
}

/* Converts one hand (blinds of 0.05 and 0.10, the small blind folds) with the mode given and tells whether
 * the history holds the text expected. */
static int convertsWith(unsigned char mode, const char* expected) {
    char in[] = "c_header_test.log";
    const char* out = "c_header_test.txt";
    char history[4096];
    size_t size;
    FILE* file = fopen(in, "wb");
    if (file == NULL) return 0;
    fputs(
        "ID=1;GAME=Texas Hold'em;TABLE=T;BTN=0;NP=2;SB=0.05;BB=0.1;PN0=ann;PB0=5;PN1=bob;PB1=5;"
        "BOARD=??????????;SEQ=sBf;\r\n",
        file);
    fclose(file);
    SetFileSplit(mode, 0);
    if (ConvertHands(in, out, ignoreProgress, NULL) != 1 || GetTotalHands() != 1) return 0;
    file = fopen(out, "rb");
    if (file == NULL) return 0;
    size = fread(history, 1, sizeof history - 1, file);
    fclose(file);
    history[size] = '\0';
    remove(in);
    remove(out);
    return strstr(history, expected) != NULL;
}

int main(void) {
    const char* log = GetErrorLog();
    if (log == NULL || strcmp(log, "") != 0) return 1;
    if (GetNumFiles() != 0 || GetTotalHands() != 0 || GetNumBadHands() != 0) return 2;
    SetRangeType(RangeAll);
    SetRealMoney(true);
    /* By default: stakes as any amount, the uncalled 0.05 in the win. */
    if (!convertsWith(SingleFile, "$0.1/$0.2 Hold'em") || !convertsWith(SingleFile, "bob wins $0.15"))
        return 3;
    /* Tracker-safe: stakes in two decimals, the uncalled part returned. */
    if (!convertsWith(SingleFile | TrackerSafeOutput, "$0.10/$0.20 Hold'em") ||
        !convertsWith(SingleFile | TrackerSafeOutput, "bob wins $0.1\r\n"))
        return 4;
    printf("C interface ok\n");
    return 0;
}
