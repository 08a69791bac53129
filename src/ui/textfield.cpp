#include "ui/textfield.h"

#include <QFontMetrics>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QValidator>

#include <algorithm>

namespace voltara::ui {

// Qt validates what the user types, pastes or drops, and leaves a text set by the program as it
// is: a refused edit is undone.
class TextField::LengthRule : public QValidator
{
public:
    LengthRule(int limit, QObject *parent)
        : QValidator(parent)
        , m_limit(limit)
        , m_allowed(limit)
    {
    }

    void allow(qsizetype length) { m_allowed = std::max<qsizetype>(m_limit, length); }

    State validate(QString &text, int &) const override
    {
        if (text.size() > m_allowed)
            return Invalid;
        m_allowed = std::max<qsizetype>(m_limit, text.size());
        return Acceptable;
    }

private:
    const qsizetype m_limit;
    mutable qsizetype m_allowed;
};

TextField::TextField(int typingLimit, QWidget *parent)
    : QLineEdit(parent)
    , m_rule(new LengthRule(typingLimit, this))
{
    setValidator(m_rule);
}

void TextField::showText(const QString &text)
{
    m_rule->allow(text.size());
    setText(text);
    setCursorPosition(0);
}

int TextField::widthFor(const QString &text) const
{
    // As QLineEdit::sizeHint measures, with this text in place of its standard width. The
    // margin of 2 on each side is QLineEdit's own, fixed inside Qt.
    QStyleOptionFrame option;
    initStyleOption(&option);
    const QMargins margins = textMargins() + contentsMargins();
    const int inner =
        fontMetrics().horizontalAdvance(text) + 2 * 2 + margins.left() + margins.right() + 1;
    return style()
        ->sizeFromContents(QStyle::CT_LineEdit, &option, QSize(inner, height()), this)
        .width();
}

} // namespace voltara::ui
