// A configuration file of either kind as its editor holds it, read, changed and written by that
// editor's own rules, behind one face: for a front end that handles both kinds alike (botcfg).
// The editors themselves work on their own kind's records.
#pragma once

#include "core/config_file.h"
#include "core/host.h"
#include "core/presets.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace voltara {

enum class ConfigKind { Personality, Superbot };

// The kind whose file has this name ("bot_personality.cfg", "sbot.cfg", case as given).
std::optional<ConfigKind> KindOfFileName(std::string_view name);
const char *FileNameOf(ConfigKind kind);

// Records are numbered as the editors number them: personalities 1 to 9, tiers 1 to 3. Record
// 0 holds the general options (default_personality; a superbot file has none).
class ConfigDocument
{
public:
    virtual ~ConfigDocument() = default;
    // A document of the kind, holding nothing until it is read or given its defaults.
    static std::unique_ptr<ConfigDocument> Make(ConfigKind kind);

    virtual ConfigKind Kind() const = 0;
    // Reads the file as its editor reads its file at start-up, with the editor's messages.
    virtual ReadOutcome Read(const std::string &path, Host &host) = 0;
    // Every record holding the defaults that "load default values" gives it.
    virtual void LoadDefaults() = 0;
    // The file that was read (SaveBackPath of config_file.h).
    virtual std::optional<std::string> SaveBackPath() const = 0;
    // The whole file as the editor's writer lays it out, without line ends.
    virtual std::vector<std::string> Lines() const = 0;

    virtual int RecordCount() const = 0;
    // The record's section name: "BOT3", "MEGABOT".
    virtual std::string RecordName(int record) const = 0;
    // The record a text names: a number "1" up to RecordCount(), or (for tiers) a section name
    // in any case; spaces around it do not count. nullopt for none.
    virtual std::optional<int> RecordNamed(std::string_view text) const = 0;
    // How the records are named, in words: "personalities are 1 to 9".
    virtual std::string RecordsText() const = 0;
    // The keys of a record in record order; for record 0 the general options.
    virtual std::vector<std::string> Keys(int record) const = 0;
    // The value of a key that Keys(record) lists.
    virtual std::string Value(int record, const std::string &key) const = 0;
    // Stores a value under a key that Keys(record) lists, as its control would.
    virtual void SetValue(int record, const std::string &key, const std::string &value) = 0;
    // Whether the editor's control for the key could give this value, and what it gives, in
    // words ("a whole number from 0 to 100").
    virtual bool IsAccepted(const std::string &key, const std::string &value) const = 0;
    virtual std::string AcceptedValues(const std::string &key) const = 0;
    // Whether the kind knows a Presets menu code: a superbot file knows only kAllDefaultCode,
    // the window's "load default values".
    virtual bool KnowsPreset(const std::string &code) const = 0;
    // Applies a Presets menu code to a record. False, and nothing changed, for a code the kind
    // does not know.
    virtual bool ApplyPreset(int record, const std::string &code, RandomSource &random) = 0;

    // Where a key belongs: a general option (record 0), a setting of every record, or neither.
    enum class KeyPlace { None, General, Record };
    KeyPlace PlaceOf(const std::string &key) const;
};

// "a whole number from first to last", as the accepted values are described.
std::string WholeNumbersText(int first, int last);

} // namespace voltara
