// One-line text fields whose length limit holds for typing only.
#pragma once

#include <QLineEdit>

namespace voltara::ui {

// A QLineEdit's own maximum length also cuts the texts the program sets, so a field would show
// a stored value other than the one that is kept and saved. Here a text the program shows is
// shown whole, however long; typing cannot make a text longer than the limit, nor longer than
// the text on show, and once the user has brought it within the limit the limit holds.
class TextField : public QLineEdit
{
    Q_OBJECT

public:
    explicit TextField(int typingLimit, QWidget *parent = nullptr);

    // Shows text whole, with its start in sight, and forgets any edit (isModified() is false).
    void showText(const QString &text);

    // The width this field needs to show text whole, in its font and style.
    int widthFor(const QString &text) const;

private:
    class LengthRule;
    LengthRule *m_rule;
};

} // namespace voltara::ui
