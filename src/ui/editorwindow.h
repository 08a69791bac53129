// What both editors' main windows share: the File menu and its commands, the sibling item,
// the Help menu, the status bar, and the steps of every save (leave the field being edited so
// that it stores its value, then write back, to the default file, or under a chosen name).
#pragma once

#include <QKeySequence>
#include <QMainWindow>

#include <functional>
#include <initializer_list>
#include <string>

class QAction;
class QMenu;

namespace voltara::ui {

class StatusLine;

class EditorWindow : public QMainWindow
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

protected:
    // sibling: the caption of the menu bar's item that starts the other editor, and the name of
    // that editor's program beside this one. program_folder holds the window's file and is
    // where the file dialogs start.
    struct Sibling
    {
        const char *caption;
        const char *program;
    };
    EditorWindow(std::string program_folder, Sibling sibling, QWidget *parent);

    const std::string &programFolder() const { return m_programFolder; }

    // The menu bar: File, then what more_menus adds (Tavrin's Presets), then the sibling item
    // and Help. Every item is named as its command, F10 opens the menus.
    void createMenus(const std::function<void()> &more_menus = {});
    // The status bar of one line of simple text, of this height.
    StatusLine *createStatusLine(int height_twips);
    // A submenu and a command of a menu, named as the menu's items are (their captions carry no
    // access keys); the submenu is not added to the parent yet.
    static QMenu *addSubmenu(QWidget *parent, const char *name, const char *caption);
    static QAction *addCommand(
        QMenu *menu, const char *name, const char *caption, const QKeySequence &shortcut = {});

    // The window's own part of the commands: its file's path at start-up and as last read, the
    // control that takes the focus so that the field being edited stores its value, the reading
    // and the writing of its kind of file.
    virtual std::string defaultFilePath() const = 0;
    virtual std::string loadedFilePath() const = 0;
    virtual QWidget *focusAnchor() const = 0;
    virtual void readFile(const std::string &path) = 0;
    virtual void writeFile(const std::string &path) = 0;

private:
    struct MenuItem;
    void addItems(QMenu *menu, std::initializer_list<MenuItem> items);
    // Moves the focus to the anchor, so that the field being edited stores its value, and lets
    // the events run.
    void commitFieldBeingEdited();
    void saveUnderChosenName();

    const std::string m_programFolder;
    const Sibling m_sibling;
};

} // namespace voltara::ui
