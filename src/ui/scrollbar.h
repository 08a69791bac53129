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

    // When on, assistive tools read and set the bar mirrored, minimum + maximum - value: for a
    // bar that runs on its own value but whose left end stands for the largest number, such as
    // the Credits speed bar. Off at first: they read the value itself.
    void setMirroredReading(bool mirrored) { m_mirrored = mirrored; }

    // The number assistive tools read for a position, and the position for a number they set.
    int reading(int position) const;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    // Styles draw no focus mark on a scroll bar, or a faint one: without a frame in the
    // highlight colour the keyboard focus would vanish from sight when it lands here.
    void paintEvent(QPaintEvent *event) override;

private:
    bool m_mirrored = false;
};

// A main window's selector of the record on view, named HSBNumber, at place: over records 1 to
// count, on record 1, spoken as heading with the description. A drag reports every position, so
// the view follows the thumb; a click or the wheel takes the focus first, so that a field being
// edited stores its value into the record it showed before the record on view changes.
ScrollBar *NewRecordSelector(QWidget *parent, const QString &heading, const char *description,
    const QRect &place, int count, int pageStep);

} // namespace voltara::ui
