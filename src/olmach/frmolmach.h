// Olmach's main window: one superbot tier at a time. Every user edit goes straight into the
// record of CurrentTier; showing a tier never changes a record.
#pragma once

#include "core/superbot_file.h"
#include "platform/files.h"
#include "ui/editorwindow.h"

#include <QString>

#include <array>
#include <string>

class QCheckBox;
class QGroupBox;
class QPushButton;
class QScrollBar;
class QSlider;

namespace voltara::ui {
class StatusLine;
class StoredMark;
class TextField;
class ValueList;
} // namespace voltara::ui

namespace olmach {
struct SliderDesign;
}

// Object names are the controls' names: a setting's frame and control as the table of settings
// and layout.h name them ("fraKI", "sldKI", "chkKI", "cmbLaser", "txtPL").
//
// The window keeps no settings of its own: it shows and edits the records of the one
// SuperbotConfig that main() owns, which must outlive it.
class frmOlmach : public voltara::ui::EditorWindow, public voltara::SuperbotView
{
    Q_OBJECT

public:
    // programFolder holds sbot.cfg and is where the file dialogs start.
    explicit frmOlmach(voltara::SuperbotConfig &config,
        std::string programFolder = voltara::ProgramFolder(), QWidget *parent = nullptr);

    // Puts the record of tier ("1" to "3") into the controls, the selector and the frame caption,
    // without changing any record.
    void ShowSuperbot(const std::string &tier) override;

    // The status bar text for the frame under the mouse: kNoHint empties it, a setting's hint
    // number shows its hint; any other number leaves the text.
    void ShowFieldHint(int number);

    // Fills cmbLaser with "0" to "100". A stored value the list does not offer is shown in an
    // extra entry that carries the stored text.
    void FillLaserList();

    // How a slider position reads in the status bar, with the user's decimal separator.
    static QString HealthReading(int position);
    static QString KiReading(int position);
    static QString VisibilityReading(int position);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void readStartFile() override;
    void showFirstRecord() override;

private:
    // A setting's frame and controls: a slider with its "unlimited" check box and the mark that
    // shows the stored text beside the box while the slider cannot show it as it is; or the
    // laser list, or the power-level field.
    struct FieldControls
    {
        QGroupBox *frame = nullptr;
        QSlider *slider = nullptr;
        QCheckBox *check = nullptr;
        voltara::ui::StoredMark *stored = nullptr;
    };

    void createControls(QWidget *client);
    void createFieldFrames();
    void createSlider(const olmach::SliderDesign &design);
    void createLaserList(QGroupBox *frame);
    void createPowerLevel(QGroupBox *frame);
    void setTabOrder();

    FieldControls &controls(voltara::SuperbotSetting setting);
    // The control that edits the setting: its slider, the laser list or the power-level field.
    QWidget *editorOf(voltara::SuperbotSetting setting);
    voltara::Superbot &currentRecord();
    void showField(const voltara::SuperbotFieldInfo &field, const std::string &text);
    void showOnSlider(FieldControls &field, const std::string &text);
    void showStoredMark(FieldControls &field, const QString &text);

    void HSBNumber_Change(int value);
    void chk_Click(voltara::SuperbotSetting setting, bool checked);
    void sld_Scroll(voltara::SuperbotSetting setting);
    void cmbLaser_LostFocus(const std::string &picked);
    void txtPL_LostFocus(Qt::FocusReason reason);
    void refusePowerLevel();
    void cmdDefault_Click();

    voltara::SuperbotConfig &m_config;

    QScrollBar *HSBNumber = nullptr;
    QGroupBox *fraBot = nullptr;
    std::array<FieldControls, voltara::kSuperbotFieldCount> m_fields;
    voltara::ui::ValueList *cmbLaser = nullptr;
    voltara::ui::TextField *txtPL = nullptr;
    QPushButton *cmdDefault = nullptr;
    voltara::ui::StatusLine *StBr = nullptr;
};
