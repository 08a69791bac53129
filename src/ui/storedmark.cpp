#include "ui/storedmark.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QGroupBox>

#include <algorithm>

namespace voltara::ui {

namespace {

constexpr int kGap = 4; // pixels between the check box's caption and the mark

} // namespace

StoredMark::StoredMark(QCheckBox *beside, QGroupBox *frame)
    : QLabel(frame)
    , m_beside(beside)
    , m_frame(frame)
{
    const int left = beside->x() + std::min(beside->width(), beside->sizeHint().width()) + kGap;
    const int right = frame->contentsRect().right();
    setGeometry(left, beside->y(), right - left + 1, beside->height());
    setAlignment(Qt::AlignCenter);
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    hide();
}

QString StoredMark::showStored(const QString &text)
{
    const QString tip = text.isEmpty() ? QString() : QStringLiteral("Stored value: %1").arg(text);
    setToolTip(tip);
    fit(text.trimmed());
    setVisible(!text.isEmpty());
    return tip;
}

void StoredMark::fit(const QString &text)
{
    const QFontMetrics metrics = fontMetrics();
    const int border = frameWidth();
    const int width = this->width() - 2 * border;
    QString shown = metrics.elidedText(text, Qt::ElideRight, width);
    int height = m_beside->height();
    const int twoLines = 2 * metrics.lineSpacing() + 2 * border;
    const int room = m_frame->contentsRect().bottom() - y() + 1;
    if (shown != text && twoLines <= room) {
        qsizetype split = 1;
        while (split < text.size() && metrics.horizontalAdvance(text.left(split + 1)) <= width)
            ++split;
        shown = text.left(split) + QLatin1Char('\n')
            + metrics.elidedText(text.mid(split), Qt::ElideRight, width);
        height = std::max(height, twoLines);
    }
    resize(this->width(), height);
    setText(shown);
}

} // namespace voltara::ui
