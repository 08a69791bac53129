#include "ui/eventhook.h"

#include <QObject>

namespace voltara::ui {

namespace {

class EventHook : public QObject
{
public:
    EventHook(QObject *owner, EventHandler handler)
        : QObject(owner)
        , m_handler(std::move(handler))
    {
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        return m_handler(watched, event) || QObject::eventFilter(watched, event);
    }

private:
    EventHandler m_handler;
};

} // namespace

QObject *OnEvent(QObject *object, QObject *owner, EventHandler handler)
{
    auto *hook = new EventHook(owner, std::move(handler));
    object->installEventFilter(hook);
    return hook;
}

} // namespace voltara::ui
