#include "ui/frmcredits.h"

#include "core/messages.h"
#include "platform/registry.h"
#include "ui/designfont.h"
#include "ui/geometry.h"
#include "ui/messagebox.h"
#include "ui/picture.h"
#include "ui/scrollbar.h"
#include "ui/sharedwindows.h"
#include "ui/window_texts.h"

#include <QCloseEvent>
#include <QFont>
#include <QFontMetricsF>
#include <QKeySequence>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QTimer>

#include <exception>

namespace voltara::ui {

namespace {

constexpr const char *kPicture = ":/voltara/credits.jpg";

void MakeRedLabel(QLabel *label, double points)
{
    QFont font = InstalledFont(QStringLiteral("Times New Roman"), QFont::Serif, points);
    font.setBold(true);
    MakeRedText(label, font);
}

// The designed size leaves the last of the 14 lines below the label's edge, so the end of the
// credits would never be read: the font shrinks until the whole page fits.
void FitPageFont(QLabel *label)
{
    QFont font = label->font();
    while (QFontMetricsF(font).lineSpacing() * kCreditPageLines > label->height()
        && font.pointSizeF() > 6)
        font.setPointSizeF(font.pointSizeF() - 0.25);
    label->setFont(font);
}

QPushButton *MakeButton(const QString &caption, const char *name, const QRect &place,
    const char *description, QWidget *parent)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(place);
    button->setAccessibleDescription(QLatin1String(description));
    // Enter presses the button that has the focus.
    button->setAutoDefault(true);
    return button;
}

} // namespace

frmCredits::frmCredits(CreditsState &state, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_state(state)
{
    LoadSharedResources();
    setObjectName(QStringLiteral("frmCredits"));
    setWindowTitle(QString::fromLatin1(texts::kCreditsTitle));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
        | Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint);
    setFixedSize(Twips(5055), Twips(4050));
    createControls();
    createButtons();
    createTimers();
}

frmCredits::~frmCredits()
{
    // A window deleted without a close still lets go of the titles file.
    Form_Unload();
}

void frmCredits::createControls()
{
    Image1 = AddBackgroundPicture(this, QLatin1String(kPicture));

    lblAnzeige = new QLabel(this);
    lblAnzeige->setObjectName(QStringLiteral("lblAnzeige"));
    lblAnzeige->setGeometry(TwipsRect(120, 120, 4815, 3375));
    MakeRedLabel(lblAnzeige, 11.25);
    FitPageFont(lblAnzeige);

    Label1 = new QLabel(QStringLiteral("Scroll Speed"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(TwipsRect(3240, 3480, 1575, 255));
    MakeRedLabel(Label1, 9.75);

    // The left end is the slow one: the bar runs on its own value, mirrored (see scrollSpeed),
    // and a screen reader reads it mirrored too, as the interval the user sets.
    // Its keys move the thumb the way they point, and Tab reaches it right after OK.
    HScroll1 = new ScrollBar(this);
    HScroll1->setObjectName(QStringLiteral("HScroll1"));
    HScroll1->setMirroredReading(true);
    HScroll1->setAccessibleName(Label1->text());
    HScroll1->setAccessibleDescription(QString::fromLatin1(texts::kScrollSpeed));
    HScroll1->setFocusPolicy(Qt::StrongFocus);
    HScroll1->setGeometry(TwipsRect(3180, 3780, 1755, 195));
    HScroll1->setRange(kFastest, kSlowest);
    HScroll1->setSingleStep(10);
    HScroll1->setPageStep(100);
    setScrollSpeed(kDesignSpeed);
    connect(HScroll1, &QScrollBar::valueChanged, this, &frmCredits::HScroll1_Change);
}

void frmCredits::createButtons()
{
    cmdNochmal = MakeButton(QStringLiteral("&Again"), "cmdNochmal", TwipsRect(120, 3600, 675, 375),
        "Starts the credits again from the beginning", this);
    cmdPause = MakeButton(QStringLiteral("&Pause"), "cmdPause", TwipsRect(900, 3600, 855, 375),
        "Stops the credits where they are", this);
    cmdWeiter = MakeButton(QStringLiteral("&Continue"), "cmdWeiter", TwipsRect(900, 3600, 855, 375),
        "Lets the paused credits go on", this);
    cmdWeiter->hide();
    cmdOK = MakeButton(QStringLiteral("&OK"), "cmdOK", TwipsRect(1920, 3600, 1095, 375),
        "Closes the Credits window", this);

    connect(cmdNochmal, &QPushButton::clicked, this, &frmCredits::cmdNochmal_Click);
    connect(cmdPause, &QPushButton::clicked, this, &frmCredits::cmdPause_Click);
    connect(cmdWeiter, &QPushButton::clicked, this, &frmCredits::cmdWeiter_Click);
    connect(cmdOK, &QPushButton::clicked, this, &frmCredits::cmdOK_Click);
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this,
        &frmCredits::cmdOK_Click);

    setTabOrder(cmdOK, HScroll1);
    setTabOrder(HScroll1, cmdNochmal);
    setTabOrder(cmdNochmal, cmdWeiter);
    setTabOrder(cmdWeiter, cmdPause);
    cmdOK->setFocus();
}

void frmCredits::createTimers()
{
    // Coarse timers, Qt's default, may fire 5 % early or late: precise ones keep the pace the
    // speed bar sets.
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setTimerType(Qt::PreciseTimer);
    Timer1->setInterval(kDesignSpeed);
    connect(Timer1, &QTimer::timeout, this, &frmCredits::Timer1_Timer);

    Timer2 = new QTimer(this);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    Timer2->setTimerType(Qt::PreciseTimer);
    Timer2->setInterval(StartDelayInterval(kDesignSpeed));
    connect(Timer2, &QTimer::timeout, this, &frmCredits::Timer2_Timer);
}

int frmCredits::scrollSpeed() const
{
    return kSlowest + kFastest - HScroll1->value();
}

void frmCredits::setScrollSpeed(int milliseconds)
{
    HScroll1->setValue(kSlowest + kFastest - milliseconds);
}

void frmCredits::Form_Load()
{
    show();
    Image1->setGeometry(rect());
    ShowPicture(Image1, QLatin1String(kPicture));
    YieldToEvents();
    if (!m_unloaded)
        Lade();
}

void frmCredits::Lade()
{
    try {
        m_state.Closing = false;
        m_state.TitlesPath = FindTitlesFile();
        if (m_state.TitlesPath.empty()) {
            ShowMessageBox(this, texts::kTitlesNotFound, messages::kErrorCaption);
            close();
            return;
        }
        std::string reason;
        if (!m_state.Titles.Open(m_state.TitlesPath, reason)
            || !ReadFirstPage(m_state, [this](const std::string &text) { showPage(text); })) {
            showUnknownError();
            return;
        }
    } catch (const std::exception &) {
        showUnknownError();
        return;
    }
    YieldToEvents();
    // The window may have been closed, or loaded afresh, while events ran.
    if (!m_unloaded)
        Timer2->start();
}

void frmCredits::showPage(const std::string &text)
{
    lblAnzeige->setText(FromBytes(text));
}

void frmCredits::showUnknownError()
{
    ShowMessageBox(this, texts::kCreditsFailed, messages::kErrorCaption, MessageIcon::Critical);
}

void frmCredits::Timer1_Timer()
{
    const std::optional<std::string> page = ScrollStep(m_state);
    if (!page) {
        // The end: the last page stays on show.
        Timer1->stop();
        HScroll1->setEnabled(false);
        cmdPause->setEnabled(false);
        return;
    }
    showPage(*page);
}

void frmCredits::Timer2_Timer()
{
    if (!m_state.Closing)
        Timer1->start();
    Timer2->stop();
}

void frmCredits::cmdPause_Click()
{
    m_state.ScrollWasRunning = Timer1->isActive();
    if (m_state.ScrollWasRunning)
        Timer1->stop();
    else
        Timer2->stop();
    YieldToEvents();
    if (!m_unloaded)
        swapButtons(cmdPause, cmdWeiter);
}

void frmCredits::cmdWeiter_Click()
{
    if (m_state.ScrollWasRunning) {
        Timer1->start();
        Timer2->stop();
    } else {
        Timer2->start();
        Timer1->stop();
    }
    YieldToEvents();
    if (!m_unloaded)
        swapButtons(cmdWeiter, cmdPause);
}

void frmCredits::cmdNochmal_Click()
{
    m_state.Titles.Close();
    Timer1->stop();
    Timer2->stop();
    cmdPause->setEnabled(true);
    HScroll1->setEnabled(true);
    YieldToEvents();
    if (!m_unloaded)
        Lade();
}

void frmCredits::cmdOK_Click()
{
    // close() hides the window, then unloads it. A hide of its own before would keep the
    // program running when this was its last window: Qt ends a program only when a visible
    // window closes.
    close();
}

void frmCredits::HScroll1_Change()
{
    Timer1->setInterval(scrollSpeed());
    Timer2->setInterval(StartDelayInterval(scrollSpeed()));
}

void frmCredits::swapButtons(QPushButton *from, QPushButton *to)
{
    const bool had_focus = from->hasFocus();
    from->hide();
    to->show();
    if (had_focus)
        to->setFocus();
}

void frmCredits::closeEvent(QCloseEvent *event)
{
    Form_Unload();
    event->accept();
}

void frmCredits::Form_Unload()
{
    // Once per window: a window closed earlier must not touch the state a newer one uses.
    if (m_unloaded)
        return;
    m_unloaded = true;
    m_state.Closing = true;
    Timer1->stop();
    Timer2->stop();
    m_state.Titles.Close();
}

} // namespace voltara::ui
