// Tavrin's main window on the offscreen platform: real focus changes, key clicks and mouse
// moves; message boxes and file dialogs are recorded instead of shown. What both editors share
// is in tst_editors.cpp.
#include "core/personality_file.h"
#include "editor_fixture.h"
#include "tavrin/frmtavrin.h"

#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>
#include <QRegularExpression>

#include <functional>

using voltara::PersonalityConfig;
using Tavrin = voltara::test::Editor<frmTavrin, PersonalityConfig>;

namespace {

// A complete file of defaults, changed by edit, as the program's own writer lays it out.
QByteArray FileBytes(const std::function<void(PersonalityConfig &)> &edit = {})
{
    PersonalityConfig config;
    config.DefaultPersonality = "-1";
    for (int n = 1; n <= voltara::kBotCount; ++n)
        voltara::SetDefaultValues(config, std::to_string(n), voltara::kGroupAll);
    if (edit)
        edit(config);
    return QByteArray::fromStdString(voltara::JoinedLines(voltara::PersonalityFileLines(config)));
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

QComboBox *List(const Tavrin &t, const char *name)
{
    return t.find<QComboBox>(name);
}

QRadioButton *DefaultOption(const Tavrin &t, int option)
{
    return t.find<QRadioButton>(qPrintable(QStringLiteral("optBot%1").arg(option)));
}

// The default-personality option shown selected, or -1 for none.
int SelectedOption(const Tavrin &t)
{
    for (int option = 0; option <= voltara::kBotCount; ++option) {
        if (DefaultOption(t, option)->isChecked())
            return option;
    }
    return -1;
}

// Picks an entry the way a user does: focus on the list, then type the value.
void Pick(Tavrin &t, const char *list, const char *value)
{
    t.typeInto(list, QLatin1String(value));
    QCOMPARE(List(t, list)->currentText(), QLatin1String(value));
}

// Every personality but the one on view is as it was.
bool OthersUnchanged(const Tavrin &t, const PersonalityConfig &before, int onView)
{
    for (int n = 1; n <= voltara::kBotCount; ++n) {
        if (n != onView && !(t.config.Bot(n) == before.Bot(n)))
            return false;
    }
    return true;
}

// Each item of the Presets menu in menu order, and a value it gives the personality on view.
const struct Preset
{
    const char *name, *caption, *key, *value;
} kPresets[] = {
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
    {"menRanOth",     "Random",     nullptr,              nullptr     },
};

} // namespace

class TestFrmTavrin : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setApplicationName(QStringLiteral("Tavrin")); }

    // The file beside the program (none, or its bytes), and what the window shows once started:
    // the boxes on the way, the default personality stored and in its mirror, the option selected
    // (-1 for none) and Melee of bot 1.
    void startUp_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("boxes");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("option");
        QTest::addColumn<QString>("melee");
        QTest::newRow("no file") << QByteArray()
                                 << QStringList {"[Error] File: \"%1\" doesn't exist\n"
                                                 "Loading default values"}
                                 << "-1" << -1 << "80";
        QTest::newRow("a file selecting its default") << FileBytes([](PersonalityConfig &config) {
            config.DefaultPersonality = "5.0";
            config.Bot(1).melee_percent = "11";
            config.Bot(5).melee_percent = "55";
        }) << QStringList() << "5" << 5 << "11";
        // "12" names no option: it is kept, and no button is shown selected.
        QTest::newRow("a read error")
            << QByteArray("default_personality 12\r\n[BOT1]\r\nbroken\r\n")
            << QStringList {"[Tavrin] Error with reading config file"} << "12" << -1 << "80";
        // "-1" would read as Random.
        QTest::newRow("any default whole") << QByteArray("default_personality -10\r\n[BOT1]\r\n")
                                           << QStringList() << "-10" << -1 << "80";
    }

    void startUp()
    {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, boxes);
        QFETCH(QString, stored);
        QFETCH(int, option);
        QFETCH(QString, melee);
        Tavrin t;
        if (!file.isNull())
            t.writeFile(QStringLiteral("bot_personality.cfg"), file);
        QList<bool> blank;
        t.onBox = [&blank](QWidget *window) { blank << (window && ShowsNoValues(*window)); };
        t.start();

        const QString path = t.path(QStringLiteral("bot_personality.cfg"));
        for (QString &box : boxes)
            box = box.arg(path);
        QCOMPARE(t.boxes, boxes);
        QVERIFY2(!blank.contains(false), "the fields showed values before any record was read");
        QCOMPARE(t.config.ConfigPath, voltara::ui::ToBytes(path));
        QCOMPARE(t.config.LoadedPath, file.isNull() ? std::string() : t.config.ConfigPath);
        QCOMPARE(QString::fromStdString(t.config.DefaultPersonality), stored);
        auto *mirror = t.find<QLineEdit>("txtPersonality");
        QCOMPARE(mirror->text(), stored);
        // The heading's line makes room for it.
        QVERIFY(t.find("Line3")->x() > mirror->geometry().right());
        QCOMPARE(SelectedOption(t), option);
        QCOMPARE(t.config.CurrentBot, 1);
        QCOMPARE(t.frameCaption(), QStringLiteral("Bot 1"));
        QCOMPARE(List(t, "cmbMelee")->currentText(), melee);
        QCOMPARE(List(t, "cmbFly")->currentText(), QStringLiteral("100"));
        QVERIFY(t.find<QRadioButton>("optNormal")->isChecked());
        QVERIFY(t.find<QCheckBox>("chkTransKiller")->isChecked());
        QVERIFY(t.selector()->hasFocus());
    }

    // A word read as the default personality inside a section: the mirror stays inside the box,
    // whose top edge goes on to its right, and the tooltip holds the whole word.
    void mirrorOfALongWordKeepsTheBoxClosed()
    {
        const QString word = QStringLiteral("averyveryverylongpersonalitywordthatgoesonandon");
        QByteArray file = FileBytes();
        file.replace("[BOT1]\r\n", "[BOT1]\r\ndefault_personality " + word.toLatin1() + "\r\n");
        Tavrin t;
        t.writeFile(QStringLiteral("bot_personality.cfg"), file);
        t.start();
        auto *mirror = t.find<QLineEdit>("txtPersonality");
        QCOMPARE(mirror->text(), word);
        QCOMPARE(mirror->toolTip(), word);
        const QWidget *edge = t.find("Line3");
        QVERIFY(mirror->geometry().right() < edge->x());
        QVERIFY(edge->width() >= mirror->width() / 2); // a good stretch of the edge still shows
        QCOMPARE(edge->geometry().right(), t.find("Line4")->x());
        QVERIFY(t.window->centralWidget()->rect().contains(mirror->geometry()));

        // A short one needs no tooltip.
        QTest::mouseClick(DefaultOption(t, 3), Qt::LeftButton);
        QCOMPARE(mirror->text(), QStringLiteral("3"));
        QCOMPARE(mirror->toolTip(), QString());
    }

    // A control's place in its parent, and its size where the design fixes it (lists may grow to
    // show "100").
    void designedPlaces_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QPoint>("place");
        QTest::addColumn<QSize>("size");
        QTest::newRow("bot frame") << "fraBot" << QPoint(4, 108) << QSize(653, 345);
        QTest::newRow("chat frame") << "fraChat" << QPoint(228, 108) << QSize(197, 221);
        QTest::newRow("bot selector") << "HSBNumber" << QPoint(16, 76) << QSize(629, 21);
        QTest::newRow("default button") << "cmdDefault" << QPoint(436, 320) << QSize();
        QTest::newRow("first list") << "cmbMelee" << QPoint(124, 20) << QSize();
        // The Others frame's rows stand below its caption (18 pixels in this style), not at 16.
        QTest::newRow("block list") << "cmbBlock" << QPoint(124, 18 + 6 * 28) << QSize();
        QTest::newRow("block label") << "lblAnzeige28" << QPoint(16, 190) << QSize(97, 17);
        QTest::newRow("random option") << "optBot0" << QPoint(16, 20) << QSize();
    }

    void designedPlaces()
    {
        QFETCH(QString, control);
        QFETCH(QPoint, place);
        QFETCH(QSize, size);
        Tavrin t;
        t.start();
        const QWidget *widget = t.find(qPrintable(control));
        QCOMPARE(widget->pos(), place);
        if (size.isValid())
            QCOMPARE(widget->size(), size);
    }

    void listsAndFocusOrder()
    {
        Tavrin t;
        t.start();
        QCOMPARE(t.window->windowTitle(), QStringLiteral("Official Bot Personality Editor"));
        QCOMPARE(t.window->centralWidget()->size(), QSize(664, 453));
        QCOMPARE(t.find("StBr")->height(), 21);
        QCOMPARE(DefaultOption(t, 1)->text(), QStringLiteral("Bot 1"));
        for (int line = 1; line <= 8; ++line)
            QVERIFY(t.window->findChild<QWidget *>(QStringLiteral("Line%1").arg(line)));

        // Every percent setting has its list, offering exactly "0" to "100", and its label.
        int lists = 0;
        for (const voltara::FieldInfo &field : voltara::kFields) {
            if (field.kind != voltara::FieldKind::Percent)
                continue;
            ++lists;
            QComboBox *combo = List(t, field.control);
            QVERIFY(!combo->isEditable());
            QCOMPARE(combo->count(), 101);
            QCOMPARE(combo->size(), combo->sizeHint()); // as wide as its widest entry needs
            for (int value = 0; value <= 100; ++value)
                QCOMPARE(combo->itemText(value), QString::number(value));
            QCOMPARE(
                t.find<QLabel>(qPrintable(QStringLiteral("lblAnzeige%1").arg(field.hint)))->text(),
                QString::fromLatin1(field.label));
        }
        QCOMPARE(lists, voltara::kPercentFieldCount);

        const QScrollBar *bar = t.selector();
        QCOMPARE(QList<int>({bar->minimum(), bar->maximum(), bar->singleStep(), bar->pageStep()}),
            QList<int>({1, 9, 1, 2}));
        QVERIFY(t.find<QLineEdit>("txtPersonality")->isReadOnly());

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
        QCOMPARE(t.focusChain(), expected);
    }

    // Every button at its designed left, 240 + 960 k twips.
    void defaultRowStandsWhereTheDesignPutsIt()
    {
        Tavrin t;
        t.start();
        QWidget *area = t.window->centralWidget();
        for (int k = 0; k <= voltara::kBotCount; ++k)
            QCOMPARE(DefaultOption(t, k)->mapTo(area, QPoint(0, 0)).x(), (240 + 960 * k + 7) / 15);
    }

    void presetMenuHoldsEveryPreset()
    {
        Tavrin t;
        t.start();
        QStringList items, expected;
        for (QMenu *submenu : t.find<QMenu>("menPresets")->findChildren<QMenu *>()) {
            for (QAction *item : submenu->actions())
                items << item->objectName() + '=' + item->text();
        }
        for (const Preset &preset : kPresets)
            expected << QLatin1String(preset.name) + '=' + QLatin1String(preset.caption);
        QCOMPARE(items, expected);
    }

    // Every preset changes the bot on view and nothing else, and the window shows what it gave.
    void presets_data()
    {
        QTest::addColumn<int>("preset");
        for (int i = 0; i < int(std::size(kPresets)); ++i)
            QTest::newRow(kPresets[i].name) << i;
    }

    void presets()
    {
        QFETCH(int, preset);
        const Preset &p = kPresets[preset];
        Tavrin t;
        t.start();
        t.selector()->setValue(2);
        const PersonalityConfig before = t.config;
        t.trigger(p.name);
        QVERIFY(OthersUnchanged(t, before, 2));
        QCOMPARE(t.config.DefaultPersonality, before.DefaultPersonality);
        if (p.key)
            QCOMPARE(t.config.Bot(2).*voltara::kFields[voltara::FieldIndex(p.key)].member,
                std::string(p.value));
        for (const voltara::FieldInfo &field : voltara::kFields) {
            if (field.kind == voltara::FieldKind::Percent)
                QCOMPARE(List(t, field.control)->currentText(),
                    QString::fromStdString(t.config.Bot(2).*field.member));
        }
    }

    void presetWhileListHasFocus()
    {
        Tavrin t;
        t.start();
        Pick(t, "cmbMelee", "45");
        QCOMPARE(t.config.Bot(1).melee_percent, std::string("80")); // not before the list is left
        t.trigger("menMelee_only");
        QVERIFY(List(t, "cmbMelee")->hasFocus());
        QCOMPARE(List(t, "cmbMelee")->currentText(), QStringLiteral("100"));
        QCOMPARE(t.config.Bot(1).melee_percent, std::string("100"));
        t.find("cmdDefault")->setFocus();
        QCOMPARE(t.config.Bot(1).melee_percent, std::string("100"));
    }

    void openShowsTheFilesDefaultPersonality()
    {
        Tavrin t;
        t.writeFile(QStringLiteral("other.cfg"),
            FileBytes([](PersonalityConfig &config) { config.DefaultPersonality = "7"; }));
        t.start();
        t.dialogAnswer = t.path(QStringLiteral("other.cfg"));
        t.trigger("menLoad");
        QCOMPARE(t.config.LoadedPath, voltara::ui::ToBytes(t.dialogAnswer));
        QCOMPARE(SelectedOption(t), 7);
        QCOMPARE(t.find<QLineEdit>("txtPersonality")->text(), QStringLiteral("7"));
    }

    void defaultButtonsChangeOnlyDefault()
    {
        Tavrin t;
        t.start();
        t.selector()->setValue(4);
        const PersonalityConfig before = t.config;
        QTest::mouseClick(DefaultOption(t, 9), Qt::LeftButton);
        QCOMPARE(t.config.DefaultPersonality, std::string("9"));
        QCOMPARE(t.find<QLineEdit>("txtPersonality")->text(), QStringLiteral("9"));
        QTest::mouseClick(DefaultOption(t, 0), Qt::LeftButton);
        QCOMPARE(t.config.DefaultPersonality, std::string("-1"));
        QCOMPARE(t.find<QLineEdit>("txtPersonality")->text(), QStringLiteral("-1"));
        QVERIFY(t.config.Bots == before.Bots);
        QCOMPARE(t.config.CurrentBot, 4);
        QCOMPARE(t.frameCaption(), QStringLiteral("Bot 4"));
    }

    // The status bar after the mouse has been over one control, then over another (at its
    // middle, or at the bottom middle for a frame; a menu: an item made active).
    void hints_data()
    {
        const char *const block = "the percent of blocking attacks instead of dodging them";
        const char *const aggression = "the level of the aggression";
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("over");
        QTest::addColumn<QString>("hint");
        const char *const rows[][4] = {
            {"a label",                         "lblAnzeige25", "lblAnzeige28",   block     },
            {"its list keeps it",               "lblAnzeige28", "cmbBlock",       block     },
            {"View Bot leaves it",              "lblAnzeige28", "lblAnzeige27",   block     },
            {"the default row",                 "lblAnzeige28", "lblAnzeige26",
             "Specifies the personality default bots use"                                   },
            {"a frame empties it",              "lblAnzeige28", "fraChat",        ""        },
            {"an aggression button empties it", "lblAnzeige25", "optDefensive",   ""        },
            {"with a colon",                    "lblAnzeige25", "lblAnzeige23",
             "the percent of stop flying (for a while:  to avoid danger"                    },
 // Neither it nor its frame takes the hint.
            {"Transkiller leaves it",           "lblAnzeige25", "chkTransKiller", aggression},
 // Menus send empty status tips.
            {"a menu leaves it",                "lblAnzeige25", "menFile",        aggression},
        };
        for (const auto &[row, before, over, hint] : rows)
            QTest::newRow(row) << QString(before) << QString(over) << QString(hint);
    }

    void hints()
    {
        QFETCH(QString, before);
        QFETCH(QString, over);
        QFETCH(QString, hint);
        Tavrin t;
        t.start();
        QTest::mouseMove(t.window.get(), QPoint(1, 1)); // from wherever the last test left it
        for (const QString &name : {before, over}) {
            if (auto *menu = t.window->findChild<QMenu *>(name)) {
                menu->popup(t.window->mapToGlobal(QPoint(0, 0)));
                menu->setActiveAction(menu->actions().front());
                menu->close();
                continue;
            }
            QWidget *widget = t.find(qPrintable(name));
            const bool frame = qobject_cast<QGroupBox *>(widget);
            QTest::mouseMove(widget,
                frame ? QPoint(widget->width() / 2, widget->height() - 4)
                      : widget->rect().center());
        }
        QCOMPARE(t.status(), hint);
    }

    void showingNeverEdits()
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
        Tavrin t;
        t.writeFile(QStringLiteral("bot_personality.cfg"), FileBytes(edit));
        t.start();
        // A list widens to show a long stored text, and narrows again when it shows a number.
        QVERIFY(List(t, "cmbHeavyBeam")->width() > List(t, "cmbMelee")->width());
        t.selector()->setValue(2);
        QCOMPARE(List(t, "cmbHeavyBeam")->size(), List(t, "cmbMelee")->size());
        t.selector()->setValue(1);
        QCOMPARE(List(t, "cmbMelee")->currentText(), QStringLiteral("2"));
        QCOMPARE(List(t, "cmbKiBlast")->currentText(), QStringLiteral("4"));
        QCOMPARE(List(t, "cmbLightBeam")->currentText(), QStringLiteral("150"));
        QCOMPARE(List(t, "cmbMediumBeam")->currentText(), QStringLiteral("-3"));
        QVERIFY(t.find<QCheckBox>("chkTransKiller")->isChecked());

        // View another bot and come back, then tab through every control and save.
        QScrollBar *bar = t.selector();
        bar->setFocus();
        QTest::keyClick(bar, Qt::Key_Right);
        QCOMPARE(t.config.CurrentBot, 2);
        QVERIFY(t.find<QRadioButton>("optDefensive")->isChecked());
        QTest::keyClick(bar, Qt::Key_Left);
        QCOMPARE(t.config.CurrentBot, 1);
        for (int i = 0; i < 45; ++i)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        t.trigger("menSave_Current");
        QCOMPARE(t.readFile(QStringLiteral("bot_personality.cfg")), FileBytes(edit));

        // A value a list cannot hold changes only when the user picks another one.
        Pick(t, "cmbLightBeam", "45");
        bar->setFocus();
        QCOMPARE(t.config.Bot(1).lightbeam_percent, std::string("45"));
        QCOMPARE(t.config.Bot(1).mediumbeam_percent, std::string("-3"));
        QCOMPARE(List(t, "cmbLightBeam")->count(), 101);
    }

    void aggressionAndTranskillerWriteOnClick()
    {
        Tavrin t;
        t.start();
        t.selector()->setValue(4);
        const PersonalityConfig before = t.config;
        QTest::mouseClick(t.find<QRadioButton>("optDefensive"), Qt::LeftButton);
        QCOMPARE(t.config.Bot(4).aggression_level, std::string("defensive"));
        QTest::mouseClick(t.find<QCheckBox>("chkTransKiller"), Qt::LeftButton);
        QCOMPARE(t.config.Bot(4).transkiller, std::string("0"));
        QTest::mouseClick(t.find<QCheckBox>("chkTransKiller"), Qt::LeftButton);
        QCOMPARE(t.config.Bot(4).transkiller, std::string("1"));
        QVERIFY(OthersUnchanged(t, before, 4));
    }
};

QTEST_MAIN(TestFrmTavrin)
#include "tst_frmtavrin.moc"
