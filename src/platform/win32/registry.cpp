// The registry on Windows: the system's own.
#include "platform/registry.h"

#include <algorithm>

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

namespace voltara {

std::string GetRegistryString(
    RegistryRoot root, const std::string &subkey, const std::string &value_name)
{
    const HKEY base = root == RegistryRoot::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
    HKEY key = nullptr;
    if (RegOpenKeyExA(base, subkey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return {};
    char buffer[kRegistryBufferSize] = {};
    DWORD size = sizeof buffer;
    DWORD type = REG_NONE;
    const LONG result = RegQueryValueExA(
        key, value_name.c_str(), nullptr, &type, reinterpret_cast<BYTE *>(buffer), &size);
    RegCloseKey(key);
    // Longer data fail with ERROR_MORE_DATA. Binary data are no path.
    if (result != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ))
        return {};
    // Data that fill the whole buffer bring no NUL of their own: reading on would leave it.
    const char *begin = buffer;
    const char *end = begin + std::min<std::size_t>(size, sizeof buffer);
    const char *nul = std::find(begin, end, '\0');
    if (nul == begin + sizeof buffer)
        return {};
    return std::string(begin, nul);
}

std::string TitlesCandidate(const std::string &install_path)
{
    return install_path + "\\voltara\\titles.txt";
}

} // namespace voltara
