// Small pieces for building the editors' windows as designed and as screen readers read them.
#pragma once

#include <QList>
#include <QRect>
#include <QString>

class QAbstractButton;
class QGroupBox;
class QWidget;

namespace voltara::ui {

// The designed sizes assume a narrow dialog font; where a check box's or option button's caption
// needs more room in the font and style at hand, its letters narrow until it fits the designed
// width, so that it covers no neighbour. Only a caption that does not fit even then makes the
// control grow to the right.
void FitWidth(QAbstractButton *button);

// Keeps a frame's controls clear of its caption: where the frame's style leaves less room above
// them than the design (designedTop, the first row's top in pixels), all of them move down as
// far as the caption needs.
void KeepBelowCaption(QGroupBox *frame, int designedTop);

// A frame with a caption at its designed place. Screen readers name it after its own caption,
// also when setTitle changes it (Qt would name a frame inside a frame after the outer one).
QGroupBox *NewFrame(QWidget *parent, const char *name, const QString &caption, const QRect &place);

// Puts option buttons into a box that draws nothing, named heading, so that a screen reader
// announces them under that heading, as it does only for buttons in a group box. The box
// starts at their parent's origin, so the buttons keep their coordinates, and lies below its
// siblings, so it takes no mouse event from them.
void GroupOptionButtons(const QList<QWidget *> &buttons, const char *name, const QString &heading,
    const QString &description);

} // namespace voltara::ui
