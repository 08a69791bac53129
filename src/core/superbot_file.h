// Reading and writing sbot.cfg.
#pragma once

#include "core/config_file.h"
#include "core/host.h"
#include "core/superbot.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace voltara {

// What the superbot reader asks of Olmach's window.
class SuperbotView : public virtual Host
{
public:
    // Puts the record of tier (decimal text) into the controls.
    virtual void ShowSuperbot(const std::string &tier) = 0;
};

// Reads a superbot file into the tiers, reporting every problem through the view (with the
// line where one is to blame), and always ends with repaired records. A missing file, or a
// reading that reached the first section header, ends with CurrentTier 1 shown. A file that
// fails before its first section header (empty, comments only, another first line,
// unreadable) gives "Error with reading config file" and leaves CurrentTier and the view as
// they were. LoadedPath names the file as soon as it is found to exist.
ReadOutcome ReadSuperbotFile(SuperbotConfig &config, const std::string &path, SuperbotView &view);

// The reading itself, on content already loaded (LoadedPath is not touched). Values stored
// before a failure stay; a key the content lacks keeps its value.
ReadOutcome ReadSuperbot(SuperbotConfig &config, std::string_view content, SuperbotView &view);

// Olmach's start-up of its configuration: InitSuperbotData for the program's folder, then the
// file read (SuperbotConfigPath unless another path is given), then tier 1 current whatever the
// reading gave. Every front end that opens a superbot file as the editor does calls this.
ReadOutcome StartSuperbotConfig(SuperbotConfig &config, const std::string &program_folder,
    SuperbotView &view, const std::optional<std::string> &path = std::nullopt);

// Stores one data line into tier CurrentTier, or reports it as an invalid line (of the file's
// line number line, 0 for none).
void ApplySuperbotLine(SuperbotConfig &config, std::string_view key, std::string_view value,
    Host &host, std::size_t line = 0);

// The lines of the file as superbot_layout.h lays them out, without line ends.
std::vector<std::string> SuperbotFileLines(const SuperbotConfig &config);

// Writes the whole file (a final NUL dropped, ".cfg" appended where missing) and reports the
// outcome: "File successfully saved", or an "Error" box with the path and the reason, the
// target left untouched. A file that another program has written since it was read or saved
// here (config.Known) is overwritten only when the host agrees. Returns whether the file was
// written.
bool WriteSuperbotFile(SuperbotConfig &config, const std::string &name, Host &host);

} // namespace voltara
