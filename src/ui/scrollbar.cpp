#include "scrollbar.h"

#include <QKeyEvent>
#include <QPainter>

namespace voltara::ui {

ScrollBar::ScrollBar(QWidget *parent)
    : QScrollBar(Qt::Horizontal, parent)
{
}

void ScrollBar::keyPressEvent(QKeyEvent *event)
{
    SliderAction action = SliderNoAction;
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Up:
        action = SliderSingleStepSub;
        break;
    case Qt::Key_Right:
    case Qt::Key_Down:
        action = SliderSingleStepAdd;
        break;
    case Qt::Key_PageUp:
        action = SliderPageStepSub;
        break;
    case Qt::Key_PageDown:
        action = SliderPageStepAdd;
        break;
    case Qt::Key_Home:
        action = SliderToMinimum;
        break;
    case Qt::Key_End:
        action = SliderToMaximum;
        break;
    default:
        QScrollBar::keyPressEvent(event);
        return;
    }
    if (event->modifiers() & ~Qt::KeypadModifier) {
        // Keys with Ctrl, Alt or Shift belong to shortcuts and the window.
        event->ignore();
        return;
    }
    triggerAction(action);
    event->accept();
}

void ScrollBar::paintEvent(QPaintEvent *event)
{
    QScrollBar::paintEvent(event);
    if (!hasFocus())
        return;
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Highlight));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

} // namespace voltara::ui
