#include "botcfg/output.h"

#include <cstdio>
#include <ostream>

namespace botcfg {

namespace {

std::string Hex(unsigned char byte, const char *format)
{
    char buffer[8] = {};
    std::snprintf(buffer, sizeof buffer, format, static_cast<unsigned>(byte));
    return buffer;
}

} // namespace

std::size_t Utf8SequenceAt(std::string_view text, std::size_t at)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[at + i]); };
    const unsigned char lead = byte(0);
    const std::size_t length = lead >= 0xC2 && lead <= 0xDF ? 2
        : lead >= 0xE0 && lead <= 0xEF                      ? 3
        : lead >= 0xF0 && lead <= 0xF4                      ? 4
                                                            : 0;
    if (length == 0 || at + length > text.size())
        return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80)
            return 0;
    }
    // The second byte's range rules out the overlong forms, the surrogates and what lies
    // beyond U+10FFFF.
    const unsigned char second = byte(1);
    if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second > 0x9F)
        || (lead == 0xF0 && second < 0x90) || (lead == 0xF4 && second > 0x8F))
        return 0;
    return length;
}

Pairs PairsOf(const voltara::ConfigDocument &document, int record)
{
    Pairs pairs;
    for (const std::string &key : document.Keys(record))
        pairs.emplace_back(key, document.Value(record, key));
    return pairs;
}

void PrintPlain(std::ostream &out, const Pairs &pairs, const std::vector<Group> &groups)
{
    for (const auto &[key, value] : pairs)
        out << key << ' ' << Printable(value) << '\n';
    for (const Group &group : groups) {
        out << '[' << group.name << "]\n";
        PrintPlain(out, group.pairs, {});
    }
}

void PrintJson(std::ostream &out, const Pairs &pairs, const std::vector<Group> &groups,
    const std::string &indent)
{
    out << "{";
    const char *separator = "\n";
    for (const auto &[key, value] : pairs) {
        out << separator << indent << "  " << JsonString(key) << ": " << JsonString(value);
        separator = ",\n";
    }
    for (const Group &group : groups) {
        out << separator << indent << "  " << JsonString(group.name) << ": ";
        PrintJson(out, group.pairs, {}, indent + "  ");
        separator = ",\n";
    }
    out << "\n" << indent << "}";
    if (indent.empty())
        out << "\n";
}

std::string OneLine(const std::string &text)
{
    std::string line;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text.compare(i, 2, "\r\n") == 0) {
            line += !line.empty() && line.back() == ':' ? " " : ": ";
            ++i;
        } else {
            line += text[i];
        }
    }
    return line;
}

std::string Printable(const std::string &text)
{
    std::string printable;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F)
            printable += Hex(byte, "\\x%02X");
        else
            printable += c;
    }
    return printable;
}

std::string MessageLine(const std::string &path, const Message &message)
{
    const std::string where = message.line ? ":" + std::to_string(message.line) : "";
    return Printable(path) + where + ": " + Printable(OneLine(message.text));
}

std::string JsonString(const std::string &bytes)
{
    std::string json = "\"";
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        const auto byte = static_cast<unsigned char>(c);
        if (const std::size_t length = Utf8SequenceAt(bytes, i); length > 1) {
            json.append(bytes, i, length);
            i += length - 1;
        } else if (c == '"' || c == '\\') {
            json += std::string("\\") + c;
        } else if (byte < 0x20 || byte >= 0x7F) {
            json += Hex(byte, "\\u%04X");
        } else {
            json += c;
        }
    }
    return json + "\"";
}

} // namespace botcfg
