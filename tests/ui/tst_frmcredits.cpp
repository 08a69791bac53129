// frmCredits on the offscreen platform: the titles file lies in a temporary Wine prefix, the
// timers are ticked directly or shortened, and message boxes are recorded.
#include "lastwindow.h"
#include "ui/frmcredits.h"
#include "ui/messagebox.h"
#include "ui/sharedwindows.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFontMetricsF>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace voltara;
using namespace voltara::ui;

namespace {

// Lines "L1" .. "L<count>", each ending in CR LF.
QByteArray Lines(int count)
{
    QByteArray text;
    for (int i = 1; i <= count; ++i)
        text += "L" + QByteArray::number(i) + "\r\n";
    return text;
}

// The text of the page whose first line is "L<first>", as the label shows it.
QString Page(int first, bool final_break)
{
    QStringList lines;
    for (int i = first; i < first + 14; ++i)
        lines << QStringLiteral("L%1").arg(i);
    return lines.join(QLatin1Char('\n')) + (final_break ? QStringLiteral("\n") : QString());
}

const QString kCreditsFailed =
    QStringLiteral("[Error] Unknown error. Please report this message (critical)");

} // namespace

class TestFrmCredits : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void showsFifteenLinesAfterTheMarkerThenStops();
    void reportsAnEarlyEndAndKeepsWhatWasRead();
    void takesOnlyTheExactMarker();
    void closesAfterTitlesNotFound();
    void scrollsThroughTheFileWithRealTimers();
    void pauseDuringTheDelayRestartsTheDelay();
    void pauseWhileScrollingContinuesTheScroll();
    void againWhilePausedFollowsThePauseFlag_data();
    void againWhilePausedFollowsThePauseFlag();
    void againAfterTheEndStartsOver();
    void speedBarSetsBothIntervals_data();
    void speedBarSetsBothIntervals();
    void speedHoldsAcrossAgainButNotAcrossOpenings();
    void speedBarTakesTheFocusRightAfterOk();
    void unloadStopsEverythingAndStateSurvives();
    void stepAfterAFailedLoadEndsTheScroll();
    void menuRestartsAnOpenWindow();
    void okEndsTheProgramAsItsLastWindow();

private:
    void writeTitles(const QByteArray &content);
    QTimer *timer(frmCredits &window, const char *name);
    QString page(frmCredits &window);

    QTemporaryDir m_prefix;
    QString m_titles;
    CreditsState m_state;
    QStringList m_boxes; // "[title] text", and "(critical)" for a box with that icon
};

void TestFrmCredits::initTestCase()
{
    QVERIFY(m_prefix.isValid());
    qputenv("WINEPREFIX", QFile::encodeName(m_prefix.path()));
    QFile reg(m_prefix.filePath(QStringLiteral("user.reg")));
    QVERIFY(reg.open(QIODevice::WriteOnly));
    reg.write("WINE REGISTRY Version 2\n\n[Software\\\\Brassmoor\\\\Arena] 1700000000\n"
              "\"InstallPath\"=\"C:\\\\Game\"\n");
    reg.close();
    const QString folder = m_prefix.filePath(QStringLiteral("dosdevices/c:/Game/voltara"));
    QVERIFY(QDir().mkpath(folder));
    m_titles = folder + QStringLiteral("/titles.txt");
    SetMessageBoxFunction([this](QWidget *, const MessageBoxRecord &box) {
        m_boxes << QStringLiteral("[%1] %2").arg(box.title, box.text)
                + (box.icon == MessageIcon::Critical ? QStringLiteral(" (critical)") : QString());
    });
}

void TestFrmCredits::init()
{
    m_boxes.clear();
    m_state = CreditsState();
    writeTitles("Voltara\r\nCredits\r\nskipped\r\n" + Lines(30));
}

void TestFrmCredits::cleanup()
{
    QVERIFY(!m_state.Titles.IsOpen() || !m_boxes.isEmpty());
}

void TestFrmCredits::writeTitles(const QByteArray &content)
{
    QFile file(m_titles);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
}

QTimer *TestFrmCredits::timer(frmCredits &window, const char *name)
{
    return window.findChild<QTimer *>(QLatin1String(name));
}

QString TestFrmCredits::page(frmCredits &window)
{
    return window.findChild<QLabel *>(QStringLiteral("lblAnzeige"))->text();
}

void TestFrmCredits::showsFifteenLinesAfterTheMarkerThenStops()
{
    writeTitles("Voltara\r\nCredits\r\nskipped\r\n" + Lines(14));
    frmCredits window(m_state);
    window.Form_Load();
    QVERIFY(m_boxes.isEmpty());
    QCOMPARE(page(window), Page(1, true));
    QVERIFY(!page(window).contains(QStringLiteral("skipped")));
    // All 14 lines are in sight, down to the last one.
    auto *label = window.findChild<QLabel *>(QStringLiteral("lblAnzeige"));
    QVERIFY(QFontMetricsF(label->font()).lineSpacing() * 14 <= label->height());
    QVERIFY(timer(window, "Timer2")->isActive());
    QVERIFY(!timer(window, "Timer1")->isActive());

    window.Timer2_Timer();
    QVERIFY(timer(window, "Timer1")->isActive());
    QVERIFY(!timer(window, "Timer2")->isActive());
    window.Timer1_Timer();
    QVERIFY(!timer(window, "Timer1")->isActive());
    QVERIFY(!window.findChild<QPushButton *>(QStringLiteral("cmdPause"))->isEnabled());
    QVERIFY(!window.findChild<QScrollBar *>(QStringLiteral("HScroll1"))->isEnabled());
    QCOMPARE(page(window), Page(1, true));
    QVERIFY(!m_state.Titles.IsOpen());
    window.close();
}

void TestFrmCredits::reportsAnEarlyEndAndKeepsWhatWasRead()
{
    writeTitles("Credits\r\nskipped\r\n" + Lines(13));
    frmCredits window(m_state);
    window.Form_Load();
    QCOMPARE(m_boxes, QStringList {kCreditsFailed});
    QVERIFY(window.isVisible());
    QCOMPARE(page(window), Page(1, true).section(QLatin1Char('\n'), 0, 12) + QLatin1Char('\n'));
    QVERIFY(!timer(window, "Timer1")->isActive());
    QVERIFY(!timer(window, "Timer2")->isActive());
    window.close();
    QVERIFY(!m_state.Titles.IsOpen());
}

void TestFrmCredits::takesOnlyTheExactMarker()
{
    for (const QByteArray &marker :
        {QByteArray("credits"), QByteArray("Credits "), QByteArray("CREDITS")}) {
        m_boxes.clear();
        writeTitles(marker + "\r\nskipped\r\n" + Lines(20));
        frmCredits window(m_state);
        window.Form_Load();
        QCOMPARE(m_boxes, QStringList {kCreditsFailed});
        QCOMPARE(page(window), QString());
        window.close();
    }
}

void TestFrmCredits::closesAfterTitlesNotFound()
{
    QVERIFY(QFile::remove(m_titles));
    frmCredits window(m_state);
    window.Form_Load();
    QCOMPARE(m_boxes, QStringList {"[Error] Could not find titles.txt in voltara dir"});
    QVERIFY(window.isUnloaded());
    QVERIFY(!window.isVisible());
    QVERIFY(m_state.Closing);
    QVERIFY(m_state.TitlesPath.empty());
}

void TestFrmCredits::scrollsThroughTheFileWithRealTimers()
{
    writeTitles("Credits\nskipped\n" + Lines(20) + "after the credits");
    frmCredits window(m_state);
    window.Form_Load();
    timer(window, "Timer1")->setInterval(5);
    timer(window, "Timer2")->setInterval(10);
    timer(window, "Timer2")->start();
    auto *pause = window.findChild<QPushButton *>(QStringLiteral("cmdPause"));
    QTRY_VERIFY(!pause->isEnabled());
    QVERIFY(page(window).endsWith(QStringLiteral("L20\nafter the credits")));
    QVERIFY(!timer(window, "Timer1")->isActive());
    QVERIFY(m_boxes.isEmpty());
    window.close();
}

void TestFrmCredits::pauseDuringTheDelayRestartsTheDelay()
{
    frmCredits window(m_state);
    window.Form_Load();
    QTimer *delay = timer(window, "Timer2");
    QTest::qWait(300);
    window.cmdPause_Click();
    QVERIFY(!delay->isActive());
    QVERIFY(!m_state.ScrollWasRunning);
    QVERIFY(!window.findChild<QPushButton *>(QStringLiteral("cmdPause"))->isVisible());
    QVERIFY(window.findChild<QPushButton *>(QStringLiteral("cmdWeiter"))->isVisible());

    window.cmdWeiter_Click();
    QVERIFY(delay->isActive());
    QVERIFY(delay->remainingTime() > 3000 - 200);
    QVERIFY(!timer(window, "Timer1")->isActive());
    QVERIFY(window.findChild<QPushButton *>(QStringLiteral("cmdPause"))->isVisible());
    QVERIFY(!window.findChild<QPushButton *>(QStringLiteral("cmdWeiter"))->isVisible());
    window.close();
}

void TestFrmCredits::pauseWhileScrollingContinuesTheScroll()
{
    frmCredits window(m_state);
    window.Form_Load();
    window.Timer2_Timer();
    window.Timer1_Timer();
    QCOMPARE(page(window), Page(2, false));
    QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("cmdPause")), Qt::LeftButton);
    QVERIFY(m_state.ScrollWasRunning);
    QVERIFY(!timer(window, "Timer1")->isActive());
    QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("cmdWeiter")), Qt::LeftButton);
    QVERIFY(timer(window, "Timer1")->isActive());
    QVERIFY(!timer(window, "Timer2")->isActive());
    QCOMPARE(page(window), Page(2, false));
    window.close();
}

void TestFrmCredits::againWhilePausedFollowsThePauseFlag_data()
{
    QTest::addColumn<bool>("scrolling");
    QTest::newRow("paused while scrolling") << true;
    QTest::newRow("paused during the delay") << false;
}

void TestFrmCredits::againWhilePausedFollowsThePauseFlag()
{
    QFETCH(bool, scrolling);
    frmCredits window(m_state);
    window.Form_Load();
    if (scrolling) {
        window.Timer2_Timer();
        window.Timer1_Timer();
    }
    window.cmdPause_Click();
    window.cmdNochmal_Click();
    // The credits start over and scroll after the delay, while Continue is still shown.
    QCOMPARE(page(window), Page(1, true));
    QVERIFY(timer(window, "Timer2")->isActive());
    window.Timer2_Timer();
    QVERIFY(timer(window, "Timer1")->isActive());
    auto *pause = window.findChild<QPushButton *>(QStringLiteral("cmdPause"));
    auto *weiter = window.findChild<QPushButton *>(QStringLiteral("cmdWeiter"));
    QVERIFY(weiter->isVisible());
    QVERIFY(!pause->isVisible());

    window.cmdWeiter_Click();
    QCOMPARE(timer(window, "Timer1")->isActive(), scrolling);
    QCOMPARE(timer(window, "Timer2")->isActive(), !scrolling);
    QVERIFY(pause->isVisible());
    QVERIFY(!weiter->isVisible());
    window.close();
}

void TestFrmCredits::againAfterTheEndStartsOver()
{
    writeTitles("Credits\r\nskipped\r\n" + Lines(14));
    frmCredits window(m_state);
    window.Form_Load();
    window.Timer2_Timer();
    window.Timer1_Timer();
    auto *pause = window.findChild<QPushButton *>(QStringLiteral("cmdPause"));
    QVERIFY(!pause->isEnabled());
    QTest::mouseClick(
        window.findChild<QPushButton *>(QStringLiteral("cmdNochmal")), Qt::LeftButton);
    QVERIFY(pause->isEnabled());
    QVERIFY(window.findChild<QScrollBar *>(QStringLiteral("HScroll1"))->isEnabled());
    QVERIFY(timer(window, "Timer2")->isActive());
    QVERIFY(m_state.Titles.IsOpen());
    QCOMPARE(page(window), Page(1, true));
    window.close();
}

void TestFrmCredits::speedBarSetsBothIntervals_data()
{
    QTest::addColumn<int>("speed");
    QTest::addColumn<int>("delay");
    QTest::newRow("slowest") << 1000 << 7500;
    QTest::newRow("fastest") << 20 << 150;
    QTest::newRow("half up to even") << 401 << 3008;
    QTest::newRow("half down to even") << 403 << 3022;
}

void TestFrmCredits::speedBarSetsBothIntervals()
{
    QFETCH(int, speed);
    QFETCH(int, delay);
    frmCredits window(m_state);
    window.setScrollSpeed(speed);
    QCOMPARE(timer(window, "Timer1")->interval(), speed);
    QCOMPARE(timer(window, "Timer2")->interval(), delay);
    // Qt's default coarse timers fire up to 5 % early or late.
    QCOMPARE(timer(window, "Timer1")->timerType(), Qt::PreciseTimer);
    QCOMPARE(timer(window, "Timer2")->timerType(), Qt::PreciseTimer);
}

void TestFrmCredits::speedHoldsAcrossAgainButNotAcrossOpenings()
{
    {
        frmCredits window(m_state);
        window.Form_Load();
        QCOMPARE(window.scrollSpeed(), 400);
        // The right arrow speeds up: the left end is the slow one.
        auto *bar = window.findChild<QScrollBar *>(QStringLiteral("HScroll1"));
        bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QCOMPARE(window.scrollSpeed(), 390);
        bar->triggerAction(QAbstractSlider::SliderToMaximum);
        QCOMPARE(window.scrollSpeed(), 20);
        window.cmdNochmal_Click();
        QCOMPARE(window.scrollSpeed(), 20);
        QCOMPARE(timer(window, "Timer1")->interval(), 20);
        QCOMPARE(timer(window, "Timer2")->interval(), 150);
        window.close();
    }
    frmCredits window(m_state);
    window.Form_Load();
    QCOMPARE(window.scrollSpeed(), 400);
    QCOMPARE(timer(window, "Timer1")->interval(), 400);
    QCOMPARE(timer(window, "Timer2")->interval(), 3000);
    window.close();
}

void TestFrmCredits::speedBarTakesTheFocusRightAfterOk()
{
    frmCredits window(m_state);
    window.Form_Load();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    auto *ok = window.findChild<QPushButton *>(QStringLiteral("cmdOK"));
    QVERIFY(ok->hasFocus());
    QTest::keyClick(ok, Qt::Key_Tab);
    auto *bar = window.findChild<QScrollBar *>(QStringLiteral("HScroll1"));
    QVERIFY(bar->hasFocus());
    // The keys move the thumb the way they point; its left end is the slow one.
    QTest::keyClick(bar, Qt::Key_Right);
    QCOMPARE(window.scrollSpeed(), 390);
    QTest::keyClick(bar, Qt::Key_Home);
    QCOMPARE(window.scrollSpeed(), 1000);
    window.close();
}

void TestFrmCredits::unloadStopsEverythingAndStateSurvives()
{
    {
        frmCredits window(m_state);
        window.Form_Load();
        window.Timer2_Timer();
        window.Timer1_Timer();
        QTest::keyClick(&window, Qt::Key_Escape);
        QVERIFY(window.isUnloaded());
        QVERIFY(!timer(window, "Timer1")->isActive());
        QVERIFY(m_state.Closing);
        QVERIFY(!m_state.Titles.IsOpen());
        // A tick already queued finds Closing set and changes nothing.
        window.Timer1_Timer();
        QCOMPARE(page(window), Page(2, false));
    }
    QCOMPARE(QString::fromStdString(m_state.CreditLines[0]), QStringLiteral("L2"));
    QCOMPARE(m_state.TitlesPath, QFile::encodeName(m_titles).toStdString());
    frmCredits window(m_state);
    window.Form_Load();
    QVERIFY(!m_state.Closing);
    QCOMPARE(page(window), Page(1, true));
    QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("cmdOK")), Qt::LeftButton);
    QVERIFY(window.isUnloaded());
    QVERIFY(!window.isVisible());
}

void TestFrmCredits::stepAfterAFailedLoadEndsTheScroll()
{
    writeTitles("no marker here\r\n");
    frmCredits window(m_state);
    window.Form_Load();
    QCOMPARE(m_boxes.size(), 1);
    window.cmdPause_Click();
    window.cmdWeiter_Click();
    window.Timer2_Timer();
    window.Timer1_Timer();
    QVERIFY(!timer(window, "Timer1")->isActive());
    QVERIFY(!window.findChild<QPushButton *>(QStringLiteral("cmdPause"))->isEnabled());
    QVERIFY(!m_state.Titles.IsOpen());
    window.close();
}

void TestFrmCredits::menuRestartsAnOpenWindow()
{
    ShowCreditsWindow();
    QPointer<frmCredits> first = CreditsWindow();
    QVERIFY(first);
    QVERIFY(first->isVisible());
    first->Timer2_Timer();
    first->Timer1_Timer();

    ShowCreditsWindow();
    QPointer<frmCredits> second = CreditsWindow();
    QVERIFY(second && second != first);
    QVERIFY(!first || first->isUnloaded());
    QCOMPARE(page(*second), Page(1, true));
    QVERIFY(second->findChild<QTimer *>(QStringLiteral("Timer2"))->isActive());
    QTRY_VERIFY(!first);

    CloseCreditsWindow();
    QVERIFY(!CreditsWindow());
    QTRY_VERIFY(!second);
}

void TestFrmCredits::okEndsTheProgramAsItsLastWindow()
{
    QVERIFY2(voltara::test::OkEndsTheProgram(
                 ShowCreditsWindow, [] { return static_cast<QWidget *>(CreditsWindow()); }),
        "the program did not end with its last window");
}

QTEST_MAIN(TestFrmCredits)
#include "tst_frmcredits.moc"
