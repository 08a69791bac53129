// Any bytes as a Wine registry file, and any printable text as a stored value: the lookup
// never fails, never returns more than the buffer holds, ignores case in names, and finds a
// value that was written with Wine's escapes.
#include "fuzz_common.h"
#include "platform/registry.h"

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstdint>

using namespace voltara;
using namespace voltara::fuzz;

namespace {

std::string Escaped(const std::string &text)
{
    std::string out;
    for (const char c : text) {
        if (c == '\\' || c == '"')
            out += '\\';
        out += c;
    }
    return out;
}

std::string Upper(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
        [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string input(reinterpret_cast<const char *>(data), size);
    const std::string subkey = "Software\\Brassmoor\\Arena";
    const std::string found = FindRegistryString(input, subkey, "InstallPath");
    Check(found.size() < kRegistryBufferSize, "a value fits the buffer", found);
    Check(found.find('\0') == std::string::npos, "a value ends at its first NUL");
    Check(FindRegistryString(input, Upper(subkey), "INSTALLPATH") == found,
        "names compare without regard to case");

    // The input's printable characters as a value, written the way Wine writes it, after
    // whatever the input holds.
    std::string value;
    for (const char c : input) {
        if (c >= 0x20 && c < 0x7f)
            value += c;
    }
    const std::string reg =
        "WINE REGISTRY Version 2\n\n[Software\\\\Brassmoor\\\\Arena] 1700000000\n"
        "\"InstallPath\"=\""
        + Escaped(value) + "\"\n";
    const std::string written = FindRegistryString(reg, subkey, "InstallPath");
    Check(written == (value.size() < kRegistryBufferSize ? value : std::string()),
        "a written value is found as it was", value + " / " + written);
    return 0;
}
