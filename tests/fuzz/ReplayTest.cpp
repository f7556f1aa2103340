// The fuzz targets' checks, built with the normal compiler and run over the seed corpus (fuzz/corpus) and
// every input that once made a target fail (tests/data/fuzz), so the normal and sanitizer test runs catch a
// fault found by fuzzing coming back.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "support/TestSupport.h"

extern "C" int noxiFuzzIntakeInit(int* argc, char*** argv);
extern "C" int noxiFuzzIntake(const std::uint8_t* data, std::size_t size);
extern "C" int noxiFuzzConvertInit(int* argc, char*** argv);
extern "C" int noxiFuzzConvert(const std::uint8_t* data, std::size_t size);

namespace noxi::test {
namespace {

// Runs the target over its seed corpus and past findings, in name order. A broken check aborts the program
// with its message; the name of the input is printed before each run.
void replay(const std::string& target, int (*run)(const std::uint8_t*, std::size_t)) {
    std::vector<fs::path> inputs;
    for (const fs::path& folder : {fs::path(NOXI_SOURCE_DIR) / "fuzz" / "corpus" / target,
                                   fs::path(NOXI_TEST_DATA) / "fuzz" / target}) {
        if (!fs::is_directory(folder)) continue;
        for (const auto& entry : fs::directory_iterator(folder))
            inputs.push_back(entry.path());
    }
    std::sort(inputs.begin(), inputs.end());
    ASSERT_FALSE(inputs.empty()) << "no inputs for " << target;
    for (const fs::path& input : inputs) {
        std::cout << "replaying " << input.string() << std::endl;
        const std::string bytes = readFile(input);
        run(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    }
}

TEST(FuzzReplay, Intake) {
    noxiFuzzIntakeInit(nullptr, nullptr);
    replay("intake", noxiFuzzIntake);
}

TEST(FuzzReplay, Convert) {
    noxiFuzzConvertInit(nullptr, nullptr);
    replay("convert", noxiFuzzConvert);
}

}  // namespace
}  // namespace noxi::test
