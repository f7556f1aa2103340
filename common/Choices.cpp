#include "common/Choices.h"

namespace common {
namespace {

// In the order of Count. "<blank>" stands for the edit the number is typed into.
constexpr CountRule Rules[] = {
    {1, "\"The first <blank> hands\" must be greater than 0."},
    {1, "\"The last <blank> hands\" must be greater than 0."},
    {2, "\"Split the hands between <blank> files\" must be greater than 1."},
    {1, "\"Save <blank> hands per file\" must be greater than 0."},
};

}  // namespace

const CountRule& countRule(Count count) {
    return Rules[static_cast<int>(count)];
}

const char* countError(Count count, std::int64_t value) {
    const CountRule& rule = countRule(count);
    return value < rule.smallest ? rule.tooSmall : nullptr;
}

}  // namespace common
