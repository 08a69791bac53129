// The value lists of both main windows: drop-down lists of whole numbers that store their
// value only when the user has picked one, so that showing a stored text never edits it.
#pragma once

#include <QComboBox>

#include <string>

namespace voltara::ui {

class NumberListModel;

class ValueList : public QComboBox
{
    Q_OBJECT

public:
    explicit ValueList(QWidget *parent = nullptr);

    // Empties the list and offers the decimal texts of first to last in ascending order (no
    // typing), so that an entry's position is its value minus first. No entry is selected
    // until a stored text is shown. Forgets any pick.
    void fillRange(int first, int last);

    // Shows a stored text without changing it: the entry of its value rounded to a whole
    // number (halves to even) when the list offers it, else one extra entry that carries the
    // stored text itself (a number outside the range, or a text that is not a number). An
    // earlier extra entry goes away. Forgets any pick.
    void showStored(const std::string &stored);

    // When on, the list takes the size its entries need (what QComboBox::sizeHint gives for
    // them) whenever they change, like QComboBox::AdjustToContents but without measuring
    // every entry of every list: the range is measured once for all lists alike.
    void setFitToEntries(bool fit);

    // True when the user has picked an entry (mouse, keys or wheel) since the last show.
    bool hasPick() const { return m_picked; }
    void forgetPick() { m_picked = false; }

signals:
    // The list lost the keyboard focus to another control of its window with a pick pending;
    // text is the picked entry's text (the stored text itself for the extra entry). The pick
    // is then settled, and an extra entry that no longer holds the stored text goes away.
    // Opening the list's own drop-down or a menu, and switching to another
    // window, do not count as losing the focus.
    void committed(const std::string &text);

protected:
    void focusOutEvent(QFocusEvent *event) override;

private:
    void fit();
    void announcePick(int index);

    NumberListModel *m_model;
    std::string m_stored;
    bool m_picked = false;
    bool m_fit = false;
};

} // namespace voltara::ui
