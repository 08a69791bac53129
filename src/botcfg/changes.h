// The values a command is to store, from set's command line or from apply's JSON document, and
// the one rule for all of them: every value one that the editor's control could give.
#pragma once

#include "botcfg/file_io.h"
#include "botcfg/json_reader.h"
#include "core/config_document.h"

#include <optional>
#include <string>
#include <vector>

namespace botcfg {

// One value to store.
struct Change
{
    int record; // 0: a general option
    std::string key;
    std::string value;
};

// The changes of set's arguments after FILE: [N] KEY VALUE [KEY VALUE ...]. Throws UsageError
// for an unknown key, a record's key without a record, or a key without its value.
std::vector<Change> ChangesOf(
    const voltara::ConfigDocument &file, const std::vector<std::string> &positionals);

// The changes a JSON document asks for: with record, one object of that record's keys (what
// get FILE N --json prints); without, the general options and records by their section names
// (what get FILE --json prints), any of them left out. Values are strings, or numbers taken as
// written. nullopt when anything in it is refused (an unknown key or record, another type of
// value, a record given twice), each refusal printed with the record and key it concerns;
// label names the document in them.
std::optional<std::vector<Change>> ChangesOfDocument(const voltara::ConfigDocument &file,
    const json::Value &document, std::optional<int> record, const std::string &label, Io &io);

// Drops the changes that would store the value already there: they change nothing, even where
// the file holds a value that no control could give.
void DropUnchanged(const voltara::ConfigDocument &file, std::vector<Change> &changes);

// True when the editor's controls could give every value; each one they could not is named
// (with its record when with_record), and one of them refuses them all.
bool AllAccepted(const voltara::ConfigDocument &file, const std::string &path,
    const std::vector<Change> &changes, Io &io, bool with_record = false);

} // namespace botcfg
