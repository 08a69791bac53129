#include "core/text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <system_error>

namespace voltara {

namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// For a numeric text whose value lies outside the range of a double: true when it is too large
// (its decimal order of magnitude is above 0), false when too small.
bool IsBeyondTheLargest(std::string_view text)
{
    std::size_t i = text.front() == '-' ? 1 : 0;
    long long magnitude = 0; // digits before the point, or minus the zeros after it
    bool significant = false;
    bool after_point = false;
    for (; i < text.size() && (IsDigit(text[i]) || text[i] == '.'); ++i) {
        if (text[i] == '.') {
            after_point = true;
        } else if (!significant && text[i] == '0') {
            magnitude -= after_point ? 1 : 0;
        } else {
            significant = true;
            if (after_point)
                break;
            ++magnitude;
        }
    }
    while (i < text.size() && text[i] != 'e' && text[i] != 'E')
        ++i;
    long long exponent = 0;
    const bool negative = i + 1 < text.size() && text[i + 1] == '-';
    for (i += i + 1 < text.size() && (text[i + 1] == '-' || text[i + 1] == '+') ? 2 : 1;
         i < text.size(); ++i)
        exponent = std::min<long long>(exponent * 10 + (text[i] - '0'), 1000000000000LL);
    return magnitude + (negative ? -exponent : exponent) > 0;
}

} // namespace

std::string_view TrimmedSpaces(std::string_view text)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

bool IsNumericText(std::string_view text)
{
    text = TrimmedSpaces(text);
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    int digits = 0;
    bool point = false;
    for (; i < text.size(); ++i) {
        if (IsDigit(text[i]))
            ++digits;
        else if (text[i] == '.' && !point)
            point = true;
        else
            break;
    }
    if (digits == 0)
        return false;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            ++i;
        int exponent_digits = 0;
        for (; i < text.size() && IsDigit(text[i]); ++i)
            ++exponent_digits;
        if (exponent_digits == 0)
            return false;
    }
    return i == text.size();
}

std::optional<double> NumericValue(std::string_view text)
{
    if (!IsNumericText(text))
        return std::nullopt;
    // from_chars ignores the locale: a Qt program runs under the user's locale, where strtod
    // would stop at the "." of "2.5" wherever the decimal separator is a comma.
    text = TrimmedSpaces(text);
    if (text.front() == '+')
        text.remove_prefix(1);
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error == std::errc::result_out_of_range) {
        // Still a number: one too large for a double is as large as a double gets, one too
        // small is nothing.
        value = IsBeyondTheLargest(text) ? HUGE_VAL : 0.0;
        return text.front() == '-' ? -value : value;
    }
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::optional<int> ToWholeNumber(std::string_view text)
{
    const auto value = NumericValue(text);
    if (!value || *value < -2147483648.0 || *value > 2147483647.0)
        return std::nullopt;
    const double rounded = std::nearbyint(*value); // default rounding: halves to even
    if (rounded < -2147483648.0 || rounded > 2147483647.0)
        return std::nullopt;
    return static_cast<int>(rounded);
}

bool ParseConfigLine(std::string_view &line)
{
    if (!line.empty() && line.front() == '#')
        return true;
    line = TrimmedSpaces(line);
    return line.empty();
}

namespace {

std::string_view WithoutByteOrderMark(std::string_view content)
{
    static constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (content.substr(0, kByteOrderMark.size()) == kByteOrderMark)
        content.remove_prefix(kByteOrderMark.size());
    return content;
}

} // namespace

std::vector<std::string> SplitLines(std::string_view content)
{
    LineReader reader(content);
    std::vector<std::string> lines;
    while (const auto line = reader.NextLine())
        lines.emplace_back(*line);
    return lines;
}

bool IsWholeNumberIn(std::string_view text, int first, int last)
{
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() && value >= first
        && value <= last && text == std::to_string(value);
}

bool SplitKeyValue(std::string_view line, std::string_view &key, std::string_view &value)
{
    const std::size_t space = line.find(' ');
    if (space == std::string_view::npos)
        return false;
    key = line.substr(0, space);
    value = line.substr(space + 1);
    return true;
}

LineReader::LineReader(std::string_view content)
    : rest_(WithoutByteOrderMark(content))
{
}

std::size_t LineReader::NextOf(char end, std::size_t &known)
{
    // A line end found further on stays valid until the reader passes it, so each byte is
    // searched once per kind of end, however the file mixes them.
    if (known == kUnknown) {
        const void *found = std::memchr(rest_.data(), end, rest_.size());
        known = found ? static_cast<std::size_t>(static_cast<const char *>(found) - rest_.data())
                      : rest_.size();
    }
    return known;
}

void LineReader::Advance(std::size_t bytes)
{
    rest_.remove_prefix(bytes);
    for (std::size_t *known : {&next_cr_, &next_lf_})
        *known = *known >= bytes && *known != kUnknown ? *known - bytes : kUnknown;
}

std::optional<std::string_view> LineReader::NextLine()
{
    if (rest_.empty())
        return std::nullopt;
    const std::size_t end = std::min(NextOf('\r', next_cr_), NextOf('\n', next_lf_));
    const std::string_view line = rest_.substr(0, end);
    const bool cr_lf = end + 1 < rest_.size() && rest_[end] == '\r' && rest_[end + 1] == '\n';
    Advance(std::min(end + (cr_lf ? 2 : 1), rest_.size()));
    ++lines_read_;
    return line;
}

std::optional<std::string_view> LineReader::NextKept()
{
    while (auto line = NextLine()) {
        if (!ParseConfigLine(*line)) {
            line_ = lines_read_;
            return line;
        }
    }
    line_ = 0;
    return std::nullopt;
}

} // namespace voltara
