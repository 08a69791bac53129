#include "ui/filedialogs.h"

#include "ui/messagebox.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QStringList>

namespace voltara::ui {

namespace {

FileDialogFunction &Replacement()
{
    static FileDialogFunction function;
    return function;
}

// "Description|pattern|..." as Qt's name filters, one "description (pattern)" each. The
// description is shown as written; the pattern alone decides which files are listed.
QStringList NameFilters(const std::string &filter)
{
    QStringList items = FromBytes(filter).split(QLatin1Char('|'));
    if (!items.isEmpty() && items.last().isEmpty())
        items.removeLast();
    QStringList filters;
    for (qsizetype i = 0; i + 1 < items.size(); i += 2)
        filters << items[i] + QStringLiteral(" (") + items[i + 1] + QLatin1Char(')');
    return filters;
}

bool ConfirmCreate(QFileDialog &dialog, const QString &path)
{
    QMessageBox question(QMessageBox::Warning, dialog.windowTitle(),
        QStringLiteral("%1 does not exist.\nDo you want to create it?").arg(path),
        QMessageBox::Yes | QMessageBox::No, &dialog);
    question.setDefaultButton(QMessageBox::Yes);
    return question.exec() == QMessageBox::Yes;
}

std::string RunDialog(QWidget *owner, const FileDialogRequest &request)
{
    QFileDialog dialog(owner, FromBytes(request.title), FromBytes(request.folder));
    dialog.setNameFilters(NameFilters(request.filter));
    dialog.setOption(QFileDialog::HideNameFilterDetails);
#ifndef _WIN32
    dialog.setOption(QFileDialog::DontUseNativeDialog);
#endif
    if (request.save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    while (dialog.exec() == QDialog::Accepted) {
        const QStringList chosen = dialog.selectedFiles();
        if (chosen.isEmpty())
            return {};
        const QString path = chosen.first();
        if (!request.save || QFileInfo::exists(path) || ConfirmCreate(dialog, path))
            return ToBytes(QDir::toNativeSeparators(path));
    }
    return {};
}

std::string Show(QWidget *owner, const FileDialogRequest &request)
{
    if (Replacement())
        return Replacement()(owner, request);
    return RunDialog(owner, request);
}

} // namespace

void SetFileDialogFunction(FileDialogFunction function)
{
    Replacement() = std::move(function);
}

std::string ShowOpenDialog(
    QWidget *owner, const std::string &filter, const std::string &title, const std::string &folder)
{
    return Show(owner, {false, filter, title, folder});
}

std::string ShowSaveDialog(
    QWidget *owner, const std::string &filter, const std::string &title, const std::string &folder)
{
    return Show(owner, {true, filter, title, folder});
}

} // namespace voltara::ui
