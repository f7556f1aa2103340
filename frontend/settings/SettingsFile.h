// The program's settings file: an INI file beside the program (VLConverter.cfg for VLConverter.exe), read and
// written key by key through the platform's private-profile calls. The program keeps no copy of its contents.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

namespace vlc {

// Sections and keys, in the order in which the main window writes them.
inline constexpr const char* OptionsSection = "Options";
inline constexpr const char* PathsSection = "Paths";

inline constexpr const char* HandRangeKey = "HandRange";
inline constexpr const char* FileSplittingKey = "FileSplitting";
inline constexpr const char* FirstHandsValueKey = "FirstHandsValue";
inline constexpr const char* LastHandsValueKey = "LastHandsValue";
inline constexpr const char* MinRangeValueKey = "MinRangeValue";
inline constexpr const char* MaxRangeValueKey = "MaxRangeValue";
inline constexpr const char* SplitFilesValueKey = "SplitFilesValue";
inline constexpr const char* HandsPerFileValueKey = "HandsPerFileValue";
inline constexpr const char* FixSmallBlindKey = "FixSmallBlind";
inline constexpr const char* Make6MaxKey = "Make6Max";
inline constexpr const char* RealMoneyKey = "RealMoney";
inline constexpr const char* MuckHandsKey = "MuckHands";
inline constexpr const char* SaveAllHoleCardsKey = "SaveAllHoleCards";
// Present (and "yes") only while the system menu's "Tracker-safe output" is on.
inline constexpr const char* TrackerSafeOutputKey = "TrackerSafeOutput";
inline constexpr const char* VelmoraLogFolderKey = "VelmoraLogFolder";
inline constexpr const char* VelmoraLogFileKey = "VelmoraLogFile";
inline constexpr const char* PartyPokerLogFolderKey = "PartyPokerLogFolder";
inline constexpr const char* PartyPokerLogFileKey = "PartyPokerLogFile";

// Read sizes: the buffer size of a read, so a value is cut to one character less.
inline constexpr DWORD WordReadSize = 63;   // HandRange, FileSplitting
inline constexpr DWORD IntReadSize = 64;    // the six number keys
inline constexpr DWORD FlagReadSize = 8;    // the five option flags
inline constexpr DWORD PathReadSize = 260;  // the four [Paths] keys

// The words of HandRange and FileSplitting. Any other word reads as the first value of each.
enum class HandRange : std::uint8_t { AllHands, FirstHands, LastHands, RangeHands };
enum class FileSplitting : std::uint8_t { OneBigFile, SplitFiles, HandsPerFile };

// Compared ignoring case; an unknown or missing word gives AllHands / OneBigFile.
HandRange handRangeFromWord(const char* word);
FileSplitting fileSplittingFromWord(const char* word);
// The word written for a value.
const char* handRangeWord(HandRange range);
const char* fileSplittingWord(FileSplitting splitting);

// True for "y", "yes", "true" and "on", ignoring case; false for any other text (also "1" or "no").
bool flagFromText(const char* text);
// An optional '-' followed by decimal digits only (a lone "-" reads as 0), within 32 bits; anything else
// (a '+', a blank, a letter, a decimal point, an empty text, a value out of range) is not an integer.
std::optional<std::int32_t> integerFromText(const char* text);

struct SettingsFile {
    std::optional<std::string> path;  // none until the main window sets it

    // Every operation does nothing and returns false when the section or the key is missing or there is
    // no path. A key is absent when there is no file, no such section or key, or its value is empty.

    // Copies at most size - 1 characters of the value into buffer; true when at least one was read.
    bool readString(const char* section, const char* key, char* buffer, DWORD size) const;
    // Reads at most 7 characters by the flag rule; false when absent, leaving result untouched.
    bool readBool(const char* section, const char* key, bool& result) const;
    // Reads at most 63 characters; true when present and an integer, with result set to it.
    bool readInt(const char* section, const char* key, std::int32_t& result) const;
    // Reads a word of at most 62 characters; the key's default when absent.
    HandRange readHandRange() const;
    FileSplitting readFileSplitting() const;

    // Writes the decimal text of value. True when the platform reports success.
    bool writeInt(const char* section, const char* key, std::int32_t value) const;
    // Writes text as it stands; also false when text is missing. Creates the file and the section when
    // needed, replaces the key's value or appends the key; other lines stay as they are.
    bool writeString(const char* section, const char* key, const char* text) const;
    // Takes the key out of the section; true when the platform reports success (also when it was absent).
    bool removeKey(const char* section, const char* key) const;
};

}  // namespace vlc
