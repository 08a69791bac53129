// One configuration file as botcfg holds it: the core's document of its kind, the messages
// its reading gave, and the writers' lock while botcfg means to save it.
#pragma once

#include "core/config_document.h"
#include "platform/lock.h"

#include <memory>
#include <string>
#include <vector>

namespace botcfg {

// A message the editor would show: its text (CR LF as the box has it) and the line of the
// file that it blames, 0 for none.
struct Message
{
    std::string text;
    std::size_t line = 0;
};

class Document
{
public:
    explicit Document(voltara::ConfigKind kind);

    voltara::ConfigDocument &file() { return *file_; }
    const voltara::ConfigDocument &file() const { return *file_; }
    const std::vector<Message> &messages() const { return messages_; }

    // Takes the writers' lock of the file, held as long as the document lives, so that no other
    // writer changes the file between its reading and its saving. False, with the reason, when
    // another writer kept it locked too long.
    bool Lock(const std::string &path, std::string &reason);
    // Lets the lock go before the document ends: a dry run holds it only while it reads.
    void Unlock() { lock_.Release(); }
    // Reads the file as the editor reads its file at start-up; the messages are collected, a
    // refusal of the system with its reason.
    voltara::ReadOutcome Open(const std::string &path);
    // Writes the file to exactly this path, atomically. On failure the file keeps its bytes,
    // and failure holds the message the editors show.
    bool Save(const std::string &path, std::string &failure) const;

private:
    std::unique_ptr<voltara::ConfigDocument> file_;
    std::vector<Message> messages_;
    voltara::FileLock lock_;
};

} // namespace botcfg
