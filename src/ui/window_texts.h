// Every text the windows give the user beyond their controls' captions, in one place: window
// titles, message boxes, file dialogs, and what a screen reader says of controls that have no
// hint of their own. The file rules' own messages are in core/messages.h.
#pragma once

#include <string>

namespace voltara::ui::texts {

// Each editor's title, the caption of its menu-bar item that starts the other editor, and the
// name of that editor's program beside it (".exe" added on Windows).
struct EditorTexts
{
    const char *title;
    const char *startSibling;
    const char *siblingProgram;
};
inline constexpr EditorTexts kTavrin = {
    "Official Bot Personality Editor", "Superbot Editor", "Olmach"};
inline constexpr EditorTexts kOlmach = {
    "Official SuperBot Editor", "Bot Personality Editor", "Tavrin"};

// The shared windows' titles.
inline constexpr const char *kAboutTitle = "About Voltara Bot Editor";
inline constexpr const char *kCreditsTitle = "Voltara Credits";

// The file dialogs' filters and titles.
struct FileDialogTexts
{
    const char *filter;
    const char *title;
};
inline constexpr FileDialogTexts kOpenDialog = {"Config-files (*.cfg)|*.cfg", "Open config-file"};
inline constexpr FileDialogTexts kSaveDialog = {"*.cfg (Config-file)|*.cfg", "Save as config-file"};

// Message boxes.
inline constexpr const char *kPowerLevelRefused = "No";
inline constexpr const char *kTitlesNotFound = "Could not find titles.txt in voltara dir";
inline constexpr const char *kCreditsFailed = "Unknown error. Please report this message";

inline std::string SiblingNotFound(const std::string &file_name)
{
    return file_name + " not found";
}

inline std::string SiblingNotStarted(const std::string &file_name, const std::string &reason)
{
    return file_name + " could not be started.\r\n" + reason;
}

// Tavrin's hint for the default-personality row, in the status bar and to screen readers.
inline constexpr const char *kDefaultPersonalityHint = "Specifies the personality default bots use";

// What a screen reader says of the controls that have no hint of their own.
inline constexpr const char *kTavrinViewBot =
    "Chooses which of the nine bots the fields below show";
inline constexpr const char *kTavrinLoadDefaults =
    "Gives every setting of the bot on view its default value";
inline constexpr const char *kTransKiller = "the transkiller switch of the bot";
inline constexpr const char *kOlmachViewBot =
    "Chooses the tier on view: SUPERBOT, MEGABOT or ULTIMATEBOT";
inline constexpr const char *kOlmachLoadDefaults =
    "Gives every value of the tier on view its default";
inline constexpr const char *kCloseAbout = "Closes the About window";
inline constexpr const char *kScrollSpeed = "Milliseconds from one line of the credits to the next";

} // namespace voltara::ui::texts
