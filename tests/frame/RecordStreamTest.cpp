// The record stream: records read a batch ahead, their betting decoded on a second thread, come out as
// taking each record in turn gives them, whatever the batch and wherever the log cannot be read.
#include "frame/RecordStream.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frame/LogFixtures.h"

namespace noxi::test {
namespace {

struct Seen {
    std::uint64_t start = 0, next = 0;
    int result = 0;
    bool nextRead = true;
    std::string error;
    bool operator==(const Seen&) const = default;
};

// Every record of the log taken in turn, as the processing step did before the stream.
std::vector<Seen> oneByOne(const std::string& path, const ConversionOptions& options) {
    LogSource source({.blockSize = 16, .mostWindow = 256});
    EXPECT_EQ(source.open(path.c_str()), LogSource::Opened::Yes);
    std::vector<Seen> seen;
    TakenHand hand;
    std::uint64_t offset = 0;
    do {
        Seen record;
        record.start = offset;
        record.result = takeIn(source, offset, hand, options, false);
        record.error = record.result > 0 ? "" : hand.errorText();
        record.nextRead = source.nextRecord(
            offset, record.result > 0 ? static_cast<std::uint64_t>(record.result) : 0, record.next);
        seen.push_back(record);
        offset = record.next;
    } while (seen.back().nextRead && offset < source.size());
    return seen;
}

std::vector<Seen> streamed(const std::string& path, const ConversionOptions& options, std::size_t batch,
                           bool onThread) {
    LogSource source({.blockSize = 16, .mostWindow = 256});
    EXPECT_EQ(source.open(path.c_str()), LogSource::Opened::Yes);
    RecordStream stream(source, options, batch, onThread);
    std::vector<Seen> seen;
    RecordStream::Record record;
    while (stream.next(record) == RecordStream::Got::Record) {
        seen.push_back({.start = record.start,
                        .next = record.next,
                        .result = record.result,
                        .nextRead = record.nextRead,
                        .error = record.result > 0 ? "" : record.hand->errorText()});
    }
    return seen;
}

TEST(RecordStream, RecordsComeOutAsTakenInOneByOne) {
    TempDir temp;
    const std::string nul(1, '\0');
    // Good hands, a damaged line, a hand whose betting does not decode, a run of NULs, blank lines, a hand
    // on a line longer than the widest window, CR-only line ends and a last line without its end.
    const std::string log = goodHands(1, 3) + "junk;\r\n" + handWith(4, {{"SEQ", "SEQ=sBq"}}) + "\n" +
                            std::string(5, '\0') + goodHand(5) + "\n  \n\n" +
                            handWith(6, {{"TABLE", "TABLE=" + std::string(600, 't')}}) + "\r" +
                            goodHands(7, 9, "\r") + goodHand(10);
    writeFile(temp.path() / "GAMES_V3.LOG", log);
    ConversionOptions options;
    const std::vector<Seen> expected = oneByOne(temp.file("GAMES_V3.LOG"), options);
    ASSERT_GE(expected.size(), 12u);
    for (bool onThread : {false, true}) {
        for (std::size_t batch : {1, 2, 3, 5, 64}) {
            EXPECT_EQ(streamed(temp.file("GAMES_V3.LOG"), options, batch, onThread), expected)
                << "batch " << batch << (onThread ? " on a thread" : "");
        }
    }
}

}  // namespace
}  // namespace noxi::test
