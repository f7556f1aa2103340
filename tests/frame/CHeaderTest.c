/* The public header compiles as C, and a freshly loaded library answers with its start values. */
#include <stdio.h>
#include <string.h>

#include "NoxiConverter.h"

static bool ignoreProgress(int stage, char* text, int percent, void* user) {
    (void)stage, (void)text, (void)percent, (void)user;
    return true;
}

int main(void) {
    ProgressCallback callback = ignoreProgress;
    const char* log = GetErrorLog();
    if (log == NULL || strcmp(log, "") != 0) return 1;
    if (GetNumFiles() != 0 || GetTotalHands() != 0 || GetNumBadHands() != 0) return 2;
    SetRangeType(RangeBetween);
    SetFileSplit(SingleFile, 0);
    (void)callback;
    printf("C interface ok\n");
    return 0;
}
