// What a screen reader reads of each interactive control of Tavrin's and Olmach's main windows,
// About and Credits: its name, its description, and the frame or option group it is announced
// under. Read through Qt's accessibility interfaces, as the AT-SPI and UI Automation bridges
// read them, on the offscreen platform.
#include "olmach/frmolmach.h"
#include "tavrin/frmtavrin.h"
#include "ui/frmabout.h"
#include "ui/frmcredits.h"

#include <QAccessible>
#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include <array>
#include <initializer_list>
#include <memory>

namespace {

// The windows under test, made once: reading the names changes nothing.
struct Windows
{
    Windows()
        : tavrin(tavrinConfig, dir.path().toStdString())
        , olmach(olmachConfig, dir.path().toStdString())
        , credits(creditsState)
    {
    }

    QWidget *byName(const QString &name)
    {
        if (name == QLatin1String("Tavrin"))
            return &tavrin;
        if (name == QLatin1String("Olmach"))
            return &olmach;
        if (name == QLatin1String("About"))
            return &about;
        return &credits;
    }

    QTemporaryDir dir;
    voltara::PersonalityConfig tavrinConfig;
    voltara::SuperbotConfig olmachConfig;
    voltara::CreditsState creditsState;
    frmTavrin tavrin;
    frmOlmach olmach;
    voltara::ui::frmAbout about;
    voltara::ui::frmCredits credits;
};

std::unique_ptr<Windows> g_windows;

// The controls a user reaches: those that take the focus, in the window itself (not in the
// pop-ups of its lists).
QStringList InteractiveControls(QWidget *window)
{
    QStringList names;
    for (QWidget *widget : window->findChildren<QWidget *>()) {
        if (widget->focusPolicy() != Qt::NoFocus && widget->window() == window)
            names << widget->objectName();
    }
    names.sort();
    return names;
}

// The name of the frame or group a control is announced under: the label it has that is one of
// its ancestors, as Orca finds it.
QString EnclosingName(QAccessibleInterface *control)
{
    for (const auto &relation : control->relations(QAccessible::Label)) {
        for (QAccessibleInterface *up = control->parent(); up; up = up->parent()) {
            if (up->object() == relation.first->object())
                return relation.first->text(QAccessible::Name);
        }
    }
    return {};
}

} // namespace

class TestAccessibility : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QApplication::setApplicationName(QStringLiteral("Tavrin"));
        g_windows = std::make_unique<Windows>();
    }
    void cleanupTestCase() { g_windows.reset(); }

    void everyControlHasNameAndDescription_data();
    void everyControlHasNameAndDescription();
};

void TestAccessibility::everyControlHasNameAndDescription_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QStringList>("controls"); // every interactive control, by object name
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QStringList>("enclosing"); // frame or option group; "" for none
    QTest::addColumn<QStringList>("descriptions"); // exact hint; "*" for any text

    QStringList controls, names, enclosing, descriptions;
    const auto add = [&](const QString &control, const QString &name, const QString &in,
                         const QString &description) {
        controls << control;
        names << name;
        enclosing << in;
        descriptions << description;
    };

    const QString defaultHint = QStringLiteral("Specifies the personality default bots use");
    add(QStringLiteral("HSBNumber"), QStringLiteral("View Bot"), {}, QStringLiteral("*"));
    add(QStringLiteral("txtPersonality"), QStringLiteral("Default personality"), {}, defaultHint);
    for (int bot = 0; bot <= voltara::kBotCount; ++bot) {
        add(QStringLiteral("optBot%1").arg(bot),
            bot == 0 ? QStringLiteral("Random") : QStringLiteral("Bot %1").arg(bot),
            QStringLiteral("Default personality"), defaultHint);
    }
    const char *const frameCaptions[] = {"Attacks", "Melee", "Chat", "Others"};
    for (const voltara::FieldInfo &field : voltara::kFields) {
        if (field.kind == voltara::FieldKind::Percent) {
            add(QLatin1String(field.control), QLatin1String(field.label),
                QLatin1String(frameCaptions[field.group - voltara::kGroupAttacks]),
                QLatin1String(field.hint_text));
        }
    }
    // Rows of control, name, frame or group, and description.
    using Rows = std::initializer_list<std::array<const char *, 4>>;
    const auto addRows = [&add](Rows rows) {
        for (const auto &[control, name, in, description] : rows)
            add(QLatin1String(control), QLatin1String(name), QLatin1String(in),
                QLatin1String(description));
    };
    const char *const aggression = "the level of the aggression";
    addRows({
        {"optAggressive",  "Aggressive",          "Aggression", aggression},
        {"optDefensive",   "Defensive",           "Aggression", aggression},
        {"optNormal",      "Normal",              "Aggression", aggression},
        {"chkTransKiller", "Transkiller",         "Others",     "*"       },
        {"cmdDefault",     "load default values", "Bot 1",      "*"       },
    });
    QTest::newRow("Tavrin") << QStringLiteral("Tavrin") << controls << names << enclosing
                            << descriptions;

    controls.clear(), names.clear(), enclosing.clear(), descriptions.clear();
    const char *const ki = "Specifies the amount of KI the bot recovers every second";
    const char *const health = "Specifies the amount of health the bot recovers every second";
    const char *const visibility = "Specifies the transparency level of the bot";
    const char *const laser = "Specifies the percent that a bot will use a super bot laser";
    const char *const power = "Specifies the powerlevel the bot starts with";
    addRows({
        {"HSBNumber",  "View Bot",            "",                  "*"       },
        {"sldKI",      "KI per second",       "KI per second",     ki        },
        {"chkKI",      "Unlimited KI",        "KI per second",     ki        },
        {"sldHP",      "Health per second",   "Health per second", health    },
        {"chkHP",      "Unlimited health",    "Health per second", health    },
        {"sldTR",      "Visibility",          "Visibility",        visibility},
        {"chkTR",      "Flashing",            "Visibility",        visibility},
        {"cmbLaser",   "Laser usage",         "Laser usage",       laser     },
        {"txtPL",      "Powerlevel",          "Powerlevel",        power     },
        {"cmdDefault", "load default values", "SUPERBOT",          "*"       },
    });
    QTest::newRow("Olmach") << QStringLiteral("Olmach") << controls << names << enclosing
                            << descriptions;

    QTest::newRow("About") << QStringLiteral("About") << QStringList {QStringLiteral("cmdOK")}
                           << QStringList {QStringLiteral("OK")} << QStringList {QString()}
                           << QStringList {QStringLiteral("*")};

    QTest::newRow("Credits") << QStringLiteral("Credits")
                             << QStringList {QStringLiteral("HScroll1"),
                                    QStringLiteral("cmdNochmal"), QStringLiteral("cmdPause"),
                                    QStringLiteral("cmdWeiter"), QStringLiteral("cmdOK")}
                             << QStringList {QStringLiteral("Scroll Speed"),
                                    QStringLiteral("Again"), QStringLiteral("Pause"),
                                    QStringLiteral("Continue"), QStringLiteral("OK")}
                             << QStringList(5, QString()) << QStringList(5, QStringLiteral("*"));
}

void TestAccessibility::everyControlHasNameAndDescription()
{
    QFETCH(QString, window);
    QFETCH(QStringList, controls);
    QFETCH(QStringList, names);
    QFETCH(QStringList, enclosing);
    QFETCH(QStringList, descriptions);
    QWidget *top = g_windows->byName(window);

    QStringList expected = controls;
    expected.sort();
    QCOMPARE(InteractiveControls(top), expected);

    for (qsizetype i = 0; i < controls.size(); ++i) {
        auto *control = top->findChild<QWidget *>(controls[i]);
        QVERIFY2(control, qPrintable(controls[i]));
        QAccessibleInterface *spoken = QAccessible::queryAccessibleInterface(control);
        QVERIFY(spoken);
        const QString what = window + QLatin1Char(' ') + controls[i];
        QCOMPARE(spoken->text(QAccessible::Name), names[i]);
        QCOMPARE(EnclosingName(spoken), enclosing[i]);
        const QString description = spoken->text(QAccessible::Description);
        if (descriptions[i] == QLatin1String("*"))
            QVERIFY2(!description.isEmpty(), qPrintable(what + QStringLiteral(" has none")));
        else
            QCOMPARE(description, descriptions[i]);
    }
}

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
