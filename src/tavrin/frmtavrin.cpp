#include "tavrin/frmtavrin.h"

#include "core/presets.h"
#include "tavrin/layout.h"
#include "ui/controls.h"
#include "ui/designfont.h"
#include "ui/geometry.h"
#include "ui/messagebox.h"
#include "ui/mousehint.h"
#include "ui/scrollbar.h"
#include "ui/sharedwindows.h"
#include "ui/statusline.h"
#include "ui/straightline.h"
#include "ui/textfield.h"
#include "ui/valuelist.h"
#include "ui/window_texts.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFontMetrics>
#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

#include <algorithm>
#include <initializer_list>

using voltara::ui::FromBytes;
using voltara::ui::TwipsRect;
using namespace tavrin;
namespace texts = voltara::ui::texts;

frmTavrin::frmTavrin(voltara::PersonalityConfig &config, std::string programFolder, QWidget *parent)
    : EditorWindow("frmTavrin", texts::kTavrin, std::move(programFolder), parent)
    , m_config(config)
{
    QWidget *area = createClientArea(kClientWidth, kFieldAreaHeight);
    createDefaultRow(area);
    createBotSelector(area);
    createFieldFrames();
    createLines(area);
    StBr = completeWindow(
        {config.ConfigPath, config.LoadedPath, [this](const std::string &path) { readFile(path); },
            [this](
                const std::string &path) { voltara::WritePersonalityFile(m_config, path, *this); }},
        HSBNumber, kStatusHeight, [this] { createPresetMenu(); });
    setFocusOrder();
}

QLabel *frmTavrin::createLabel(
    QWidget *parent, int number, const QString &caption, const QRect &rect)
{
    auto *label = new QLabel(caption, parent);
    label->setObjectName(QStringLiteral("lblAnzeige%1").arg(number));
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label->setGeometry(rect);
    voltara::ui::OnMouseMove(label, [this, number] { ShowKeyHint(number); });
    return label;
}

void frmTavrin::createDefaultRow(QWidget *area)
{
    const QString heading = QString::fromLatin1(kDefaultBox.heading);
    const QString hint = QString::fromLatin1(texts::kDefaultPersonalityHint);
    createLabel(area, kDefaultHint, heading,
        TwipsRect(kHeading.left, kDefaultBox.headingTop, kHeading.width, kHeading.height));
    m_optBot = new QButtonGroup(this);
    QList<QWidget *> row;
    for (int index = 0; index <= voltara::kBotCount; ++index) {
        auto *button = new QRadioButton(
            index == 0 ? QStringLiteral("Random") : QStringLiteral("Bot %1").arg(index), area);
        button->setObjectName(QStringLiteral("optBot%1").arg(index));
        button->setGeometry(TwipsRect(kFirstRowButton.left + kRowPitch * index, kFirstRowButton.top,
            kFirstRowButton.width, kFirstRowButton.height));
        button->setAccessibleDescription(hint);
        m_optBot->addButton(button, index);
        row.append(button);
    }
    for (QAbstractButton *button : m_optBot->buttons())
        voltara::ui::FitWidth(button);
    voltara::ui::GroupOptionButtons(row, "optBotGroup", heading, hint);
    connect(m_optBot, &QButtonGroup::idClicked, this, &frmTavrin::optBot_Click);

    txtPersonality = new voltara::ui::TextField(2, area);
    txtPersonality->setObjectName(QStringLiteral("txtPersonality"));
    txtPersonality->setAccessibleName(heading);
    txtPersonality->setAccessibleDescription(hint);
    txtPersonality->showText(QString::fromLatin1(voltara::kRandomPersonality));
    txtPersonality->setReadOnly(true);
    txtPersonality->setFocusPolicy(Qt::ClickFocus);
    txtPersonality->setAlignment(Qt::AlignCenter);
}

void frmTavrin::createBotSelector(QWidget *area)
{
    createLabel(area, kViewBotHint, QString::fromLatin1(kViewBox.heading),
        TwipsRect(kHeading.left, kViewBox.headingTop, kHeading.width, kHeading.height));
    HSBNumber = voltara::ui::NewRecordSelector(area, QString::fromLatin1(kViewBox.heading),
        texts::kTavrinViewBot, TwipsRect(kSelector), voltara::kBotCount, 2);
    connect(HSBNumber, &QScrollBar::valueChanged, this, &frmTavrin::HSBNumber_Change);

    fraBot = new QGroupBox(QStringLiteral("Bot 1"), area);
    fraBot->setObjectName(QStringLiteral("fraBot"));
    fraBot->setGeometry(TwipsRect(kBotFrame));
}

void frmTavrin::createFieldFrames()
{
    std::array<QGroupBox *, 5> frames {};
    for (const GroupFrame &layout : kGroupFrames) {
        QGroupBox *frame = voltara::ui::NewFrame(
            fraBot, layout.name, QString::fromLatin1(layout.caption), TwipsRect(layout.place));
        voltara::ui::OnMouseMove(frame, [this] { ShowKeyHint(voltara::ui::kNoHint); });
        frames[layout.group] = frame;
    }
    createValueFields(frames);
    createAggression(frames[voltara::kGroupOthers]);

    cmdDefault = new QPushButton(QStringLiteral("load default values"), fraBot);
    cmdDefault->setObjectName(QStringLiteral("cmdDefault"));
    cmdDefault->setAccessibleDescription(QString::fromLatin1(texts::kTavrinLoadDefaults));
    cmdDefault->setGeometry(TwipsRect(kLoadDefaults));
    connect(cmdDefault, &QPushButton::clicked, this, &frmTavrin::cmdDefault_Click);
    for (const GroupFrame &layout : kGroupFrames)
        voltara::ui::KeepBelowCaption(frames[layout.group], voltara::ui::Twips(layout.firstRowTop));
}

void frmTavrin::createValueFields(const std::array<QGroupBox *, 5> &frames)
{
    std::array<int, 5> rows {};
    for (int field = 0; field < voltara::kFieldCount; ++field) {
        const voltara::FieldInfo &info = voltara::kFields[field];
        if (info.kind != voltara::FieldKind::Percent)
            continue;
        const GroupFrame &layout = *std::find_if(std::begin(kGroupFrames), std::end(kGroupFrames),
            [&](const GroupFrame &frame) { return frame.group == info.group; });
        const int top = layout.firstRowTop + kRowStep * rows[info.group]++;
        auto *list = new voltara::ui::ValueList(frames[info.group]);
        list->setObjectName(QString::fromLatin1(info.control));
        list->setGeometry(TwipsRect(kList.left, top, kList.width, kList.height));
        list->setFitToEntries(true);
        list->setAccessibleDescription(QString::fromLatin1(info.hint_text));
        connect(
            list, &voltara::ui::ValueList::committed, this, [this, field](const std::string &text) {
                if (voltara::Personality *bot = botOnView())
                    voltara::SetField(*bot, field, text);
            });
        m_valueFields.push_back({field, list});
        // A screen reader names a list after the label it is the buddy of.
        createLabel(frames[info.group], info.hint, QString::fromLatin1(info.label),
            TwipsRect(kLabel.left, top + kLabel.top, kLabel.width, kLabel.height))
            ->setBuddy(list);
    }
}

void frmTavrin::createAggression(QGroupBox *frame)
{
    const voltara::FieldInfo &info = voltara::FieldOf(voltara::Setting::aggression_level);
    const QString hint = QString::fromLatin1(info.hint_text);
    createLabel(frame, info.hint, QString::fromLatin1(info.label),
        TwipsRect(kLabel.left, kAggressiveTop + kLabel.top, kLabel.width, kLabel.height));
    optAggressive = addAggressionButton(
        frame, "optAggressive", "Aggressive", kAggressiveTop, voltara::kAggressive);
    optDefensive =
        addAggressionButton(frame, "optDefensive", "Defensive", kDefensiveTop, voltara::kDefensive);
    optNormal = addAggressionButton(frame, "optNormal", "Normal", kNormalTop, voltara::kNormal);

    chkTransKiller = new QCheckBox(QStringLiteral("Transkiller"), frame);
    chkTransKiller->setObjectName(QStringLiteral("chkTransKiller"));
    chkTransKiller->setAccessibleDescription(QString::fromLatin1(texts::kTransKiller));
    chkTransKiller->setGeometry(TwipsRect(kTransKiller));
    // Unticked until a record is shown: the window shows nothing before it has a bot to show.
    // The mouse moving over it leaves the hint, and must not reach the frame, which clears it.
    chkTransKiller->setAttribute(Qt::WA_NoMousePropagation);
    voltara::ui::FitWidth(chkTransKiller);
    connect(chkTransKiller, &QCheckBox::clicked, this, &frmTavrin::chkTransKiller_Click);

    // The column stands under the lists where it fits, else as far left as the frame needs.
    const QList<QWidget *> column {optAggressive, optDefensive, optNormal, chkTransKiller};
    int widest = 0;
    for (QWidget *widget : column)
        widest = std::max(widest, widget->width());
    const int left = std::min(voltara::ui::Twips(kList.left), frame->width() - 4 - widest);
    for (QWidget *widget : column)
        widget->move(left, widget->y());
    // In the frame alone the buttons would be announced under the frame's caption.
    voltara::ui::GroupOptionButtons({optAggressive, optDefensive, optNormal}, "optAggressionGroup",
        QString::fromLatin1(info.label), hint);
}

QRadioButton *frmTavrin::addAggressionButton(
    QGroupBox *frame, const char *name, const char *caption, int top, const char *word)
{
    auto *button = new QRadioButton(QString::fromLatin1(caption), frame);
    button->setObjectName(QString::fromLatin1(name));
    button->setAccessibleDescription(
        QString::fromLatin1(voltara::FieldOf(voltara::Setting::aggression_level).hint_text));
    button->setGeometry(TwipsRect(kList.left, top, kAggressionWidth, kAggressionHeight));
    voltara::ui::FitWidth(button);
    voltara::ui::OnMouseMove(button, [this] { StBr->setSimpleText(QString()); });
    connect(button, &QRadioButton::clicked, this,
        [this, button, word] { aggression_Click(button, word); });
    return button;
}

// Two open boxes around the headings, their top edges broken where the heading text (and,
// for the default personality, the mirror field beside it) stands.
void frmTavrin::createLines(QWidget *area)
{
    constexpr int gap = 6 * 15; // six pixels
    const int mirrorLeft = headingGap(kDefaultBox.heading).second;
    txtPersonality->setGeometry(
        TwipsRect(mirrorLeft, kDefaultBox.headingTop, kMirrorWidth, kMirrorHeight));
    m_lineRightOfMirror = addHeadedBox(area, kDefaultBox, mirrorLeft + kMirrorWidth + gap, 1);
    fitDefaultPersonalityMirror();
    addHeadedBox(area, kViewBox, headingGap(kViewBox.heading).second, 5);
}

// Draws a box's four lines, named from Line<first>, its top line broken from the heading's left
// end to breakEnd; gives the part of the top line right of the break.
QFrame *frmTavrin::addHeadedBox(QWidget *area, const HeadedBox &box, int breakEnd, int first)
{
    const int left = kHeading.left;
    const int right = kHeading.left + kHeading.width;
    const auto line = [&](int x1, int y1, int x2, int y2, int n) {
        return voltara::ui::AddStraightLine(area, x1, y1, x2, y2, QStringLiteral("Line%1").arg(n));
    };
    line(left, box.top, headingGap(box.heading).first, box.top, first);
    line(left, box.top, left, box.bottom, first + 1);
    QFrame *afterBreak = line(breakEnd, box.top, right, box.top, first + 2);
    line(right, box.top, right, box.bottom, first + 3);
    return afterBreak;
}

// Where a box's top line breaks for a heading centred over the window: six pixels either side
// of its text, in twips.
std::pair<int, int> frmTavrin::headingGap(const char *heading) const
{
    constexpr int pixel = 15;
    const int centre = voltara::ui::Twips(kHeading.left) + voltara::ui::Twips(kHeading.width) / 2;
    const int width = QFontMetrics(font()).horizontalAdvance(QString::fromLatin1(heading));
    return {(centre - width / 2 - 6) * pixel, (centre + (width + 1) / 2 + 6) * pixel};
}

void frmTavrin::createPresetMenu()
{
    QMenu *presets = addSubmenu(menuBar(), "menPresets", "Presets");
    menuBar()->addMenu(presets);
    for (const voltara::PresetSubmenu &submenu : voltara::PresetMenu()) {
        QMenu *menu = addSubmenu(presets, submenu.name, submenu.caption);
        presets->addMenu(menu);
        for (const voltara::PresetItem &command : submenu.items) {
            const std::string code = command.code;
            connect(addCommand(menu, command.name, command.caption), &QAction::triggered, this,
                [this, code] { voltara::ApplyPreset(m_config, code, *this); });
        }
    }
}

void frmTavrin::setFocusOrder()
{
    std::vector<QWidget *> order {HSBNumber};
    for (const ValueField &value : m_valueFields)
        order.push_back(value.list);
    order.insert(order.end(), {optDefensive, optNormal, optAggressive, chkTransKiller, cmdDefault});
    for (QAbstractButton *button : m_optBot->buttons())
        order.push_back(button);
    for (std::size_t i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

// A list shows its entries only when opened, so filling them before the window is shown changes
// nothing on screen and spares a repaint of every list.
void frmTavrin::beforeShowing()
{
    FillValueLists();
}

void frmTavrin::readStartFile()
{
    m_reading = true;
    voltara::StartPersonalityConfig(m_config, programFolder(), *this);
    m_reading = false;
    showDefaultPersonalityText();
}

void frmTavrin::showFirstRecord()
{
    showCurrentBot();
}

void frmTavrin::FillValueLists()
{
    for (const ValueField &value : m_valueFields)
        value.list->fillRange(voltara::kPercentFirst, voltara::kPercentLast);
}

void frmTavrin::ShowKeyHint(int number)
{
    if (number == voltara::ui::kNoHint) {
        StBr->setSimpleText(QString());
        return;
    }
    if (number == kDefaultHint) {
        StBr->setSimpleText(QString::fromLatin1(texts::kDefaultPersonalityHint));
        return;
    }
    for (const voltara::FieldInfo &info : voltara::kFields) {
        if (info.hint == number && info.hint >= 0) {
            StBr->setSimpleText(QString::fromLatin1(info.hint_text));
            return;
        }
    }
}

void frmTavrin::SelectDefaultOption(int option)
{
    if (QAbstractButton *button = m_optBot->button(option)) {
        button->setChecked(true);
    } else if (QAbstractButton *checked = m_optBot->checkedButton()) {
        // An exclusive group never unchecks its last button by itself.
        m_optBot->setExclusive(false);
        checked->setChecked(false);
        m_optBot->setExclusive(true);
    }
    showDefaultPersonalityText();
}

void frmTavrin::ShowPersonality(const std::string &number)
{
    int n = 0;
    try {
        n = voltara::PersonalityNumber(number);
    } catch (const voltara::IndexError &) {
        return;
    }
    const voltara::Personality &bot = m_config.Bot(n);
    for (const ValueField &value : m_valueFields)
        value.list->showStored(bot.*voltara::kFields[value.field].member);
    chkTransKiller->setChecked(bot.transkiller != voltara::kTranskillerOff);
    if (bot.aggression_level == voltara::kDefensive)
        optDefensive->setChecked(true);
    else if (bot.aggression_level == voltara::kAggressive)
        optAggressive->setChecked(true);
    else
        optNormal->setChecked(true);
}

void frmTavrin::closeEvent(QCloseEvent *event)
{
    // The Credits window may stay open on its own; the About window belongs to this one.
    voltara::ui::CloseAboutWindow();
    QMainWindow::closeEvent(event);
}

voltara::Personality *frmTavrin::botOnView()
{
    if (m_reading || m_config.CurrentBot < 1 || m_config.CurrentBot > voltara::kBotCount)
        return nullptr;
    return &m_config.Bot(m_config.CurrentBot);
}

void frmTavrin::showDefaultPersonalityText()
{
    txtPersonality->showText(FromBytes(m_config.DefaultPersonality));
    fitDefaultPersonalityMirror();
}

// A file may hold any default personality ("-10", "abc"): the mirror keeps its designed width
// unless its text needs more, and the heading's line on its right then starts after it. It
// takes at most half of that line, so the box stays closed; a text longer than that shows its
// start, and the whole of it in the tooltip.
void frmTavrin::fitDefaultPersonalityMirror()
{
    constexpr int gap = 6;
    const QRect line = m_lineRightOfMirror->geometry();
    const int widest = (line.right() - txtPersonality->x()) / 2;
    const QString text = txtPersonality->text();
    const int needed = txtPersonality->widthFor(text);
    const int width = std::min(widest, std::max(voltara::ui::Twips(375), needed));
    txtPersonality->resize(width, txtPersonality->height());
    txtPersonality->setToolTip(needed > width ? text : QString());
    const int left = txtPersonality->geometry().right() + 1 + gap;
    m_lineRightOfMirror->setGeometry(left, line.y(), line.right() - left + 1, line.height());
}

// Brings the scroll bar, the frame caption and the fields to CurrentBot, also when a read
// ended early without showing a bot.
void frmTavrin::showCurrentBot()
{
    const int bot = m_config.CurrentBot;
    if (HSBNumber->value() != bot)
        HSBNumber->setValue(bot);
    else
        HSBNumber_Change(bot);
}

void frmTavrin::HSBNumber_Change(int value)
{
    if (m_reading)
        return; // the read ends by showing its own bot
    m_config.CurrentBot = value;
    fraBot->setTitle(QStringLiteral("Bot %1").arg(value));
    ShowPersonality(std::to_string(value));
}

void frmTavrin::optBot_Click(int index)
{
    m_config.DefaultPersonality = voltara::DefaultPersonalityOf(index);
    showDefaultPersonalityText();
}

void frmTavrin::cmdDefault_Click()
{
    if (!botOnView())
        return;
    voltara::SetDefaultValues(m_config, std::to_string(m_config.CurrentBot), voltara::kGroupAll);
    Yield();
    ShowPersonality(std::to_string(m_config.CurrentBot));
}

void frmTavrin::aggression_Click(QRadioButton *button, const char *word)
{
    voltara::Personality *bot = botOnView();
    if (bot && button->isChecked())
        bot->aggression_level = word;
}

void frmTavrin::chkTransKiller_Click(bool checked)
{
    if (voltara::Personality *bot = botOnView())
        bot->transkiller = checked ? voltara::kTranskillerOn : voltara::kTranskillerOff;
}

void frmTavrin::readFile(const std::string &path)
{
    m_reading = true;
    voltara::ReadPersonalityFile(m_config, path, *this);
    m_reading = false;
    showDefaultPersonalityText();
    showCurrentBot();
}
