#include "olmach/frmolmach.h"

#include "core/text.h"
#include "olmach/layout.h"
#include "ui/controls.h"
#include "ui/designfont.h"
#include "ui/droppedpress.h"
#include "ui/geometry.h"
#include "ui/messagebox.h"
#include "ui/mousehint.h"
#include "ui/scrollbar.h"
#include "ui/sharedwindows.h"
#include "ui/statusline.h"
#include "ui/storedmark.h"
#include "ui/straightline.h"
#include "ui/textfield.h"
#include "ui/valuelist.h"
#include "ui/window_texts.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLocale>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSlider>

#include <algorithm>
#include <cmath>

using voltara::SuperbotControl;
using voltara::SuperbotSetting;
using voltara::ui::FromBytes;
using voltara::ui::ToBytes;
using voltara::ui::TwipsRect;
using namespace olmach;
namespace texts = voltara::ui::texts;

namespace {

// A reading without trailing zeros, with the user's decimal separator.
QString LocalNumber(double value)
{
    const QLocale locale;
    QString text = locale.toString(value, 'f', 2);
    const QString point = locale.decimalPoint();
    if (text.contains(point)) {
        while (text.endsWith(locale.zeroDigit()))
            text.chop(locale.zeroDigit().size());
        if (text.endsWith(point))
            text.chop(point.size());
    }
    return text;
}

// Where a slider stands for a stored text. A value the slider cannot hold puts it at its
// nearest end; the record is not touched.
int SliderPositionFor(const std::string &text, int minimum, int maximum)
{
    const auto value = voltara::NumericValue(text);
    const auto whole = voltara::ToWholeNumber(text);
    if (whole)
        return std::clamp(*whole, minimum, maximum);
    return value && *value > 0 ? maximum : minimum;
}

// The frame's hint, as the description a screen reader gives after the name, for the frame and
// each control in it.
void DescribeWithHint(QGroupBox *frame, const char *hint)
{
    frame->setAccessibleDescription(QString::fromLatin1(hint));
    for (QWidget *control : frame->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (control->focusPolicy() != Qt::NoFocus)
            control->setAccessibleDescription(QString::fromLatin1(hint));
    }
}

// How a slider's position reads in the status bar.
QString Reading(SuperbotSetting setting, int position)
{
    switch (setting) {
    case SuperbotSetting::ki_gain:
        return frmOlmach::KiReading(position);
    case SuperbotSetting::health_gain:
        return frmOlmach::HealthReading(position);
    default:
        return frmOlmach::VisibilityReading(position);
    }
}

} // namespace

frmOlmach::frmOlmach(voltara::SuperbotConfig &config, std::string programFolder, QWidget *parent)
    : EditorWindow("frmOlmach", texts::kOlmach, std::move(programFolder), parent)
    , m_config(config)
{
    createControls(createClientArea(kClientWidth, kFieldAreaHeight));
    StBr = completeWindow(
        {config.SuperbotConfigPath, config.LoadedPath,
            [this](const std::string &path) { voltara::ReadSuperbotFile(m_config, path, *this); },
            [this](const std::string &path) { voltara::WriteSuperbotFile(m_config, path, *this); }},
        HSBNumber, kStatusHeight);
    setTabOrder();
    FillLaserList();
    HSBNumber->setFocus();
}

void frmOlmach::createControls(QWidget *client)
{
    auto *heading = new QLabel(QString::fromLatin1(kViewHeading), client);
    heading->setObjectName(QStringLiteral("lblAnzeige"));
    heading->setAlignment(Qt::AlignCenter);
    heading->setGeometry(TwipsRect(kHeading));
    for (std::size_t i = 0; i < std::size(kHeadingBox); ++i) {
        const voltara::ui::Stroke &line = kHeadingBox[i];
        voltara::ui::AddStraightLine(
            client, line.x1, line.y1, line.x2, line.y2, QStringLiteral("Line%1").arg(i + 1));
    }

    HSBNumber = voltara::ui::NewRecordSelector(client, heading->text(), texts::kOlmachViewBot,
        TwipsRect(kSelector), voltara::kTierCount, 1);
    connect(HSBNumber, &QScrollBar::valueChanged, this, &frmOlmach::HSBNumber_Change);

    fraBot = voltara::ui::NewFrame(
        client, "fraBot", QString::fromLatin1(voltara::TierName(1)), TwipsRect(kTierFrame));
    voltara::ui::OnMouseMove(fraBot, [this] { ShowFieldHint(voltara::ui::kNoHint); });
    createFieldFrames();

    cmdDefault = new QPushButton(QStringLiteral("load default values"), fraBot);
    cmdDefault->setObjectName(QStringLiteral("cmdDefault"));
    cmdDefault->setAccessibleDescription(QString::fromLatin1(texts::kOlmachLoadDefaults));
    cmdDefault->setGeometry(TwipsRect(kLoadDefaults));
    connect(cmdDefault, &QPushButton::clicked, this, &frmOlmach::cmdDefault_Click);
}

// Each setting's frame, with its caption and hint from the table of settings, and its control.
void frmOlmach::createFieldFrames()
{
    for (const FieldFrame &design : kFieldFrames) {
        const voltara::SuperbotFieldInfo &field = voltara::FieldOf(design.setting);
        QGroupBox *frame = voltara::ui::NewFrame(
            fraBot, design.name, QString::fromLatin1(field.label), TwipsRect(design.place));
        controls(design.setting).frame = frame;
        voltara::ui::OnMouseMove(frame, [this, &field] { ShowFieldHint(field.hint); });
        switch (field.kind) {
        case SuperbotControl::Slider:
            createSlider(*std::find_if(std::begin(kSliderDesigns), std::end(kSliderDesigns),
                [&](const SliderDesign &slider) { return slider.setting == design.setting; }));
            break;
        case SuperbotControl::List:
            createLaserList(frame);
            break;
        case SuperbotControl::PowerLevel:
            createPowerLevel(frame);
            break;
        }
        editorOf(design.setting)->setGeometry(TwipsRect(design.control));
        DescribeWithHint(frame, field.hint_text);
        voltara::ui::KeepBelowCaption(frame, voltara::ui::Twips(design.control.top));
    }
}

void frmOlmach::createSlider(const SliderDesign &design)
{
    const voltara::SuperbotFieldInfo &range = voltara::FieldOf(design.setting);
    FieldControls &field = controls(design.setting);
    field.slider = new QSlider(Qt::Horizontal, field.frame);
    field.slider->setObjectName(QLatin1String(range.control));
    field.slider->setRange(range.first, range.last);
    field.slider->setPageStep(design.pageStep);
    field.slider->setTickInterval(design.tickInterval);
    field.slider->setTickPosition(QSlider::TicksBelow);
    field.check = new QCheckBox(QString::fromLatin1(design.checkCaption), field.frame);
    field.check->setObjectName(QLatin1String(design.checkName));
    field.check->setAccessibleName(QLatin1String(design.checkSpoken));
    field.check->setGeometry(TwipsRect(kCheckBox));
    voltara::ui::FitWidth(field.check);
    field.stored = new voltara::ui::StoredMark(field.check, field.frame);
    field.stored->setObjectName(QLatin1String(design.storedName));
    // Only the user's own moves and clicks raise these signals, never a value set by code:
    // showing a tier cannot change a record.
    const SuperbotSetting setting = design.setting;
    connect(
        field.slider, &QSlider::actionTriggered, this, [this, setting] { sld_Scroll(setting); });
    connect(field.check, &QCheckBox::clicked, this,
        [this, setting](bool checked) { chk_Click(setting, checked); });
}

void frmOlmach::createLaserList(QGroupBox *frame)
{
    cmbLaser = new voltara::ui::ValueList(frame);
    cmbLaser->setObjectName(
        QLatin1String(voltara::FieldOf(SuperbotSetting::sbotlaser_percent).control));
    // The list stores only an entry the user picked, and only when it is left.
    connect(cmbLaser, &voltara::ui::ValueList::committed, this, &frmOlmach::cmbLaser_LostFocus);
}

void frmOlmach::createPowerLevel(QGroupBox *frame)
{
    txtPL = new voltara::ui::TextField(voltara::kPowerLevelMaxLength, frame);
    txtPL->setObjectName(QLatin1String(voltara::FieldOf(SuperbotSetting::powerlevel).control));
    txtPL->installEventFilter(this);
}

void frmOlmach::setTabOrder()
{
    std::vector<QWidget *> order {HSBNumber, cmdDefault};
    for (const SuperbotSetting setting : kTabOrder) {
        order.push_back(editorOf(setting));
        if (QCheckBox *check = controls(setting).check)
            order.push_back(check);
    }
    for (std::size_t i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

void frmOlmach::FillLaserList()
{
    const QSignalBlocker blocker(cmbLaser);
    const voltara::SuperbotFieldInfo &range = voltara::FieldOf(SuperbotSetting::sbotlaser_percent);
    cmbLaser->fillRange(range.first, range.last);
}

void frmOlmach::readStartFile()
{
    voltara::StartSuperbotConfig(m_config, programFolder(), *this);
}

// A reading that failed before its first section showed nothing; showing never edits, so
// showing once more is harmless.
void frmOlmach::showFirstRecord()
{
    ShowSuperbot("1");
}

frmOlmach::FieldControls &frmOlmach::controls(SuperbotSetting setting)
{
    return m_fields[static_cast<std::size_t>(setting)];
}

QWidget *frmOlmach::editorOf(SuperbotSetting setting)
{
    switch (voltara::FieldOf(setting).kind) {
    case SuperbotControl::Slider:
        return controls(setting).slider;
    case SuperbotControl::List:
        return cmbLaser;
    case SuperbotControl::PowerLevel:
        break;
    }
    return txtPL;
}

voltara::Superbot &frmOlmach::currentRecord()
{
    return m_config.Tier(m_config.CurrentTier);
}

void frmOlmach::ShowSuperbot(const std::string &tier)
{
    const int number = voltara::ToWholeNumber(tier).value_or(0);
    const voltara::Superbot &record = m_config.Tier(number); // checks the tier
    {
        const QSignalBlocker blocker(HSBNumber);
        HSBNumber->setValue(number);
    }
    fraBot->setTitle(QString::fromLatin1(voltara::TierName(number)));
    for (const voltara::SuperbotFieldInfo &field : voltara::kSuperbotFields)
        showField(field, record.*field.member);
}

void frmOlmach::showField(const voltara::SuperbotFieldInfo &field, const std::string &text)
{
    switch (field.kind) {
    case SuperbotControl::Slider:
        showOnSlider(m_fields[static_cast<std::size_t>(&field - voltara::kSuperbotFields)], text);
        break;
    case SuperbotControl::List: {
        const QSignalBlocker blocker(cmbLaser);
        cmbLaser->showStored(text);
        break;
    }
    case SuperbotControl::PowerLevel:
        txtPL->showText(FromBytes(text));
        break;
    }
}

void frmOlmach::showOnSlider(FieldControls &field, const std::string &text)
{
    const QSignalBlocker checkBlocker(field.check);
    if (text == voltara::kUnlimitedValue) {
        // A disabled slider keeps its last position.
        field.check->setChecked(true);
        field.slider->setEnabled(false);
        showStoredMark(field, {});
        return;
    }
    const int position = SliderPositionFor(text, field.slider->minimum(), field.slider->maximum());
    {
        const QSignalBlocker sliderBlocker(field.slider);
        field.slider->setValue(position);
    }
    // A value out of the slider's range, a fraction or a number written otherwise ("1e3") would
    // look like the position; it is saved as it is, so it is shown as it is.
    const QString stored = FromBytes(text);
    showStoredMark(field, stored.trimmed() == QString::number(position) ? QString() : stored);
    field.check->setChecked(false);
    field.slider->setEnabled(true);
}

void frmOlmach::showStoredMark(FieldControls &field, const QString &text)
{
    field.slider->setToolTip(field.stored->showStored(text));
}

void frmOlmach::HSBNumber_Change(int value)
{
    m_config.CurrentTier = value;
    ShowSuperbot(std::to_string(value));
}

void frmOlmach::chk_Click(SuperbotSetting setting, bool checked)
{
    FieldControls &field = controls(setting);
    field.slider->setEnabled(!checked);
    showStoredMark(field, {});
    currentRecord().*voltara::FieldOf(setting).member =
        checked ? voltara::kUnlimitedValue : std::to_string(field.slider->value());
}

void frmOlmach::sld_Scroll(SuperbotSetting setting)
{
    // Raised after the position has moved and before the value follows it. An action that left
    // the position where it was (a key or a wheel turn at an end, a repeat tick) stores nothing.
    FieldControls &field = controls(setting);
    const int position = field.slider->sliderPosition();
    StBr->setSimpleText(Reading(setting, position));
    if (position == field.slider->value())
        return;
    showStoredMark(field, {});
    currentRecord().*voltara::FieldOf(setting).member = std::to_string(position);
}

QString frmOlmach::HealthReading(int position)
{
    return QLocale().toString(position) + QStringLiteral(" healthpoints per second");
}

QString frmOlmach::KiReading(int position)
{
    return LocalNumber(std::floor(position * 10.0 + 0.5) / 100.0)
        + QStringLiteral(" % KI per second");
}

QString frmOlmach::VisibilityReading(int position)
{
    return LocalNumber(std::floor((position - 1) / 254.0 * 10000.0 + 0.5) / 100.0)
        + QStringLiteral(" % visible");
}

void frmOlmach::cmbLaser_LostFocus(const std::string &picked)
{
    currentRecord().sbotlaser_percent = picked;
}

void frmOlmach::txtPL_LostFocus(Qt::FocusReason reason)
{
    if (!txtPL->isModified())
        return;
    txtPL->setModified(false);
    const std::string typed = ToBytes(txtPL->text());
    if (voltara::IsAcceptedPowerLevel(typed)) {
        currentRecord().powerlevel = typed;
        return;
    }
    // Left by a mouse press: the press is dropped, and the box comes once the button is up.
    if (reason == Qt::MouseFocusReason)
        voltara::ui::DropPressThen(this, [this] { refusePowerLevel(); });
    else
        refusePowerLevel();
}

void frmOlmach::refusePowerLevel()
{
    ShowMessage(texts::kPowerLevelRefused, std::string());
    txtPL->showText(FromBytes(currentRecord().powerlevel));
}

void frmOlmach::cmdDefault_Click()
{
    voltara::SetTierDefaults(m_config, m_config.CurrentTier);
    Yield();
    ShowSuperbot(std::to_string(m_config.CurrentTier));
}

void frmOlmach::ShowFieldHint(int number)
{
    if (number == voltara::ui::kNoHint) {
        StBr->setSimpleText(QString());
        return;
    }
    for (const voltara::SuperbotFieldInfo &field : voltara::kSuperbotFields) {
        if (field.hint == number) {
            StBr->setSimpleText(QString::fromLatin1(field.hint_text));
            return;
        }
    }
}

bool frmOlmach::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == txtPL && event->type() == QEvent::FocusOut) {
        // A popup (the context menu) or another window taking the focus is no leaving of the
        // field.
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason)
            txtPL_LostFocus(reason);
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmOlmach::closeEvent(QCloseEvent *event)
{
    voltara::ui::CloseAboutWindow();
    voltara::ui::CloseCreditsWindow();
    event->accept();
}
