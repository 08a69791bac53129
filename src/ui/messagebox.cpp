#include "messagebox.h"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QMessageBox>
#include <QWindow>

#ifdef VOLTARA_HAVE_XCB
#include <cstdlib>
#include <cstring>
#include <xcb/xcb.h>
#endif

namespace voltara::ui {

namespace {

MessageBoxFunction &Replacement()
{
    static MessageBoxFunction function;
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

// On X11 Qt writes the application name into _NET_WM_NAME when a window's title is empty,
// and window managers show that name; an empty caption must give an empty title bar. The
// property is set when the box is shown: its native window exists then, and asking for it
// earlier (winId()) would turn the owner's other children into native windows too.
class EmptyTitleKeeper : public QObject
{
protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
#ifdef VOLTARA_HAVE_XCB
        auto *widget = qobject_cast<QWidget *>(watched);
        auto *x11 = event->type() == QEvent::Show
            ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>()
            : nullptr;
        if (x11 && widget && widget->windowHandle()) {
            xcb_connection_t *connection = x11->connection();
            const xcb_atom_t name = InternAtom(connection, "_NET_WM_NAME");
            const xcb_atom_t utf8 = InternAtom(connection, "UTF8_STRING");
            if (name != XCB_ATOM_NONE && utf8 != XCB_ATOM_NONE) {
                xcb_change_property(connection, XCB_PROP_MODE_REPLACE,
                    static_cast<xcb_window_t>(widget->windowHandle()->winId()), name, utf8, 8, 0,
                    "");
                xcb_flush(connection);
            }
        }
#endif
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

} // namespace

void SetMessageBoxFunction(MessageBoxFunction function)
{
    Replacement() = std::move(function);
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
    // The core's texts break lines with CR LF; Qt's plain text wants LF alone.
    QString shown = FromBytes(text);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    const MessageBoxRecord box {
        shown, caption ? FromBytes(*caption) : QCoreApplication::applicationName(), icon};
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
