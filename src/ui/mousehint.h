// Mouse-over hints: the labels, frames and buttons of both main windows raise or clear the
// status-bar hint when the mouse moves over them.
#pragma once

#include <functional>

class QWidget;

namespace voltara::ui {

// Runs action whenever the mouse moves over the widget's own surface, with or without a
// button held (mouse tracking is switched on). The move does not travel on to the parent, so a
// label's hint is not cleared by the frame that holds the label.
void OnMouseMove(QWidget *widget, std::function<void()> action);

} // namespace voltara::ui
