// The game platform's registry entries, read only, and the titles file they lead to.
//
// On Windows the values come from the system registry. On Linux, where a player runs the game
// under Wine, they come from the Wine prefix the game lives in: the registry files of
// $WINEPREFIX, else of ~/.wine, and a Windows path found there is mapped to the prefix's
// dosdevices folder.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace voltara {

enum class RegistryRoot { CurrentUser, LocalMachine };

// Texts the registry gives must fit a buffer of this size, terminating NUL included: a value
// of kRegistryBufferSize bytes or more reads as the empty string.
inline constexpr std::size_t kRegistryBufferSize = 255;

// The text of a value, up to its first NUL character. Every failure gives the empty string: a
// missing key or value, a value too long for the buffer, and on Linux a missing prefix or file
// and a value that is not a string. Keys and value names compare without regard to case; the
// subkey uses single backslashes ("Software\Brassmoor\Arena"), the empty value name is the
// key's default value. Never throws.
std::string GetRegistryString(
    RegistryRoot root, const std::string &subkey, const std::string &value_name);

#ifndef _WIN32
// The Wine prefix: $WINEPREFIX when set and not empty, else ~/.wine; "" when neither is known.
std::string WinePrefix();

// The string value of a key in the text of a Wine registry file (user.reg, system.reg): the
// section "[Software\\Brassmoor\\Arena] <time>" (backslashes doubled) and its value lines
// "\"InstallPath\"=\"C:\\\\Games\"" with Wine's string escapes. The result is UTF-8. Gives the
// empty string on every failure, as GetRegistryString does.
std::string FindRegistryString(
    std::string_view reg_text, std::string_view subkey, std::string_view value_name);

// A Windows path as a path on this system: "X:\dir\sub" becomes
// "<prefix>/dosdevices/x:/dir/sub", "\\server\share" becomes "<prefix>/dosdevices/unc/server/share";
// any other text keeps its characters with every backslash turned into a slash.
std::string HostPathOfWindowsPath(const std::string &windows_path, const std::string &prefix);
#endif

// The registry entries, all under the current user, that may name the game's installation
// folder, in the order they are tried.
struct InstallEntry
{
    const char *subkey;
    const char *value_name;
};
inline constexpr InstallEntry kInstallEntries[] = {
    {"Software\\Brassmoor\\Skirmish", "InstallPath"   },
    {"Software\\Brassmoor\\Arena",    "InstallPath"   },
    {"Software\\Brassmoor\\Launcher", "ModInstallPath"},
};

// The titles file below an installation folder as the registry names it: the text followed
// by "\voltara\titles.txt", on Linux mapped into the Wine prefix. An empty text gives the path
// from the root, "\voltara\titles.txt" ("/voltara/titles.txt" on Linux); a text that ends in a
// backslash keeps it, so the separator is doubled.
std::string TitlesCandidate(const std::string &install_path);

// Tries every entry of kInstallEntries in order; the last whose candidate is a regular file
// wins. "" when none exists.
std::string FindTitlesFile();

} // namespace voltara
