// IsNumericText against an independent statement of the same rule, and ToWholeNumber against
// the C library's reading of every text the rule accepts.
#include "core/text.h"
#include "fuzz_common.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <regex>

using namespace voltara;
using namespace voltara::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char *>(data), size);
    static const std::regex kNumber(R"( *[+-]?([0-9]+\.?[0-9]*|\.[0-9]+)([eE][+-]?[0-9]+)? *)");
    const bool expected = std::regex_match(text, kNumber);
    Check(IsNumericText(text) == expected, "IsNumericText matches the rule", text);

    const auto whole = ToWholeNumber(text);
    Check(!whole || expected, "only numeric texts have a whole number", text);
    if (whole) {
        const double value = std::strtod(text.c_str(), nullptr);
        Check(std::fabs(value - *whole) <= 0.5, "whole number is the nearest", text);
    }
    return 0;
}
