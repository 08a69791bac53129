#include "botcfg/changes.h"

#include "botcfg/names.h"
#include "botcfg/output.h"

#include <algorithm>
#include <set>

namespace botcfg {

namespace {

using voltara::ConfigDocument;
using Type = json::Value::Type;

// Turns a document's members into changes, noting every refusal on the way.
class DocumentReader
{
public:
    DocumentReader(const ConfigDocument &file, const std::string &label, Io &io)
        : file_(file)
        , label_(label)
        , io_(io)
    {
    }

    std::optional<std::vector<Change>> Read(const json::Value &document, std::optional<int> record)
    {
        if (document.type != Type::Object)
            Refuse(std::string("the document is ") + json::TypeName(document.type)
                + ", where an object is due, as get --json prints it");
        else if (record)
            TakeSettings(document, *record);
        else
            TakeFile(document);
        return refused_ ? std::nullopt : std::optional(std::move(changes_));
    }

private:
    void Refuse(const std::string &what)
    {
        Fail(io_, label_ + ": " + what + "; nothing was written");
        refused_ = true;
    }

    // The general options and the records of a whole file.
    void TakeFile(const json::Value &document)
    {
        for (const auto &[name, value] : document.members) {
            if (value.type != Type::Object) {
                TakeSetting(std::nullopt, name, value);
                continue;
            }
            const std::optional<int> record = RecordOfSection(name);
            if (!record)
                Refuse("\"" + Printable(name) + "\" names no record (" + file_.RecordsText() + ")");
            else if (!records_.insert(*record).second)
                Refuse("record " + RecordArgument(file_, *record) + " is given twice");
            else
                TakeSettings(value, *record);
        }
    }

    void TakeSettings(const json::Value &object, int record)
    {
        for (const auto &[key, value] : object.members)
            TakeSetting(record, key, value);
    }

    void TakeSetting(std::optional<int> record, const std::string &key, const json::Value &value)
    {
        const std::string where =
            (record ? RecordArgument(file_, *record) + " " : "") + Printable(key);
        const ConfigDocument::KeyPlace place = file_.PlaceOf(key);
        if (place == ConfigDocument::KeyPlace::None)
            return Refuse(where + ": no such setting in a " + WordOf(file_.Kind()) + " file");
        if (place == ConfigDocument::KeyPlace::Record && !record)
            return Refuse(where + " is a setting of each record, so it goes inside one (\""
                + file_.RecordName(1) + "\": {...})");
        if (value.type != Type::String && value.type != Type::Number)
            return Refuse(where + " is " + json::TypeName(value.type)
                + ", where a value is a string or a number");
        changes_.push_back(
            {place == ConfigDocument::KeyPlace::General ? 0 : *record, key, value.text});
    }

    // A record by its section name as get prints it, or as the command line names it.
    std::optional<int> RecordOfSection(const std::string &name) const
    {
        for (int record = 1; record <= file_.RecordCount(); ++record) {
            if (file_.RecordName(record) == name)
                return record;
        }
        return file_.RecordNamed(name);
    }

    const ConfigDocument &file_;
    const std::string &label_;
    Io &io_;
    std::vector<Change> changes_;
    std::set<int> records_;
    bool refused_ = false;
};

} // namespace

std::vector<Change> ChangesOf(
    const ConfigDocument &file, const std::vector<std::string> &positionals)
{
    std::size_t next = 1;
    const std::optional<int> record = RecordNamed(file, positionals[next]);
    if (record)
        ++next;
    if (next == positionals.size() || (positionals.size() - next) % 2 != 0)
        throw UsageError("the settings come as KEY VALUE pairs");
    std::vector<Change> changes;
    for (; next < positionals.size(); next += 2) {
        const std::string &key = positionals[next];
        changes.push_back({RecordOfKey(file, key, record), key, positionals[next + 1]});
    }
    return changes;
}

std::optional<std::vector<Change>> ChangesOfDocument(const ConfigDocument &file,
    const json::Value &document, std::optional<int> record, const std::string &label, Io &io)
{
    return DocumentReader(file, label, io).Read(document, record);
}

void DropUnchanged(const ConfigDocument &file, std::vector<Change> &changes)
{
    std::erase_if(changes, [&](const Change &change) {
        return file.Value(change.record, change.key) == change.value;
    });
}

bool AllAccepted(const ConfigDocument &file, const std::string &path,
    const std::vector<Change> &changes, Io &io, bool with_record)
{
    bool accepted = true;
    for (const Change &change : changes) {
        if (file.IsAccepted(change.key, change.value))
            continue;
        const std::string record =
            with_record && change.record ? RecordArgument(file, change.record) + " " : "";
        Fail(io,
            Printable(path) + ": " + record + change.key + " \"" + Printable(change.value)
                + "\" refused: it takes " + file.AcceptedValues(change.key)
                + "; nothing was written");
        accepted = false;
    }
    return accepted;
}

} // namespace botcfg
