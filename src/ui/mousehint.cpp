#include "ui/mousehint.h"

#include "ui/eventhook.h"

#include <QEvent>
#include <QWidget>

namespace voltara::ui {

void OnMouseMove(QWidget *widget, std::function<void()> action)
{
    widget->setMouseTracking(true);
    widget->setAttribute(Qt::WA_NoMousePropagation);
    OnEvent(widget, widget, [action = std::move(action)](QObject *, QEvent *event) {
        if (event->type() == QEvent::MouseMove)
            action();
        return false; // the widget still gets its own move (a held button tracks it)
    });
}

} // namespace voltara::ui
