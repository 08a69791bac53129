// The header comments both files begin with, as data: fixed lines, and the headings of the keys'
// descriptions, which name each key from the table of settings.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace voltara {

// A line of a header: a fixed text, or "# " and a key followed by the text after.
struct CommentLine
{
    const char *text;
    bool names_key = false;
    const char *after = "";
};

// The header's lines, the start of a file of at most lines_in_file lines.
inline std::vector<std::string> HeaderLines(std::span<const CommentLine> header, int lines_in_file)
{
    std::vector<std::string> lines;
    lines.reserve(static_cast<std::size_t>(lines_in_file));
    for (const CommentLine &line : header)
        lines.push_back(line.names_key ? "# " + std::string(line.text) + line.after : line.text);
    return lines;
}

// Whether the header has exactly one heading for the key.
constexpr bool HeadsOnce(std::span<const CommentLine> header, std::string_view key)
{
    int headings = 0;
    for (const CommentLine &line : header)
        headings += line.names_key && line.text == key;
    return headings == 1;
}

} // namespace voltara
