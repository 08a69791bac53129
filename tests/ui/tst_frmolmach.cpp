// Olmach's window on the offscreen platform: start-up, tier switches, the edit rules of every
// control, the menus and the status bar. Message boxes and file dialogs are recorded.
#include "olmach/frmolmach.h"
#include "ui/filedialogs.h"
#include "ui/messagebox.h"
#include "ui/statusline.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using voltara::ui::FileDialogRequest;
using voltara::ui::MessageBoxRecord;

namespace {

// Tier 1 with defaults, tier 2 with a leading space in its health, tier 3 unlimited; the
// keys left out take their defaults.
const QByteArray kCraftedFile = "# crafted\r\n[SUPERBOT]\r\n[MEGABOT]\r\nhealth_gain  40\r\n"
                                "[ULTIMATEBOT]\r\nhealth_gain -1\r\ntransparency_val -1\r\n";

// Values out of every control's reach, and texts a control would round.
const QByteArray kOddFile = "[SUPERBOT]\nki_gain 1e3\nhealth_gain 2.5\npowerlevel 0.5\n"
                            "transparency_val 0\nsbotlaser_percent 150\n[MEGABOT]\nki_gain 5000\n"
                            "health_gain 500\ntransparency_val 300\nsbotlaser_percent -1\n";

std::vector<MessageBoxRecord> g_boxes;
std::vector<FileDialogRequest> g_dialogs;
std::string g_dialogAnswer;

// One window on one program folder, started as the program starts it.
struct Olmach
{
    explicit Olmach(const QByteArray *content = &kCraftedFile)
    {
        if (content) {
            QFile file(dir.filePath(QStringLiteral("sbot.cfg")));
            if (file.open(QIODevice::WriteOnly))
                file.write(*content);
        }
        window = std::make_unique<frmOlmach>(config, dir.path().toStdString());
        window->Form_Load();
        // Focus events, and so the leave rules, need an active window.
        if (!QTest::qWaitForWindowActive(window.get()))
            qFatal("the window did not become active");
    }

    template <typename T> T *find(const char *name) const
    {
        T *child = window->findChild<T *>(QLatin1String(name));
        if (!child)
            qFatal("no control %s", name);
        return child;
    }
    QSlider *slider(const char *name) const { return find<QSlider>(name); }
    QCheckBox *check(const char *name) const { return find<QCheckBox>(name); }
    QScrollBar *selector() const { return find<QScrollBar>("HSBNumber"); }
    QComboBox *laser() const { return find<QComboBox>("cmbLaser"); }
    QLineEdit *powerLevel() const { return find<QLineEdit>("txtPL"); }
    QString frameCaption() const { return find<QGroupBox>("fraBot")->title(); }
    // The stored text shown beside a slider's check box, or nothing when it is hidden.
    QString storedMark(const char *name) const
    {
        const QLabel *mark = find<QLabel>(name);
        return mark->isVisibleTo(window.get()) ? mark->text() : QString();
    }
    QString status() const { return find<voltara::ui::StatusLine>("StBr")->simpleText(); }
    void trigger(const char *action) const { find<QAction>(action)->trigger(); }
    QByteArray fileBytes(const QString &name = QStringLiteral("sbot.cfg")) const
    {
        QFile file(dir.filePath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    voltara::Superbot &tier(int t) { return config.Tier(t); }

    QTemporaryDir dir;
    voltara::SuperbotConfig config;
    std::unique_ptr<frmOlmach> window;
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
    QStyleOptionSlider option;
    option.initFrom(slider);
    option.subControls = QStyle::SC_All;
    option.orientation = slider->orientation();
    option.minimum = slider->minimum();
    option.maximum = slider->maximum();
    option.sliderPosition = slider->sliderPosition();
    option.sliderValue = slider->value();
    option.tickPosition = slider->tickPosition();
    option.tickInterval = slider->tickInterval();
    const QRect groove = slider->style()->subControlRect(
        QStyle::CC_Slider, &option, QStyle::SC_SliderGroove, slider);
    return QPoint(groove.right() - 2, groove.center().y());
}

void typeInto(QLineEdit *field, const QString &text)
{
    field->setFocus(Qt::TabFocusReason);
    field->selectAll();
    QTest::keyClicks(field, text);
}

} // namespace

class TestFrmOlmach : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QApplication::setApplicationName(QStringLiteral("Olmach"));
        voltara::ui::SetFileDialogFunction([](QWidget *, const FileDialogRequest &request) {
            g_dialogs.push_back(request);
            return g_dialogAnswer;
        });
    }
    void init()
    {
        voltara::ui::SetMessageBoxFunction(
            [](QWidget *, const MessageBoxRecord &box) { g_boxes.push_back(box); });
        g_boxes.clear();
        g_dialogs.clear();
        g_dialogAnswer.clear();
        QLocale::setDefault(QLocale::c());
    }

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

    void startUpShowsTierOne()
    {
        Olmach o;
        QCOMPARE(o.window->windowTitle(), QStringLiteral("Official SuperBot Editor"));
        QVERIFY(g_boxes.empty());
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

    void startUpFailingBeforeFirstSectionShowsTierOne()
    {
        const QByteArray content = "ki_gain 5\r\n[SUPERBOT]\r\n";
        Olmach o(&content);
        QCOMPARE(g_boxes.size(), 1u);
        QCOMPARE(g_boxes[0].text, QStringLiteral("Error with reading config file"));
        QCOMPARE(g_boxes[0].title, QStringLiteral("Olmach"));
        QCOMPARE(o.frameCaption(), QStringLiteral("SUPERBOT"));
        QCOMPARE(o.slider("sldKI")->value(), 40);
        QCOMPARE(o.powerLevel()->text(), QStringLiteral("2500000"));
        QCOMPARE(o.laser()->currentText(), QStringLiteral("25"));
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

    void showingAndSavingNeverEdits()
    {
        Olmach o(&kOddFile);
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
        QVERIFY(g_boxes.empty());
        o.trigger("menSave_Current");
        QCOMPARE(o.tier(1), first);
        QCOMPARE(o.tier(2), second);
        const QByteArray saved = o.fileBytes();
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
    // inside its frame and clear of the check box.
    void longStoredTextShowsWhole()
    {
        const QByteArray content = "[SUPERBOT]\r\nki_gain 123456789012\r\n"
                                   "health_gain -1.0000e+05\r\ntransparency_val 1e3\r\n";
        Olmach o(&content);
        const struct
        {
            const char *mark, *frame, *check, *text;
        } cases[] = {
            {"lblStoredKI", "fraKI", "chkKI", "123456789012"},
            {"lblStoredHP", "fraHP", "chkHP", "-1.0000e+05" },
            {"lblStoredTR", "fraTR", "chkTR", "1e3"         },
        };
        for (const auto &c : cases) {
            QString shown = o.storedMark(c.mark);
            QCOMPARE(shown.remove(QLatin1Char('\n')), QLatin1String(c.text));
            const QLabel *mark = o.find<QLabel>(c.mark);
            QCOMPARE(
                mark->toolTip(), QStringLiteral("Stored value: %1").arg(QLatin1String(c.text)));
            QVERIFY(o.find<QGroupBox>(c.frame)->contentsRect().contains(mark->geometry()));
            QVERIFY(!mark->geometry().intersects(o.find<QCheckBox>(c.check)->geometry()));
            for (const QString &line : mark->text().split(QLatin1Char('\n')))
                QVERIFY(
                    mark->fontMetrics().horizontalAdvance(line) <= mark->contentsRect().width());
        }
        QVERIFY(!o.storedMark("lblStoredTR").contains(QLatin1Char('\n'))); // short: one line
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
        typeInto(o.powerLevel(), typed);
        o.selector()->setFocus(Qt::TabFocusReason);
        if (accepted) {
            QVERIFY(g_boxes.empty());
            QCOMPARE(o.tier(1).powerlevel, typed.toStdString());
            QCOMPARE(o.powerLevel()->text(), typed);
        } else {
            QCOMPARE(g_boxes.size(), 1u);
            QCOMPARE(g_boxes[0].text, QStringLiteral("No"));
            QCOMPARE(g_boxes[0].title, QString());
            QCOMPARE(o.tier(1).powerlevel, "2500000");
            QCOMPARE(o.powerLevel()->text(), QStringLiteral("2500000"));
        }
    }

    void powerLevelShowsTheStoredTextWhole()
    {
        const QByteArray content = "[SUPERBOT]\npowerlevel  12345678\n[MEGABOT]\n"
                                   "powerlevel 2500000.0\n[ULTIMATEBOT]\npowerlevel 123456789\n";
        Olmach o(&content);
        const char *stored[] = {" 12345678", "2500000.0", "123456789"};
        for (int tier = 1; tier <= 3; ++tier) {
            o.selector()->setValue(tier);
            QCOMPARE(o.powerLevel()->text(), QString::fromLatin1(stored[tier - 1]));
        }
        // Typing keeps its limit of 8 characters.
        typeInto(o.powerLevel(), QStringLiteral("1234567890"));
        o.selector()->setFocus(Qt::TabFocusReason);
        QCOMPARE(o.tier(3).powerlevel, "12345678");
    }

    void refusedPowerLevelDropsTheClickThatLeftIt()
    {
        // Values the KI slider shows otherwise: a slider still repeating after the box would
        // rewrite them as soon as their tier is viewed.
        const QByteArray content =
            "[SUPERBOT]\n[MEGABOT]\nki_gain 1500\n[ULTIMATEBOT]\nki_gain 2.5\n";
        Olmach o(&content);
        bool held = false, boxWhileHeld = false;
        voltara::ui::SetMessageBoxFunction([&](QWidget *, const MessageBoxRecord &box) {
            g_boxes.push_back(box);
            boxWhileHeld = held;
        });
        QSlider *ki = o.slider("sldKI");
        const QPoint track = trackEnd(ki);
        typeInto(o.powerLevel(), QStringLiteral("bad"));
        held = true;
        QTest::mousePress(ki, Qt::LeftButton, {}, track);
        // A real box is modal: a release made while it is up never reaches the slider.
        if (!boxWhileHeld)
            QTest::mouseRelease(ki, Qt::LeftButton, {}, track);
        held = false;
        QTest::qWait(800); // past the slider's delay before it repeats
        QCOMPARE(g_boxes.size(), 1u);
        QCOMPARE(g_boxes[0].text, QStringLiteral("No"));
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

    void powerLevelIsStoredInTheTierItWasTypedFor()
    {
        Olmach o;
        typeInto(o.powerLevel(), QStringLiteral("1234"));
        // A click on the selector takes the focus before the tier changes.
        const QRect bar = o.selector()->rect();
        QTest::mouseClick(
            o.selector(), Qt::LeftButton, {}, QPoint(bar.right() - 3, bar.center().y()));
        QCOMPARE(o.config.CurrentTier, 2);
        QCOMPARE(o.tier(1).powerlevel, "1234");
        QCOMPARE(o.tier(2).powerlevel, "3500000");
        QCOMPARE(o.powerLevel()->text(), QStringLiteral("3500000"));
    }

    void laserPickThenCtrlSWritesIt()
    {
        Olmach o;
        QComboBox *laser = o.laser();
        laser->setFocus(Qt::TabFocusReason);
        QTest::keyClick(laser, Qt::Key_Down);
        QCOMPARE(o.tier(1).sbotlaser_percent, "25"); // choosing alone stores nothing
        QTest::keyClick(laser, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(QApplication::focusWidget(), o.selector());
        QCOMPARE(o.tier(1).sbotlaser_percent, "26");
        QVERIFY(o.fileBytes().contains("\r\nsbotlaser_percent 26\r\n\r\n[MEGABOT]"));
        QCOMPARE(g_boxes.size(), 1u);
        QCOMPARE(g_boxes[0].text, QStringLiteral("File successfully saved"));
        QCOMPARE(g_boxes[0].title, QString());
    }

    void openWhileTierThreeShownEndsOnTierOne()
    {
        Olmach o;
        o.selector()->setValue(3);
        const QString other = o.dir.filePath(QStringLiteral("other.cfg"));
        QFile file(other);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[SUPERBOT]\nki_gain 77\n");
        file.close();
        g_dialogAnswer = other.toStdString();
        QTest::keyClick(o.window.get(), Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(g_dialogs.size(), 1u);
        QVERIFY(!g_dialogs[0].save);
        QCOMPARE(g_dialogs[0].title, "Open config-file");
        QCOMPARE(g_dialogs[0].filter, "Config-files (*.cfg)|*.cfg");
        QCOMPARE(g_dialogs[0].folder, o.dir.path().toStdString());
        QCOMPARE(o.selector()->value(), 1);
        QCOMPARE(o.frameCaption(), QStringLiteral("SUPERBOT"));
        QCOMPARE(o.slider("sldKI")->value(), 77);
        QCOMPARE(o.config.LoadedPath, g_dialogAnswer);
    }

    void startUpWithoutFileThenSaveAsksForAName()
    {
        Olmach o(nullptr);
        QCOMPARE(g_boxes.size(), 1u);
        QCOMPARE(g_boxes[0].title, QStringLiteral("Error"));
        QCOMPARE(g_boxes[0].text,
            QStringLiteral("File: \"%1\" doesn't exist\nLoading default values")
                .arg(QString::fromStdString(o.config.SuperbotConfigPath)));
        QCOMPARE(o.powerLevel()->text(), QStringLiteral("2500000"));
        g_boxes.clear();
        o.trigger("menSave_Current");
        QCOMPARE(g_dialogs.size(), 1u); // cancelled
        QVERIFY(g_boxes.empty());
        g_dialogAnswer = o.dir.filePath(QStringLiteral("mine")).toStdString();
        o.trigger("menSave_Current");
        QCOMPARE(g_dialogs.size(), 2u);
        QVERIFY(g_dialogs[1].save);
        QCOMPARE(g_dialogs[1].title, "Save as config-file");
        QCOMPARE(g_dialogs[1].filter, "*.cfg (Config-file)|*.cfg");
        QCOMPARE(o.fileBytes(QStringLiteral("mine.cfg")).count("\r\n"), 56);
        QCOMPARE(g_boxes.size(), 1u);
        QCOMPARE(g_boxes[0].text, QStringLiteral("File successfully saved"));
        typeInto(o.powerLevel(), QStringLiteral("4242"));
        o.trigger("menSave"); // beside the program, after leaving the field
        QCOMPARE(QApplication::focusWidget(), o.selector());
        QVERIFY(o.fileBytes().contains("\r\npowerlevel 4242\r\ntransparency_val 255\r\n"));
    }

    void sliderReadings_data()
    {
        QTest::addColumn<QString>("slider");
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("reading");
        QTest::newRow("health") << "sldHP" << 45 << "C"
                                << "45 healthpoints per second";
        QTest::newRow("ki tenth") << "sldKI" << 55 << "C"
                                  << "5.5 % KI per second";
        QTest::newRow("ki whole") << "sldKI" << 1000 << "C"
                                  << "100 % KI per second";
        QTest::newRow("ki comma") << "sldKI" << 55 << "de_DE"
                                  << "5,5 % KI per second";
        QTest::newRow("invisible") << "sldTR" << 1 << "C"
                                   << "0 % visible";
        QTest::newRow("half") << "sldTR" << 128 << "C"
                              << "50 % visible";
        QTest::newRow("two decimals") << "sldTR" << 100 << "C"
                                      << "38.98 % visible";
        QTest::newRow("visible") << "sldTR" << 255 << "C"
                                 << "100 % visible";
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

    void menusCarryTheirShortcuts()
    {
        Olmach o;
        const struct
        {
            const char *name, *text;
            QKeySequence shortcut;
        } items[] = {
            {"menLoad",         "Open",                   QKeySequence(Qt::CTRL | Qt::Key_O)},
            {"menSave",         "Save as default",        {}                                },
            {"menSave_Current", "Save",                   QKeySequence(Qt::CTRL | Qt::Key_S)},
            {"menSaveAs",       "Save as",                {}                                },
            {"menQuit",         "Exit",                   {}                                },
            {"menBot",          "Bot Personality Editor", {}                                },
            {"menAbout",        "About",                  QKeySequence(Qt::Key_F1)          },
            {"menCredits",      "Credits",                QKeySequence(Qt::Key_F3)          },
            {"menVisit",        "Voltara Website",        {}                                },
        };
        for (const auto &item : items) {
            QAction *action = o.find<QAction>(item.name);
            QCOMPARE(action->text(), QString::fromLatin1(item.text));
            QCOMPARE(action->shortcut(), item.shortcut);
        }
        // The sibling and the website would leave this test; About and Credits stay inside it.
        for (const char *name : {"menBot", "menVisit"})
            QVERIFY(o.find<QAction>(name)->isEnabled());
        o.trigger("menAbout");
        o.trigger("menCredits");
        o.trigger("menQuit");
        QVERIFY(!o.window->isVisible());
    }
};

QTEST_MAIN(TestFrmOlmach)
#include "tst_frmolmach.moc"
