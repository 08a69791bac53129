// Tavrin's main window on the offscreen platform: real focus changes, key clicks and mouse
// moves; message boxes and file dialogs are recorded instead of shown.
#include "core/personality_file.h"
#include "tavrin/frmtavrin.h"
#include "ui/filedialogs.h"
#include "ui/messagebox.h"
#include "ui/sharedwindows.h"
#include "ui/statusline.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <functional>
#include <memory>

using voltara::Personality;
using voltara::PersonalityConfig;
using voltara::ui::FileDialogRequest;
using voltara::ui::MessageBoxRecord;

namespace {

// A complete file of defaults, changed by edit, as the program's own writer lays it out.
QByteArray FileBytes(const std::function<void(PersonalityConfig &)> &edit)
{
    PersonalityConfig config;
    config.DefaultPersonality = "-1";
    for (int n = 1; n <= voltara::kBotCount; ++n)
        voltara::SetDefaultValues(config, std::to_string(n), voltara::kGroupAll);
    edit(config);
    QByteArray bytes;
    for (const std::string &line : voltara::PersonalityFileLines(config))
        bytes += QByteArray::fromStdString(line) + "\r\n";
    return bytes;
}

// True when no list shows a value and no aggression or Transkiller is ticked.
bool ShowsNoValues(const QWidget &window)
{
    for (const QComboBox *list : window.findChildren<QComboBox *>()) {
        if (!list->currentText().isEmpty())
            return false;
    }
    const QRegularExpression names(
        QStringLiteral("^(optAggressive|optDefensive|optNormal|chkTransKiller)$"));
    for (const QAbstractButton *button : window.findChildren<QAbstractButton *>(names)) {
        if (button->isChecked())
            return false;
    }
    return true;
}

} // namespace

class TestFrmTavrin : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void startsWithoutFileShowingDefaults();
    void mirrorShowsAnyDefaultPersonalityWhole();
    void startsWithFileSelectingItsDefault();
    void readErrorUsesProgramTitle();
    void layoutFollowsTheDesign();
    void defaultRowStandsWhereTheDesignPutsIt();
    void mirrorOfALongWordKeepsTheBoxClosed();
    void menuTreeAndPresets();
    void pickThenDragKeepsValueWithItsBot();
    void saveShortcutCommitsListWithFocus();
    void presetWhileListHasFocus();
    void loadDefaultValuesAfterEdit();
    void openResetsViewToBotOne();
    void defaultButtonsChangeOnlyDefault();
    void hintsFollowTheMouse();
    void showingNeverEdits();
    void aggressionAndTranskillerWriteOnClick();
    void saveWithNothingLoadedAsksForName();
    void saveCommandsChooseTheirFiles();

private:
    QString path(const char *name) const { return m_dir->filePath(QString::fromLatin1(name)); }
    void writeFile(const char *name, const QByteArray &bytes);
    QByteArray readFile(const char *name) const;
    void start();
    template <typename T> T *find(const char *name) const
    {
        T *child = m_window->findChild<T *>(QString::fromLatin1(name));
        if (!child)
            qFatal("no control %s", name);
        return child;
    }
    QComboBox *list(const char *name) const { return find<QComboBox>(name); }
    QAction *action(const char *name) const { return find<QAction>(name); }
    void pick(const char *listName, const char *value);
    void dragScrollBarTo(int value);
    QString hint() const { return find<voltara::ui::StatusLine>("StBr")->simpleText(); }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<PersonalityConfig> m_config;
    std::unique_ptr<frmTavrin> m_window;
    QList<MessageBoxRecord> m_boxes;
    QList<bool> m_boxOverVisibleWindow;
    QList<Qt::CursorShape> m_cursorAtBox;
    QList<bool> m_fieldsBlankAtBox;
    QList<FileDialogRequest> m_dialogs;
    QString m_dialogAnswer;
    QElapsedTimer m_lastTyping;
};

void TestFrmTavrin::initTestCase()
{
    QApplication::setApplicationName(QStringLiteral("Tavrin"));
}

void TestFrmTavrin::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_config = std::make_unique<PersonalityConfig>();
    m_boxes.clear();
    m_boxOverVisibleWindow.clear();
    m_cursorAtBox.clear();
    m_fieldsBlankAtBox.clear();
    m_dialogs.clear();
    m_dialogAnswer.clear();
    voltara::ui::SetMessageBoxFunction([this](QWidget *parent, const MessageBoxRecord &box) {
        m_boxes.append(box);
        m_boxOverVisibleWindow.append(parent && parent->isVisible());
        m_cursorAtBox.append(parent ? parent->cursor().shape() : Qt::ArrowCursor);
        m_fieldsBlankAtBox.append(parent && ShowsNoValues(*parent));
    });
    voltara::ui::SetFileDialogFunction([this](QWidget *, const FileDialogRequest &request) {
        m_dialogs.append(request);
        return voltara::ui::ToBytes(m_dialogAnswer);
    });
}

void TestFrmTavrin::cleanup()
{
    m_window.reset();
    voltara::ui::CloseCreditsWindow();
    voltara::ui::SetMessageBoxFunction({});
    voltara::ui::SetFileDialogFunction({});
}

void TestFrmTavrin::writeFile(const char *name, const QByteArray &bytes)
{
    QFile file(path(name));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray TestFrmTavrin::readFile(const char *name) const
{
    QFile file(path(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void TestFrmTavrin::start()
{
    m_window = std::make_unique<frmTavrin>(*m_config, voltara::ui::ToBytes(m_dir->path()));
    m_window->Form_Load();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
}

// Picks an entry the way a user does: focus on the list, then type the value.
void TestFrmTavrin::pick(const char *listName, const char *value)
{
    // Digits typed within the keyboard interval would extend the last search.
    if (m_lastTyping.isValid())
        QTest::qWait(std::max<qint64>(
            0, QApplication::keyboardInputInterval() + 20 - m_lastTyping.elapsed()));
    QComboBox *combo = list(listName);
    combo->setFocus();
    QVERIFY(combo->hasFocus());
    QTest::keyClicks(combo, QString::fromLatin1(value));
    m_lastTyping.start();
    QCOMPARE(combo->currentText(), QString::fromLatin1(value));
}

// Presses the thumb of HSBNumber and drags it, one bot at a time, checking that the view
// follows before the button is released.
void TestFrmTavrin::dragScrollBarTo(int value)
{
    auto *bar = find<QScrollBar>("HSBNumber");
    QStyleOptionSlider option;
    option.initFrom(bar);
    option.subControls = QStyle::SC_All;
    option.orientation = Qt::Horizontal;
    option.state |= QStyle::State_Horizontal;
    option.minimum = bar->minimum();
    option.maximum = bar->maximum();
    option.sliderPosition = bar->sliderPosition();
    option.sliderValue = bar->value();
    option.singleStep = bar->singleStep();
    option.pageStep = bar->pageStep();
    const QRect thumb = bar->style()->subControlRect(
        QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, bar);
    const QRect groove = bar->style()->subControlRect(
        QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarGroove, bar);
    const double perBot =
        double(groove.width() - thumb.width()) / (bar->maximum() - bar->minimum());
    QPoint at = thumb.center();
    QTest::mousePress(bar, Qt::LeftButton, {}, at);
    const int start = bar->value();
    const int step = value > start ? 1 : -1;
    for (int bot = start + step; bot != value + step; bot += step) {
        at.setX(thumb.center().x() + qRound((bot - start) * perBot));
        QTest::mouseMove(bar, at);
        QCOMPARE(bar->value(), bot);
        QCOMPARE(find<QGroupBox>("fraBot")->title(), QStringLiteral("Bot %1").arg(bot));
        QCOMPARE(m_config->CurrentBot, bot);
    }
    QTest::mouseRelease(bar, Qt::LeftButton, {}, at);
}

void TestFrmTavrin::startsWithoutFileShowingDefaults()
{
    start();
    QCOMPARE(m_boxes.size(), 1);
    QCOMPARE(m_boxes[0].title, QStringLiteral("Error"));
    QCOMPARE(m_boxes[0].text,
        QStringLiteral("File: \"%1\" doesn't exist\nLoading default values")
            .arg(path("bot_personality.cfg")));
    QCOMPARE(m_boxOverVisibleWindow[0], true);
    QVERIFY2(m_fieldsBlankAtBox[0], "the fields showed values before any record was read");
    QCOMPARE(m_cursorAtBox[0], Qt::WaitCursor);
    QCOMPARE(m_window->cursor().shape(), Qt::ArrowCursor); // the arrow is back

    QCOMPARE(m_config->ConfigPath, voltara::ui::ToBytes(path("bot_personality.cfg")));
    QVERIFY(m_config->LoadedPath.empty());
    QCOMPARE(m_config->DefaultPersonality, std::string("-1"));
    QCOMPARE(find<QLineEdit>("txtPersonality")->text(), QStringLiteral("-1"));
    for (int option = 0; option <= voltara::kBotCount; ++option)
        QVERIFY(
            !find<QRadioButton>(qPrintable(QStringLiteral("optBot%1").arg(option)))->isChecked());
    QCOMPARE(m_config->CurrentBot, 1);
    QCOMPARE(find<QGroupBox>("fraBot")->title(), QStringLiteral("Bot 1"));
    QCOMPARE(list("cmbMelee")->currentText(), QStringLiteral("80"));
    QCOMPARE(list("cmbFly")->currentText(), QStringLiteral("100"));
    QVERIFY(find<QRadioButton>("optNormal")->isChecked());
    QVERIFY(find<QCheckBox>("chkTransKiller")->isChecked());
    QVERIFY(find<QScrollBar>("HSBNumber")->hasFocus());
}

void TestFrmTavrin::mirrorShowsAnyDefaultPersonalityWhole()
{
    // "-1" would read as Random.
    writeFile("bot_personality.cfg", "default_personality -10\r\n[BOT1]\r\n");
    start();
    auto *mirror = find<QLineEdit>("txtPersonality");
    QCOMPARE(mirror->text(), QStringLiteral("-10"));
    // The heading's line makes room for it.
    QVERIFY(find<QWidget>("Line3")->x() > mirror->geometry().right());
}

void TestFrmTavrin::startsWithFileSelectingItsDefault()
{
    writeFile("bot_personality.cfg", FileBytes([](PersonalityConfig &config) {
        config.DefaultPersonality = "5.0";
        config.Bot(1).melee_percent = "11";
        config.Bot(5).melee_percent = "55";
    }));
    start();
    QVERIFY(m_boxes.isEmpty());
    QCOMPARE(m_config->LoadedPath, voltara::ui::ToBytes(path("bot_personality.cfg")));
    QCOMPARE(m_config->DefaultPersonality, std::string("5"));
    QVERIFY(find<QRadioButton>("optBot5")->isChecked());
    QCOMPARE(find<QLineEdit>("txtPersonality")->text(), QStringLiteral("5"));
    QCOMPARE(list("cmbMelee")->currentText(), QStringLiteral("11"));
}

void TestFrmTavrin::readErrorUsesProgramTitle()
{
    writeFile("bot_personality.cfg", "default_personality 12\r\n[BOT1]\r\nbroken\r\n");
    start();
    QCOMPARE(m_boxes.size(), 1);
    QCOMPARE(m_boxes[0].text, QStringLiteral("Error with reading config file"));
    QCOMPARE(m_boxes[0].title, QStringLiteral("Tavrin"));
    // "12" names no option: it is kept, and no button is shown selected.
    QCOMPARE(m_config->DefaultPersonality, std::string("12"));
    QCOMPARE(find<QLineEdit>("txtPersonality")->text(), QStringLiteral("12"));
    for (int option = 0; option <= voltara::kBotCount; ++option)
        QVERIFY(
            !find<QRadioButton>(qPrintable(QStringLiteral("optBot%1").arg(option)))->isChecked());
}

void TestFrmTavrin::layoutFollowsTheDesign()
{
    start();
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Official Bot Personality Editor"));
    QCOMPARE(m_window->centralWidget()->size(), QSize(664, 453));
    QCOMPARE(find<QWidget>("StBr")->height(), 21);
    QCOMPARE(find<QGroupBox>("fraBot")->geometry(), QRect(4, 108, 653, 345));
    QCOMPARE(find<QGroupBox>("fraChat")->geometry(), QRect(228, 108, 197, 221));
    QCOMPARE(find<QScrollBar>("HSBNumber")->geometry(), QRect(16, 76, 629, 21));
    QCOMPARE(find<QPushButton>("cmdDefault")->pos(), QPoint(436, 320));
    // Lists keep their designed place; their width may grow to show "100".
    QCOMPARE(list("cmbMelee")->pos(), QPoint(124, 20));
    // The Others frame's first row, designed at 16, stands below the frame's caption, which
    // takes 18 pixels in this style.
    QCOMPARE(list("cmbBlock")->pos(), QPoint(124, 18 + 6 * 28));
    QCOMPARE(find<QLabel>("lblAnzeige28")->geometry(), QRect(16, 190, 97, 17));
    QCOMPARE(find<QRadioButton>("optBot0")->pos(), QPoint(16, 20));
    QCOMPARE(find<QRadioButton>("optBot1")->text(), QStringLiteral("Bot 1"));
    for (int line = 1; line <= 8; ++line)
        QVERIFY(m_window->findChild<QWidget *>(QStringLiteral("Line%1").arg(line)));

    // Every percent setting has its list, offering exactly "0" to "100", and its label.
    int lists = 0;
    for (const voltara::FieldInfo &field : voltara::kFields) {
        if (field.kind != voltara::FieldKind::Percent)
            continue;
        ++lists;
        QComboBox *combo = list(field.control);
        QVERIFY(!combo->isEditable());
        QCOMPARE(combo->count(), 101);
        QCOMPARE(combo->size(), combo->sizeHint()); // as wide as its widest entry needs
        for (int value = 0; value <= 100; ++value)
            QCOMPARE(combo->itemText(value), QString::number(value));
        QCOMPARE(find<QLabel>(qPrintable(QStringLiteral("lblAnzeige%1").arg(field.hint)))->text(),
            QString::fromLatin1(field.label));
    }
    QCOMPARE(lists, 26);

    auto *bar = find<QScrollBar>("HSBNumber");
    QCOMPARE(bar->minimum(), 1);
    QCOMPARE(bar->maximum(), 9);
    QCOMPARE(bar->singleStep(), 1);
    QCOMPARE(bar->pageStep(), 2);
    auto *mirror = find<QLineEdit>("txtPersonality");
    QVERIFY(mirror->isReadOnly());

    // The focus order: the scroll bar, the lists, the aggression column, the button, the row.
    QStringList expected {QStringLiteral("HSBNumber")};
    for (const voltara::FieldInfo &field : voltara::kFields) {
        if (field.kind == voltara::FieldKind::Percent)
            expected << QString::fromLatin1(field.control);
    }
    expected << QStringLiteral("optDefensive") << QStringLiteral("optNormal")
             << QStringLiteral("optAggressive") << QStringLiteral("chkTransKiller")
             << QStringLiteral("cmdDefault");
    for (int option = 0; option <= voltara::kBotCount; ++option)
        expected << QStringLiteral("optBot%1").arg(option);
    QStringList order;
    QWidget *widget = bar;
    do {
        if ((widget->focusPolicy() & Qt::TabFocus) && widget->isVisibleTo(m_window.get()))
            order << widget->objectName();
        widget = widget->nextInFocusChain();
    } while (widget != bar);
    QCOMPARE(order, expected);
}

// Every button at its designed left, 240 + 960 k twips.
void TestFrmTavrin::defaultRowStandsWhereTheDesignPutsIt()
{
    start();
    QWidget *area = m_window->centralWidget();
    for (int k = 0; k <= voltara::kBotCount; ++k) {
        const auto *button = find<QRadioButton>(qPrintable(QStringLiteral("optBot%1").arg(k)));
        QCOMPARE(button->mapTo(area, QPoint(0, 0)).x(), (240 + 960 * k + 7) / 15);
    }
}

// A word read as the default personality inside a section: the mirror stays inside the box,
// whose top edge goes on to its right, and the tooltip holds the whole word.
void TestFrmTavrin::mirrorOfALongWordKeepsTheBoxClosed()
{
    const QString word = QStringLiteral("averyveryverylongpersonalitywordthatgoesonandon");
    QByteArray file = FileBytes([](PersonalityConfig &) {});
    file.replace("[BOT1]\r\n", "[BOT1]\r\ndefault_personality " + word.toLatin1() + "\r\n");
    writeFile("bot_personality.cfg", file);
    start();
    auto *mirror = find<QLineEdit>("txtPersonality");
    QCOMPARE(mirror->text(), word);
    QCOMPARE(mirror->toolTip(), word);
    const QWidget *edge = find<QWidget>("Line3");
    QVERIFY(mirror->geometry().right() < edge->x());
    QVERIFY(edge->width() >= mirror->width() / 2); // a good stretch of the edge still shows
    QCOMPARE(edge->geometry().right(), find<QWidget>("Line4")->x());
    QVERIFY(m_window->centralWidget()->rect().contains(mirror->geometry()));

    // A short one needs no tooltip.
    QTest::mouseClick(find<QRadioButton>("optBot3"), Qt::LeftButton);
    QCOMPARE(mirror->text(), QStringLiteral("3"));
    QCOMPARE(mirror->toolTip(), QString());
}

void TestFrmTavrin::menuTreeAndPresets()
{
    start();
    QStringList bar;
    for (QAction *item : m_window->menuBar()->actions())
        bar << item->text();
    QCOMPARE(bar, QStringList({"File", "Presets", "Superbot Editor", "Help"}));

    QStringList file;
    for (QAction *item : find<QMenu>("menFile")->actions())
        file << item->objectName() + '=' + item->text() + '=' + item->shortcut().toString();
    QCOMPARE(file,
        QStringList({"menLoad=Open=Ctrl+O", "menSave=Save as default=",
            "menSave_Current=Save=Ctrl+S", "menSaveAs=Save as=", "menStrich==", "menQuit=Exit="}));
    QVERIFY(action("menStrich")->isSeparator());
    QStringList help;
    for (QAction *item : find<QMenu>("menHelp")->actions())
        help << item->objectName() + '=' + item->text() + '=' + item->shortcut().toString();
    QCOMPARE(help,
        QStringList({"menAbout=About=F1", "menCredits=Credits=F3", "menVisit=Voltara Website="}));

    // Every preset changes the bot on view and nothing else; the placeholders do no harm.
    const struct
    {
        const char *name, *caption, *key, *value;
    } presets[] = {
        {"menDefAll",     "Default",    "melee_percent",      "80"        },
        {"menRanAll",     "Random",     nullptr,              nullptr     },
        {"menDefAtt",     "Default",    "melee_percent",      "80"        },
        {"menMelee_only", "Melee only", "melee_percent",      "100"       },
        {"menLamer",      "Bastard",    "disc_percent",       "95"        },
        {"menHeavy",      "Heavy Guy",  "heavybeam_percent",  "95"        },
        {"menBeamOnly",   "Beam only",  "mediumbeam_percent", "60"        },
        {"menRanAtt",     "Random",     nullptr,              nullptr     },
        {"menDefMel",     "Default",    "meleekick_percent",  "50"        },
        {"menRanMel",     "Random",     nullptr,              nullptr     },
        {"menDefChat",    "Default",    "chat_percent",       "50"        },
        {"menNoiCha",     "Noisy",      "chat_percent",       "100"       },
        {"menQuiCha",     "Quiet",      "chat_percent",       "0"         },
        {"menRanCha",     "Random",     nullptr,              nullptr     },
        {"menDefOth",     "Default",    "fly_percent",        "100"       },
        {"menExtOth",     "Extreme",    "aggression_level",   "aggressive"},
        {"menBorOth",     "Boring",     "aggression_level",   "defensive" },
        {"menRanOth",     "Random",     nullptr,              nullptr     }
    };
    int presetItems = 0;
    for (QMenu *submenu : find<QMenu>("menPresets")->findChildren<QMenu *>())
        presetItems += static_cast<int>(submenu->actions().size());
    QCOMPARE(presetItems, 18);
    find<QScrollBar>("HSBNumber")->setValue(2);
    const PersonalityConfig before = *m_config;
    for (const auto &preset : presets) {
        QCOMPARE(action(preset.name)->text(), QString::fromLatin1(preset.caption));
        action(preset.name)->trigger();
        for (int n = 1; n <= voltara::kBotCount; ++n) {
            if (n != 2)
                QVERIFY(m_config->Bot(n) == before.Bot(n));
        }
        if (preset.key) {
            const auto &field = voltara::kFields[voltara::FieldIndex(preset.key)];
            QCOMPARE(m_config->Bot(2).*field.member, std::string(preset.value));
        }
    }
    QCOMPARE(m_config->DefaultPersonality, before.DefaultPersonality);
    QCOMPARE(list("cmbChat")->currentText(), QString::fromStdString(m_config->Bot(2).chat_percent));

    for (const char *placeholder : {"menBot", "menAbout", "menCredits", "menVisit"})
        action(placeholder)->trigger();
    QVERIFY(m_window->isVisible());
    action("menQuit")->trigger();
    QVERIFY(!m_window->isVisible());
}

void TestFrmTavrin::pickThenDragKeepsValueWithItsBot()
{
    start();
    find<QScrollBar>("HSBNumber")->setValue(2);
    const std::string bot3 = m_config->Bot(3).melee_percent;
    pick("cmbMelee", "45");
    QCOMPARE(m_config->Bot(2).melee_percent, std::string("80")); // not before the list is left
    dragScrollBarTo(3);
    QCOMPARE(m_config->Bot(2).melee_percent, std::string("45"));
    QCOMPARE(m_config->Bot(3).melee_percent, bot3);
    QCOMPARE(list("cmbMelee")->currentText(), QString::fromStdString(bot3));
}

void TestFrmTavrin::saveShortcutCommitsListWithFocus()
{
    writeFile("bot_personality.cfg", FileBytes([](PersonalityConfig &) {}));
    start();
    pick("cmbMelee", "45");
    QTest::keyClick(list("cmbMelee"), Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(m_boxes.size(), 1);
    QCOMPARE(m_boxes[0].text, QStringLiteral("File successfully saved"));
    QCOMPARE(m_boxes[0].title, QString());
    QVERIFY(find<QScrollBar>("HSBNumber")->hasFocus());
    QCOMPARE(readFile("bot_personality.cfg"),
        FileBytes([](PersonalityConfig &config) { config.Bot(1).melee_percent = "45"; }));
}

void TestFrmTavrin::presetWhileListHasFocus()
{
    start();
    pick("cmbMelee", "45");
    action("menMelee_only")->trigger();
    QVERIFY(list("cmbMelee")->hasFocus());
    QCOMPARE(list("cmbMelee")->currentText(), QStringLiteral("100"));
    QCOMPARE(m_config->Bot(1).melee_percent, std::string("100"));
    find<QPushButton>("cmdDefault")->setFocus();
    QCOMPARE(m_config->Bot(1).melee_percent, std::string("100"));
}

void TestFrmTavrin::loadDefaultValuesAfterEdit()
{
    start();
    find<QScrollBar>("HSBNumber")->setValue(3);
    m_config->Bot(4).melee_percent = "7";
    pick("cmbMelee", "45");
    QTest::mouseClick(find<QPushButton>("cmdDefault"), Qt::LeftButton);
    QCOMPARE(m_config->Bot(3).melee_percent, std::string("80"));
    QCOMPARE(list("cmbMelee")->currentText(), QStringLiteral("80"));
    QCOMPARE(m_config->Bot(4).melee_percent, std::string("7"));
}

void TestFrmTavrin::openResetsViewToBotOne()
{
    writeFile("bot_personality.cfg", FileBytes([](PersonalityConfig &) {}));
    writeFile("other.cfg", FileBytes([](PersonalityConfig &config) {
        config.DefaultPersonality = "7";
        config.Bot(1).melee_percent = "33";
    }));
    start();
    find<QScrollBar>("HSBNumber")->setValue(6);

    // Cancel changes nothing and shows nothing.
    action("menLoad")->trigger();
    QCOMPARE(m_dialogs.size(), 1);
    QCOMPARE(m_dialogs[0].save, false);
    QCOMPARE(m_dialogs[0].filter, std::string("Config-files (*.cfg)|*.cfg"));
    QCOMPARE(m_dialogs[0].title, std::string("Open config-file"));
    QCOMPARE(m_dialogs[0].folder, voltara::ui::ToBytes(m_dir->path()));
    QCOMPARE(m_config->CurrentBot, 6);
    QVERIFY(m_boxes.isEmpty());

    m_dialogAnswer = path("other.cfg");
    QTest::keyClick(m_window.get(), Qt::Key_O, Qt::ControlModifier);
    QCOMPARE(m_dialogs.size(), 2);
    QCOMPARE(m_config->LoadedPath, voltara::ui::ToBytes(path("other.cfg")));
    QCOMPARE(m_config->CurrentBot, 1);
    QCOMPARE(find<QScrollBar>("HSBNumber")->value(), 1);
    QCOMPARE(find<QGroupBox>("fraBot")->title(), QStringLiteral("Bot 1"));
    QCOMPARE(list("cmbMelee")->currentText(), QStringLiteral("33"));
    QVERIFY(find<QRadioButton>("optBot7")->isChecked());
    QCOMPARE(find<QLineEdit>("txtPersonality")->text(), QStringLiteral("7"));
    QVERIFY(m_boxes.isEmpty());
}

void TestFrmTavrin::defaultButtonsChangeOnlyDefault()
{
    start();
    find<QScrollBar>("HSBNumber")->setValue(4);
    const PersonalityConfig before = *m_config;
    QTest::mouseClick(find<QRadioButton>("optBot9"), Qt::LeftButton);
    QCOMPARE(m_config->DefaultPersonality, std::string("9"));
    QCOMPARE(find<QLineEdit>("txtPersonality")->text(), QStringLiteral("9"));
    QTest::mouseClick(find<QRadioButton>("optBot0"), Qt::LeftButton);
    QCOMPARE(m_config->DefaultPersonality, std::string("-1"));
    QCOMPARE(find<QLineEdit>("txtPersonality")->text(), QStringLiteral("-1"));
    QVERIFY(m_config->Bots == before.Bots);
    QCOMPARE(m_config->CurrentBot, 4);
    QCOMPARE(find<QGroupBox>("fraBot")->title(), QStringLiteral("Bot 4"));
}

void TestFrmTavrin::hintsFollowTheMouse()
{
    start();
    const auto moveOver = [](QWidget *widget, QPoint at = {}) {
        QTest::mouseMove(widget, at.isNull() ? widget->rect().center() : at);
    };
    moveOver(find<QLabel>("lblAnzeige28"));
    QCOMPARE(hint(), QStringLiteral("the percent of blocking attacks instead of dodging them"));
    moveOver(list("cmbBlock")); // the field itself keeps its label's hint
    QCOMPARE(hint(), QStringLiteral("the percent of blocking attacks instead of dodging them"));
    moveOver(find<QLabel>("lblAnzeige27")); // "View Bot" leaves it
    QCOMPARE(hint(), QStringLiteral("the percent of blocking attacks instead of dodging them"));
    moveOver(find<QLabel>("lblAnzeige26"));
    QCOMPARE(hint(), QStringLiteral("Specifies the personality default bots use"));
    auto *chat = find<QGroupBox>("fraChat");
    moveOver(chat, QPoint(chat->width() / 2, chat->height() - 4));
    QCOMPARE(hint(), QString());
    moveOver(find<QLabel>("lblAnzeige23"));
    QCOMPARE(hint(), QStringLiteral("the percent of stop flying (for a while:  to avoid danger"));
    moveOver(find<QRadioButton>("optDefensive"));
    QCOMPARE(hint(), QString());
    moveOver(find<QLabel>("lblAnzeige25"));
    QCOMPARE(hint(), QStringLiteral("the level of the aggression"));
    moveOver(find<QCheckBox>("chkTransKiller")); // neither it nor its frame takes the hint
    QCOMPARE(hint(), QStringLiteral("the level of the aggression"));
    // Menus send empty status tips; the hint stays.
    find<QMenu>("menFile")->popup(m_window->mapToGlobal(QPoint(0, 0)));
    find<QMenu>("menFile")->setActiveAction(action("menLoad"));
    find<QMenu>("menFile")->close();
    QCOMPARE(hint(), QStringLiteral("the level of the aggression"));
}

void TestFrmTavrin::showingNeverEdits()
{
    const auto edit = [](PersonalityConfig &config) {
        config.Bot(1).transkiller = "5";
        config.Bot(1).melee_percent = "2.5";
        config.Bot(1).kiblast_percent = "3.5";
        config.Bot(1).lightbeam_percent = "150";
        config.Bot(1).mediumbeam_percent = "-3";
        config.Bot(1).heavybeam_percent = "123456789";
        config.Bot(2).aggression_level = "defensive";
    };
    writeFile("bot_personality.cfg", FileBytes(edit));
    start();
    // A list widens to show a long stored text, and narrows again when it shows a number.
    QVERIFY(list("cmbHeavyBeam")->width() > list("cmbMelee")->width());
    find<QScrollBar>("HSBNumber")->setValue(2);
    QCOMPARE(list("cmbHeavyBeam")->size(), list("cmbMelee")->size());
    find<QScrollBar>("HSBNumber")->setValue(1);
    QCOMPARE(list("cmbMelee")->currentText(), QStringLiteral("2"));
    QCOMPARE(list("cmbKiBlast")->currentText(), QStringLiteral("4"));
    QCOMPARE(list("cmbLightBeam")->currentText(), QStringLiteral("150"));
    QCOMPARE(list("cmbMediumBeam")->currentText(), QStringLiteral("-3"));
    QVERIFY(find<QCheckBox>("chkTransKiller")->isChecked());

    // View another bot and come back, then tab through every control and save.
    auto *bar = find<QScrollBar>("HSBNumber");
    bar->setFocus();
    QTest::keyClick(bar, Qt::Key_Right);
    QCOMPARE(m_config->CurrentBot, 2);
    QVERIFY(find<QRadioButton>("optDefensive")->isChecked());
    QTest::keyClick(bar, Qt::Key_Left);
    QCOMPARE(m_config->CurrentBot, 1);
    for (int i = 0; i < 45; ++i)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    action("menSave_Current")->trigger();
    QCOMPARE(readFile("bot_personality.cfg"), FileBytes(edit));

    // A value a list cannot hold changes only when the user picks another one.
    pick("cmbLightBeam", "45");
    bar->setFocus();
    QCOMPARE(m_config->Bot(1).lightbeam_percent, std::string("45"));
    QCOMPARE(m_config->Bot(1).mediumbeam_percent, std::string("-3"));
    QCOMPARE(list("cmbLightBeam")->count(), 101);
}

void TestFrmTavrin::aggressionAndTranskillerWriteOnClick()
{
    start();
    find<QScrollBar>("HSBNumber")->setValue(4);
    const PersonalityConfig before = *m_config;
    QTest::mouseClick(find<QRadioButton>("optDefensive"), Qt::LeftButton);
    QCOMPARE(m_config->Bot(4).aggression_level, std::string("defensive"));
    QTest::mouseClick(find<QCheckBox>("chkTransKiller"), Qt::LeftButton);
    QCOMPARE(m_config->Bot(4).transkiller, std::string("0"));
    QTest::mouseClick(find<QCheckBox>("chkTransKiller"), Qt::LeftButton);
    QCOMPARE(m_config->Bot(4).transkiller, std::string("1"));
    for (int n = 1; n <= voltara::kBotCount; ++n) {
        if (n != 4)
            QVERIFY(m_config->Bot(n) == before.Bot(n));
    }
}

void TestFrmTavrin::saveWithNothingLoadedAsksForName()
{
    start();
    m_boxes.clear();
    action("menSave_Current")->trigger(); // cancelled
    QCOMPARE(m_dialogs.size(), 1);
    QCOMPARE(m_dialogs[0].save, true);
    QCOMPARE(m_dialogs[0].filter, std::string("*.cfg (Config-file)|*.cfg"));
    QCOMPARE(m_dialogs[0].title, std::string("Save as config-file"));
    QVERIFY(m_boxes.isEmpty());
    QVERIFY(!QFile::exists(path(".cfg")));

    m_dialogAnswer = path("chosen");
    pick("cmbMelee", "45");
    QTest::keyClick(list("cmbMelee"), Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(m_boxes.size(), 1);
    QCOMPARE(m_boxes[0].text, QStringLiteral("File successfully saved"));
    QVERIFY(readFile("chosen.cfg").contains("melee_percent 45\r\n"));
    QVERIFY(m_config->LoadedPath.empty());
}

void TestFrmTavrin::saveCommandsChooseTheirFiles()
{
    writeFile("bot_personality.cfg", FileBytes([](PersonalityConfig &) {}));
    writeFile("other.cfg", FileBytes([](PersonalityConfig &) {}));
    start();
    m_dialogAnswer = path("other.cfg");
    action("menLoad")->trigger();

    pick("cmbKick", "12");
    m_dialogAnswer = path("copy.cfg");
    action("menSaveAs")->trigger(); // commits first, then asks
    QVERIFY(readFile("copy.cfg").contains("meleekick_percent 12\r\n"));
    QCOMPARE(m_config->LoadedPath, voltara::ui::ToBytes(path("other.cfg")));

    pick("cmbKick", "13");
    action("menSave_Current")->trigger();
    QVERIFY(readFile("other.cfg").contains("meleekick_percent 13\r\n"));
    QVERIFY(readFile("copy.cfg").contains("meleekick_percent 12\r\n"));

    pick("cmbKick", "14");
    action("menSave")->trigger();
    QVERIFY(readFile("bot_personality.cfg").contains("meleekick_percent 14\r\n"));
    QVERIFY(readFile("other.cfg").contains("meleekick_percent 13\r\n"));
    QCOMPARE(m_boxes.size(), 3);
    QCOMPARE(m_dialogs.size(), 2);
}

QTEST_MAIN(TestFrmTavrin)
#include "tst_frmtavrin.moc"
