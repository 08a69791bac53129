// frmAbout, the window icon and the generated pictures, on the offscreen platform.
#include "lastwindow.h"
#include "ui/frmabout.h"
#include "ui/sharedwindows.h"

#include <QApplication>
#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace voltara::ui;

class TestFrmAbout : public QObject
{
    Q_OBJECT

private slots:
    void showsTheTextCentredOverThePicture();
    void okHidesAndUnloads();
    void ownCloseCommandUnloads();
    void okEndsTheProgramAsItsLastWindow();
    void keepsOneInstance();
    void picturesAndIconAreColourResources();
};

void TestFrmAbout::showsTheTextCentredOverThePicture()
{
    frmAbout window;
    window.Form_Load();
    QVERIFY(window.isVisible());
    QCOMPARE(window.windowTitle(), QStringLiteral("About Voltara Bot Editor"));
    QCOMPARE(window.size(), QSize(344, 245));
    auto *label = window.findChild<QLabel *>(QStringLiteral("lblAnzeige"));
    QCOMPARE(label->text(),
        QStringLiteral(
            "\nVoltara Bot Editor\n\nVersion 1\n\nWritten by the Voltara Bot Editor team"));
    QVERIFY(label->alignment() & Qt::AlignHCenter);
    QCOMPARE(label->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    auto *picture = window.findChild<QLabel *>(QStringLiteral("Image1"));
    QCOMPARE(picture->geometry(), window.rect());
    QVERIFY(!picture->pixmap().isNull());
    // Behind every other control.
    QCOMPARE(window.children().indexOf(picture), 0);
}

void TestFrmAbout::okHidesAndUnloads()
{
    frmAbout window;
    window.Form_Load();
    QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("cmdOK")), Qt::LeftButton);
    QVERIFY(!window.isVisible());
    QVERIFY(window.isUnloaded());
}

void TestFrmAbout::ownCloseCommandUnloads()
{
    frmAbout window;
    window.Form_Load();
    window.close();
    QVERIFY(window.isUnloaded());
}

void TestFrmAbout::okEndsTheProgramAsItsLastWindow()
{
    QVERIFY2(voltara::test::OkEndsTheProgram(
                 ShowAboutWindow, [] { return static_cast<QWidget *>(AboutWindow()); }),
        "the program did not end with its last window");
}

void TestFrmAbout::keepsOneInstance()
{
    ShowAboutWindow();
    QPointer<frmAbout> first = AboutWindow();
    QVERIFY(first && first->isVisible());
    ShowAboutWindow();
    QCOMPARE(AboutWindow(), first.data());
    CloseAboutWindow();
    QVERIFY(!AboutWindow());
    QTRY_VERIFY(!first);
    // After Escape a new choice of the menu item loads a new window.
    ShowAboutWindow();
    QPointer<frmAbout> second = AboutWindow();
    QVERIFY(QTest::qWaitForWindowActive(second));
    QTest::keyClick(second, Qt::Key_Escape);
    QVERIFY(!AboutWindow());
    QTRY_VERIFY(!second);
}

void TestFrmAbout::picturesAndIconAreColourResources()
{
    LoadSharedResources();
    const QImage about(QStringLiteral(":/voltara/about.jpg"));
    const QImage credits(QStringLiteral(":/voltara/credits.jpg"));
    QCOMPARE(about.size(), QSize(358, 269));
    QCOMPARE(credits.size(), QSize(385, 288));
    QVERIFY(!about.allGray());
    QVERIFY(!credits.allGray());
    InstallWindowIcon();
    QVERIFY(!QApplication::windowIcon().isNull());
}

QTEST_MAIN(TestFrmAbout)
#include "tst_frmabout.moc"
