// How botcfg's arguments name things: the kind of a file, a record, a setting, a Presets menu
// item. What each thing is and which values it takes are the core's rules.
#pragma once

#include "core/config_document.h"

#include <optional>
#include <string>

namespace botcfg {

// The kind a --kind value names; throws UsageError for another word.
voltara::ConfigKind KindNamed(const std::string &word);
// The word that names a kind: "personality", "superbot".
const char *WordOf(voltara::ConfigKind kind);

// The kind of a file: from kind_option when given, else from the file's name
// ("bot_personality.cfg" or "sbot.cfg", case as given). Throws UsageError when neither tells.
voltara::ConfigKind KindOf(const std::optional<std::string> &kind_option, const std::string &path);

// The kind of two files compared: from kind_option when given, else from the name of either
// file. Throws UsageError when neither tells, or when the names tell two kinds.
voltara::ConfigKind KindOfBoth(
    const std::optional<std::string> &kind_option, const std::string &a, const std::string &b);

// The record an argument names (ConfigDocument::RecordNamed). nullopt when the argument is no
// number and no record's name; throws UsageError for a number that names no record.
std::optional<int> RecordNamed(const voltara::ConfigDocument &file, const std::string &arg);

// A record as the command line names it: "3" for a personality, "MEGABOT" for a tier.
std::string RecordArgument(const voltara::ConfigDocument &file, int record);

// Where a key lives: record 0 for a general option, else the given record. Throws UsageError
// for a key the kind does not have, or a record's key without a record.
int RecordOfKey(
    const voltara::ConfigDocument &file, const std::string &key, std::optional<int> record);

// The preset code of a Presets menu item, by the group's and the item's captions in any case,
// "_" or "-" standing for a space. Throws UsageError naming the choices when there is none.
std::string PresetCode(const std::string &group, const std::string &item);

// The menu's groups and items as the help lists them, one group a line.
std::string PresetChoices();

} // namespace botcfg
