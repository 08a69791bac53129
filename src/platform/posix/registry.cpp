// The registry on Linux: the registry files of the Wine prefix the game runs in.
#include "platform/registry.h"

#include "platform/files.h"
#include "platform/read.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <exception>
#include <optional>

namespace voltara {

namespace {

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// One character of UTF-8 at the front of text, as a code point; a byte that starts no valid
// sequence stands for itself (Latin-1).
char32_t TakeUtf8(std::string_view &text)
{
    const auto lead = static_cast<unsigned char>(text[0]);
    const int length = lead >= 0xF5 ? 1
        : lead >= 0xF0              ? 4
        : lead >= 0xE0              ? 3
        : lead >= 0xC2              ? 2
                                    : 1;
    if (length == 1 || text.size() < static_cast<std::size_t>(length)) {
        text.remove_prefix(1);
        return lead;
    }
    char32_t code = lead & (0x7F >> length);
    for (int i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[i]);
        if ((next & 0xC0) != 0x80) {
            text.remove_prefix(1);
            return lead;
        }
        code = (code << 6) | (next & 0x3F);
    }
    text.remove_prefix(length);
    return code;
}

void AppendUtf16(std::u16string &out, char32_t code)
{
    if (code > 0x10FFFF)
        code = 0xFFFD;
    if (code < 0x10000) {
        out += static_cast<char16_t>(code);
        return;
    }
    code -= 0x10000;
    out += static_cast<char16_t>(0xD800 + (code >> 10));
    out += static_cast<char16_t>(0xDC00 + (code & 0x3FF));
}

// Wine's string escapes: the C letters, "\x" with up to four hex digits and up to three octal
// digits stand for one UTF-16 unit; a backslash before any other character keeps that
// character. Reads up to the unescaped end character, which is consumed. Returns false when
// the text ends first.
bool ParseEscaped(std::string_view &text, char end, std::u16string &out)
{
    static constexpr std::string_view kLetters = "abefnrtv";
    static constexpr std::string_view kCodes = "\a\b\x1B\f\n\r\t\v";
    while (!text.empty()) {
        const char c = text[0];
        if (c == end) {
            text.remove_prefix(1);
            return true;
        }
        if (c != '\\' || text.size() < 2) {
            AppendUtf16(out, TakeUtf8(text));
            continue;
        }
        text.remove_prefix(1);
        const char e = text[0];
        if (const std::size_t letter = kLetters.find(e); letter != std::string_view::npos) {
            out += static_cast<char16_t>(kCodes[letter]);
            text.remove_prefix(1);
        } else if (e == 'x' && text.size() > 1 && HexDigit(text[1]) >= 0) {
            text.remove_prefix(1);
            char16_t unit = 0;
            for (int i = 0; i < 4 && !text.empty() && HexDigit(text[0]) >= 0; ++i) {
                unit = static_cast<char16_t>(unit * 16 + HexDigit(text[0]));
                text.remove_prefix(1);
            }
            out += unit;
        } else if (e >= '0' && e <= '7') {
            char16_t unit = 0;
            for (int i = 0; i < 3 && !text.empty() && text[0] >= '0' && text[0] <= '7'; ++i) {
                unit = static_cast<char16_t>(unit * 8 + (text[0] - '0'));
                text.remove_prefix(1);
            }
            out += unit;
        } else {
            AppendUtf16(out, TakeUtf8(text));
        }
    }
    return false;
}

// UTF-16 as UTF-8; a surrogate without its partner becomes U+FFFD.
std::string ToUtf8(const std::u16string &units)
{
    std::string out;
    for (std::size_t i = 0; i < units.size(); ++i) {
        char32_t code = units[i];
        if (code >= 0xD800 && code < 0xDC00 && i + 1 < units.size() && units[i + 1] >= 0xDC00
            && units[i + 1] < 0xE000) {
            code = 0x10000 + ((code - 0xD800) << 10) + (units[++i] - 0xDC00);
        } else if (code >= 0xD800 && code < 0xE000) {
            code = 0xFFFD;
        }
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else if (code < 0x800) {
            out += static_cast<char>(0xC0 | (code >> 6));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            out += static_cast<char>(0xE0 | (code >> 12));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (code >> 18));
            out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
    }
    return out;
}

// Registry names compare as Windows compares them; ASCII folding covers the names looked up.
bool SameName(std::string_view a, std::string_view b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x))
            == std::tolower(static_cast<unsigned char>(y));
    });
}

// The key of a section line "[Software\\Brassmoor\\Arena] 1700000000", or nullopt.
std::optional<std::string> SectionKey(std::string_view line)
{
    line.remove_prefix(1);
    std::u16string key;
    if (!ParseEscaped(line, ']', key))
        return std::nullopt;
    return ToUtf8(key);
}

// The data of a value line whose name matches, or nullopt when the name differs or the line
// is no value. A value that is not a string gives "".
std::optional<std::string> LineValue(std::string_view line, std::string_view value_name)
{
    std::u16string name;
    if (line[0] == '@') {
        line.remove_prefix(1);
    } else {
        line.remove_prefix(1);
        if (!ParseEscaped(line, '"', name))
            return std::nullopt;
    }
    if (!SameName(ToUtf8(name), value_name) || line.empty() || line[0] != '=')
        return std::nullopt;
    line.remove_prefix(1);
    // Plain strings, and the expandable ones Wine writes as str(2).
    for (std::string_view lead : {"\"", "str(1):\"", "str(2):\""}) {
        if (!line.starts_with(lead))
            continue;
        line.remove_prefix(lead.size());
        std::u16string data;
        if (!ParseEscaped(line, '"', data))
            return std::string();
        const std::string text = ToUtf8(data);
        if (text.size() + 1 > kRegistryBufferSize)
            return std::string();
        return text.substr(0, text.find('\0'));
    }
    return std::string();
}

} // namespace

std::string WinePrefix()
{
    if (const char *prefix = std::getenv("WINEPREFIX"); prefix && *prefix)
        return prefix;
    if (const char *home = std::getenv("HOME"); home && *home)
        return std::string(home) + "/.wine";
    return {};
}

namespace {

// The value in the lines that next_line hands out (a std::optional of a line, nullopt at the
// end), so that a file is read as it is searched.
template <typename NextLine>
std::string FindInRegistryLines(
    NextLine next_line, std::string_view subkey, std::string_view value_name)
{
    bool in_key = false;
    while (const auto next = next_line()) {
        const std::string_view line = *next;
        if (line.empty())
            continue;
        if (line[0] == '[') {
            const std::optional<std::string> key = SectionKey(line);
            in_key = key && SameName(*key, subkey);
        } else if (in_key && (line[0] == '"' || line[0] == '@')) {
            if (std::optional<std::string> value = LineValue(line, value_name))
                return *value;
        }
    }
    return {};
}

} // namespace

std::string FindRegistryString(
    std::string_view reg_text, std::string_view subkey, std::string_view value_name)
{
    // Line ends as the registry files have them: CR LF, a lone CR or a lone LF.
    if (reg_text.starts_with("\xEF\xBB\xBF"))
        reg_text.remove_prefix(3);
    return FindInRegistryLines(
        [&reg_text]() -> std::optional<std::string_view> {
            if (reg_text.empty())
                return std::nullopt;
            const std::size_t end = std::min(reg_text.find_first_of("\r\n"), reg_text.size());
            const std::string_view line = reg_text.substr(0, end);
            const bool crlf = reg_text.substr(end).starts_with("\r\n");
            reg_text.remove_prefix(std::min(reg_text.size(), end + (crlf ? 2 : 1)));
            return line;
        },
        subkey, value_name);
}

std::string GetRegistryString(
    RegistryRoot root, const std::string &subkey, const std::string &value_name)
{
    try {
        const std::string prefix = WinePrefix();
        if (prefix.empty())
            return {};
        const std::string file =
            prefix + (root == RegistryRoot::CurrentUser ? "/user.reg" : "/system.reg");
        // A registry file grows with every program installed: it is searched as it is read.
        TextFileReader reader;
        std::string reason;
        if (!reader.Open(file, reason))
            return {};
        return FindInRegistryLines([&reader] { return reader.NextLine(); }, subkey, value_name);
    } catch (const std::exception &) {
        return {};
    }
}

std::string HostPathOfWindowsPath(const std::string &windows_path, const std::string &prefix)
{
    std::string_view rest = windows_path;
    std::string path;
    if (rest.size() >= 2 && std::isalpha(static_cast<unsigned char>(rest[0])) && rest[1] == ':') {
        path = prefix + "/dosdevices/"
            + static_cast<char>(std::tolower(static_cast<unsigned char>(rest[0]))) + ':';
        rest.remove_prefix(2);
    } else if (rest.starts_with("\\\\")) {
        path = prefix + "/dosdevices/unc/";
        rest.remove_prefix(2);
    }
    for (const char c : rest)
        path += c == '\\' ? '/' : c;
    return path;
}

std::string TitlesCandidate(const std::string &install_path)
{
    return HostPathOfWindowsPath(install_path, WinePrefix()) + "/voltara/titles.txt";
}

} // namespace voltara
