// What every fuzz target shares: a view that records messages and checks them against the
// texts the system can show, and a way to stop on a broken property.
#pragma once

#include "core/config_file.h"
#include "core/personality_file.h"
#include "core/superbot_file.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace voltara::fuzz {

[[noreturn]] inline void Broken(const char *property, const std::string &detail = {})
{
    std::fprintf(stderr, "broken property: %s\n%s\n", property, detail.c_str());
    std::abort();
}

inline void Check(bool holds, const char *property, const std::string &detail = {})
{
    if (!holds)
        Broken(property, detail);
}

// A message the readers may show: the read error with the program's title, or an invalid
// line with the caption "Error".
inline bool IsKnownReaderMessage(const std::string &text, const Caption &caption)
{
    if (text == voltara::messages::kReadError)
        return caption == kProgramTitle;
    return text.rfind("Invalid line:\r\n", 0) == 0 && caption == Caption("Error");
}

template <typename Base> class RecordingView : public Base
{
public:
    using Host::ShowMessage;
    void ShowMessage(const std::string &text, const Caption &caption, MessageIcon icon) override
    {
        Check(icon == MessageIcon::None, "reader messages carry no icon");
        Check(IsKnownReaderMessage(text, caption), "message is one of the known texts", text);
        messages.push_back(text);
    }
    void Yield() override { ++yields; }

    std::vector<std::string> messages;
    int yields = 0;
};

// The fuzzer's input as the text a reader reads.
inline std::string_view AsText(const std::uint8_t *data, std::size_t size)
{
    return {reinterpret_cast<const char *>(data), size};
}

// A configuration that init made ready as the editor's start-up does, after read has read the
// text into it through view.
template <typename Config, typename View, typename Init, typename Reader>
Config ReadFresh(View &view, std::string_view text, Init init, Reader read)
{
    Config config;
    init(config, "/nonexistent");
    read(config, text, view);
    return config;
}

// The bytes the writers write for these lines. One buffer serves every input: a fresh one
// for each would cost more than the reading under test.
inline std::string_view JoinedWithCrLf(const std::vector<std::string> &lines)
{
    static std::string bytes;
    bytes.clear();
    for (const std::string &line : lines)
        bytes.append(line).append("\r\n");
    return bytes;
}

// What the writer made of the records, read back into a fresh configuration: it must read
// without a message.
template <typename View, typename Config, typename Init, typename Reader>
Config ReadBack(const std::vector<std::string> &lines, Init init, Reader read)
{
    View view;
    Config again = ReadFresh<Config>(view, JoinedWithCrLf(lines), init, read);
    Check(view.messages.empty(), "a written file reads back without a message",
        view.messages.empty() ? "" : view.messages.front());
    return again;
}

} // namespace voltara::fuzz
