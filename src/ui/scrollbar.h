// The horizontal scroll bars of the windows: the selectors of both main windows and the
// Credits speed bar.
#pragma once

#include <QScrollBar>

namespace voltara::ui {

// A horizontal scroll bar whose keys move it as a desktop scroll bar does: Left, Up and Page Up
// towards the minimum, Right, Down and Page Down towards the maximum, Home and End to the
// ends. (QScrollBar inverts its controls, so that Right would move it towards the minimum.)
class ScrollBar : public QScrollBar
{
    Q_OBJECT

public:
    explicit ScrollBar(QWidget *parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    // Styles draw no focus mark on a scroll bar, or a faint one: without a frame in the
    // highlight colour the keyboard focus would vanish from sight when it lands here.
    void paintEvent(QPaintEvent *event) override;
};

} // namespace voltara::ui
