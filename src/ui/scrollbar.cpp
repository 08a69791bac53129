#include "ui/scrollbar.h"

#include "ui/accessible.h"

#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QPainter>

#include <algorithm>

namespace voltara::ui {

namespace {

// What a screen reader reads for the bar: its number through ScrollBar::reading, which Qt's own
// scroll-bar interface cannot give, since it reads the internal value.
class ScrollBarAccessible
    : public AccessibleWith<QAccessibleValueInterface, QAccessible::ValueInterface>
{
public:
    explicit ScrollBarAccessible(ScrollBar *bar)
        : AccessibleWith(bar, QAccessible::ScrollBar)
    {
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

} // namespace

ScrollBar::ScrollBar(QWidget *parent)
    : QScrollBar(Qt::Horizontal, parent)
{
    UseAccessible<ScrollBar, ScrollBarAccessible>();
}

int ScrollBar::reading(int position) const
{
    // Mirroring is its own inverse, so the same rule turns a number back into a position.
    return m_mirrored ? minimum() + maximum() - position : position;
}

void ScrollBar::keyPressEvent(QKeyEvent *event)
{
    // The keys move the thumb the way they point.
    static const std::pair<int, SliderAction> kActions[] = {
        {Qt::Key_Left,     SliderSingleStepSub},
        {Qt::Key_Up,       SliderSingleStepSub},
        {Qt::Key_Right,    SliderSingleStepAdd},
        {Qt::Key_Down,     SliderSingleStepAdd},
        {Qt::Key_PageUp,   SliderPageStepSub  },
        {Qt::Key_PageDown, SliderPageStepAdd  },
        {Qt::Key_Home,     SliderToMinimum    },
        {Qt::Key_End,      SliderToMaximum    }
    };
    const auto found = std::find_if(std::begin(kActions), std::end(kActions),
        [event](const auto &entry) { return entry.first == event->key(); });
    if (found == std::end(kActions)) {
        QScrollBar::keyPressEvent(event);
        return;
    }
    if (event->modifiers() & ~Qt::KeypadModifier) {
        // Keys with Ctrl, Alt or Shift belong to shortcuts and the window.
        event->ignore();
        return;
    }
    triggerAction(found->second);
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

ScrollBar *NewRecordSelector(QWidget *parent, const QString &heading, const char *description,
    const QRect &place, int count, int pageStep)
{
    auto *bar = new ScrollBar(parent);
    bar->setObjectName(QStringLiteral("HSBNumber"));
    bar->setAccessibleName(heading);
    bar->setAccessibleDescription(QString::fromLatin1(description));
    bar->setGeometry(place);
    bar->setRange(1, count);
    bar->setSingleStep(1);
    bar->setPageStep(pageStep);
    bar->setValue(1);
    bar->setTracking(true);
    bar->setFocusPolicy(Qt::WheelFocus);
    return bar;
}

} // namespace voltara::ui
