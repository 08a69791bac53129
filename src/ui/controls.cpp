#include "ui/controls.h"

#include "ui/accessible.h"

#include <QAccessibleWidget>
#include <QGroupBox>
#include <QWidget>

#include <algorithm>

namespace voltara::ui {

namespace {

// A frame that a screen reader names after its own caption, whenever it changes: Qt's own
// interface names a frame inside another frame after the outer one.
class Frame : public QGroupBox
{
    Q_OBJECT

public:
    using QGroupBox::QGroupBox;
};

class FrameAccessible : public QAccessibleWidget
{
public:
    explicit FrameAccessible(Frame *frame)
        : QAccessibleWidget(frame, QAccessible::Grouping)
    {
    }

    QString text(QAccessible::Text type) const override
    {
        const QString own = QAccessibleWidget::text(type);
        if (type != QAccessible::Name || !widget()->accessibleName().isEmpty())
            return own;
        QString title = static_cast<const Frame *>(widget())->title();
        return title.remove(QLatin1Char('&'));
    }
};

class OptionGroup : public QGroupBox
{
public:
    using QGroupBox::QGroupBox;

protected:
    void paintEvent(QPaintEvent *) override { }
};

} // namespace

void FitWidth(QWidget *widget)
{
    widget->resize(std::max(widget->width(), widget->sizeHint().width()), widget->height());
}

QGroupBox *NewFrame(QWidget *parent, const char *name, const QString &caption, const QRect &place)
{
    auto *frame = new Frame(caption, parent);
    UseAccessible<Frame, FrameAccessible>();
    frame->setObjectName(QLatin1String(name));
    frame->setGeometry(place);
    return frame;
}

void GroupOptionButtons(const QList<QWidget *> &buttons, const char *name, const QString &heading,
    const QString &description)
{
    QWidget *parent = buttons.constFirst()->parentWidget();
    QRect bounds;
    for (QWidget *button : buttons)
        bounds |= button->geometry();
    auto *group = new OptionGroup(heading, parent);
    group->setObjectName(QString::fromLatin1(name));
    // Inside a frame, Qt would name it after the frame.
    group->setAccessibleName(heading);
    group->setAccessibleDescription(description);
    group->setGeometry(0, 0, bounds.right() + 1, bounds.bottom() + 1);
    group->lower();
    for (QWidget *button : buttons) {
        const QRect place = button->geometry();
        button->setParent(group);
        button->setGeometry(place);
    }
}

} // namespace voltara::ui

#include "controls.moc"
