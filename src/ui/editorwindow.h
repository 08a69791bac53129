// What both editors' main windows share: the File menu and its commands, the sibling item,
// the Help menu, the status bar, the message boxes and questions the core asks for, the busy
// pointer of start-up, and the steps of every save (leave the field being edited so that it
// stores its value, then write back, to the default file, or under a chosen name).
#pragma once

#include "core/host.h"
#include "ui/window_texts.h"

#include <QKeySequence>
#include <QMainWindow>

#include <functional>
#include <initializer_list>
#include <optional>
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
    // The start-up sequence, run once: shows the window with the hourglass pointer, reads the
    // window's file beside the program (its messages appear over the window) and shows the
    // first record, also when the reading failed before it reached one.
    void Form_Load();

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
    // A window named name, with the editor's title and sibling item, in the design font.
    // programFolder holds the window's file and is where the file dialogs start.
    EditorWindow(const char *name, const texts::EditorTexts &texts, std::string programFolder,
        QWidget *parent);

    const std::string &programFolder() const { return m_programFolder; }

    // The area of the window's controls, of the designed size, as its central widget.
    QWidget *createClientArea(int widthTwips, int heightTwips);
    // Completes the window around its controls: what it edits; the menu bar (File, then what
    // moreMenus adds, Tavrin's Presets, then the sibling item and Help; every item named as its
    // command, F10 opening the menus); the status bar of one line of simple text of this
    // height, which it returns; the control that takes the focus before a save, so that the
    // field being edited stores its value; and the designed size, which cannot be changed.
    StatusLine *completeWindow(EditedFile file, QWidget *focusAnchor, int statusHeightTwips,
        const std::function<void()> &moreMenus = {});
    // A submenu and a command of a menu, named as the menu's items are (their captions carry no
    // access keys); the submenu is not added to the parent yet.
    static QMenu *addSubmenu(QWidget *parent, const char *name, const char *caption);
    static QAction *addCommand(
        QMenu *menu, const char *name, const char *caption, const QKeySequence &shortcut = {});

    // The window's own steps of Form_Load: what its controls need before the window is shown,
    // the reading of its file at start-up, and the showing of the first record.
    virtual void beforeShowing() { }
    virtual void readStartFile() = 0;
    virtual void showFirstRecord() = 0;

private:
    struct MenuItem;
    void createMenus(const std::function<void()> &moreMenus);
    void addItems(QMenu *menu, std::initializer_list<MenuItem> items);
    // Moves the focus to the anchor, so that the field being edited stores its value, and lets
    // the events run.
    void commitFieldBeingEdited();
    void saveUnderChosenName();

    const std::string m_programFolder;
    const texts::EditorTexts &m_texts;
    std::optional<EditedFile> m_file;
    QWidget *m_focusAnchor = nullptr;
};

} // namespace voltara::ui
