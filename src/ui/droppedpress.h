// A modal box must not open inside the mouse press that moved the keyboard focus.
#pragma once

#include <functional>

class QObject;

namespace voltara::ui {

// Qt moves the focus before it hands a mouse press to the pressed control. A box opened from
// the focus leaving a field would run inside that press and take its release: the control would
// then go on as if the button were still held (a slider or scroll bar repeating its step
// forever). Call this from such a focus change instead: the press now being delivered (or the
// wheel turn), with the moves and the release that belong to it, reaches no control, and action
// runs from the event loop once the buttons are up. Nothing runs if context is destroyed
// first. When no mouse event follows at once (the focus moved for another reason), action runs
// from the event loop all the same.
void DropPressThen(QObject *context, std::function<void()> action);

} // namespace voltara::ui
