// The readers' and the presets' view for a document without a window: the messages go on to a
// host, and there is nothing to select, to show or to let run.
#pragma once

#include "core/personality_file.h"
#include "core/superbot_file.h"

namespace voltara {

class WindowlessView : public PersonalityView, public SuperbotView
{
public:
    explicit WindowlessView(Host &host)
        : host_(host)
    {
    }
    void ShowMessage(const std::string &text, const Caption &caption, MessageIcon icon) override
    {
        host_.ShowMessage(text, caption, icon);
    }
    void ShowReadingMessage(const std::string &text, const Caption &caption, std::size_t line,
        const std::string &detail) override
    {
        host_.ShowReadingMessage(text, caption, line, detail);
    }
    void Yield() override { }
    void SelectDefaultOption(int) override { }
    void ShowPersonality(const std::string &) override { }
    void ShowSuperbot(const std::string &) override { }

private:
    Host &host_;
};

// A host for what is to show nothing.
class SilentHost : public Host
{
public:
    void ShowMessage(const std::string &, const Caption &, MessageIcon) override { }
    void Yield() override { }
};

} // namespace voltara
