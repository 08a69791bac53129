#include "output.h"

#include <cstdio>

namespace botcfg {

namespace {

std::string Hex(unsigned char byte, const char *format)
{
    char buffer[8] = {};
    std::snprintf(buffer, sizeof buffer, format, static_cast<unsigned>(byte));
    return buffer;
}

} // namespace

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
        if ((byte < 0x20 && c != '\t') || byte == 0x7F)
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
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\')
            json += std::string("\\") + c;
        else if (byte < 0x20 || byte >= 0x7F)
            json += Hex(byte, "\\u%04X");
        else
            json += c;
    }
    return json + "\"";
}

} // namespace botcfg
