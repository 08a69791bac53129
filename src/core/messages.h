// Every text the file rules give the user, in one place: the message boxes of reading, saving
// and the presets, and their captions. The windows show them, botcfg prints them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace voltara::messages {

// The caption of every box that reports a failure.
inline constexpr const char *kErrorCaption = "Error";

inline constexpr const char *kReadError = "Error with reading config file";
inline constexpr const char *kSaved = "File successfully saved";
inline constexpr const char *kUnknownError = "Unknown Error";
inline constexpr const char *kOverwrite = "Overwrite";

// "File: "<path>" doesn't exist": the first line of MissingFileText, all that a front end
// which loads no defaults says.
std::string MissingFileLine(const std::string &path);

// MissingFileLine CR LF "Loading default values".
std::string MissingFileText(const std::string &path);

// "Invalid line:" CR LF key, space, value.
std::string InvalidLineText(std::string_view key, std::string_view value);

// "File: "<path>" was not read" CR LF, and why: it holds size bytes, more than a configuration
// file can hold (limit).
std::string TooLargeText(const std::string &path, std::uint64_t size, std::uint64_t limit);

// "File: "<path>" has been changed by another program ..." CR LF "Overwrite it?": the question
// before a save over a file that another program wrote since this one read or saved it.
std::string ChangedFileText(const std::string &path);

// "File: "<path>" could not be saved" CR LF and the system's reason.
std::string NotSavedText(const std::string &path, const std::string &reason);

} // namespace voltara::messages
