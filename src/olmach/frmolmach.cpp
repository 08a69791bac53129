#include "olmach/frmolmach.h"

#include "core/text.h"
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

using voltara::ui::FromBytes;
using voltara::ui::ToBytes;
using voltara::ui::TwipsRect;

namespace {

// The three sliders, in the order they stand in the tier frame.
struct SliderDesign
{
    const char *frameName;
    const char *frameCaption;
    int frameLeft;
    const char *sliderName;
    int pageStep, tickInterval;
    const char *checkName;
    const char *checkCaption;
    const char *checkSpoken; // what a screen reader calls the check box
    const char *storedName;
    std::string voltara::Superbot::*member;
    QString (*reading)(int position);
    int hint;
};

// clang-format off
const SliderDesign kSliderDesigns[] = {
    {"fraKI", "KI per second",     240,  "sldKI", 100, 100, "chkKI", "Unlimited", "Unlimited KI",
     "lblStoredKI", &voltara::Superbot::ki_gain,          &frmOlmach::KiReading,         1},
    {"fraHP", "Health per second", 2820, "sldHP", 30,  45,  "chkHP", "Unlimited",
     "Unlimited health",
     "lblStoredHP", &voltara::Superbot::health_gain,      &frmOlmach::HealthReading,     0},
    {"fraTR", "Visibility",        5400, "sldTR", 30,  51,  "chkTR", "Flashing",  "Flashing",
     "lblStoredTR", &voltara::Superbot::transparency_val, &frmOlmach::VisibilityReading, 4},
};

const char *const kFieldHints[] = {
    "Specifies the amount of health the bot recovers every second",
    "Specifies the amount of KI the bot recovers every second",
    "Specifies the powerlevel the bot starts with",
    "Specifies the percent that a bot will use a super bot laser",
    "Specifies the transparency level of the bot",
};
// clang-format on

constexpr int kLaserHint = 3;
constexpr int kPowerLevelHint = 2;
constexpr int kNoHint = -1;

// What a screen reader says of the controls that have no hint of their own.
constexpr const char *kViewBotText = "Chooses the tier on view: SUPERBOT, MEGABOT or ULTIMATEBOT";
constexpr const char *kLoadDefaultsText = "Gives every value of the tier on view its default";

QString FieldHint(int code)
{
    return QString::fromLatin1(kFieldHints[code]);
}

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
void DescribeWithHint(QGroupBox *frame, int hint)
{
    frame->setAccessibleDescription(FieldHint(hint));
    for (QWidget *control : frame->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (control->focusPolicy() != Qt::NoFocus)
            control->setAccessibleDescription(FieldHint(hint));
    }
}

QSlider *NewSlider(QGroupBox *frame, const SliderDesign &design)
{
    auto *slider = new QSlider(Qt::Horizontal, frame);
    slider->setObjectName(QLatin1String(design.sliderName));
    slider->setGeometry(TwipsRect(180, 360, 1815, 495));
    const voltara::SuperbotFieldInfo &range =
        *std::find_if(std::begin(voltara::kSuperbotFields), std::end(voltara::kSuperbotFields),
            [&](const voltara::SuperbotFieldInfo &field) { return field.member == design.member; });
    slider->setRange(range.first, range.last);
    slider->setPageStep(design.pageStep);
    slider->setTickInterval(design.tickInterval);
    slider->setTickPosition(QSlider::TicksBelow);
    return slider;
}

} // namespace

frmOlmach::frmOlmach(voltara::SuperbotConfig &config, std::string programFolder, QWidget *parent)
    : EditorWindow(std::move(programFolder), {"Bot Personality Editor", "Tavrin"}, parent)
    , m_config(config)
{
    setObjectName(QStringLiteral("frmOlmach"));
    setWindowTitle(QStringLiteral("Official SuperBot Editor"));
    setFont(voltara::ui::DesignFont());
    createControls();
    createMenus();
    StBr = createStatusLine(315);
    setTabOrder();
    FillLaserList();
    // The designed client area; the window cannot be resized.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    HSBNumber->setFocus();
}

void frmOlmach::createControls()
{
    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(voltara::ui::Twips(8100), voltara::ui::Twips(4125));
    setCentralWidget(client);

    auto *heading = new QLabel(QStringLiteral("View Bot"), client);
    heading->setObjectName(QStringLiteral("lblAnzeige"));
    heading->setAlignment(Qt::AlignCenter);
    heading->setGeometry(TwipsRect(0, 0, 7995, 195));
    voltara::ui::AddStraightLine(client, 120, 180, 3600, 180, QStringLiteral("Line1"));
    voltara::ui::AddStraightLine(client, 120, 180, 120, 660, QStringLiteral("Line2"));
    voltara::ui::AddStraightLine(client, 4380, 180, 7920, 180, QStringLiteral("Line3"));
    voltara::ui::AddStraightLine(client, 7920, 180, 7920, 660, QStringLiteral("Line4"));

    HSBNumber = new voltara::ui::ScrollBar(client);
    HSBNumber->setObjectName(QStringLiteral("HSBNumber"));
    HSBNumber->setAccessibleName(heading->text());
    HSBNumber->setAccessibleDescription(QString::fromLatin1(kViewBotText));
    HSBNumber->setGeometry(TwipsRect(240, 300, 7575, 315));
    HSBNumber->setRange(1, voltara::kTierCount);
    HSBNumber->setSingleStep(1);
    HSBNumber->setPageStep(1);
    HSBNumber->setValue(1);
    // Taking the focus on click and wheel makes a field being edited leave, and store into the
    // tier it was made for, before the tier changes.
    HSBNumber->setFocusPolicy(Qt::WheelFocus);
    // valueChanged comes both while the thumb is dragged and when it is released.
    connect(HSBNumber, &QScrollBar::valueChanged, this, &frmOlmach::HSBNumber_Change);

    fraBot = voltara::ui::NewFrame(client, "fraBot", QString::fromLatin1(voltara::TierName(1)),
        TwipsRect(60, 780, 7935, 3255));
    voltara::ui::OnMouseMove(fraBot, [this] { ShowFieldHint(kNoHint); });
    createSliderFields();
    createLowerFields();
}

void frmOlmach::createSliderFields()
{
    for (std::size_t i = 0; i < m_sliders.size(); ++i) {
        const SliderDesign &design = kSliderDesigns[i];
        SliderField &field = m_sliders[i];
        field.frame = voltara::ui::NewFrame(fraBot, design.frameName,
            QString::fromLatin1(design.frameCaption), TwipsRect(design.frameLeft, 420, 2295, 1515));
        voltara::ui::OnMouseMove(field.frame, [this, &field] { ShowFieldHint(field.hint); });
        field.slider = NewSlider(field.frame, design);
        field.check = new QCheckBox(QString::fromLatin1(design.checkCaption), field.frame);
        field.check->setObjectName(QLatin1String(design.checkName));
        field.check->setAccessibleName(QLatin1String(design.checkSpoken));
        field.check->setGeometry(TwipsRect(300, 1020, 975, 315));
        voltara::ui::FitWidth(field.check);
        field.stored = new voltara::ui::StoredMark(field.check, field.frame);
        field.stored->setObjectName(QLatin1String(design.storedName));
        field.member = design.member;
        field.reading = design.reading;
        field.hint = design.hint;
        DescribeWithHint(field.frame, field.hint);
        // Only the user's own moves and clicks raise these signals, never a value set by code:
        // showing a tier cannot change a record.
        connect(
            field.slider, &QSlider::actionTriggered, this, [this, &field] { sld_Scroll(field); });
        connect(field.check, &QCheckBox::clicked, this,
            [this, &field](bool checked) { chk_Click(field, checked); });
    }
}

void frmOlmach::createLowerFields()
{
    fraLS = voltara::ui::NewFrame(
        fraBot, "fraLS", QStringLiteral("Laser usage"), TwipsRect(240, 2160, 1755, 915));
    voltara::ui::OnMouseMove(fraLS, [this] { ShowFieldHint(kLaserHint); });
    cmbLaser = new voltara::ui::ValueList(fraLS);
    cmbLaser->setObjectName(QStringLiteral("cmbLaser"));
    cmbLaser->setGeometry(TwipsRect(240, 360, 1275, 315));
    DescribeWithHint(fraLS, kLaserHint);
    // The list stores only an entry the user picked, and only when it is left.
    connect(cmbLaser, &voltara::ui::ValueList::committed, this, &frmOlmach::cmbLaser_LostFocus);

    fraPL = voltara::ui::NewFrame(
        fraBot, "fraPL", QStringLiteral("Powerlevel"), TwipsRect(2220, 2160, 1815, 915));
    voltara::ui::OnMouseMove(fraPL, [this] { ShowFieldHint(kPowerLevelHint); });
    txtPL = new voltara::ui::TextField(voltara::kPowerLevelMaxLength, fraPL);
    txtPL->setObjectName(QStringLiteral("txtPL"));
    txtPL->setGeometry(TwipsRect(300, 360, 1155, 315));
    txtPL->installEventFilter(this);
    DescribeWithHint(fraPL, kPowerLevelHint);

    cmdDefault = new QPushButton(QStringLiteral("load default values"), fraBot);
    cmdDefault->setObjectName(QStringLiteral("cmdDefault"));
    cmdDefault->setAccessibleDescription(QString::fromLatin1(kLoadDefaultsText));
    cmdDefault->setGeometry(TwipsRect(4260, 2280, 1875, 735));
    connect(cmdDefault, &QPushButton::clicked, this, &frmOlmach::cmdDefault_Click);
}

void frmOlmach::setTabOrder()
{
    const QWidget *order[] = {HSBNumber, cmdDefault, m_sliders[KI].slider, m_sliders[KI].check,
        m_sliders[HP].slider, m_sliders[HP].check, txtPL, m_sliders[TR].slider, m_sliders[TR].check,
        cmbLaser};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i)
        QWidget::setTabOrder(const_cast<QWidget *>(order[i]), const_cast<QWidget *>(order[i + 1]));
}

void frmOlmach::FillLaserList()
{
    const QSignalBlocker blocker(cmbLaser);
    const voltara::SuperbotFieldInfo &range =
        voltara::FieldOf(voltara::SuperbotSetting::sbotlaser_percent);
    cmbLaser->fillRange(range.first, range.last);
}

void frmOlmach::Form_Load()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    Yield();
    show();
    Yield();
    voltara::StartSuperbotConfig(m_config, programFolder(), *this);
    Yield();
    // A reading that failed before its first section showed nothing; showing never edits, so
    // showing once more is harmless.
    ShowSuperbot("1");
    Yield();
    QApplication::restoreOverrideCursor();
}

void frmOlmach::ShowMessage(
    const std::string &text, const voltara::Caption &caption, voltara::MessageIcon icon)
{
    // No hourglass over a box that waits for the user.
    const bool busy = QApplication::overrideCursor() != nullptr;
    if (busy)
        QApplication::setOverrideCursor(Qt::ArrowCursor);
    voltara::ui::ShowMessageBox(this, text, caption, icon);
    if (busy)
        QApplication::restoreOverrideCursor();
}

bool frmOlmach::AskToProceed(
    const std::string &text, const voltara::Caption &caption, const std::string &proceed)
{
    return voltara::ui::ShowQuestionBox(this, text, caption, proceed);
}

void frmOlmach::Yield()
{
    voltara::ui::YieldToEvents();
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
    showOnSlider(m_sliders[HP], record.health_gain);
    showOnSlider(m_sliders[KI], record.ki_gain);
    showOnSlider(m_sliders[TR], record.transparency_val);
    {
        const QSignalBlocker blocker(cmbLaser);
        cmbLaser->showStored(record.sbotlaser_percent);
    }
    txtPL->showText(FromBytes(record.powerlevel));
}

void frmOlmach::showOnSlider(SliderField &field, const std::string &text)
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

void frmOlmach::showStoredMark(SliderField &field, const QString &text)
{
    field.slider->setToolTip(field.stored->showStored(text));
}

void frmOlmach::HSBNumber_Change(int value)
{
    m_config.CurrentTier = value;
    ShowSuperbot(std::to_string(value));
}

void frmOlmach::chk_Click(SliderField &field, bool checked)
{
    field.slider->setEnabled(!checked);
    showStoredMark(field, {});
    currentRecord().*field.member =
        checked ? voltara::kUnlimitedValue : std::to_string(field.slider->value());
}

void frmOlmach::sld_Scroll(SliderField &field)
{
    // Raised after the position has moved and before the value follows it. An action that left
    // the position where it was (a key or a wheel turn at an end, a repeat tick) stores nothing.
    const int position = field.slider->sliderPosition();
    StBr->setSimpleText(field.reading(position));
    if (position == field.slider->value())
        return;
    showStoredMark(field, {});
    currentRecord().*field.member = std::to_string(position);
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
    ShowMessage("No", std::string());
    txtPL->showText(FromBytes(currentRecord().powerlevel));
}

void frmOlmach::cmdDefault_Click()
{
    voltara::SetTierDefaults(m_config, m_config.CurrentTier);
    Yield();
    ShowSuperbot(std::to_string(m_config.CurrentTier));
}

std::string frmOlmach::defaultFilePath() const
{
    return m_config.SuperbotConfigPath;
}

std::string frmOlmach::loadedFilePath() const
{
    return m_config.LoadedPath;
}

QWidget *frmOlmach::focusAnchor() const
{
    return HSBNumber;
}

void frmOlmach::readFile(const std::string &path)
{
    voltara::ReadSuperbotFile(m_config, path, *this);
}

void frmOlmach::writeFile(const std::string &path)
{
    voltara::WriteSuperbotFile(m_config, path, *this);
}

void frmOlmach::ShowFieldHint(int code)
{
    if (code == kNoHint)
        StBr->setSimpleText(QString());
    else if (code >= 0 && code < static_cast<int>(std::size(kFieldHints)))
        StBr->setSimpleText(FieldHint(code));
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
