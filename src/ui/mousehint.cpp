#include "ui/mousehint.h"

#include <QEvent>
#include <QObject>
#include <QWidget>

namespace voltara::ui {

namespace {

class MouseMoveFilter : public QObject
{
public:
    MouseMoveFilter(QWidget *widget, std::function<void()> action)
        : QObject(widget)
        , m_action(std::move(action))
    {
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::MouseMove)
            return QObject::eventFilter(watched, event);
        m_action();
        return false; // the widget still gets its own move (a held button tracks it)
    }

private:
    std::function<void()> m_action;
};

} // namespace

void OnMouseMove(QWidget *widget, std::function<void()> action)
{
    widget->setMouseTracking(true);
    widget->setAttribute(Qt::WA_NoMousePropagation);
    widget->installEventFilter(new MouseMoveFilter(widget, std::move(action)));
}

} // namespace voltara::ui
