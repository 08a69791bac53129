#include "core/config_file.h"

#include "platform/files.h"
#include "platform/read.h"

namespace voltara {

FileOpening OpenConfigFile(const std::string &path, std::string &loaded_path, KnownFiles &known,
    std::string &content, std::string &reason, Host &host)
{
    // The existence test sees what the platform counts as a normal file; the reading itself
    // takes nothing but a regular file, and never waits on a pipe or a device.
    FileStamp stamp;
    const ReadStatus status = IsNormalFile(path)
        ? ReadFileBytes(path, kMaxConfigFileBytes, content, stamp, reason)
        : ReadStatus::NotRegular;
    switch (status) {
    case ReadStatus::NotRegular:
        host.ShowMessage(messages::MissingFileText(path), messages::kErrorCaption);
        return FileOpening::Missing;
    case ReadStatus::TooLarge:
        host.ShowMessage(
            messages::TooLargeText(path, stamp.size, kMaxConfigFileBytes), messages::kErrorCaption);
        return FileOpening::TooLarge;
    case ReadStatus::Failed:
        loaded_path = path;
        return FileOpening::Unreadable;
    case ReadStatus::Read:
        break;
    }
    loaded_path = path;
    known.Remember(stamp);
    return FileOpening::Read;
}

ReadOutcome ReadConfigFile(const std::string &path, std::string &loaded_path, KnownFiles &known,
    Host &host, const ConfigReading &reading)
{
    std::string content;
    std::string reason;
    switch (OpenConfigFile(path, loaded_path, known, content, reason, host)) {
    case FileOpening::Missing:
        reading.without_content();
        return ReadOutcome::Missing;
    case FileOpening::TooLarge:
        reading.without_content();
        return ReadOutcome::TooLarge;
    case FileOpening::Unreadable:
        return reading.unreadable(reason);
    case FileOpening::Read:
        break;
    }
    return reading.read(content);
}

std::string ConfigFileName(std::string name)
{
    if (!name.empty() && name.back() == '\0')
        name.pop_back();
    if (name.size() < 4 || name.compare(name.size() - 4, 4, ".cfg") != 0)
        name += ".cfg";
    return name;
}

std::optional<std::string> SaveBackPath(const std::string &loaded_path)
{
    if (loaded_path.empty())
        return std::nullopt;
    return loaded_path;
}

std::string JoinedLines(const std::vector<std::string> &lines)
{
    std::size_t size = 0;
    for (const std::string &line : lines)
        size += line.size() + 2;
    std::string text;
    text.reserve(size);
    for (const std::string &line : lines)
        text.append(line).append("\r\n");
    return text;
}

SaveResult SaveConfigLines(
    const std::string &path, const std::vector<std::string> &lines, Host &host, KnownFiles *known)
{
    SaveGuard guard;
    if (known) {
        guard.changed = [known](const FileStamp &now) { return known->Changed(now); };
        guard.overwrite = [&host, &path] {
            return host.AskToProceed(
                messages::ChangedFileText(path), kProgramTitle, messages::kOverwrite);
        };
    }
    FileStamp written;
    std::string reason;
    const SaveResult result = SaveFile(path, JoinedLines(lines), guard, written, reason);
    // A save that failed only at its very end (syncing the folder) has written the file all
    // the same: its bytes are this program's.
    if (known && !written.file.empty())
        known->Remember(written);
    if (result == SaveResult::Failed)
        host.ShowMessage(messages::NotSavedText(path, reason), messages::kErrorCaption);
    return result;
}

bool WriteConfigFile(
    const std::string &name, const std::vector<std::string> &lines, KnownFiles &known, Host &host)
{
    if (SaveConfigLines(ConfigFileName(name), lines, host, &known) != SaveResult::Saved)
        return false;
    host.ShowMessage(messages::kSaved, "");
    return true;
}

} // namespace voltara
