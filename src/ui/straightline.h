// The straight decorative lines of both main windows, placed in twips like every control.
#pragma once

class QFrame;
class QString;
class QWidget;

namespace voltara::ui {

// Adds a one-pixel line in the window text colour from (x1, y1) to (x2, y2), in twips relative
// to parent. The line must be horizontal or vertical. The object name, when given, lets tests
// and tools find it.
QFrame *AddStraightLine(QWidget *parent, int x1, int y1, int x2, int y2, const QString &name);

} // namespace voltara::ui
