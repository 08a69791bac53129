// What the shared windows give a keyboard and a screen reader: the menu bar from F10, the
// question before an overwrite, frames named after their captions, the About text.
#include "core/messages.h"
#include "ui/controls.h"
#include "ui/frmabout.h"
#include "ui/messagebox.h"
#include "ui/sharedwindows.h"

#include <QAccessible>
#include <QApplication>
#include <QGroupBox>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace voltara;

class TestKeyboard : public QObject
{
    Q_OBJECT

private slots:
    void f10ReachesEveryItemOfTheMenuBar();
    void theOverwriteQuestionAnswersToItsAccessKey();
    void aFrameIsNamedAfterItsCaptionWhenItChanges();
    void aboutIsDescribedByItsText();
};

// F10, then the arrows to an item of the bar that has no menu: Return starts it, as after Alt.
void TestKeyboard::f10ReachesEveryItemOfTheMenuBar()
{
    QMainWindow window;
    window.menuBar()->addMenu(QStringLiteral("File"))->addAction(QStringLiteral("Open"));
    QAction *sibling = window.menuBar()->addAction(QStringLiteral("Sibling"));
    window.menuBar()->addMenu(QStringLiteral("Help"))->addAction(QStringLiteral("About"));
    window.setCentralWidget(new QPushButton(QStringLiteral("focus")));
    ui::OpenMenusOnF10(&window);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    window.centralWidget()->setFocus();
    int started = 0;
    connect(sibling, &QAction::triggered, this, [&started] { ++started; });

    QTest::keyClick(window.centralWidget(), Qt::Key_F10);
    QVERIFY(QApplication::activePopupWidget());
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Left); // Help
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Left); // the sibling
    QCOMPARE(window.menuBar()->activeAction(), sibling);
    QVERIFY(QApplication::focusWidget());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(started, 1);
}

// The question a save asks over another program's change: a sentence, and Alt+O to overwrite.
void TestKeyboard::theOverwriteQuestionAnswersToItsAccessKey()
{
    QWidget owner;
    QString text;
    QString button;
    // The box is there once the question waits for it.
    QTimer poll;
    connect(&poll, &QTimer::timeout, this, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        poll.stop();
        text = box->text();
        button = box->buttons().constFirst()->text();
        QTest::keyClick(box, Qt::Key_O, Qt::AltModifier);
    });
    poll.start(10);
    QVERIFY(ui::ShowQuestionBox(
        &owner, messages::ChangedFileText("x.cfg"), kProgramTitle, messages::kOverwrite));
    QCOMPARE(text,
        QStringLiteral("File: \"x.cfg\" has been changed by another program since it was read or "
                       "saved here.\nOverwrite it?"));
    QCOMPARE(button, QStringLiteral("&Overwrite"));
}

void TestKeyboard::aFrameIsNamedAfterItsCaptionWhenItChanges()
{
    QGroupBox outer(QStringLiteral("outer"));
    QGroupBox *frame = ui::NewFrame(&outer, "fraBot", QStringLiteral("SUPERBOT"), {0, 0, 50, 50});
    QAccessibleInterface *spoken = QAccessible::queryAccessibleInterface(frame);
    QCOMPARE(spoken->text(QAccessible::Name), QStringLiteral("SUPERBOT"));
    frame->setTitle(QStringLiteral("MEGABOT"));
    QCOMPARE(spoken->text(QAccessible::Name), QStringLiteral("MEGABOT"));
}

void TestKeyboard::aboutIsDescribedByItsText()
{
    ui::ShowAboutWindow();
    QWidget *about = ui::AboutWindow();
    QVERIFY(about);
    QCOMPARE(QAccessible::queryAccessibleInterface(about)->text(QAccessible::Description),
        ui::frmAbout::AboutText().trimmed());
    ui::CloseAboutWindow();
}

QTEST_MAIN(TestKeyboard)
#include "tst_keyboard.moc"
