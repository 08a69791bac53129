// How botcfg prints texts that come from a file or a message box: one line each, safe for a
// terminal, and as JSON.
#pragma once

#include "botcfg/document.h"

#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace botcfg {

// Values as get prints them: key and value pairs, and a record's pairs under its section name.
using Pairs = std::vector<std::pair<std::string, std::string>>;
struct Group
{
    std::string name;
    Pairs pairs;
};

// The keys of a record (record 0: the general options) with their values.
Pairs PairsOf(const voltara::ConfigDocument &document, int record);

// "key value" lines, each group after its section line "[NAME]"; values printable.
void PrintPlain(std::ostream &out, const Pairs &pairs, const std::vector<Group> &groups);

// One JSON object: the pairs, then each group as an object under its name.
void PrintJson(std::ostream &out, const Pairs &pairs, const std::vector<Group> &groups,
    const std::string &indent = "");

// A message box text on one line. A CR LF after a colon becomes a space ("Invalid line:
// melee 5"); any other becomes ": " ("File: "x" could not be saved: Permission denied").
std::string OneLine(const std::string &text);

// The text with every control character (the tab among them) written as \xNN, so that a
// file's bytes cannot steer the terminal they are printed on.
std::string Printable(const std::string &text);

// "FILE:LINE: text", or "FILE: text" where no line is to blame; the text on one line and
// printable.
std::string MessageLine(const std::string &path, const Message &message);

// The length of the valid UTF-8 sequence of two to four bytes at text[at], or 0 for none: no
// overlong form, no surrogate, nothing above U+10FFFF.
std::size_t Utf8SequenceAt(std::string_view text, std::size_t at);

// A JSON string literal in UTF-8. Text that is valid UTF-8 passes as it is; a byte above 127
// that starts no valid UTF-8 sequence is read as the Latin-1 character of its number (the
// files are single-byte text in any code page) and written as \u00XX, as control characters
// are.
std::string JsonString(const std::string &bytes);

} // namespace botcfg
