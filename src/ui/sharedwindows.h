// The services and windows both editors share: starting the sibling editor, the project
// website, and the About and Credits windows.
#pragma once

#include <string>

class QWidget;

namespace voltara::ui {

// Starts the sibling editor (program name without extension: "Olmach" or "Tavrin"; ".exe" is
// added on Windows) from the program's own folder, as a separate process without arguments.
// A missing file gives "<file name> not found" with an empty caption.
void StartSibling(QWidget *owner, const std::string &program_name);

// Opens the project's website in the user's browser.
void OpenProjectWebsite(QWidget *owner);

// Shows the About window (modeless, one instance; an open one stays as it is).
void ShowAboutWindow();

// Unloads the Credits window if it is loaded, then shows it anew from the beginning.
void ShowCreditsWindow();

// Unload the window if it is loaded; called when a main window closes.
void CloseAboutWindow();
void CloseCreditsWindow();

} // namespace voltara::ui
