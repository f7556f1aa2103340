#include "hand/TextOut.h"

#include <cmath>

namespace noxi {

void appendAmount(std::string& out, double amount) {
    // Enough for any double in fixed notation with two decimals (up to 309 integer digits).
    char text[400];
    if (!(std::fabs(amount) >= 10000) || !std::isfinite(amount)) {
        const auto result = std::to_chars(text, text + sizeof text, amount, std::chars_format::general, 6);
        out.append(text, static_cast<std::size_t>(result.ptr - text));
        return;
    }
    const auto result = std::to_chars(text, text + sizeof text, amount, std::chars_format::fixed, 2);
    const char* end = result.ptr;
    while (end[-1] == '0')
        --end;  // the text has a point, so this stops there at the latest
    if (end[-1] == '.') --end;
    out.append(text, static_cast<std::size_t>(end - text));
}

}  // namespace noxi
