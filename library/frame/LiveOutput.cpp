#include "frame/LiveOutput.h"

#include <cstdio>

#include "frame/Conversion.h"
#include "platform/Platform.h"

namespace noxi {
namespace {

constexpr std::string_view ClosingLine = "Table Closed\r\n";

// The file at path opened for appending, or made when it is not there.
bool openTarget(const std::string& path, platform::OutputFile& file) {
    return file.openForAppend(path.c_str()) || file.create(path.c_str());
}

}  // namespace

std::string tableDayFileName(std::string_view table, int year, int month, int day) {
    std::string name;
    for (const char c : table) {
        const auto byte = static_cast<unsigned char>(c);
        const bool forbidden = byte < 32 || std::string_view("<>:\"/\\|?*").find(c) != std::string_view::npos;
        name += forbidden ? '_' : c;
    }
    // Windows drops blanks and full stops at the end of a name; a name must not be empty.
    while (!name.empty() && (name.back() == ' ' || name.back() == '.'))
        name.pop_back();
    if (name.empty()) name = "Table";
    char date[32];
    std::snprintf(date, sizeof date, " %04d-%02d-%02d.txt", year, month, day);
    return name + date;
}

bool LiveOutput::resume(const FollowState& state, std::string& error) {
    fileNumber_ = state.fileNumber;
    for (const FollowState::File& file : state.files) {
        // A file no longer there was moved away (a tracker's import may do that): the next hand for it
        // starts it anew.
        platform::FileIdentity now;
        if (!platform::fileIdentity(file.path.c_str(), now)) continue;
        // Another file under its name (a conversion into the same file) is not cut back to what this state
        // knows of.
        if (!(now == file.identity)) {
            error = "the hand history file '" + file.path +
                    "' was replaced since following stopped; follow into another file, or remove the follow "
                    "state to start again";
            return false;
        }
        platform::OutputFile out;
        if (!out.openForAppend(file.path.c_str())) {
            error = "cannot take up the file '" + file.path + "'";
            return false;
        }
        Target target;
        target.size = std::min(out.size(), file.size);
        target.hands = file.hands;
        target.known = true;
        target.identity = file.identity;
        if (out.size() > target.size && !(out.truncate(target.size) && out.close())) {
            error = "cannot take up the file '" + file.path + "'";
            return false;
        }
        targets_[file.path] = std::move(target);
        if (!file.table.empty()) tableFiles_[file.table] = file.path;
    }
    return true;
}

std::string LiveOutput::numberedFile() {
    if (fileNumber_ == 0) fileNumber_ = 1;
    std::string path = place_.singleFile ? place_.output : splitFileName(place_.output, fileNumber_);
    if (place_.handsPerFile > 0 && targets_[path].hands >= place_.handsPerFile) {
        targets_[path].closing = true;
        path = splitFileName(place_.output, ++fileNumber_);
    }
    return path;
}

void LiveOutput::add(std::string_view history, const std::string& table, const std::tm& start) {
    std::string path;
    if (place_.folder.empty()) {
        path = numberedFile();
    } else {
        path = place_.folder + "/" +
               tableDayFileName(table, start.tm_year + 1900, start.tm_mon + 1, start.tm_mday);
        // A table's file of a former day is complete once the table plays on a new day.
        auto [known, added] = tableFiles_.try_emplace(table, path);
        if (!added && known->second != path) {
            targets_[known->second].closing = true;
            known->second = path;
        }
    }
    Target& target = targets_[path];
    target.table = place_.folder.empty() ? std::string() : table;
    target.pending += history;
    ++target.hands;
}

LiveOutput::Flushed LiveOutput::writeTarget(const std::string& path, Target& target, std::string& error) {
    platform::OutputFile file;
    // A complete file moved away meanwhile needs no closing line of its own.
    if (target.pending.empty() && !file.openForAppend(path.c_str())) return Flushed::Yes;
    // A file this run has not written yet is written anew, as a conversion writes its output; one it was
    // writing is appended to, whatever a tracker made of it meanwhile.
    const bool opened = file.isOpen() || (target.known ? openTarget(path, file) : file.create(path.c_str()));
    if (!opened) {
        if (platform::heldByAnotherProgram()) return Flushed::Busy;
        error = "cannot write the hand history file '" + path + "'";
        return Flushed::Failed;
    }
    target.known = true;
    std::string_view hands = target.pending;
    // The first hand of a file goes without the line that parts it from the hand before.
    if (file.size() == 0 && !hands.empty()) hands.remove_prefix(hands.find("\r\n") + 2);
    const bool written =
        file.write(hands.data(), hands.size()) == hands.size() &&
        (!target.closing || file.write(ClosingLine.data(), ClosingLine.size()) == ClosingLine.size()) &&
        file.sync();
    target.size = file.size() - (target.closing ? ClosingLine.size() : 0);
    const bool closed = file.close();
    if (!written || !closed) {
        error = "cannot write the hand history file '" + path + "'";
        return Flushed::Failed;
    }
    platform::fileIdentity(path.c_str(), target.identity);
    target.pending.clear();
    return Flushed::Yes;
}

LiveOutput::Flushed LiveOutput::flush(std::string& error) {
    Flushed flushed = Flushed::Yes;
    for (auto it = targets_.begin(); it != targets_.end();) {
        Target& target = it->second;
        if (!target.pending.empty() || target.closing) {
            const Flushed written = writeTarget(it->first, target, error);
            if (written == Flushed::Failed) return written;
            if (written == Flushed::Busy) {
                error = "cannot open the hand history file '" + it->first + "'";
                flushed = Flushed::Busy;
                ++it;
                continue;
            }
        }
        // A complete file is done with.
        it = target.closing ? targets_.erase(it) : std::next(it);
    }
    return flushed;
}

bool LiveOutput::closeAll(std::string& error) {
    if (flush(error) != Flushed::Yes) return false;
    for (auto& [path, target] : targets_) {
        // A file moved away, or changed by another program, is left as it is.
        platform::OutputFile file;
        if (!file.openForAppend(path.c_str()) || file.size() != target.size) continue;
        if (file.write(ClosingLine.data(), ClosingLine.size()) != ClosingLine.size() || !file.sync() ||
            !file.close()) {
            error = "cannot write the hand history file '" + path + "'";
            return false;
        }
    }
    return true;
}

void LiveOutput::describe(FollowState& state) const {
    state.fileNumber = fileNumber_;
    state.files.clear();
    for (const auto& [path, target] : targets_) {
        if (target.known)
            state.files.push_back({path, target.size, target.hands, target.table, target.identity});
    }
}

}  // namespace noxi
