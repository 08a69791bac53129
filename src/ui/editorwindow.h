// What both editors' main windows share: the File menu and its commands, the sibling item,
// the Help menu, the status bar, the message boxes and questions the core asks for, the busy
// pointer of start-up, and the steps of every save (leave the field being edited so that it
// stores its value, then write back, to the default file, or under a chosen name).
#pragma once

#include "core/host.h"

#include <QKeySequence>
#include <QMainWindow>

#include <functional>
#include <initializer_list>
#include <string>

class QAction;
class QMenu;

namespace voltara::ui {

class StatusLine;

// The hint number that empties the status bar.
inline constexpr int kNoHint = -1;

class EditorWindow : public QMainWindow, public virtual Host
{
public:
    // The File menu's commands, named as the menu items are.
    void menLoad_Click();
    void menSave_Click();
    void menSave_Current_Click();
    void menSaveAs_Click();
    void menQuit_Click();
    // The menu bar's sibling item and the Help menu's commands.
    void menBot_Click();
    void menAbout_Click();
    void menCredits_Click();
    void menVisit_Click();

    // Host: message boxes and questions over this window, and the events let run.
    using Host::ShowMessage;
    void ShowMessage(const std::string &text, const Caption &caption, MessageIcon icon) override;
    bool AskToProceed(
        const std::string &text, const Caption &caption, const std::string &proceed) override;
    void Yield() override;

protected:
    // The sibling: the caption of the menu bar's item that starts the other editor, and the
    // name of that editor's program beside this one.
    struct Sibling
    {
        const char *caption;
        const char *program;
    };
    // What the window edits: the file beside the program and the one last read (the window's
    // configuration keeps both up to date), and how a file of its kind is read into the window
    // and written from it.
    struct EditedFile
    {
        const std::string &defaultPath;
        const std::string &loadedPath;
        std::function<void(const std::string &path)> read;
        std::function<void(const std::string &path)> write;
    };
    // programFolder holds the window's file and is where the file dialogs start.
    EditorWindow(std::string programFolder, Sibling sibling, EditedFile file, QWidget *parent);

    const std::string &programFolder() const { return m_programFolder; }

    // The menu bar: File, then what moreMenus adds (Tavrin's Presets), then the sibling item
    // and Help. Every item is named as its command, F10 opens the menus.
    void createMenus(const std::function<void()> &moreMenus = {});
    // The status bar of one line of simple text, of this height.
    StatusLine *createStatusLine(int heightTwips);
    // The control that takes the focus before a save, so that the field being edited stores
    // its value.
    void setFocusAnchor(QWidget *anchor) { m_focusAnchor = anchor; }
    // A submenu and a command of a menu, named as the menu's items are (their captions carry no
    // access keys); the submenu is not added to the parent yet.
    static QMenu *addSubmenu(QWidget *parent, const char *name, const char *caption);
    static QAction *addCommand(
        QMenu *menu, const char *name, const char *caption, const QKeySequence &shortcut = {});

    // The hourglass over the window while it starts: a message box that comes up meanwhile is
    // a window of its own and keeps the arrow.
    void beginStartUp();
    void endStartUp();

private:
    struct MenuItem;
    void addItems(QMenu *menu, std::initializer_list<MenuItem> items);
    // Moves the focus to the anchor, so that the field being edited stores its value, and lets
    // the events run.
    void commitFieldBeingEdited();
    void saveUnderChosenName();

    const std::string m_programFolder;
    const Sibling m_sibling;
    const EditedFile m_file;
    QWidget *m_focusAnchor = nullptr;
};

} // namespace voltara::ui
