// Text rules shared by both editors: numeric test, the config line rule, line splitting.
// All text is bytes; nothing here changes a byte it does not have to.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace voltara {

// True when the text converts to a number: spaces around it are ignored, then an optional
// sign, decimal digits with at most one point and at least one digit, and an optional
// exponent (E or e, optional sign, digits). The empty text is not numeric.
bool IsNumericText(std::string_view text);

// The value of a numeric text, independent of the process's locale; nullopt when the text is
// not numeric. A text too large for a double gives infinity, one too small zero, each with the
// text's sign.
std::optional<double> NumericValue(std::string_view text);

// The value of a numeric text rounded to the nearest whole number, halves to the even
// neighbour; nullopt when the text is not numeric or the number does not fit in an int.
std::optional<int> ToWholeNumber(std::string_view text);

// The text without the spaces (not tabs) at its ends.
std::string_view TrimmedSpaces(std::string_view text);

// The line rule of both readers. Returns true when the line is to be skipped (a "#" in the
// first column, or nothing but spaces). Otherwise trims spaces (not tabs) at both ends.
bool ParseConfigLine(std::string_view &line);

// Splits file content into lines. A line ends at CR LF, a lone CR or a lone LF; the last line
// needs no terminator. A UTF-8 byte-order mark at the very start is skipped.
std::vector<std::string> SplitLines(std::string_view content);

// True when the text is the decimal text of a whole number from first to last, written as a
// control writes it: digits without leading zeros, a "-" only before a negative number, nothing
// else ("7", "-1"; not "07", "+7", " 7", "7.0").
bool IsWholeNumberIn(std::string_view text, int first, int last);

// Splits a kept line at its first space into key and value (the value keeps any further
// spaces). Returns false when the line has no space.
bool SplitKeyValue(std::string_view line, std::string_view &key, std::string_view &value);

// Cuts the content into lines as SplitLines describes, one at a time, and hands out those that
// ParseConfigLine keeps, as both readers read. The lines are views into the content, which must
// outlive the reader and them.
class LineReader
{
public:
    explicit LineReader(std::string_view content);
    // The next line as it stands, without its line end; nullopt at the end of the content.
    std::optional<std::string_view> NextLine();
    // The next line that ParseConfigLine keeps, trimmed; nullopt at the end of the file.
    std::optional<std::string_view> NextKept();
    // The number (counted from 1) of the line NextKept returned last; 0 before the first one
    // and once the end of the file has been reached.
    std::size_t LineNumber() const { return line_; }

private:
    static constexpr std::size_t kUnknown = static_cast<std::size_t>(-1);
    // The offset in rest_ of the next byte end, or rest_'s size when there is none.
    std::size_t NextOf(char end, std::size_t &known);
    void Advance(std::size_t bytes);

    std::string_view rest_;
    std::size_t next_cr_ = kUnknown; // offsets in rest_ of the next CR and LF, once searched
    std::size_t next_lf_ = kUnknown;
    std::size_t lines_read_ = 0;
    std::size_t line_ = 0;
};

} // namespace voltara
