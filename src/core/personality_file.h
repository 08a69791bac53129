// Reading and writing bot_personality.cfg.
#pragma once

#include "host.h"
#include "personality.h"

#include <string>
#include <string_view>
#include <vector>

namespace voltara {

// What the personality reader and the presets ask of Tavrin's window.
class PersonalityView : public Host
{
public:
    // Shows default-personality option 0 (Random) or 1..9 as selected, or none for -1. The
    // reader has already stored the option's value; the view only reflects it.
    virtual void SelectDefaultOption(int option) = 0;
    // Puts record number (decimal text) into the controls.
    virtual void ShowPersonality(const std::string &number) = 0;
};

// Reads a personality file into config.Bots and config.DefaultPersonality, reporting a missing
// file, unrecognised keys and damaged files through the view, repairing the records, and
// finally selecting the default option and showing personality 1.
void ReadPersonalityFile(PersonalityConfig &config, const std::string &path, PersonalityView &view);

// The reading itself, on content already loaded (LoadedPath is not touched).
void ReadPersonality(PersonalityConfig &config, std::string_view content, PersonalityView &view);

// Stores one key line into DefaultPersonality or the record of CurrentBot, or reports it as
// an invalid line. Throws IndexError when CurrentBot is outside 1..9, whatever the key.
void ApplyConfigLine(
    PersonalityConfig &config, std::string_view key, std::string_view value, Host &host);

// The default-personality option that a text names: 0 for "-1" or anything that rounds to 0,
// 1..9 for those numbers, -1 when it names no option.
int DefaultOptionOf(const std::string &default_personality);

// The 492 lines of the file, without line ends.
std::vector<std::string> PersonalityFileLines(const PersonalityConfig &config);

// Writes the whole file (".cfg" appended where missing) and reports the outcome. Returns
// whether the file was written.
bool WritePersonalityFile(const PersonalityConfig &config, const std::string &name, Host &host);

} // namespace voltara
