// How the Credits window reads the game's titles file: the search for the line "Credits", the
// first page and the scroll step. Plain C++, so the reading can be tested and fuzzed without
// a window.
#pragma once

#include "platform/read.h"

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace voltara {

inline constexpr std::size_t kCreditPageLines = 14;
inline constexpr std::string_view kCreditsMarker = "Credits";

// The open titles file, read line by line with the line rule of the configuration files (CR
// LF, a lone CR or a lone LF ends a line; a leading UTF-8 byte-order mark is skipped). A file
// is read as the lines are asked for, so that a titles file of any size scrolls in bounded
// memory; a line longer than TextFileReader::kMaxLineBytes is cut there.
class TitlesStream
{
public:
    // Opens the file. On failure returns false, sets reason and leaves the stream closed.
    bool Open(const std::string &path, std::string &reason);
    // Opens text that is already in memory.
    void OpenText(std::string_view content);
    // Closing a stream that is not open does nothing.
    void Close();
    bool IsOpen() const { return open_; }
    // True after the last line, and whenever no file is open.
    bool AtEnd() const { return !open_ || !pending_; }
    // The next line; nullopt when AtEnd().
    std::optional<std::string> ReadLine();

private:
    // The line after the one handed out last, so that AtEnd can tell the end before it comes.
    void Advance();

    TextFileReader file_;
    std::vector<std::string> lines_; // text given in memory
    std::size_t next_ = 0;
    std::optional<std::string> pending_;
    bool open_ = false;
};

// What the Credits window keeps for the whole run: closing the window does not lose it, and
// the next showing finds the values of the last one.
struct CreditsState
{
    std::array<std::string, kCreditPageLines> CreditLines;
    std::string TitlesPath;
    std::string LastLine;
    bool Closing = false;
    bool ScrollWasRunning = false;
    TitlesStream Titles;
};

// From the open stream: skips to the line that is exactly "Credits", skips the line after it,
// and reads the 14 lines of the first page into CreditLines. After every page line, show gets
// the page text so far, each line followed by a line break ("\n"). Returns false when the
// file ends before all of that is read; what was shown stays shown.
bool ReadFirstPage(CreditsState &state, const std::function<void(const std::string &)> &show);

// Moves the page up by one line and reads the next line into the bottom entry. Returns the new
// page text (lines joined by "\n", none after the last), or nullopt when the scroll ends: at
// the end of the file, with Closing set, or with no file open. The stream is then closed and
// the last page stays as it was.
std::optional<std::string> ScrollStep(CreditsState &state);

// The start delay for a scroll interval in milliseconds: 7.5 times it, halves to the even
// neighbour (400 gives 3000).
int StartDelayInterval(int scroll_interval);

} // namespace voltara
