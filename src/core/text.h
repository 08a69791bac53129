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
// not numeric or lies outside the range of a double.
std::optional<double> NumericValue(std::string_view text);

// The value of a numeric text rounded to the nearest whole number, halves to the even
// neighbour; nullopt when the text is not numeric or the number does not fit in an int.
std::optional<int> ToWholeNumber(std::string_view text);

// The line rule of both readers. Returns true when the line is to be skipped (a "#" in the
// first column, or nothing but spaces). Otherwise trims spaces (not tabs) at both ends.
bool ParseConfigLine(std::string &line);

// Splits file content into lines. A line ends at CR LF, a lone CR or a lone LF; the last line
// needs no terminator. A UTF-8 byte-order mark at the very start is skipped.
std::vector<std::string> SplitLines(std::string_view content);

// Splits a kept line at its first space into key and value (the value keeps any further
// spaces). Returns false when the line has no space.
bool SplitKeyValue(const std::string &line, std::string &key, std::string &value);
// The same, as views into the line.
bool SplitKeyValue(std::string_view line, std::string_view &key, std::string_view &value);

// Reads lines one by one through ParseConfigLine, as both readers do, with the line ends of
// SplitLines. The content must outlive the reader.
class LineReader
{
public:
    explicit LineReader(std::string_view content);
    // The next line that ParseConfigLine keeps, trimmed; nullopt at the end of the file.
    std::optional<std::string> NextKept();
    // The same as a view into the content.
    std::optional<std::string_view> NextKeptView();

private:
    std::optional<std::string_view> nextLine();
    void findNext(char c, std::size_t &position);

    std::string_view content_;
    std::size_t next_ = 0; // where the next line starts
    // The first CR and the first LF at or after next_, or npos when there is none.
    std::size_t cr_;
    std::size_t lf_;
};

} // namespace voltara
