// trackercheck: checks converted hand histories as a tracker's PartyPoker importer reads them.
//
//   trackercheck [--log LOG] [--show N] HISTORY...
//
// With --log, each hand's rake is taken from its line in the Velmora log, and the chips put in less the
// uncalled part and less the chips won must equal it (capped at the pot); without it they must not be
// negative. Prints the number of hands, the faulty ones by kind of fault and the first N faulty hands (5 by
// default). Exit status: 0 when every hand is sound, 1 when some are not or a file cannot be read, 2 for
// wrong arguments.
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "HistoryCheck.h"

namespace {

bool readWhole(const std::string& path, std::string& text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

int usage() {
    std::cerr << "usage: trackercheck [--log LOG] [--show N] HISTORY...\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::string logPath;
    std::size_t show = 5;
    std::vector<std::string> histories;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--log" && i + 1 < argc) {
            logPath = argv[++i];
        } else if (arg == "--show" && i + 1 < argc) {
            show = static_cast<std::size_t>(std::strtoul(argv[++i], nullptr, 10));
        } else if (arg.starts_with("-")) {
            return usage();
        } else {
            histories.push_back(arg);
        }
    }
    if (histories.empty()) return usage();

    std::unordered_map<std::int64_t, std::int64_t> rakes;
    if (!logPath.empty()) {
        std::string log;
        if (!readWhole(logPath, log)) {
            std::cerr << "trackercheck: cannot read " << logPath << "\n";
            return 1;
        }
        rakes = trackercheck::rakesOfLog(log);
    }
    trackercheck::FileResult result;
    for (const std::string& path : histories) {
        std::string text;
        if (!readWhole(path, text)) {
            std::cerr << "trackercheck: cannot read " << path << "\n";
            return 1;
        }
        trackercheck::checkFile(text, logPath.empty() ? nullptr : &rakes, show, result);
    }
    std::cout << result.hands << " hands checked, " << result.faultyHands << " with faults\n";
    for (const auto& [kind, count] : result.faultsByKind)
        std::cout << "  " << kind << ": " << count << "\n";
    for (const trackercheck::HandResult& hand : result.firstFaulty) {
        std::cout << "hand " << hand.id << ":\n";
        for (const std::string& fault : hand.faults)
            std::cout << "  " << fault << "\n";
    }
    return result.faultyHands == 0 ? 0 : 1;
}
