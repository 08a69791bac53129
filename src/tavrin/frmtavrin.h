// Tavrin's main window: the default-personality row, the bot selector and one value list per
// percent setting of the personality on view, with the File, Presets and Help menus.
#pragma once

#include "core/personality.h"
#include "core/personality_file.h"
#include "platform/files.h"
#include "ui/editorwindow.h"

#include <array>
#include <string>
#include <utility>
#include <vector>

namespace tavrin {
struct HeadedBox;
}

class QButtonGroup;
class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QScrollBar;

namespace voltara::ui {
class StatusLine;
class TextField;
class ValueList;
} // namespace voltara::ui

// Object names are the controls' names. The two control arrays are numbered: "lblAnzeige<n>"
// is the label with hint number n (0 to 28), "optBot<n>" the default-personality button n
// (0 "Random", 1 to 9 "Bot 1" to "Bot 9").
//
// The window keeps no settings of its own: it shows and edits the records of the one
// PersonalityConfig that main() owns. Showing a record never changes it; a control writes
// its setting only after the user has changed it.
class frmTavrin : public voltara::ui::EditorWindow, public voltara::PersonalityView
{
    Q_OBJECT

public:
    // programFolder holds bot_personality.cfg and is where the file dialogs start.
    explicit frmTavrin(voltara::PersonalityConfig &config,
        std::string programFolder = voltara::ProgramFolder(), QWidget *parent = nullptr);

    // Empties the 26 lists and fills each with "0" to "100".
    void FillValueLists();

    // Sets the status bar to the hint of a label number; kNoHint empties it, and numbers
    // without a hint (27 "View Bot" among them) leave it as it is.
    void ShowKeyHint(int number);

    // PersonalityView, used by the reader and the presets; its messages are the frame's.
    void SelectDefaultOption(int option) override;
    void ShowPersonality(const std::string &number) override;

protected:
    void closeEvent(QCloseEvent *event) override;
    void beforeShowing() override;
    void readStartFile() override;
    void showFirstRecord() override;

private:
    // A percent list and the setting it edits.
    struct ValueField
    {
        int field;
        voltara::ui::ValueList *list;
    };

    void createDefaultRow(QWidget *area);
    void createBotSelector(QWidget *area);
    void createFieldFrames();
    void createValueFields(const std::array<QGroupBox *, 5> &frames);
    void createAggression(QGroupBox *frame);
    QRadioButton *addAggressionButton(
        QGroupBox *frame, const char *name, const char *caption, int top, const char *word);
    void createLines(QWidget *area);
    QFrame *addHeadedBox(QWidget *area, const tavrin::HeadedBox &box, int breakEnd, int first);
    std::pair<int, int> headingGap(const char *heading) const;
    void createPresetMenu();
    void readFile(const std::string &path);
    void setFocusOrder();
    QLabel *createLabel(QWidget *parent, int number, const QString &caption, const QRect &rect);

    // The record of the bot on view, or nullptr while a file is being read (CurrentBot then
    // follows the file's sections, not the view).
    voltara::Personality *botOnView();
    void showDefaultPersonalityText();
    void fitDefaultPersonalityMirror();
    void showCurrentBot();

    void HSBNumber_Change(int value);
    void optBot_Click(int index);
    void cmdDefault_Click();
    void aggression_Click(QRadioButton *button, const char *word);
    void chkTransKiller_Click(bool checked);

    voltara::PersonalityConfig &m_config;
    bool m_reading = false;
    std::vector<ValueField> m_valueFields;

    voltara::ui::TextField *txtPersonality = nullptr;
    QFrame *m_lineRightOfMirror = nullptr;
    QButtonGroup *m_optBot = nullptr;
    QScrollBar *HSBNumber = nullptr;
    QGroupBox *fraBot = nullptr;
    QRadioButton *optAggressive = nullptr;
    QRadioButton *optDefensive = nullptr;
    QRadioButton *optNormal = nullptr;
    QCheckBox *chkTransKiller = nullptr;
    QPushButton *cmdDefault = nullptr;
    voltara::ui::StatusLine *StBr = nullptr;
};
