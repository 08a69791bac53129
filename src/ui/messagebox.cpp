#include "ui/messagebox.h"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QWindow>

#ifdef VOLTARA_HAVE_XCB
#include <cstdlib>
#include <cstring>
#include <xcb/xcb.h>
#endif

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#endif

namespace voltara::ui {

namespace {

MessageBoxFunction &Replacement()
{
    static MessageBoxFunction function;
    return function;
}

QuestionBoxFunction &QuestionReplacement()
{
    static QuestionBoxFunction function;
    return function;
}

#ifdef VOLTARA_HAVE_XCB
xcb_atom_t InternAtom(xcb_connection_t *connection, const char *name)
{
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name);
    xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return atom;
}
#endif

// Qt puts the application name into an empty window title, on X11 into _NET_WM_NAME (which
// window managers show) and on Windows into the title bar itself; an empty caption must give
// an empty title bar. The native window is cleared when the box is shown: it exists then, and
// asking for it earlier (winId()) would turn the owner's other children into native windows
// too.
void ClearNativeTitle(QWindow *window)
{
#ifdef VOLTARA_HAVE_XCB
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t *connection = x11 ? x11->connection() : nullptr;
    if (!connection)
        return; // another platform (offscreen) that names itself X11
    const xcb_atom_t name = InternAtom(connection, "_NET_WM_NAME");
    const xcb_atom_t utf8 = InternAtom(connection, "UTF8_STRING");
    if (name != XCB_ATOM_NONE && utf8 != XCB_ATOM_NONE) {
        xcb_change_property(connection, XCB_PROP_MODE_REPLACE,
            static_cast<xcb_window_t>(window->winId()), name, utf8, 8, 0, "");
        xcb_flush(connection);
    }
#elif defined(_WIN32)
    SetWindowTextW(reinterpret_cast<HWND>(window->winId()), L"");
#else
    (void)window;
#endif
}

class EmptyTitleKeeper : public QObject
{
protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *widget = qobject_cast<QWidget *>(watched);
        if (event->type() == QEvent::Show && widget && widget->windowHandle())
            ClearNativeTitle(widget->windowHandle());
        return QObject::eventFilter(watched, event);
    }
};

void ShowRealBox(QWidget *parent, const MessageBoxRecord &box)
{
    EmptyTitleKeeper keeper; // outlives the box that it watches
    QMessageBox message(
        box.icon == MessageIcon::Critical ? QMessageBox::Critical : QMessageBox::NoIcon, box.title,
        box.text, QMessageBox::Ok, parent);
    message.setTextFormat(Qt::PlainText);
    if (box.title.isEmpty())
        message.installEventFilter(&keeper);
    message.exec();
}

// The caption with an access key on its first letter, as every button of the programs has one.
QString WithAccessKey(const QString &caption)
{
    return caption.contains(QLatin1Char('&')) ? caption : QLatin1Char('&') + caption;
}

bool AskRealQuestion(QWidget *parent, const MessageBoxRecord &box, const QString &proceed)
{
    EmptyTitleKeeper keeper;
    QMessageBox question(QMessageBox::Warning, box.title, box.text, QMessageBox::NoButton, parent);
    question.setTextFormat(Qt::PlainText);
    QPushButton *go = question.addButton(WithAccessKey(proceed), QMessageBox::AcceptRole);
    QPushButton *cancel = question.addButton(QMessageBox::Cancel);
    question.setDefaultButton(cancel);
    question.setEscapeButton(cancel);
    if (box.title.isEmpty())
        question.installEventFilter(&keeper);
    question.exec();
    return question.clickedButton() == go;
}

// The core's texts break lines with CR LF; Qt's plain text wants LF alone.
MessageBoxRecord RecordOf(const std::string &text, const Caption &caption, MessageIcon icon)
{
    QString shown = FromBytes(text);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return {shown, caption ? FromBytes(*caption) : QCoreApplication::applicationName(), icon};
}

} // namespace

void SetMessageBoxFunction(MessageBoxFunction function)
{
    Replacement() = std::move(function);
}

void SetQuestionBoxFunction(QuestionBoxFunction function)
{
    QuestionReplacement() = std::move(function);
}

bool ShowQuestionBox(
    QWidget *parent, const std::string &text, const Caption &caption, const std::string &proceed)
{
    const MessageBoxRecord box = RecordOf(text, caption, MessageIcon::None);
    if (QuestionReplacement())
        return QuestionReplacement()(parent, box);
    return AskRealQuestion(parent, box, FromBytes(proceed));
}

QString FromBytes(const std::string &bytes)
{
    return QString::fromLocal8Bit(bytes);
}

std::string ToBytes(const QString &text)
{
    return text.toLocal8Bit().toStdString();
}

void ShowMessageBox(
    QWidget *parent, const std::string &text, const Caption &caption, MessageIcon icon)
{
    const MessageBoxRecord box = RecordOf(text, caption, icon);
    if (Replacement())
        Replacement()(parent, box);
    else
        ShowRealBox(parent, box);
}

void YieldToEvents()
{
    QCoreApplication::processEvents();
}

} // namespace voltara::ui
