#include "ui/droppedpress.h"

#include "ui/eventhook.h"

#include <QCoreApplication>
#include <QEvent>
#include <QMouseEvent>
#include <QTimer>

#include <memory>

namespace voltara::ui {

namespace {

// The press being dropped: whether a mouse event of it has come yet, and whether action is on
// its way.
struct Dropping
{
    QObject *context = nullptr;
    QObject *hook = nullptr;
    std::function<void()> action;
    bool seen = false;
    bool done = false;

    void Finish()
    {
        if (done)
            return;
        done = true;
        hook->deleteLater();
        QTimer::singleShot(0, context, action);
    }
};

// Only what reaches a widget counts: the window underneath keeps its own record of the pressed
// control, and clears it on the release.
bool Drop(Dropping &dropping, QObject *watched, QEvent *event)
{
    if (dropping.done || !watched->isWidgetType())
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::MouseButtonRelease:
        dropping.seen = true;
        if (static_cast<QMouseEvent *>(event)->buttons() == Qt::NoButton)
            dropping.Finish();
        return true;
    case QEvent::Wheel:
        dropping.seen = true;
        dropping.Finish();
        return true;
    default:
        return false;
    }
}

} // namespace

void DropPressThen(QObject *context, std::function<void()> action)
{
    auto dropping = std::make_shared<Dropping>();
    dropping->context = context;
    dropping->action = std::move(action);
    dropping->hook = OnEvent(QCoreApplication::instance(), context,
        [dropping](QObject *watched, QEvent *event) { return Drop(*dropping, watched, event); });
    QTimer::singleShot(0, dropping->hook, [dropping] {
        if (!dropping->seen)
            dropping->Finish();
    });
}

} // namespace voltara::ui
