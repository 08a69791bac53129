// Running code when an event reaches an object, without a class of its own for every case.
#pragma once

#include <functional>

class QEvent;
class QObject;

namespace voltara::ui {

// Runs handler for every event that reaches object (the application object: every event of the
// program) before the object gets it; handler returns true to keep the event from it. The hook
// is a child of owner, and stops with it or when deleted.
using EventHandler = std::function<bool(QObject *watched, QEvent *event)>;
QObject *OnEvent(QObject *object, QObject *owner, EventHandler handler);

} // namespace voltara::ui
