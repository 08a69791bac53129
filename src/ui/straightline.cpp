#include "ui/straightline.h"

#include "ui/geometry.h"

#include <QFrame>
#include <QPalette>
#include <QString>

#include <algorithm>

namespace voltara::ui {

QFrame *AddStraightLine(QWidget *parent, int x1, int y1, int x2, int y2, const QString &name)
{
    auto *line = new QFrame(parent);
    line->setObjectName(name);
    line->setFrameShape(QFrame::NoFrame);
    // A filled one-pixel strip is exact in every style, where QFrame::HLine is drawn by the
    // style and may take two pixels or a shadow.
    QPalette palette = line->palette();
    palette.setColor(QPalette::Window, palette.color(QPalette::WindowText));
    line->setPalette(palette);
    line->setAutoFillBackground(true);
    const int left = Twips(std::min(x1, x2));
    const int top = Twips(std::min(y1, y2));
    const int width = std::max(1, Twips(std::max(x1, x2)) - left + 1);
    const int height = std::max(1, Twips(std::max(y1, y2)) - top + 1);
    line->setGeometry(left, top, x1 == x2 ? 1 : width, y1 == y2 ? 1 : height);
    return line;
}

} // namespace voltara::ui
