// What every command does around its files: read one as its editor reads it, write the result
// (or show what would be written), and say what went wrong.
#pragma once

#include "botcfg/arguments.h"
#include "botcfg/document.h"

#include <istream>
#include <optional>
#include <ostream>
#include <string>

namespace botcfg {

enum ExitStatus { kDone = 0, kFailed = 1, kUsage = 2 };

// Where a command reads a document from ("-") and writes its results and messages.
struct Io
{
    std::istream &in;
    std::ostream &out;
    std::ostream &err;
};

// "botcfg: text" on standard error.
void Fail(Io &io, const std::string &text);

// True when something other than a regular file is at the path (links followed): a folder, a
// device, a pipe. Nothing is opened to find out.
bool IsOtherThanRegularFile(const std::string &path);
// True when anything at all is at the path, a dangling link included.
bool Occupied(const std::string &path);
// True when both paths lead to one file, through links or other names.
bool SameFile(const std::string &a, const std::string &b);

// Why a file is read: to look at it, or to save it back after a change, or to show what a
// change would write without writing it.
enum class Purpose { Look, Change, Preview };

// Prints one of the editor's messages about the file at path.
using MessagePrinter = void (*)(Io &io, const std::string &path, const Message &message);
// "FILE:LINE: text" on standard error.
void MessageToErr(Io &io, const std::string &path, const Message &message);

// Reads the file as its editor does and prints the editor's messages. nullopt, with a message,
// when there is no regular file or it was too large to read: botcfg never creates one it was to
// read. For a change the file's lock is taken first and held as long as the document lives, so
// that concurrent runs on one file take their turns; a preview lets it go once the file is read.
std::optional<voltara::ReadOutcome> OpenFile(Document &document, const std::string &path, Io &io,
    Purpose purpose = Purpose::Look, MessagePrinter print = MessageToErr);

// The whole file to standard output ("-"), or saved to exactly this path. A file that already
// holds exactly these bytes is left alone, so that its time and identity do not change. A dry
// run writes nothing and prints the unified difference between the bytes at the path and the
// ones a save would write.
int WriteTo(const Document &document, const std::string &path, bool dry_run, Io &io);

// A file that could not be read before its records would lose them all to a save over it, so
// it is kept unless forced; true when the save may go on. other_way names another way out.
bool MayReplaceUnread(const std::string &target, voltara::ReadOutcome outcome,
    const Arguments &args, Io &io, const char *other_way = "");

// Saves back to the file that was read, as the editor's Save does.
int SaveBack(const Document &document, voltara::ReadOutcome outcome, const Arguments &args, Io &io,
    const char *other_way = "");

// The bytes of a document to read: standard input for "-", else the file at the path; nullopt,
// with a message, when it cannot be read or holds more than any document botcfg takes.
std::optional<std::string> ReadInput(const std::string &name, Io &io);

} // namespace botcfg
