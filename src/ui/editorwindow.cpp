#include "ui/editorwindow.h"

#include "core/config_file.h"
#include "ui/designfont.h"
#include "ui/filedialogs.h"
#include "ui/geometry.h"
#include "ui/messagebox.h"
#include "ui/sharedwindows.h"
#include "ui/statusline.h"
#include "ui/window_texts.h"

#include <QAction>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QKeySequence>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>

namespace voltara::ui {

// One item of a menu and the command it gives.
struct EditorWindow::MenuItem
{
    const char *name;
    const char *caption;
    QKeySequence shortcut;
    void (EditorWindow::*command)();
};

EditorWindow::EditorWindow(
    const char *name, const texts::EditorTexts &texts, std::string programFolder, QWidget *parent)
    : QMainWindow(parent)
    , m_programFolder(std::move(programFolder))
    , m_texts(texts)
{
    setObjectName(QLatin1String(name));
    setWindowTitle(QString::fromLatin1(texts.title));
    setFont(DesignFont());
}

QWidget *EditorWindow::createClientArea(int widthTwips, int heightTwips)
{
    auto *area = new QWidget(this);
    area->setObjectName(QStringLiteral("clientArea"));
    area->setFixedSize(Twips(widthTwips), Twips(heightTwips));
    setCentralWidget(area);
    return area;
}

StatusLine *EditorWindow::completeWindow(EditedFile file, QWidget *focusAnchor,
    int statusHeightTwips, const std::function<void()> &moreMenus)
{
    m_file.emplace(std::move(file));
    createMenus(moreMenus);
    auto *line = new StatusLine(this);
    line->setObjectName(QStringLiteral("StBr"));
    line->setFixedHeight(Twips(statusHeightTwips));
    setStatusBar(line);
    m_focusAnchor = focusAnchor;
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    return line;
}

void EditorWindow::ShowMessage(const std::string &text, const Caption &caption, MessageIcon icon)
{
    ShowMessageBox(this, text, caption, icon);
}

bool EditorWindow::AskToProceed(
    const std::string &text, const Caption &caption, const std::string &proceed)
{
    return ShowQuestionBox(this, text, caption, proceed);
}

void EditorWindow::Yield()
{
    YieldToEvents();
}

// The hourglass stands over the window only: a message box that comes up meanwhile is a window
// of its own and keeps the arrow.
void EditorWindow::Form_Load()
{
    setCursor(Qt::WaitCursor);
    Yield();
    beforeShowing();
    show();
    m_focusAnchor->setFocus();
    Yield();
    readStartFile();
    Yield();
    showFirstRecord();
    Yield();
    unsetCursor();
}

QMenu *EditorWindow::addSubmenu(QWidget *parent, const char *name, const char *caption)
{
    auto *menu = new QMenu(QString::fromLatin1(caption), parent);
    menu->setObjectName(QString::fromLatin1(name));
    return menu;
}

QAction *EditorWindow::addCommand(
    QMenu *menu, const char *name, const char *caption, const QKeySequence &shortcut)
{
    QAction *action = menu->addAction(QString::fromLatin1(caption));
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(shortcut);
    return action;
}

void EditorWindow::addItems(QMenu *menu, std::initializer_list<MenuItem> items)
{
    for (const MenuItem &item : items)
        connect(addCommand(menu, item.name, item.caption, item.shortcut), &QAction::triggered, this,
            item.command);
}

void EditorWindow::createMenus(const std::function<void()> &moreMenus)
{
    // clang-format off
    QMenu *file = addSubmenu(menuBar(), "menFile", "File");
    menuBar()->addMenu(file);
    addItems(file, {
        {"menLoad",         "Open",            QKeySequence(Qt::CTRL | Qt::Key_O), &EditorWindow::menLoad_Click},
        {"menSave",         "Save as default", {},                                 &EditorWindow::menSave_Click},
        {"menSave_Current", "Save",            QKeySequence(Qt::CTRL | Qt::Key_S), &EditorWindow::menSave_Current_Click},
        {"menSaveAs",       "Save as",         {},                                 &EditorWindow::menSaveAs_Click},
    });
    file->addSeparator()->setObjectName(QStringLiteral("menStrich"));
    addItems(file, {{"menQuit", "Exit", {}, &EditorWindow::menQuit_Click}});
    if (moreMenus)
        moreMenus();
    // The sibling is a command on the menu bar itself.
    QAction *sibling = menuBar()->addAction(QString::fromLatin1(m_texts.startSibling));
    sibling->setObjectName(QStringLiteral("menBot"));
    connect(sibling, &QAction::triggered, this, &EditorWindow::menBot_Click);
    QMenu *help = addSubmenu(menuBar(), "menHelp", "Help");
    menuBar()->addMenu(help);
    addItems(help, {
        {"menAbout",   "About",           QKeySequence(Qt::Key_F1), &EditorWindow::menAbout_Click},
        {"menCredits", "Credits",         QKeySequence(Qt::Key_F3), &EditorWindow::menCredits_Click},
        {"menVisit",   "Voltara Website", {},                       &EditorWindow::menVisit_Click},
    });
    // clang-format on
    OpenMenusOnF10(this);
}

void EditorWindow::menLoad_Click()
{
    const std::string path =
        ShowOpenDialog(this, texts::kOpenDialog.filter, texts::kOpenDialog.title, m_programFolder);
    if (!path.empty())
        m_file->read(path);
}

void EditorWindow::menSave_Click()
{
    commitFieldBeingEdited();
    m_file->write(m_file->defaultPath);
}

// Before any file was read there is nothing to save back to: ask for a name instead of
// writing ".cfg" into the working directory.
void EditorWindow::menSave_Current_Click()
{
    commitFieldBeingEdited();
    if (const auto path = SaveBackPath(m_file->loadedPath))
        m_file->write(*path);
    else
        saveUnderChosenName();
}

void EditorWindow::menSaveAs_Click()
{
    commitFieldBeingEdited();
    saveUnderChosenName();
}

void EditorWindow::menQuit_Click()
{
    // Nothing is saved and nothing asks.
    close();
}

void EditorWindow::menBot_Click()
{
    StartSibling(this, m_texts.siblingProgram);
}

void EditorWindow::menAbout_Click()
{
    ShowAboutWindow();
}

void EditorWindow::menCredits_Click()
{
    ShowCreditsWindow();
}

void EditorWindow::menVisit_Click()
{
    OpenProjectWebsite(this);
}

// A field stores its value when it loses the focus; menus never take it.
void EditorWindow::commitFieldBeingEdited()
{
    QWidget *left = focusWidget();
    QWidget *anchor = m_focusAnchor;
    anchor->setFocus(Qt::OtherFocusReason);
    if (left && left != anchor && !isActiveWindow()) {
        // An inactive window gets no focus events, yet the field must be left all the same.
        QFocusEvent leaving(QEvent::FocusOut, Qt::OtherFocusReason);
        QCoreApplication::sendEvent(left, &leaving);
    }
    YieldToEvents();
}

void EditorWindow::saveUnderChosenName()
{
    const std::string path =
        ShowSaveDialog(this, texts::kSaveDialog.filter, texts::kSaveDialog.title, m_programFolder);
    if (!path.empty())
        m_file->write(path);
}

} // namespace voltara::ui
