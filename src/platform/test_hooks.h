// What tests may change in the platform layer: failures injected into the steps of a save, and
// how long a writer waits for another's lock. Nothing but tests calls these.
#pragma once

#include <chrono>
#include <cstddef>
#include <functional>

namespace voltara {

// The steps of SaveFile at which tests may inject a failure.
enum class SaveStep {
    CreateTemporary,
    Write,
    Sync,
    KeepAttributes,
    Replace,
    SyncFolder,
    WriteInPlace,
    // Consulted where a write in place has failed: when injected, the save stops there as a
    // killed one would, putting nothing back and removing nothing.
    CutShort,
};

// A failure that a test injects: the system error code the step fails with, an errno value
// (ENOSPC for a full disk, EACCES for a folder that refuses new files) or on Windows a
// GetLastError code (ERROR_DISK_FULL, ERROR_ACCESS_DENIED); 0 for none. A writing step first
// writes `after` bytes of what it writes.
struct SaveFault
{
    int error = 0;
    std::size_t after = 0;
};

// When set, consulted before each step.
using SaveFaultHook = std::function<SaveFault(SaveStep step)>;
void SetSaveFaultHook(SaveFaultHook hook);

void SetLockWait(std::chrono::milliseconds wait);

} // namespace voltara
