#include "ui/picture.h"

#include "ui/eventhook.h"

#include <QEvent>
#include <QFile>
#include <QLabel>
#include <QPixmap>
#include <QScreen>
#include <QString>
#include <QWindow>

namespace voltara::ui {

namespace {

constexpr const char *kFollowsScreen = "voltaraFollowsScreen";

QString DrawingFor(const QString &resource, qreal ratio)
{
    if (ratio <= 1.0)
        return resource;
    const qsizetype dot = resource.lastIndexOf(QLatin1Char('.'));
    const QString sharp = resource.left(dot) + QStringLiteral("@2x") + resource.mid(dot);
    return QFile::exists(sharp) ? sharp : resource;
}

} // namespace

void ShowPicture(QLabel *label, const QString &resource)
{
    // A stretched label scales its picture to its size in device pixels: from the 1x drawing
    // that is an enlargement, soft at a ratio of 2; from the 2x one a slight reduction.
    label->setPixmap(QPixmap(DrawingFor(resource, label->devicePixelRatioF())));
    QWindow *window = label->window()->windowHandle();
    if (!window || label->property(kFollowsScreen).toBool())
        return;
    label->setProperty(kFollowsScreen, true);
    QObject::connect(window, &QWindow::screenChanged, label,
        [label, resource] { ShowPicture(label, resource); });
}

QLabel *AddBackgroundPicture(QWidget *window, const QString &resource)
{
    auto *label = new QLabel(window);
    label->setObjectName(QStringLiteral("Image1"));
    ShowPicture(label, resource);
    label->setScaledContents(true);
    label->setGeometry(window->rect());
    OnEvent(window, label, [window, label](QObject *, QEvent *event) {
        if (event->type() == QEvent::Resize)
            label->setGeometry(window->rect());
        return false;
    });
    return label;
}

} // namespace voltara::ui
