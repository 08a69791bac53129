// What screen readers get for the project's own widget classes.
#pragma once

#include <QAccessible>
#include <QAccessibleWidget>
#include <QString>

namespace voltara::ui {

// Makes screen readers meet every widget of class Widget through an Accessible made from it
// (a QAccessibleInterface constructed from a Widget *). Call it in Widget's constructor: the
// factory is installed once, for the first widget.
template <typename Widget, typename Accessible> void UseAccessible()
{
    static const bool installed = [] {
        QAccessible::installFactory([](const QString &key, QObject *object) {
            return key == QLatin1String(Widget::staticMetaObject.className())
                ? static_cast<QAccessibleInterface *>(new Accessible(static_cast<Widget *>(object)))
                : nullptr;
        });
        return true;
    }();
    static_cast<void>(installed);
}

// A widget's accessible face that also offers Extra, one more of Qt's interfaces (a value, a
// text), of type kType, which the class deriving from it implements.
template <typename Extra, QAccessible::InterfaceType kType>
class AccessibleWith : public QAccessibleWidget, public Extra
{
public:
    AccessibleWith(QWidget *widget, QAccessible::Role role)
        : QAccessibleWidget(widget, role)
    {
    }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == kType)
            return static_cast<Extra *>(this);
        return QAccessibleWidget::interface_cast(type);
    }
};

} // namespace voltara::ui
