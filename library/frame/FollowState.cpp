#include "frame/FollowState.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <sstream>

namespace noxi {
namespace {

constexpr std::string_view Heading = "vlconvert follow state 1";

std::string hex(std::string_view bytes) {
    static constexpr char Digits[] = "0123456789abcdef";
    std::string text;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        text += Digits[byte >> 4];
        text += Digits[byte & 15];
    }
    return text;
}

bool fromHex(std::string_view text, std::string& bytes) {
    if (text.size() % 2 != 0) return false;
    bytes.clear();
    for (std::size_t k = 0; k < text.size(); k += 2) {
        unsigned value = 0;
        if (std::from_chars(text.data() + k, text.data() + k + 2, value, 16).ptr != text.data() + k + 2)
            return false;
        bytes += static_cast<char>(value);
    }
    return true;
}

template <typename Number>
bool number(std::istringstream& line, Number& value) {
    std::string word;
    line >> word;
    return std::from_chars(word.data(), word.data() + word.size(), value).ptr == word.data() + word.size() &&
           !word.empty();
}

// Writes text as the file at path in one step: a new file beside it takes its name once it is on the disk.
bool replaceWhole(const std::string& path, const std::string& text) {
    const std::string fresh = path + ".new";
    platform::OutputFile file;
    const bool written = file.create(fresh.c_str()) && file.write(text.data(), text.size()) == text.size() &&
                         file.sync() && file.close();
    if (written && platform::replaceFile(fresh.c_str(), path.c_str(), false, 0)) return true;
    file.close();
    platform::removeFile(fresh.c_str());
    return false;
}

}  // namespace

bool loadFollowState(const std::string& path, FollowState& state, std::string& error) {
    state = FollowState{};
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        platform::PathFacts facts;
        if (platform::pathFacts(path.c_str(), facts) && !facts.exists) return true;
        error = "cannot read the follow state '" + path + "'";
        return false;
    }
    std::string text;
    std::getline(in, text);
    if (text != Heading) {
        error = "'" + path + "' is not a follow state of this program";
        return false;
    }
    bool good = true;
    while (good && std::getline(in, text)) {
        std::istringstream line(text);
        std::string key;
        line >> key;
        if (key == "log") {
            good = number(line, state.log.device) && number(line, state.log.file);
        } else if (key == "offset") {
            good = number(line, state.offset);
        } else if (key == "records") {
            good = number(line, state.records);
        } else if (key == "tail") {
            std::string digits;
            line >> digits;
            good = fromHex(digits, state.tail);
        } else if (key == "journal") {
            good = number(line, state.journal);
        } else if (key == "errors") {
            good = number(line, state.errorLog);
        } else if (key == "errorpath") {
            std::string digits;
            good = number(line, state.errorLogIdentity.device) && number(line, state.errorLogIdentity.file) &&
                   static_cast<bool>(line >> digits) && fromHex(digits, state.errorLogPath);
        } else if (key == "numbered") {
            good = number(line, state.fileNumber);
        } else if (key == "file") {
            FollowState::File file;
            std::string table;
            good = number(line, file.size) && number(line, file.hands) &&
                   number(line, file.identity.device) && number(line, file.identity.file) &&
                   static_cast<bool>(line >> table) && (table == "-" || fromHex(table, file.table));
            std::getline(line >> std::ws, file.path);
            good = good && !file.path.empty();
            state.files.push_back(std::move(file));
        } else if (!key.empty()) {
            good = false;
        }
    }
    if (!good) error = "the follow state '" + path + "' is damaged";
    return good;
}

bool saveFollowState(const std::string& path, const FollowState& state) {
    std::ostringstream text;
    text << Heading << '\n'
         << "log " << state.log.device << ' ' << state.log.file << '\n'
         << "offset " << state.offset << '\n'
         << "records " << state.records << '\n'
         << "tail " << hex(state.tail) << '\n'
         << "journal " << state.journal << '\n'
         << "errors " << state.errorLog << '\n'
         << "errorpath " << state.errorLogIdentity.device << ' ' << state.errorLogIdentity.file << ' '
         << hex(state.errorLogPath) << '\n'
         << "numbered " << state.fileNumber << '\n';
    for (const FollowState::File& file : state.files)
        text << "file " << file.size << ' ' << file.hands << ' ' << file.identity.device << ' '
             << file.identity.file << ' ' << (file.table.empty() ? "-" : hex(file.table)) << ' ' << file.path
             << '\n';
    return replaceWhole(path, text.str());
}

bool WrittenHands::open(const std::string& path, std::uint64_t bytes) {
    path_ = path;
    sorted_.clear();
    pending_.clear();
    journalBytes_ = 0;
    platform::InputFile journal;
    if (!journal.open(path.c_str())) {
        platform::PathFacts facts;
        return bytes == 0 && platform::pathFacts(path.c_str(), facts) && !facts.exists;
    }
    const std::int64_t size = journal.size();
    if (size < 0 || static_cast<std::uint64_t>(size) < bytes) return false;
    std::vector<unsigned char> data(static_cast<std::size_t>(bytes - bytes % 4));
    if (journal.readAt(0, reinterpret_cast<char*>(data.data()), data.size()) !=
        static_cast<std::int64_t>(data.size())) {
        return false;
    }
    journal.close();
    for (std::size_t k = 0; k < data.size(); k += 4) {
        sorted_.push_back(static_cast<std::uint32_t>(data[k]) | static_cast<std::uint32_t>(data[k + 1]) << 8 |
                          static_cast<std::uint32_t>(data[k + 2]) << 16 |
                          static_cast<std::uint32_t>(data[k + 3]) << 24);
    }
    std::sort(sorted_.begin(), sorted_.end());
    journalBytes_ = data.size();
    // What was written after the last save counts for nothing: those hands are converted again.
    platform::OutputFile cut;
    return static_cast<std::uint64_t>(size) == journalBytes_ ||
           (cut.openForAppend(path.c_str()) && cut.truncate(journalBytes_) && cut.close());
}

bool WrittenHands::contains(std::uint32_t id) const {
    return std::binary_search(sorted_.begin(), sorted_.end(), id);
}

void WrittenHands::add(std::uint32_t id) {
    pending_.push_back(id);
    // Mostly the numbers come in order.
    if (sorted_.empty() || id > sorted_.back()) {
        sorted_.push_back(id);
    } else {
        sorted_.insert(std::upper_bound(sorted_.begin(), sorted_.end(), id), id);
    }
}

bool WrittenHands::save() {
    if (pending_.empty()) return true;
    std::string bytes;
    for (const std::uint32_t id : pending_) {
        for (int shift = 0; shift < 32; shift += 8)
            bytes += static_cast<char>((id >> shift) & 0xFF);
    }
    platform::OutputFile journal;
    const bool opened = journal.openForAppend(path_.c_str()) ||
                        journal.createNew(path_.c_str()) == platform::OutputFile::Created::Yes;
    if (!opened || journal.write(bytes.data(), bytes.size()) != bytes.size() || !journal.sync() ||
        !journal.close()) {
        return false;
    }
    journalBytes_ += bytes.size();
    pending_.clear();
    return true;
}

}  // namespace noxi
