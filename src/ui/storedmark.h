// The mark beside a slider's check box that shows a stored value the slider cannot show as it
// is (a fraction, "1e3", a value out of its range), so that the value saved is the value seen.
#pragma once

#include <QLabel>

class QCheckBox;
class QGroupBox;

namespace voltara::ui {

class StoredMark : public QLabel
{
public:
    // The mark takes the row from the end of the check box's caption to the frame's inner edge,
    // and the frame's free room below the check box for a second line.
    StoredMark(QCheckBox *beside, QGroupBox *frame);

    // Shows the text, or hides the mark for an empty one. A text too long for the row goes on
    // two lines; only what fits on neither is elided. Returns the tooltip that names the whole
    // stored value ("Stored value: ..."; empty with the text), for the slider to carry as well.
    QString showStored(const QString &text);

private:
    void fit(const QString &text);

    QCheckBox *m_beside;
    QGroupBox *m_frame;
};

} // namespace voltara::ui
