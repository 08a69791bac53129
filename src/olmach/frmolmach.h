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
class QLabel;
class QPushButton;
class QScrollBar;
class QSlider;

namespace voltara::ui {
class StatusLine;
class StoredMark;
class TextField;
class ValueList;
} // namespace voltara::ui

class frmOlmach : public voltara::ui::EditorWindow, public voltara::SuperbotView
{
    Q_OBJECT

public:
    // config is the program's one configuration state; it must outlive the window.
    // programFolder is where sbot.cfg lives and where the file dialogs start.
    explicit frmOlmach(voltara::SuperbotConfig &config,
        std::string programFolder = voltara::ProgramFolder(), QWidget *parent = nullptr);

    // The start-up: shows the window with the hourglass, reads sbot.cfg from the program
    // folder and shows tier 1 (also when the reading failed before its first section).
    void Form_Load();

    // SuperbotView. Message boxes are owned by this window; Yield lets pending events run.
    using voltara::Host::ShowMessage;
    void ShowMessage(const std::string &text, const voltara::Caption &caption,
        voltara::MessageIcon icon) override;
    bool AskToProceed(const std::string &text, const voltara::Caption &caption,
        const std::string &proceed) override;
    void Yield() override;
    // Puts the record of tier ("1" to "3") into the controls, the selector and the frame caption,
    // without changing any record.
    void ShowSuperbot(const std::string &tier) override;

    // The status bar text for the frame under the mouse: -1 empties it, 0 to 4 name a frame;
    // any other code leaves the text.
    void ShowFieldHint(int code);

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
    std::string defaultFilePath() const override;
    std::string loadedFilePath() const override;
    QWidget *focusAnchor() const override;
    void readFile(const std::string &path) override;
    void writeFile(const std::string &path) override;

private:
    // A slider with its "unlimited" check box, and the record field they edit. stored shows
    // the stored text beside the check box while the slider cannot show it as it is.
    struct SliderField
    {
        QGroupBox *frame = nullptr;
        QSlider *slider = nullptr;
        QCheckBox *check = nullptr;
        voltara::ui::StoredMark *stored = nullptr;
        std::string voltara::Superbot::*member = nullptr;
        QString (*reading)(int position) = nullptr;
        int hint = -1;
    };
    enum SliderIndex { KI, HP, TR };

    void createControls();
    void createSliderFields();
    void createLowerFields();
    void setTabOrder();

    voltara::Superbot &currentRecord();
    void showOnSlider(SliderField &field, const std::string &text);
    void showStoredMark(SliderField &field, const QString &text);

    void HSBNumber_Change(int value);
    void chk_Click(SliderField &field, bool checked);
    void sld_Scroll(SliderField &field);
    void cmbLaser_LostFocus(const std::string &picked);
    void txtPL_LostFocus(Qt::FocusReason reason);
    void refusePowerLevel();
    void cmdDefault_Click();

    voltara::SuperbotConfig &m_config;

    QScrollBar *HSBNumber = nullptr;
    QGroupBox *fraBot = nullptr;
    std::array<SliderField, 3> m_sliders;
    QGroupBox *fraLS = nullptr;
    voltara::ui::ValueList *cmbLaser = nullptr;
    QGroupBox *fraPL = nullptr;
    voltara::ui::TextField *txtPL = nullptr;
    QPushButton *cmdDefault = nullptr;
    voltara::ui::StatusLine *StBr = nullptr;
};
