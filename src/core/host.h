// The seam between the configuration core and the windows. The core never shows a window:
// it reports messages and asks for view updates through these interfaces, which the windows
// implement and tests fake.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace voltara {

enum class MessageIcon { None, Critical };

// A message caption: a text (possibly empty), or nullopt for the program's own title.
using Caption = std::optional<std::string>;
inline const Caption kProgramTitle = std::nullopt;

class Host
{
public:
    virtual ~Host() = default;
    // A modal message box with one OK button; returns when the user has dismissed it.
    virtual void ShowMessage(const std::string &text, const Caption &caption, MessageIcon icon) = 0;
    // Lets pending window events run once.
    virtual void Yield() = 0;
    // A message about the file being read, at line (counted from 1), or 0 where no one line is
    // to blame; detail is the system's reason where the system refused the reading, else
    // empty. A window shows the text like any other message; a front end that lists messages
    // can name the line and the reason.
    virtual void ShowReadingMessage(const std::string &text, const Caption &caption,
        std::size_t line, const std::string &detail)
    {
        static_cast<void>(line);
        static_cast<void>(detail);
        ShowMessage(text, caption, MessageIcon::None);
    }
    void ShowReadingMessage(const std::string &text, const Caption &caption, std::size_t line)
    {
        ShowReadingMessage(text, caption, line, std::string());
    }

    // A modal question with two buttons: proceed (with that caption) and "Cancel", which is the
    // default. True when the user chose to proceed; a host that cannot ask declines.
    virtual bool AskToProceed(
        const std::string &text, const Caption &caption, const std::string &proceed)
    {
        static_cast<void>(text);
        static_cast<void>(caption);
        static_cast<void>(proceed);
        return false;
    }

    void ShowMessage(const std::string &text, const Caption &caption)
    {
        ShowMessage(text, caption, MessageIcon::None);
    }
};

} // namespace voltara
