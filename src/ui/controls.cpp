#include "ui/controls.h"

#include "ui/accessible.h"

#include <QAccessibleWidget>
#include <QFont>
#include <QAbstractButton>
#include <QGroupBox>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
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

// Where a check box's or option button's caption ends, from its left edge: after its mark, the
// style's spacing and the text.
int CaptionEnd(const QAbstractButton *button)
{
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    const QStyle::SubElement contents = qobject_cast<const QRadioButton *>(button)
        ? QStyle::SE_RadioButtonContents
        : QStyle::SE_CheckBoxContents;
    return button->style()->subElementRect(contents, &option, button).left()
        + button->fontMetrics().horizontalAdvance(button->text()) + 1;
}

} // namespace

void FitWidth(QAbstractButton *button)
{
    // Narrower letters of the same height, down to seven tenths of their width: narrower text
    // would be hard to read, and the control then grows instead.
    QFont font = button->font();
    for (int stretch = 95; CaptionEnd(button) > button->width() && stretch >= 70; stretch -= 5) {
        font.setStretch(stretch);
        button->setFont(font);
    }
    button->resize(std::max(button->width(), CaptionEnd(button)), button->height());
}

void KeepBelowCaption(QGroupBox *frame, int designedTop)
{
    const int shift = frame->contentsRect().top() - designedTop;
    if (shift <= 0)
        return;
    for (QWidget *control : frame->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        control->move(control->x(), control->y() + shift);
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
