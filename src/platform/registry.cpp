// What the registry lookup is the same for on every system: the search for the titles file.
#include "platform/registry.h"

#include "platform/files.h"

namespace voltara {

std::string FindTitlesFile()
{
    std::string found;
    for (const InstallEntry &entry : kInstallEntries) {
        const std::string candidate = TitlesCandidate(
            GetRegistryString(RegistryRoot::CurrentUser, entry.subkey, entry.value_name));
        if (IsNormalFile(candidate))
            found = candidate;
    }
    return found;
}

} // namespace voltara
