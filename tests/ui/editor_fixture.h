// One editor window for one test, on the offscreen platform: a program folder of its own, the
// window made and started as main() does, and the message boxes and file dialogs it opens
// recorded instead of shown. Both editors' tests use it, each test making its own.
#pragma once

#include "ui/editorwindow.h"
#include "ui/filedialogs.h"
#include "ui/messagebox.h"
#include "ui/sharedwindows.h"
#include "ui/statusline.h"

#include <QAbstractSlider>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <functional>
#include <memory>

namespace voltara::test {

class EditorFixture
{
public:
    EditorFixture()
    {
        if (!dir.isValid())
            qFatal("no temporary folder");
        ui::SetMessageBoxFunction([this](QWidget *parent, const ui::MessageBoxRecord &box) {
            boxes << QStringLiteral("[%1] %2").arg(box.title, box.text);
            overVisibleWindow << (parent && parent->isVisible());
            cursorAtBox << (parent ? parent->cursor().shape() : Qt::ArrowCursor);
            if (onBox)
                onBox(parent);
        });
        ui::SetFileDialogFunction([this](QWidget *, const ui::FileDialogRequest &request) {
            dialogs << request;
            return ui::ToBytes(dialogAnswer);
        });
    }
    virtual ~EditorFixture()
    {
        ui::CloseAboutWindow();
        ui::CloseCreditsWindow();
        ui::SetMessageBoxFunction({});
        ui::SetFileDialogFunction({});
    }
    EditorFixture(const EditorFixture &) = delete;
    EditorFixture &operator=(const EditorFixture &) = delete;

    // Makes the window on the test's folder and runs its start-up.
    virtual void start() = 0;

    QString path(const QString &name) const { return dir.filePath(name); }
    void writeFile(const QString &name, const QByteArray &bytes) const
    {
        QFile file(path(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(name));
    }
    QByteArray readFile(const QString &name) const
    {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    ui::EditorWindow *mainWindow() const { return m_window; }
    template <typename T = QWidget> T *find(const char *name) const
    {
        T *child = m_window->findChild<T *>(QLatin1String(name));
        if (!child)
            qFatal("no control %s", name);
        return child;
    }
    QAction *action(const char *name) const { return find<QAction>(name); }
    void trigger(const char *name) const { action(name)->trigger(); }
    QScrollBar *selector() const { return find<QScrollBar>("HSBNumber"); }
    QString frameCaption() const { return find<QGroupBox>("fraBot")->title(); }
    QString status() const { return find<ui::StatusLine>("StBr")->simpleText(); }

    // What a list or a text field shows.
    QString shown(const char *control) const
    {
        if (auto *list = qobject_cast<QComboBox *>(find(control)))
            return list->currentText();
        return find<QLineEdit>(control)->text();
    }

    // Types into a control as a user does: the focus on it, then the keys; a text field's text is
    // replaced. Typing soon after the last typing would extend a list's search instead.
    void typeInto(const char *control, const QString &text)
    {
        if (m_lastTyping.isValid())
            QTest::qWait(std::max<qint64>(
                0, QApplication::keyboardInputInterval() + 20 - m_lastTyping.elapsed()));
        QWidget *widget = find(control);
        widget->setFocus(Qt::TabFocusReason);
        QVERIFY(widget->hasFocus());
        if (auto *field = qobject_cast<QLineEdit *>(widget))
            field->selectAll();
        QTest::keyClicks(widget, text);
        m_lastTyping.start();
    }

    // The controls the Tab key reaches, in order, from the selector on.
    QStringList focusChain() const
    {
        QStringList order;
        QWidget *widget = selector();
        do {
            if ((widget->focusPolicy() & Qt::TabFocus) && widget->isVisibleTo(m_window))
                order << widget->objectName();
            widget = widget->nextInFocusChain();
        } while (widget != selector());
        return order;
    }

    // A menu's items as "name=caption=shortcut", and the captions of the menu bar.
    QStringList menu(const char *name) const
    {
        QStringList items;
        for (QAction *item : find<QMenu>(name)->actions())
            items << item->objectName() + '=' + item->text() + '=' + item->shortcut().toString();
        return items;
    }
    QStringList menuBar() const
    {
        QStringList captions;
        for (QAction *item : m_window->menuBar()->actions())
            captions << item->text();
        return captions;
    }

    // Drags the selector's thumb to the record, one record at a time, and gives the frame
    // caption shown at each step before the button is released.
    QStringList dragSelectorTo(int record) const
    {
        QScrollBar *bar = selector();
        const QRect thumb = partOf(bar, QStyle::SC_ScrollBarSlider);
        const QRect groove = partOf(bar, QStyle::SC_ScrollBarGroove);
        const double perRecord =
            double(groove.width() - thumb.width()) / (bar->maximum() - bar->minimum());
        QPoint at = thumb.center();
        QTest::mousePress(bar, Qt::LeftButton, {}, at);
        const int start = bar->value();
        const int step = record > start ? 1 : -1;
        QStringList captions;
        for (int shown = start + step; shown != record + step; shown += step) {
            at.setX(thumb.center().x() + qRound((shown - start) * perRecord));
            QTest::mouseMove(bar, at);
            captions << frameCaption();
        }
        QTest::mouseRelease(bar, Qt::LeftButton, {}, at);
        return captions;
    }

    // Where the style draws a part of a slider or scroll bar, in the control's own coordinates.
    static QRect partOf(QAbstractSlider *slider, QStyle::SubControl part)
    {
        QStyleOptionSlider option;
        option.initFrom(slider);
        option.subControls = QStyle::SC_All;
        option.orientation = slider->orientation();
        if (slider->orientation() == Qt::Horizontal)
            option.state |= QStyle::State_Horizontal;
        option.minimum = slider->minimum();
        option.maximum = slider->maximum();
        option.sliderPosition = slider->sliderPosition();
        option.sliderValue = slider->value();
        option.singleStep = slider->singleStep();
        option.pageStep = slider->pageStep();
        const auto *ticked = qobject_cast<QSlider *>(slider);
        if (ticked) {
            option.tickPosition = ticked->tickPosition();
            option.tickInterval = ticked->tickInterval();
        }
        const auto control = ticked ? QStyle::CC_Slider : QStyle::CC_ScrollBar;
        return slider->style()->subControlRect(control, &option, part, slider);
    }

    QTemporaryDir dir;
    QStringList boxes; // "[title] text" of each box, in order
    QList<bool> overVisibleWindow; // of each box: whether it came over the visible window
    QList<Qt::CursorShape> cursorAtBox; // of each box: the window's pointer meanwhile
    std::function<void(QWidget *parent)> onBox; // runs while a box is up
    QList<ui::FileDialogRequest> dialogs;
    QString dialogAnswer; // what every file dialog answers; empty cancels

protected:
    // Shows the window and waits until it is active: focus events, and so the rules of leaving a
    // field, need an active window.
    void started(ui::EditorWindow *window)
    {
        m_window = window;
        if (!QTest::qWaitForWindowActive(window))
            qFatal("the window did not become active");
    }

private:
    ui::EditorWindow *m_window = nullptr;
    QElapsedTimer m_lastTyping;
};

// The fixture of one editor: its configuration, which main() owns, and its window on it.
template <typename Window, typename Config> class Editor : public EditorFixture
{
public:
    void start() override
    {
        window = std::make_unique<Window>(config, ui::ToBytes(dir.path()));
        window->Form_Load();
        started(window.get());
    }

    Config config;
    std::unique_ptr<Window> window;
};

} // namespace voltara::test
