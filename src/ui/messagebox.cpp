#include "messagebox.h"

#include <QApplication>
#include <QMessageBox>

namespace voltara::ui {

namespace {

MessageBoxFunction &Replacement()
{
    static MessageBoxFunction function;
    return function;
}

void ShowRealBox(QWidget *parent, const MessageBoxRecord &box)
{
    QMessageBox message(box.icon == MessageIcon::Critical ? QMessageBox::Critical
                                                          : QMessageBox::NoIcon,
        box.title, box.text, QMessageBox::Ok, parent);
    message.setTextFormat(Qt::PlainText);
    message.exec();
}

} // namespace

void SetMessageBoxFunction(MessageBoxFunction function) { Replacement() = std::move(function); }

QString FromBytes(const std::string &bytes) { return QString::fromLocal8Bit(bytes); }

std::string ToBytes(const QString &text) { return text.toLocal8Bit().toStdString(); }

void ShowMessageBox(QWidget *parent, const std::string &text, const Caption &caption,
    MessageIcon icon)
{
    // The core's texts break lines with CR LF; Qt's plain text wants LF alone.
    QString shown = FromBytes(text);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    const MessageBoxRecord box {shown,
        caption ? FromBytes(*caption) : QCoreApplication::applicationName(), icon};
    if (Replacement())
        Replacement()(parent, box);
    else
        ShowRealBox(parent, box);
}

void YieldToEvents() { QCoreApplication::processEvents(); }

} // namespace voltara::ui
