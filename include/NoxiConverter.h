/*
 * NoxiConverter: converts a Velmora hand log (GAMES_V3.LOG) into PartyPoker hand-history text files.
 *
 * Conventions of this interface:
 *  1. Plain C: only numbers, flags, character strings, one function pointer and one opaque user pointer
 *     cross it. Nothing here throws.
 *  2. Options are stored by the setters exactly as given, without checks, and keep their values for as long
 *     as the library is loaded. Call every setter, then ConvertHands, then the getters.
 *  3. The caller owns the two paths given to ConvertHands; the library only reads them during the call.
 *  4. Text handed to the progress callback belongs to the library and is valid only during that callback.
 *     The text returned by GetErrorLog belongs to the library: copy what you need, never free or change it;
 *     it stays valid until the next ConvertHands call. It is never a null pointer.
 *  5. ConvertHands returns 1 when the run finished (also when no hand could be converted), 0 when the
 *     progress callback asked to stop, -1 on failure. File-level failures go to the callback as StageError,
 *     or into the error log with an "ERROR: " prefix when no callback is given.
 *  6. Amounts in the log are in currency units (dollars in real-money games).
 *  7. The library keeps its state in library-wide variables without locks: one conversion at a time.
 */
#ifndef NOXI_CONVERTER_H
#define NOXI_CONVERTER_H

#ifndef __cplusplus
#include <stdbool.h>
#endif

#if defined(_WIN32)
#if defined(NOXI_BUILDING)
#define NOXI_API __declspec(dllexport)
#elif defined(NOXI_STATIC)
#define NOXI_API
#else
#define NOXI_API __declspec(dllimport)
#endif
#else
#define NOXI_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Hand range types for SetRangeType. */
enum {
    RangeAll = 0,    /* every hand */
    RangeFirst = 1,  /* the first `from` hands in ascending hand number */
    RangeLast = 2,   /* the last `from` hands */
    RangeBetween = 3 /* hands numbered from `from` to `to`, both included */
};

/* File split modes for SetFileSplit. TrackerSafeOutput may be OR'ed into any of them (SingleFile |
 * TrackerSafeOutput): the histories are then written for trackers' importers, with every amount in whole
 * cents, uncalled bets returned, every post and dealt street shown, unknown hole cards never shown and stakes
 * such as $0.10/$0.20. Without it every mode keeps its meaning and the histories are the default ones. */
enum {
    SplitByFileCount = 4,    /* share the hands between about `value` files */
    SplitByHandsPerFile = 5, /* `value` hands per file */
    SingleFile = 6,          /* one file, written at exactly the output path */
    TrackerSafeOutput = 0x80 /* flag: tracker-safe histories */
};

/* Stages reported to the progress callback. */
enum {
    StageError = 0,      /* a file-level failure; the text is the message */
    StageTitle = 1,      /* "Converting <file name>" */
    StageLoading = 2,    /* "Loading file <file name>...", 0 then 100 */
    StageProcessing = 3, /* "Processing hand histories...", percent of the log read */
    StageSaving = 4      /* "Saving hand histories to disk...", percent of the hands written */
};

/* Progress callback: return true to go on, false to stop the conversion. */
typedef bool (*ProgressCallback)(int stage, char* text, int percent, void* user);

NOXI_API void SetRangeType(unsigned char type);
NOXI_API void SetRangeValues(unsigned long from, unsigned long to);
NOXI_API void SetFileSplit(unsigned char mode, unsigned long value);
NOXI_API void SetFixSmallBlind(bool fix);
NOXI_API void SetMake6Max(bool make6Max);
NOXI_API void SetRealMoney(bool realMoney);
NOXI_API void SetMuckHands(bool muckHands);
NOXI_API void SetSaveAllHole(bool saveAllHole);

/* Converts the log at inPath into hand histories at outPath (split files are named after outPath). */
NOXI_API int ConvertHands(char* inPath, const char* outPath, ProgressCallback callback, void* user);

/* Results of the last conversion. */
NOXI_API const char* GetErrorLog(void);
NOXI_API unsigned long GetNumFiles(void);
NOXI_API unsigned long GetTotalHands(void);
NOXI_API unsigned long GetNumBadHands(void);

#ifdef __cplusplus
}
#endif

#endif /* NOXI_CONVERTER_H */
