#include "text.h"

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

std::string_view TrimSpaces(std::string_view text)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

} // namespace

bool IsNumericText(std::string_view text)
{
    text = TrimSpaces(text);
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
    text = TrimSpaces(text);
    if (text.front() == '+')
        text.remove_prefix(1);
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
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

bool ParseConfigLine(std::string &line)
{
    if (!line.empty() && line.front() == '#')
        return true;
    const std::string_view trimmed = TrimSpaces(line);
    if (trimmed.empty())
        return true;
    line = std::string(trimmed);
    return false;
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
    content = WithoutByteOrderMark(content);
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < content.size(); ++i) {
        const char c = content[i];
        if (c != '\r' && c != '\n')
            continue;
        lines.emplace_back(content.substr(start, i - start));
        if (c == '\r' && i + 1 < content.size() && content[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < content.size())
        lines.emplace_back(content.substr(start));
    return lines;
}

bool SplitKeyValue(const std::string &line, std::string &key, std::string &value)
{
    std::string_view key_view, value_view;
    if (!SplitKeyValue(std::string_view(line), key_view, value_view))
        return false;
    key = key_view;
    value = value_view;
    return true;
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

namespace {

std::size_t Find(std::string_view text, char c, std::size_t from)
{
    if (from >= text.size())
        return std::string_view::npos;
    const void *found = std::memchr(text.data() + from, c, text.size() - from);
    return found ? static_cast<std::size_t>(static_cast<const char *>(found) - text.data())
                 : std::string_view::npos;
}

} // namespace

LineReader::LineReader(std::string_view content)
    : content_(WithoutByteOrderMark(content))
    , cr_(Find(content_, '\r', 0))
    , lf_(Find(content_, '\n', 0))
{
}

// memchr finds a line end far faster than a loop over the bytes, and each end is searched
// for once: a reader skips most lines of a file (comments, blanks) without a copy.
void LineReader::findNext(char c, std::size_t &position)
{
    if (position == std::string_view::npos || position >= next_)
        return;
    position = Find(content_, c, next_);
}

std::optional<std::string_view> LineReader::nextLine()
{
    if (next_ >= content_.size())
        return std::nullopt;
    findNext('\r', cr_);
    findNext('\n', lf_);
    const std::size_t end = std::min(cr_, lf_);
    if (end == std::string_view::npos) {
        const std::string_view last = content_.substr(next_);
        next_ = content_.size();
        return last;
    }
    const std::string_view line = content_.substr(next_, end - next_);
    const bool crlf =
        content_[end] == '\r' && end + 1 < content_.size() && content_[end + 1] == '\n';
    next_ = end + (crlf ? 2 : 1);
    return line;
}

// The same rule as ParseConfigLine, on a view of the line.
std::optional<std::string_view> LineReader::NextKeptView()
{
    while (const auto line = nextLine()) {
        if (!line->empty() && line->front() == '#')
            continue;
        const std::string_view trimmed = TrimSpaces(*line);
        if (!trimmed.empty())
            return trimmed;
    }
    return std::nullopt;
}

std::optional<std::string> LineReader::NextKept()
{
    const auto line = NextKeptView();
    if (!line)
        return std::nullopt;
    return std::string(*line);
}

} // namespace voltara
