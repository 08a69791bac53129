// The Credits window both editors share: finds the game's titles file, skips to its line
// "Credits" and scrolls what follows through a page of 14 lines, one line per tick of Timer1,
// after a start delay on Timer2. Pause, Continue, Again, a speed bar and OK.
#pragma once

#include "core/credits.h"

#include <QWidget>

class QLabel;
class QPushButton;
class QTimer;

namespace voltara::ui {

class ScrollBar;

class frmCredits : public QWidget
{
    Q_OBJECT

public:
    // The window reads and writes state, which outlives it: the next showing finds the values
    // of the last one.
    explicit frmCredits(CreditsState &state, QWidget *parent = nullptr);
    ~frmCredits() override;

    // Shows the window, lets it paint, then loads the credits.
    void Form_Load();

    // Looks the titles file up, opens it and shows the first page; then the start delay runs.
    // Not found: a message, then the window closes. Any other failure: a message with the
    // critical icon; the window stays, both timers off.
    void Lade();

    // The speed bar's value: milliseconds per line, 1000 at its left end, 20 at its right.
    int scrollSpeed() const;
    void setScrollSpeed(int milliseconds);

    // True once the window has been closed, however that came about.
    bool isUnloaded() const { return m_unloaded; }

    static constexpr int kSlowest = 1000;
    static constexpr int kFastest = 20;
    static constexpr int kDesignSpeed = 400;

public slots:
    void Timer1_Timer();
    void Timer2_Timer();
    void cmdPause_Click();
    void cmdWeiter_Click();
    void cmdNochmal_Click();
    void cmdOK_Click();
    void HScroll1_Change();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void createControls();
    void createButtons();
    void createTimers();
    void Form_Unload();
    void showPage(const std::string &text);
    void showUnknownError();
    static void swapButtons(QPushButton *from, QPushButton *to);

    CreditsState &m_state;
    bool m_unloaded = false;

    QLabel *Image1 = nullptr;
    QLabel *lblAnzeige = nullptr;
    QLabel *Label1 = nullptr;
    ScrollBar *HScroll1 = nullptr;
    QPushButton *cmdNochmal = nullptr;
    QPushButton *cmdPause = nullptr;
    QPushButton *cmdWeiter = nullptr;
    QPushButton *cmdOK = nullptr;
    QTimer *Timer1 = nullptr;
    QTimer *Timer2 = nullptr;
};

} // namespace voltara::ui
