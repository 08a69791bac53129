#include "ui/droppedpress.h"

#include <QCoreApplication>
#include <QEvent>
#include <QMouseEvent>
#include <QTimer>

namespace voltara::ui {

namespace {

class PressDropper : public QObject
{
public:
    PressDropper(QObject *context, std::function<void()> action)
        : QObject(context)
        , m_action(std::move(action))
    {
        QCoreApplication::instance()->installEventFilter(this);
        QTimer::singleShot(0, this, [this] {
            if (!m_seen)
                finish();
        });
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // Only what reaches a widget: the window underneath keeps its own record of the pressed
        // control, and clears it on the release.
        if (!watched->isWidgetType())
            return false;
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::MouseButtonRelease:
            m_seen = true;
            if (static_cast<QMouseEvent *>(event)->buttons() == Qt::NoButton)
                finish();
            return true;
        case QEvent::Wheel:
            m_seen = true;
            finish();
            return true;
        default:
            return false;
        }
    }

private:
    void finish()
    {
        if (m_done)
            return;
        m_done = true;
        QCoreApplication::instance()->removeEventFilter(this);
        QTimer::singleShot(0, parent(), m_action);
        deleteLater();
    }

    std::function<void()> m_action;
    bool m_seen = false;
    bool m_done = false;
};

} // namespace

void DropPressThen(QObject *context, std::function<void()> action)
{
    new PressDropper(context, std::move(action));
}

} // namespace voltara::ui
