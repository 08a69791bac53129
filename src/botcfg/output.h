// How botcfg prints texts that come from a file or a message box: one line each, safe for a
// terminal, and as JSON.
#pragma once

#include "config_document.h"

#include <string>

namespace botcfg {

// A message box text on one line. A CR LF after a colon becomes a space ("Invalid line:
// melee 5"); any other becomes ": " ("File: "x" could not be saved: Permission denied").
std::string OneLine(const std::string &text);

// The text with every control character except the tab written as \xNN, so that a file's
// bytes cannot steer the terminal they are printed on.
std::string Printable(const std::string &text);

// "FILE:LINE: text", or "FILE: text" where no line is to blame; the text on one line and
// printable.
std::string MessageLine(const std::string &path, const Message &message);

// A JSON string literal. Bytes above 127 are read as the Latin-1 characters of the same
// number (the files are single-byte text) and, like control characters, written as \uXXXX,
// so the output is plain ASCII.
std::string JsonString(const std::string &bytes);

} // namespace botcfg
