// Olmach's window on the offscreen platform: start-up, tier switches, the edit rules of every
// control and the status bar. Message boxes and file dialogs are recorded. What both editors
// share is in tst_editors.cpp.
#include "editor_fixture.h"
#include "olmach/frmolmach.h"

#include <QAccessible>
#include <QCheckBox>
#include <QLabel>
#include <QLocale>
#include <QPushButton>

namespace {

// Tier 1 with defaults, tier 2 with a leading space in its health, tier 3 unlimited; the
// keys left out take their defaults.
const QByteArray kCraftedFile = "# crafted\r\n[SUPERBOT]\r\n[MEGABOT]\r\nhealth_gain  40\r\n"
                                "[ULTIMATEBOT]\r\nhealth_gain -1\r\ntransparency_val -1\r\n";

// Values out of every control's reach, and texts a control would round.
const QByteArray kOddFile = "[SUPERBOT]\nki_gain 1e3\nhealth_gain 2.5\npowerlevel 0.5\n"
                            "transparency_val 0\nsbotlaser_percent 150\n[MEGABOT]\nki_gain 5000\n"
                            "health_gain 500\ntransparency_val 300\nsbotlaser_percent -1\n";

// One window on one program folder, started as the program starts it beside this sbot.cfg.
struct Olmach : voltara::test::Editor<frmOlmach, voltara::SuperbotConfig>
{
    explicit Olmach(const QByteArray &content = kCraftedFile)
    {
        writeFile(QStringLiteral("sbot.cfg"), content);
        start();
    }

    QSlider *slider(const char *name) const { return find<QSlider>(name); }
    QCheckBox *check(const char *name) const { return find<QCheckBox>(name); }
    QComboBox *laser() const { return find<QComboBox>("cmbLaser"); }
    QLineEdit *powerLevel() const { return find<QLineEdit>("txtPL"); }
    // The stored text shown beside a slider's check box, or nothing when it is hidden.
    QString storedMark(const char *name) const
    {
        const QLabel *mark = find<QLabel>(name);
        return mark->isVisibleTo(window.get()) ? mark->text() : QString();
    }
    voltara::Superbot &tier(int t) { return config.Tier(t); }
    // Leaves the field being edited for the tier selector.
    void leaveField() const { selector()->setFocus(Qt::TabFocusReason); }
};

// Moves a slider as a drag does: position changes while the thumb is held.
void dragTo(QSlider *slider, int position)
{
    slider->setSliderDown(true);
    slider->setSliderPosition(position);
    slider->setSliderDown(false);
}

// A point on a slider's track near its right end, away from the handle.
QPoint trackEnd(QSlider *slider)
{
    const QRect groove = Olmach::partOf(slider, QStyle::SC_SliderGroove);
    return QPoint(groove.right() - 2, groove.center().y());
}

} // namespace

class TestFrmOlmach : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setApplicationName(QStringLiteral("Olmach")); }
    void init() { QLocale::setDefault(QLocale::c()); }

    void tabOrderFollowsTheDesign()
    {
        Olmach o;
        QCOMPARE(QApplication::focusWidget(), o.selector());
        const QStringList expected {QStringLiteral("cmdDefault"), QStringLiteral("sldKI"),
            QStringLiteral("chkKI"), QStringLiteral("sldHP"), QStringLiteral("chkHP"),
            QStringLiteral("txtPL"), QStringLiteral("sldTR"), QStringLiteral("chkTR"),
            QStringLiteral("cmbLaser"), QStringLiteral("HSBNumber")};
        for (const QString &name : expected) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget()->objectName(), name);
        }
    }

    // Tier 1 is shown after a good file and after one that fails before its first section.
    void startUpShowsTierOne_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("boxes");
        QTest::newRow("crafted") << kCraftedFile << QStringList();
        QTest::newRow("failing before the first section")
            << QByteArray("ki_gain 5\r\n[SUPERBOT]\r\n")
            << QStringList {"[Olmach] Error with reading config file"};
    }
    void startUpShowsTierOne()
    {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, boxes);
        Olmach o(file);
        QCOMPARE(o.window->windowTitle(), QStringLiteral("Official SuperBot Editor"));
        QCOMPARE(o.boxes, boxes);
        QCOMPARE(o.config.CurrentTier, 1);
        QCOMPARE(o.config.LoadedPath, o.config.SuperbotConfigPath);
        QCOMPARE(o.selector()->value(), 1);
        QCOMPARE(o.frameCaption(), QStringLiteral("SUPERBOT"));
        QCOMPARE(o.slider("sldKI")->value(), 40);
        QCOMPARE(o.slider("sldTR")->value(), 255);
        QCOMPARE(o.laser()->currentText(), QStringLiteral("25"));
        QCOMPARE(o.powerLevel()->text(), QStringLiteral("2500000"));
        QVERIFY(!QApplication::overrideCursor());
    }

    void tierSwitchesKeepStoredValues()
    {
        Olmach o;
        o.selector()->setFocus();
        const int shown[] = {200, 200, 40}; // tier 3 is unlimited: the slider keeps 200
        const char *captions[] = {"MEGABOT", "ULTIMATEBOT", "SUPERBOT"};
        for (int i = 0; i < 3; ++i) {
            if (i < 2)
                QTest::keyClick(o.selector(), Qt::Key_Right);
            else
                o.selector()->setValue(1);
            QCOMPARE(o.frameCaption(), QString::fromLatin1(captions[i]));
            QCOMPARE(o.slider("sldKI")->value(), shown[i]);
        }
        QVERIFY(!o.check("chkKI")->isChecked());
        QVERIFY(o.slider("sldKI")->isEnabled());
        o.selector()->setValue(3);
        QVERIFY(o.check("chkHP")->isChecked() && o.check("chkTR")->isChecked());
        QVERIFY(!o.slider("sldHP")->isEnabled() && !o.slider("sldTR")->isEnabled());
        QCOMPARE(o.tier(1).ki_gain, "40");
        QCOMPARE(o.tier(2).ki_gain, "200");
        QCOMPARE(o.tier(3).ki_gain, "-1");
        QCOMPARE(o.tier(2).health_gain, " 40");
    }

    void selectorSwitchesWhileDragged()
    {
        Olmach o;
        o.selector()->setSliderDown(true);
        o.selector()->setSliderPosition(3);
        QCOMPARE(o.frameCaption(), QStringLiteral("ULTIMATEBOT"));
        QCOMPARE(o.config.CurrentTier, 3);
        o.selector()->setSliderDown(false);
    }

    // The selector speaks only the tier's number: the frame is where a screen reader hears
    // its name.
    void theTierFrameIsSpokenByItsTier()
    {
        Olmach o;
        for (const int tier : {2, 3, 1}) {
            o.selector()->setValue(tier);
            QCOMPARE(QAccessible::queryAccessibleInterface(o.find<QGroupBox>("fraBot"))
                         ->text(QAccessible::Name),
                QString::fromLatin1(voltara::TierName(tier)));
        }
    }

    void showingAndSavingNeverEdits()
    {
        Olmach o(kOddFile);
        const voltara::Superbot first = o.tier(1), second = o.tier(2);
        QCOMPARE(o.slider("sldKI")->value(), 1000);
        QCOMPARE(o.slider("sldHP")->value(), 2);
        QCOMPARE(o.slider("sldTR")->value(), 1);
        QCOMPARE(o.laser()->currentText(), QStringLiteral("150"));
        QCOMPARE(o.powerLevel()->text(), QStringLiteral("0.5"));
        // What a slider cannot show as it is stands beside it.
        QCOMPARE(o.storedMark("lblStoredKI"), QStringLiteral("1e3"));
        QCOMPARE(o.storedMark("lblStoredHP"), QStringLiteral("2.5"));
        QCOMPARE(o.storedMark("lblStoredTR"), QStringLiteral("0"));
        o.selector()->setValue(2);
        QCOMPARE(o.slider("sldHP")->value(), 180);
        QCOMPARE(o.slider("sldTR")->value(), 255);
        QVERIFY(!o.slider("sldHP")->toolTip().isEmpty());
        QCOMPARE(o.storedMark("lblStoredHP"), QStringLiteral("500"));
        QCOMPARE(o.laser()->currentText(), QStringLiteral("-1"));
        o.selector()->setValue(3);
        o.selector()->setValue(1);
        // Tabbing through every control without changing one edits nothing either.
        for (int i = 0; i < 10; ++i)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QVERIFY(o.boxes.isEmpty());
        o.trigger("menSave_Current");
        QCOMPARE(o.tier(1), first);
        QCOMPARE(o.tier(2), second);
        const QByteArray saved = o.readFile(QStringLiteral("sbot.cfg"));
        for (const char *line : {"ki_gain 1e3\r\n", "health_gain 2.5\r\n", "powerlevel 0.5\r\n",
                 "transparency_val 0\r\n", "sbotlaser_percent 150\r\n", "health_gain 500\r\n",
                 "sbotlaser_percent -1\r\n", "ki_gain 5000\r\n"})
            QVERIFY2(saved.contains(line), line);
        // Such a value changes once the user moves the slider, not by a key that cannot move it.
        o.selector()->setValue(2);
        o.slider("sldHP")->setFocus();
        QTest::keyClick(o.slider("sldHP"), Qt::Key_End);
        QCOMPARE(o.tier(2).health_gain, "500");
        QCOMPARE(o.storedMark("lblStoredHP"), QStringLiteral("500"));
        QTest::keyClick(o.slider("sldHP"), Qt::Key_Left);
        QCOMPARE(o.tier(2).health_gain, "179");
        QCOMPARE(o.storedMark("lblStoredHP"), QString());
        o.laser()->setFocus();
        QTest::keyClick(o.laser(), Qt::Key_Down); // from the extra entry "-1" to "0"
        o.selector()->setFocus();
        QCOMPARE(o.tier(2).sbotlaser_percent, "0");
    }

    // A stored text too long for the row beside the check box is shown whole on two lines,
    // inside its frame and clear of the check box; a short one on one line.
    void storedTextShowsWhole_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("controls"); // the mark, frame and box after "lblStored", ...
        QTest::addColumn<int>("lines");
        QTest::newRow("ki") << "ki_gain"
                            << "123456789012"
                            << "KI" << 2;
        QTest::newRow("health") << "health_gain"
                                << "-1.0000e+05"
                                << "HP" << 2;
        QTest::newRow("visibility") << "transparency_val"
                                    << "1e3"
                                    << "TR" << 1;
    }
    void storedTextShowsWhole()
    {
        QFETCH(QString, key);
        QFETCH(QString, text);
        QFETCH(QString, controls);
        QFETCH(int, lines);
        Olmach o("[SUPERBOT]\r\n" + (key + ' ' + text).toLatin1() + "\r\n");
        const QByteArray name = ("lblStored" + controls).toLatin1();
        const QLabel *mark = o.find<QLabel>(name);
        QCOMPARE(o.storedMark(name).split('\n').join(QString()), text);
        QCOMPARE(mark->text().count('\n') + 1, lines);
        QCOMPARE(mark->toolTip(), QStringLiteral("Stored value: %1").arg(text));
        QVERIFY(o.find<QGroupBox>(qPrintable("fra" + controls))
                    ->contentsRect()
                    .contains(mark->geometry()));
        QVERIFY(!mark->geometry().intersects(o.check(qPrintable("chk" + controls))->geometry()));
        for (const QString &line : mark->text().split(QLatin1Char('\n')))
            QVERIFY(mark->fontMetrics().horizontalAdvance(line) <= mark->contentsRect().width());
    }

    void unlimitedThenDefaultValues()
    {
        Olmach o;
        dragTo(o.slider("sldKI"), 120);
        QCOMPARE(o.tier(1).ki_gain, "120");
        QTest::mouseClick(o.check("chkKI"), Qt::LeftButton);
        QCOMPARE(o.tier(1).ki_gain, "-1");
        QVERIFY(!o.slider("sldKI")->isEnabled());
        QTest::mouseClick(o.find<QPushButton>("cmdDefault"), Qt::LeftButton);
        QCOMPARE(o.tier(1).ki_gain, "40");
        QVERIFY(!o.check("chkKI")->isChecked());
        QVERIFY(o.slider("sldKI")->isEnabled());
        QCOMPARE(o.slider("sldKI")->value(), 40);
    }

    void flashingStoresMinusOneAndUntickingThePosition()
    {
        Olmach o;
        dragTo(o.slider("sldTR"), 100);
        QCOMPARE(o.tier(1).transparency_val, "100");
        QCheckBox *flashing = o.check("chkTR");
        flashing->setFocus();
        QTest::keyClick(flashing, Qt::Key_Space);
        QCOMPARE(o.tier(1).transparency_val, "-1");
        QVERIFY(!o.slider("sldTR")->isEnabled());
        QTest::keyClick(flashing, Qt::Key_Space);
        QCOMPARE(o.tier(1).transparency_val, "100");
        QVERIFY(o.slider("sldTR")->isEnabled());
    }

    void powerLevelRule_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("zero") << "0" << false;
        QTest::newRow("negative") << "-5" << false;
        QTest::newRow("word") << "abc" << false;
        QTest::newRow("fraction") << "2.5" << true;
        QTest::newRow("exponent") << "1e3" << true;
        QTest::newRow("leading space") << " 7" << true;
    }
    void powerLevelRule()
    {
        QFETCH(QString, typed);
        QFETCH(bool, accepted);
        Olmach o;
        o.typeInto("txtPL", typed);
        o.leaveField();
        if (accepted) {
            QVERIFY(o.boxes.isEmpty());
            QCOMPARE(o.tier(1).powerlevel, typed.toStdString());
            QCOMPARE(o.powerLevel()->text(), typed);
        } else {
            QCOMPARE(o.boxes, QStringList {"[] No"});
            QCOMPARE(o.tier(1).powerlevel, "2500000");
            QCOMPARE(o.powerLevel()->text(), QStringLiteral("2500000"));
        }
    }

    void powerLevelShowsTheStoredTextWhole()
    {
        const QByteArray content = "[SUPERBOT]\npowerlevel  12345678\n[MEGABOT]\n"
                                   "powerlevel 2500000.0\n[ULTIMATEBOT]\npowerlevel 123456789\n";
        Olmach o(content);
        const char *stored[] = {" 12345678", "2500000.0", "123456789"};
        for (int tier = 1; tier <= 3; ++tier) {
            o.selector()->setValue(tier);
            QCOMPARE(o.powerLevel()->text(), QString::fromLatin1(stored[tier - 1]));
        }
        // Typing keeps its limit of 8 characters.
        o.typeInto("txtPL", QStringLiteral("1234567890"));
        o.leaveField();
        QCOMPARE(o.tier(3).powerlevel, "12345678");
    }

    void refusedPowerLevelDropsTheClickThatLeftIt()
    {
        // Values the KI slider shows otherwise: a slider still repeating after the box would
        // rewrite them as soon as their tier is viewed.
        const QByteArray content =
            "[SUPERBOT]\n[MEGABOT]\nki_gain 1500\n[ULTIMATEBOT]\nki_gain 2.5\n";
        Olmach o(content);
        bool held = false, boxWhileHeld = false;
        o.onBox = [&](QWidget *) { boxWhileHeld = held; };
        QSlider *ki = o.slider("sldKI");
        const QPoint track = trackEnd(ki);
        o.typeInto("txtPL", QStringLiteral("bad"));
        held = true;
        QTest::mousePress(ki, Qt::LeftButton, {}, track);
        // A real box is modal: a release made while it is up never reaches the slider.
        if (!boxWhileHeld)
            QTest::mouseRelease(ki, Qt::LeftButton, {}, track);
        held = false;
        QTest::qWait(800); // past the slider's delay before it repeats
        QCOMPARE(o.boxes, QStringList {"[] No"});
        QCOMPARE(o.powerLevel()->text(), QStringLiteral("2500000"));
        QCOMPARE(ki->value(), 40);
        for (int tier : {2, 3}) {
            o.selector()->setValue(tier);
            QTest::qWait(150);
        }
        QCOMPARE(o.tier(1).ki_gain, "40");
        QCOMPARE(o.tier(2).ki_gain, "1500");
        QCOMPARE(o.tier(3).ki_gain, "2.5");
    }

    // The laser list stores the entry chosen when it is left, not while choosing.
    void laserStoresWhenLeft()
    {
        Olmach o;
        QComboBox *laser = o.laser();
        laser->setFocus(Qt::TabFocusReason);
        QTest::keyClick(laser, Qt::Key_Down);
        QCOMPARE(o.tier(1).sbotlaser_percent, "25");
        o.leaveField();
        QCOMPARE(o.tier(1).sbotlaser_percent, "26");
    }

    void sliderReadings_data()
    {
        QTest::addColumn<QString>("slider");
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("reading");
        const struct
        {
            const char *row, *slider;
            int position;
            const char *locale, *reading;
        } rows[] = {
            {"health",       "sldHP", 45,   "C",     "45 healthpoints per second"},
            {"ki tenth",     "sldKI", 55,   "C",     "5.5 % KI per second"       },
            {"ki whole",     "sldKI", 1000, "C",     "100 % KI per second"       },
            {"ki comma",     "sldKI", 55,   "de_DE", "5,5 % KI per second"       },
            {"invisible",    "sldTR", 1,    "C",     "0 % visible"               },
            {"half",         "sldTR", 128,  "C",     "50 % visible"              },
            {"two decimals", "sldTR", 100,  "C",     "38.98 % visible"           },
            {"visible",      "sldTR", 255,  "C",     "100 % visible"             },
        };
        for (const auto &r : rows)
            QTest::newRow(r.row) << QString(r.slider) << r.position << QString(r.locale)
                                 << QString(r.reading);
    }
    void sliderReadings()
    {
        QFETCH(QString, slider);
        QFETCH(int, position);
        QFETCH(QString, locale);
        QFETCH(QString, reading);
        QLocale::setDefault(QLocale(locale));
        Olmach o;
        QSlider *moved = o.slider(slider.toLatin1().constData());
        dragTo(moved, position == moved->value() ? moved->minimum() : position);
        dragTo(moved, position);
        QCOMPARE(o.status(), reading);
    }

    void frameHints_data()
    {
        QTest::addColumn<QString>("frame");
        QTest::addColumn<QString>("hint");
        QTest::newRow("health") << "fraHP"
                                << "Specifies the amount of health the bot recovers every second";
        QTest::newRow("ki") << "fraKI"
                            << "Specifies the amount of KI the bot recovers every second";
        QTest::newRow("power") << "fraPL"
                               << "Specifies the powerlevel the bot starts with";
        QTest::newRow("laser") << "fraLS"
                               << "Specifies the percent that a bot will use a super bot laser";
        QTest::newRow("visibility") << "fraTR"
                                    << "Specifies the transparency level of the bot";
    }
    void frameHints()
    {
        QFETCH(QString, frame);
        QFETCH(QString, hint);
        Olmach o;
        QGroupBox *inner = o.find<QGroupBox>(frame.toLatin1().constData());
        QTest::mouseMove(inner, QPoint(5, inner->height() - 5));
        QTRY_COMPARE(o.status(), hint);
        // Onto the tier frame around it: the hint goes.
        QGroupBox *tierFrame = o.find<QGroupBox>("fraBot");
        QTest::mouseMove(tierFrame, QPoint(tierFrame->width() - 5, tierFrame->height() - 5));
        QTRY_COMPARE(o.status(), QString());
    }
};

QTEST_MAIN(TestFrmOlmach)
#include "tst_frmolmach.moc"
