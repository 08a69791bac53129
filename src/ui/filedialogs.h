// The open and save dialogs of both editors. Each returns the chosen full path, or the empty
// string when the user cancelled.
#pragma once

#include <functional>
#include <string>

class QWidget;

namespace voltara::ui {

// filter: description and pattern items separated by "|", a final "|" optional
// ("Config-files (*.cfg)|*.cfg"). The open dialog accepts only an existing file.
std::string ShowOpenDialog(
    QWidget *owner, const std::string &filter, const std::string &title, const std::string &folder);

// The save dialog asks before replacing a file and before creating one, and adds no extension.
std::string ShowSaveDialog(
    QWidget *owner, const std::string &filter, const std::string &title, const std::string &folder);

// What a dialog was asked to show; tests replace the dialogs with a function of this.
struct FileDialogRequest
{
    bool save;
    std::string filter;
    std::string title;
    std::string folder;
};
using FileDialogFunction = std::function<std::string(QWidget *owner, const FileDialogRequest &)>;
void SetFileDialogFunction(FileDialogFunction function);

} // namespace voltara::ui
