// How botcfg's arguments name things: the kind of a file, a record, a setting, a value the
// editor's control would give, a Presets menu item.
#pragma once

#include "config_document.h"

#include <optional>
#include <string>

namespace botcfg {

// The kind a --kind value names; throws UsageError for another word.
Kind KindNamed(const std::string &word);

// The kind of a file: from kind_option when given, else from the file's name
// ("bot_personality.cfg" or "sbot.cfg", case as given). Throws UsageError when neither tells.
Kind KindOf(const std::optional<std::string> &kind_option, const std::string &path);

// The record an argument names: a personality "1" to "9"; a tier "1" to "3" or its name in any
// case ("megabot"). nullopt when the argument is no number and no tier name; throws UsageError
// for a number that names no record.
std::optional<int> RecordNamed(Kind kind, const std::string &arg);

// Where a key lives: record 0 for default_personality, else the given record. Throws
// UsageError for a key the kind does not have, or a record key without a record.
int RecordOfKey(Kind kind, const std::string &key, std::optional<int> record);

// Whether the editor's control for the key could give this value.
bool IsAccepted(Kind kind, const std::string &key, const std::string &value);

// What the control for the key gives, for messages and help: "a whole number from 0 to 100".
std::string AcceptedValues(Kind kind, const std::string &key);

// The preset code of a Presets menu item, by the group's and the item's captions in any case,
// "_" or "-" standing for a space. Throws UsageError naming the choices when there is none.
std::string PresetCode(const std::string &group, const std::string &item);

// The menu's groups and items as the help lists them, one group a line.
std::string PresetChoices();

} // namespace botcfg
