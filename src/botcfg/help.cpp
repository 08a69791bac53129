#include "botcfg/help.h"

#include "botcfg/names.h"
#include "core/config_document.h"

#include <algorithm>
#include <vector>

namespace botcfg {

namespace {

// What a dry run does, for the help of each command that saves.
constexpr const char *kDryRunText =
    "  --dry-run write nothing and hold no lock after reading; print the unified\n"
    "            difference (diff -u, labels a/FILE and b/FILE) between the file as it is\n"
    "            and what would be written, or nothing when they are equal\n";

// The idempotent save, in the words of each command's help.
constexpr const char *kUnchangedText =
    "A file that already holds exactly the bytes that would be written is not written\n"
    "again: its time and identity stay.\n";

// The values set takes, one line for each different rule: the personality's percentages
// share one.
std::string AcceptedValuesTable()
{
    std::string text;
    std::vector<std::string> described;
    for (const auto kind : {voltara::ConfigKind::Personality, voltara::ConfigKind::Superbot}) {
        const auto file = voltara::ConfigDocument::Make(kind);
        text += std::string("in ") + voltara::FileNameOf(kind) + ":\n";
        std::vector<std::string> keys = file->Keys(0);
        for (const std::string &key : file->Keys(1))
            keys.push_back(key);
        for (const std::string &key : keys) {
            const bool percent = key.ends_with("_percent");
            const std::string rule = file->AcceptedValues(key);
            if (percent && std::find(described.begin(), described.end(), rule) != described.end())
                continue;
            described.push_back(rule);
            std::string line = "  " + (percent ? std::string("each *_percent") : key);
            line.resize(24, ' ');
            text += line + rule + "\n";
        }
    }
    return text;
}

} // namespace

std::string CheckDetails()
{
    return std::string(
               "Reads each FILE exactly as its editor reads its file at start-up and prints every\n"
               "message the editor would show, one per line: FILE:LINE: text, or FILE: text where\n"
               "no one line is to blame. A text that the message box shows on two lines is\n"
               "printed on one.\n\n"
               "  --json    one JSON object a line for each message, {\"file\": ..., \"line\": "
               "...,\n"
               "            \"text\": ...}, the line null where no line is to blame\n\n")
        + kExitStatusText;
}

std::string FixDetails()
{
    return std::string(
               "Writes FILE back with exactly the bytes that opening it in its editor and "
               "pressing\n"
               "Save would write: the same reading, repair and default-personality rules, the "
               "same\n"
               "writer; but to FILE itself, where the editor's Save would add \".cfg\" to a name\n"
               "without it. The editor's messages go to standard error. The file is replaced\n"
               "atomically; a failed save leaves it as it was.\n\n")
        + kUnchangedText
        + "\n  -o OUT    write to OUT, exactly that name (also --output OUT; \"-\": standard\n"
          "            output)\n"
        + kDryRunText
        + "  --force   save even a file that could not be read before its first section\n"
          "            (only default values would be left in it), in place or through an\n"
          "            OUT that leads to it\n\n"
        + kExitStatusText;
}

std::string GetDetails()
{
    return std::string(
               "Prints the values that the editor shows after reading FILE, as \"key value\"\n"
               "lines in record order:\n"
               "  get FILE                  the general option, then each record after its\n"
               "                            section line ([BOT1], [SUPERBOT], ...)\n"
               "  get FILE N                the settings of record N\n"
               "  get FILE N KEY            one setting\n"
               "  get FILE default_personality\n"
               "N is a personality from 1 to 9, or a tier: 1 to 3 or SUPERBOT, MEGABOT,\n"
               "ULTIMATEBOT (in any case). Control characters of a value are printed as \\xNN.\n\n"
               "  --json    the same as one JSON object, every value a string (UTF-8 as it is;\n"
               "            other bytes above 127 as the Latin-1 characters of their numbers)\n\n")
        + kExitStatusText;
}

std::string DiffDetails()
{
    return std::string(
               "Compares two files of one kind record by record, as their editor reads them:\n"
               "files that differ only in comments, spacing or line ends read alike. Prints a\n"
               "line for each setting that differs, in the order the editor's Save writes them:\n"
               "  default_personality: -1 -> 4\n"
               "  3 melee_percent: 80 -> 75\n"
               "  MEGABOT ki_gain: 10 -> 20\n"
               "The editor's messages on reading either file go to standard error. The kind\n"
               "follows from --kind, else from the name of either file.\n\n"
               "  --json    the differences as a JSON array of objects {\"record\": ..., \"key\":\n"
               "            ..., \"a\": ..., \"b\": ...}, the record as the command line names it\n"
               "            (\"3\", \"MEGABOT\"), null for the general option\n\n")
        + kExitStatusText;
}

std::string SetDetails()
{
    return "Changes settings of record N (default_personality needs no N) and saves FILE in\n"
           "the layout of the editor's Save, to FILE itself. Each VALUE must be one that the\n"
           "editor's control can give; one refused value refuses the command, and nothing is\n"
           "written.\n\n"
        + std::string(kUnchangedText) + "\n" + AcceptedValuesTable() + "\n" + kDryRunText
        + "  --force   save even a file that could not be read before its first section\n\n"
        + kExitStatusText;
}

std::string PresetDetails()
{
    return "Applies an item of the editor's Presets menu to personality N and saves FILE in\n"
           "the layout of the editor's Save, to FILE itself. GROUP and ITEM are the menu's\n"
           "captions in any case; an item of two words may be given as two arguments (heavy\n"
           "guy, heavy_guy):\n"
        + PresetChoices()
        + "A superbot file knows only \"all default\", the editor's \"load default values\"\n"
          "for tier N.\n\n"
        + kUnchangedText
        + "\n  --seed S  seed the random items with S (a whole number), so that they give the\n"
          "            same values again\n"
        + kDryRunText
        + "  --force   save even a file that could not be read before its first section\n\n"
        + kExitStatusText;
}

std::string ApplyDetails()
{
    return std::string(
               "Sets every value of the JSON document DOC (a file, or - for standard input) and\n"
               "saves FILE in the layout of the editor's Save, to FILE itself. DOC is what\n"
               "get FILE --json prints, or, with N, what get FILE N --json prints; it may hold\n"
               "only some of the keys and records. A value is a string, or a number as written.\n"
               "The rules of set hold for every value that differs from the file's: one refused\n"
               "value, unknown key or unknown record refuses the whole document, the refusal\n"
               "names the record and the key, and nothing is written. So get --json piped into\n"
               "apply gives back the same bytes:\n"
               "  botcfg get sbot.cfg --json > tiers.json; botcfg apply sbot.cfg tiers.json\n"
               "An escape \\u0080 to \\u00FF stands for that one byte, as get --json writes the\n"
               "bytes that are not UTF-8.\n\n")
        + kUnchangedText + "\n" + kDryRunText
        + "  --force   save even a file that could not be read before its first section\n\n"
        + kExitStatusText;
}
std::string NewDetails()
{
    return std::string(
               "Writes the default file, as the editor saves it when started without one, to\n"
               "standard output or to OUT.\n\n"
               "  -o OUT    write to OUT, exactly that name (also --output OUT)\n"
               "  --force   replace an existing OUT (without it, new refuses anything already\n"
               "            there, a link even where it leads nowhere)\n\n")
        + kExitStatusText;
}

} // namespace botcfg
