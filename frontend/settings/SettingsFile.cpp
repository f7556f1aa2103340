#include "settings/SettingsFile.h"

#include <array>
#include <cstdio>
#include <limits>

namespace vlc {
namespace {

char lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// ASCII comparison ignoring case: the words of the settings file are plain letters.
bool equalsIgnoringCase(const char* text, const char* word) {
    if (text == nullptr) return false;
    for (; *text != '\0' && *word != '\0'; ++text, ++word) {
        if (lower(*text) != lower(*word)) return false;
    }
    return *text == *word;
}

constexpr std::array<const char*, 4> HandRangeWords = {"AllHands", "FirstHands", "LastHands", "RangeHands"};
constexpr std::array<const char*, 3> FileSplittingWords = {"OneBigFile", "SplitFiles", "HandsPerFile"};

// Index of text among words, or 0 (the default word) when it is none of them.
template <std::size_t N>
std::size_t wordIndex(const char* text, const std::array<const char*, N>& words) {
    for (std::size_t i = 0; i < N; ++i) {
        if (equalsIgnoringCase(text, words[i])) return i;
    }
    return 0;
}

}  // namespace

HandRange handRangeFromWord(const char* word) {
    return static_cast<HandRange>(wordIndex(word, HandRangeWords));
}

FileSplitting fileSplittingFromWord(const char* word) {
    return static_cast<FileSplitting>(wordIndex(word, FileSplittingWords));
}

const char* handRangeWord(HandRange range) {
    const auto index = static_cast<std::size_t>(range);
    return index < HandRangeWords.size() ? HandRangeWords[index] : HandRangeWords[0];
}

const char* fileSplittingWord(FileSplitting splitting) {
    const auto index = static_cast<std::size_t>(splitting);
    return index < FileSplittingWords.size() ? FileSplittingWords[index] : FileSplittingWords[0];
}

bool flagFromText(const char* text) {
    return equalsIgnoringCase(text, "y") || equalsIgnoringCase(text, "yes") ||
           equalsIgnoringCase(text, "true") || equalsIgnoringCase(text, "on");
}

std::optional<std::int32_t> integerFromText(const char* text) {
    if (text == nullptr || *text == '\0') return std::nullopt;
    const bool negative = *text == '-';
    const char* digit = negative ? text + 1 : text;
    std::int64_t value = 0;
    for (; *digit != '\0'; ++digit) {
        if (*digit < '0' || *digit > '9') return std::nullopt;
        value = value * 10 + (*digit - '0');
        // Beyond 32 bits: no value the program writes, so not an integer rather than a wrapped one.
        if (value > std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1) return std::nullopt;
    }
    if (negative) value = -value;
    if (value > std::numeric_limits<std::int32_t>::max()) return std::nullopt;
    return static_cast<std::int32_t>(value);
}

bool SettingsFile::readString(const char* section, const char* key, char* buffer, DWORD size) const {
    if (section == nullptr || key == nullptr || !path || buffer == nullptr || size == 0) return false;
    buffer[0] = '\0';
    return GetPrivateProfileStringA(section, key, "", buffer, size, path->c_str()) > 0;
}

bool SettingsFile::readBool(const char* section, const char* key, bool& result) const {
    char text[FlagReadSize];
    if (!readString(section, key, text, FlagReadSize)) return false;
    result = flagFromText(text);
    return true;
}

bool SettingsFile::readInt(const char* section, const char* key, std::int32_t& result) const {
    char text[IntReadSize];
    if (!readString(section, key, text, IntReadSize)) return false;
    const auto value = integerFromText(text);
    if (!value) return false;
    result = *value;
    return true;
}

HandRange SettingsFile::readHandRange() const {
    char word[WordReadSize];
    return readString(OptionsSection, HandRangeKey, word, WordReadSize) ? handRangeFromWord(word)
                                                                        : HandRange::AllHands;
}

FileSplitting SettingsFile::readFileSplitting() const {
    char word[WordReadSize];
    return readString(OptionsSection, FileSplittingKey, word, WordReadSize) ? fileSplittingFromWord(word)
                                                                            : FileSplitting::OneBigFile;
}

bool SettingsFile::writeInt(const char* section, const char* key, std::int32_t value) const {
    char text[16];
    std::snprintf(text, sizeof text, "%d", static_cast<int>(value));
    return writeString(section, key, text);
}

bool SettingsFile::writeString(const char* section, const char* key, const char* text) const {
    if (section == nullptr || key == nullptr || !path || text == nullptr) return false;
    return WritePrivateProfileStringA(section, key, text, path->c_str()) != FALSE;
}

bool SettingsFile::removeKey(const char* section, const char* key) const {
    if (section == nullptr || key == nullptr || !path) return false;
    return WritePrivateProfileStringA(section, key, nullptr, path->c_str()) != FALSE;
}

}  // namespace vlc
