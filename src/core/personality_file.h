// Reading and writing bot_personality.cfg.
#pragma once

#include "core/config_file.h"
#include "core/host.h"
#include "core/personality.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace voltara {

// What the personality reader and the presets ask of Tavrin's window.
class PersonalityView : public virtual Host
{
public:
    // Shows default-personality option 0 (Random) or 1..9 as selected, or none for -1. The
    // reader has already stored the option's value; the view only reflects it.
    virtual void SelectDefaultOption(int option) = 0;
    // Puts record number (decimal text) into the controls.
    virtual void ShowPersonality(const std::string &number) = 0;
};

// Reads a personality file into config.Bots and config.DefaultPersonality, reporting a missing
// file, unrecognised keys and damaged files through the view (with the line where one is to
// blame), repairing the records, and finally selecting the default option and showing
// personality 1. A reading that fails before the first section repairs the records too, but
// selects and shows nothing.
ReadOutcome ReadPersonalityFile(
    PersonalityConfig &config, const std::string &path, PersonalityView &view);

// The reading itself, on content already loaded (LoadedPath is not touched).
ReadOutcome ReadPersonality(
    PersonalityConfig &config, std::string_view content, PersonalityView &view);

// Tavrin's start-up of its configuration: BuildConfigPath for the program's folder, then the
// file read (ConfigPath unless another path is given), then personality 1 current whatever the
// reading gave. Every front end that opens a personality file as the editor does calls this.
ReadOutcome StartPersonalityConfig(PersonalityConfig &config, const std::string &program_folder,
    PersonalityView &view, const std::optional<std::string> &path = std::nullopt);

// Stores one key line into DefaultPersonality or the record of CurrentBot, or reports it as
// an invalid line (of the file's line number line, 0 for none). Throws IndexError when
// CurrentBot is outside 1..9, whatever the key.
void ApplyConfigLine(PersonalityConfig &config, std::string_view key, std::string_view value,
    Host &host, std::size_t line = 0);

// The default-personality option that a text names: 0 for "-1" or anything that rounds to 0,
// 1..9 for those numbers, -1 when it names no option.
int DefaultOptionOf(const std::string &default_personality);

// The lines of the file as personality_layout.h lays them out, without line ends.
std::vector<std::string> PersonalityFileLines(const PersonalityConfig &config);

// Writes the whole file (".cfg" appended where missing) and reports the outcome. A file that
// another program has written since it was read or saved here (config.Known) is overwritten
// only when the host agrees. Returns whether the file was written.
bool WritePersonalityFile(PersonalityConfig &config, const std::string &name, Host &host);

} // namespace voltara
