// The files a followed log's hands are appended to: the output file (or the numbered files of so many hands
// each), or one file per table and day in a folder, which a tracker's auto-import picks up table by table.
// Hands are appended whole, the first of a file without the line that parts it from the hand before. A file
// gets its closing line "Table Closed" only when it is complete (a folder's file when its table starts a new
// day) or when following ends, and loses it again when following resumes, so a tracker never reads it in
// the middle of a file. Files are opened only while hands are written to them, so a tracker may move them
// away in between; a hand for a file no longer there starts it anew.
#pragma once

#include <cstdint>
#include <ctime>
#include <map>
#include <string>
#include <string_view>

#include "frame/FollowState.h"

namespace noxi {

// The name of a folder's file for a table and a day: the table's name with characters a file name cannot
// hold replaced, and the date ("Table Anna 2026-12-07.txt").
std::string tableDayFileName(std::string_view table, int year, int month, int day);

class LiveOutput {
public:
    struct Place {
        std::string output;  // the output file, or the name the numbered files are made from
        std::string folder;  // when not empty: one file per table and day in this folder instead
        bool singleFile = true;
        std::uint32_t handsPerFile = 0;  // for the numbered files; 0 for one file
    };

    explicit LiveOutput(Place place) : place_(std::move(place)) {}

    // Takes up the files a former run left, as its state tells: each is cut back to the size told, which
    // takes off its closing line and anything written after the state was saved. False with the reason.
    bool resume(const FollowState& state, std::string& error);

    // Adds a hand: its history with the line that parts it from the hand before, its table and its local
    // start time. It reaches its file with the next flush.
    void add(std::string_view history, const std::string& table, const std::tm& start);
    // Appends the hands added to their files and puts them on the disk. Busy when a file cannot be opened
    // (a tracker may hold it while it imports): its hands wait for the next flush. Failed with the reason.
    enum class Flushed { Yes, Busy, Failed };
    Flushed flush(std::string& error);
    // Ends every file being written with its closing line (when following ends); false with the reason.
    bool closeAll(std::string& error);

    // The files being written, for the state.
    void describe(FollowState& state) const;

private:
    struct Target {
        std::uint64_t size = 0;  // what the file holds of this run's hands, without its closing line
        std::uint32_t hands = 0;
        std::string table;     // in a folder of tables: the table whose day it holds
        std::string pending;   // hands added, not yet in the file
        bool closing = false;  // complete: gets its closing line with the next flush
        bool known = false;    // written by this run or the one it resumes, so appended to
        platform::FileIdentity identity;
    };

    // The file the next hand goes to, for the numbered files.
    std::string numberedFile();
    Flushed writeTarget(const std::string& path, Target& target, std::string& error);

    Place place_;
    std::map<std::string, Target> targets_;          // by path
    std::map<std::string, std::string> tableFiles_;  // a table's file of its latest day, by table
    std::uint32_t fileNumber_ = 0;
};

}  // namespace noxi
