// The services and windows both editors share: starting the sibling editor, the project
// website, the window icon, and the About and Credits windows.
#pragma once

#include <string>

class QMainWindow;
class QWidget;

namespace voltara::ui {

class frmAbout;
class frmCredits;

// The project's website, the same in both programs.
inline constexpr const char *kProjectWebsite = "https://voltara.example.org/";

// Sets the icon shared by every window of both programs. The programs call it once, right
// after creating the application object.
void InstallWindowIcon();

// Makes the pictures and the icon available as resources; repeated calls do nothing. The
// windows call it themselves.
void LoadSharedResources();

// F10 opens the first menu of the window's menu bar, as it does on the desktops; Alt still
// only highlights the bar.
void OpenMenusOnF10(QMainWindow *window);

// Starts the sibling editor (program name without extension: "Olmach" or "Tavrin"; ".exe" is
// added on Windows) from the program's own folder, as a separate process without arguments,
// not waited for. A missing file (not a regular file) gives "<file name> not found" with an
// empty caption; a file that cannot be started an "Error" box with the system's reason.
void StartSibling(QWidget *owner, const std::string &program_name);

// StartSibling with the folder given instead of the program's own.
void StartSiblingIn(QWidget *owner, const std::string &folder, const std::string &program_name);

// Hands the address to the user's browser, with the busy pointer while the call runs. A
// failure is not reported.
void OpenURL(QWidget *owner, const std::string &address);

// Opens the project's website in the user's browser.
void OpenProjectWebsite(QWidget *owner);

// Shows the About window (modeless, one instance; an open one stays as it is and comes to the
// front).
void ShowAboutWindow();

// Unloads the Credits window if it is loaded, then shows it anew from the beginning.
void ShowCreditsWindow();

// Unload the window if it is loaded; called when a main window closes.
void CloseAboutWindow();
void CloseCreditsWindow();

// The loaded window, or nullptr.
frmAbout *AboutWindow();
frmCredits *CreditsWindow();

} // namespace voltara::ui
