// One configuration file held as its editor holds it: read, repaired and written by the
// core's own rules, with the messages the editor would have shown.
#pragma once

#include "config_file.h"
#include "personality.h"
#include "platform.h"
#include "presets.h"
#include "superbot.h"

#include <optional>
#include <string>
#include <vector>

namespace botcfg {

enum class Kind { Personality, Superbot };

// A message the editor would show: its text (CR LF as the box has it) and the line of the
// file that it blames, 0 for none.
struct Message
{
    std::string text;
    std::size_t line = 0;
};

// Records are numbered as the editors number them: personalities 1 to 9, tiers 1 to 3.
// Record 0 stands for the general options (default_personality; a superbot file has none).
class ConfigDocument
{
public:
    explicit ConfigDocument(Kind kind);

    // Takes the writers' lock of the file, held until the document ends, so that no other
    // writer changes the file between its reading and its saving. False, with the reason, when
    // another writer kept it locked too long.
    bool Lock(const std::string &path, std::string &reason);
    // Reads the file as the editor reads its file at start-up; the messages are collected.
    voltara::ReadOutcome Open(const std::string &path);
    // Every record holding the defaults that "load default values" gives it.
    void LoadDefaults();

    Kind kind() const { return kind_; }
    const std::vector<Message> &messages() const { return messages_; }
    // Where the editor's Save writes back to: the file that was read.
    std::optional<std::string> SaveBackPath() const;
    // The whole file as the editor's writer lays it out, without line ends.
    std::vector<std::string> Lines() const;
    // Writes Lines() to exactly this path, atomically. On failure the file keeps its bytes,
    // and failure holds the message the editors show.
    bool Save(const std::string &path, std::string &failure) const;

    int RecordCount() const;
    // The record's section name: "BOT3", "MEGABOT".
    std::string RecordName(int record) const;
    // The keys of a record in record order; for record 0 the general options.
    std::vector<std::string> Keys(int record) const;
    // The value of a key that Keys(record) lists.
    std::string Value(int record, const std::string &key) const;
    // Stores a value under a key that Keys(record) lists, as its control would.
    void SetValue(int record, const std::string &key, const std::string &value);

    // A Presets menu code applied to a personality (the editor shows it; nothing else).
    void ApplyPreset(int record, const std::string &code, voltara::RandomSource &random);
    // A tier back to its defaults, as the window's "load default values".
    void SetTierDefaults(int record);

private:
    std::string &Slot(int record, const std::string &key);

    Kind kind_;
    voltara::PersonalityConfig personality_;
    voltara::SuperbotConfig superbot_;
    std::vector<Message> messages_;
    voltara::FileLock lock_;
};

// The record keys of a kind, in record order.
std::vector<std::string> RecordKeys(Kind kind);

} // namespace botcfg
