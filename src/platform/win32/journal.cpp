// The journal of a write in place on Windows: written and removed by the save, found and copied
// into its file by the readers (journal.h has the steps).
#include "platform/win32/journal.h"

#include "platform/files.h"
#include "platform/journal.h"
#include "platform/reasons.h"

namespace voltara {

namespace win32 {

namespace {

// The user's own folder for journals: the local application-data folder's "Voltara"; empty
// where the system names none.
std::string StateFolder()
{
    wchar_t buffer[MAX_PATH + 1] = {};
    const DWORD length = GetEnvironmentVariableW(L"LOCALAPPDATA", buffer, MAX_PATH + 1);
    if (length == 0 || length > MAX_PATH)
        return {};
    return JoinToFolder(Narrow(std::wstring(buffer, length)), "Voltara");
}

// A new file for the journal, written and read by this process alone until it is removed.
Handle CreateJournalFile(const std::string &path)
{
    return Handle(CreateFileW(SystemPath(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
        CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
}

// A new journal beside the file, where its folder takes new files (a test may have it refuse).
bool OpenBeside(const std::string &file, Journal &journal)
{
    const std::string name = detail::JournalNameBeside(NameOf(file));
    if (name.empty() || Injected(SaveStep::CreateTemporary))
        return false;
    journal.path = JoinToFolder(FolderOf(file), name);
    journal.file = CreateJournalFile(journal.path);
    return journal.file.IsOpen();
}

// A new journal in the user's own folder, named after the file's whole path.
bool OpenElsewhere(const std::string &file, Journal &journal, std::string &reason)
{
    const std::string folder = StateFolder();
    if (folder.empty()) {
        reason = reasons::kNoJournalFolder;
        return false;
    }
    CreateDirectoryW(SystemPath(folder).c_str(), nullptr);
    journal.path = JoinToFolder(folder, detail::JournalNameElsewhere(file));
    journal.file = CreateJournalFile(journal.path);
    if (!journal.file.IsOpen())
        reason = LastErrorText();
    return journal.file.IsOpen();
}

// The identity and the path of an open file, as its stamp gives them.
bool RecordOf(HANDLE file, std::string_view bytes, detail::JournalRecord &record)
{
    BY_HANDLE_FILE_INFORMATION info = {};
    if (!GetFileInformationByHandle(file, &info))
        return false;
    const FileStamp stamp = StampFrom(file, info);
    record = {stamp.device, stamp.inode, stamp.file, std::string(bytes)};
    return !stamp.file.empty();
}

} // namespace

bool WriteJournal(HANDLE file, std::string_view bytes, Journal &journal, std::string &reason)
{
    detail::JournalRecord record;
    if (bytes.size() > detail::kMaxJournalBytes || !RecordOf(file, bytes, record)) {
        reason = SystemErrorText(
            bytes.size() > detail::kMaxJournalBytes ? ERROR_FILE_TOO_LARGE : GetLastError());
        return false;
    }
    if (!OpenBeside(record.file, journal) && !OpenElsewhere(record.file, journal, reason))
        return false;
    if (WriteAll(journal.file.Get(), detail::EncodeJournal(record))
        && FlushFileBuffers(journal.file.Get()))
        return true;
    reason = LastErrorText();
    DropJournal(journal);
    return false;
}

void DropJournal(Journal &journal)
{
    if (!journal.file.IsOpen())
        return;
    journal.file.Close();
    DeleteFileW(SystemPath(journal.path).c_str());
}

} // namespace win32

using namespace win32;

namespace detail {

std::vector<std::string> JournalsOf(const std::string &file)
{
    std::vector<std::string> found;
    const std::string beside = JournalNameBeside(NameOf(file));
    const std::string folder = StateFolder();
    for (const std::string &path :
        {beside.empty() ? std::string() : JoinToFolder(FolderOf(file), beside),
            folder.empty() ? std::string() : JoinToFolder(folder, JournalNameElsewhere(file))}) {
        if (!path.empty()
            && GetFileAttributesW(SystemPath(path).c_str()) != INVALID_FILE_ATTRIBUTES)
            found.push_back(path);
    }
    return found;
}

// Any journal is trusted: on Windows who may add a file to a folder may as a rule replace the
// files in it as well.
JournalRead ReadJournal(
    const std::string &journal, const std::string &, std::string &data, std::string &reason)
{
    BY_HANDLE_FILE_INFORMATION info = {};
    DWORD error = ERROR_SUCCESS;
    Handle file = OpenRegularForReading(journal, info, error);
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
        return JournalRead::Missing;
    if (error == ERROR_BAD_FILE_TYPE || info.nFileSizeHigh != 0
        || info.nFileSizeLow > kMaxJournalBytes + 2 * 32768)
        return JournalRead::Ignored;
    if (file.IsOpen() && ReadAll(file.Get(), data, info.nFileSizeLow + 1))
        return JournalRead::Read;
    reason = SystemErrorText(file.IsOpen() ? GetLastError() : error);
    return JournalRead::Failed;
}

void RemoveJournal(const std::string &journal)
{
    DeleteFileW(SystemPath(journal).c_str());
}

bool RewriteFile(const std::string &file, std::uint64_t device, std::uint64_t inode,
    std::string_view bytes, std::string &reason)
{
    Handle handle(CreateFileW(SystemPath(file).c_str(), GENERIC_READ | GENERIC_WRITE,
        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
        nullptr));
    const DWORD refused = handle.IsOpen() ? ERROR_SUCCESS : GetLastError();
    if (refused == ERROR_ACCESS_DENIED)
        handle = OpenShared(file, GENERIC_READ);
    BY_HANDLE_FILE_INFORMATION info = {};
    std::string now;
    if (!handle.IsOpen() || !IsRegularFile(handle.Get(), info)) {
        reason = SystemErrorText(refused != ERROR_SUCCESS ? refused : GetLastError());
        return false;
    }
    const FileStamp stamp = StampFrom(handle.Get(), info);
    // Another save may have replaced it meanwhile; the journal is not for that one.
    if (stamp.device != device || stamp.inode != inode
        || (ReadAll(handle.Get(), now, bytes.size() + 1) && now == bytes))
        return true;
    if (refused == ERROR_SUCCESS && Rewind(handle.Get()) && WriteAll(handle.Get(), bytes)
        && SetEndOfFile(handle.Get()) && FlushFileBuffers(handle.Get()))
        return true;
    reason = SystemErrorText(refused != ERROR_SUCCESS ? refused : GetLastError());
    return false;
}

} // namespace detail

} // namespace voltara
