#include "ui/statusline.h"

#include <QLabel>

namespace voltara::ui {

StatusLine::StatusLine(QWidget *parent)
    : QStatusBar(parent)
    , m_text(new QLabel(this))
{
    setSizeGripEnabled(false);
    m_text->setObjectName(QStringLiteral("SimpleText"));
    m_text->setTextFormat(Qt::PlainText);
    addWidget(m_text, 1);
}

void StatusLine::setSimpleText(const QString &text)
{
    m_text->setText(text);
}

QString StatusLine::simpleText() const
{
    return m_text->text();
}

} // namespace voltara::ui
