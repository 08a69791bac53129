#include "sharedwindows.h"

// Placeholders until the shared windows exist: the menu items are there and do nothing.
namespace voltara::ui {

void StartSibling(QWidget *, const std::string &) { }
void OpenProjectWebsite(QWidget *) { }
void ShowAboutWindow() { }
void ShowCreditsWindow() { }
void CloseAboutWindow() { }
void CloseCreditsWindow() { }

} // namespace voltara::ui
