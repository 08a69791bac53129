// Whether pressing OK in a shared window, when it is the program's last window, ends the
// program's event loop, as closing the last window of a desktop program must.
#pragma once

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

namespace voltara::test {

// show opens the window; window gives it once it is open. True when OK ended the event loop
// within five seconds.
inline bool OkEndsTheProgram(
    const std::function<void()> &show, const std::function<QWidget *()> &window)
{
    show();
    QTimer::singleShot(0, window(), [window] {
        QTest::mouseClick(
            window()->findChild<QPushButton *>(QStringLiteral("cmdOK")), Qt::LeftButton);
    });
    QTimer safety;
    safety.setSingleShot(true);
    QObject::connect(&safety, &QTimer::timeout, qApp, &QCoreApplication::quit);
    safety.start(5000);
    QApplication::exec();
    return safety.isActive();
}

} // namespace voltara::test
