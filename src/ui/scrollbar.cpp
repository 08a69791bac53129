#include "ui/scrollbar.h"

#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QPainter>

#include <algorithm>

namespace voltara::ui {

namespace {

// What a screen reader reads for the bar: its number through ScrollBar::reading, which Qt's own
// scroll-bar interface cannot give, since it reads the internal value.
class ScrollBarAccessible : public QAccessibleWidget, public QAccessibleValueInterface
{
public:
    explicit ScrollBarAccessible(ScrollBar *bar)
        : QAccessibleWidget(bar, QAccessible::ScrollBar)
    {
    }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text type) const override
    {
        if (type == QAccessible::Value)
            return QString::number(bar()->reading(bar()->value()));
        return QAccessibleWidget::text(type);
    }

    QVariant currentValue() const override { return bar()->reading(bar()->value()); }
    void setCurrentValue(const QVariant &value) override
    {
        bar()->setValue(bar()->reading(value.toInt()));
    }
    QVariant minimumValue() const override
    {
        return std::min(bar()->reading(bar()->minimum()), bar()->reading(bar()->maximum()));
    }
    QVariant maximumValue() const override
    {
        return std::max(bar()->reading(bar()->minimum()), bar()->reading(bar()->maximum()));
    }
    QVariant minimumStepSize() const override { return bar()->singleStep(); }

private:
    ScrollBar *bar() const { return static_cast<ScrollBar *>(widget()); }
};

QAccessibleInterface *ScrollBarInterface(const QString &key, QObject *object)
{
    if (key == QLatin1String(ScrollBar::staticMetaObject.className()))
        return new ScrollBarAccessible(static_cast<ScrollBar *>(object));
    return nullptr;
}

} // namespace

ScrollBar::ScrollBar(QWidget *parent)
    : QScrollBar(Qt::Horizontal, parent)
{
    static const bool installed = (QAccessible::installFactory(ScrollBarInterface), true);
    (void)installed;
}

int ScrollBar::reading(int position) const
{
    // Mirroring is its own inverse, so the same rule turns a number back into a position.
    return m_mirrored ? minimum() + maximum() - position : position;
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
