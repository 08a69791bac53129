#include "valuelist.h"

#include "messagebox.h"
#include "text.h"

#include <QFocusEvent>

#include <optional>

namespace voltara::ui {

ValueList::ValueList(QWidget *parent)
    : QComboBox(parent)
{
    setEditable(false);
    // Any choice by the user, by mouse, keys or wheel, arrives as activated; a change made by
    // the program does not.
    connect(this, &QComboBox::activated, this, [this] { m_picked = true; });
}

void ValueList::fillRange(int first, int last)
{
    clear();
    m_extraIndex = -1;
    for (int value = first; value <= last; ++value)
        addItem(QString::number(value));
    // The first entry added becomes the current one; nothing is on show until a value is.
    setCurrentIndex(-1);
    m_picked = false;
}

void ValueList::showStored(const std::string &stored)
{
    removeExtraEntry();
    m_stored = stored;
    m_picked = false;
    const std::optional<int> value = ToWholeNumber(stored);
    const int entry = value ? findText(QString::number(*value)) : -1;
    if (entry >= 0) {
        setCurrentIndex(entry);
        return;
    }
    // Below the range the extra entry goes first, otherwise last, so the list stays in order.
    const bool below = value && count() > 0 && *value < itemText(0).toInt();
    m_extraIndex = below ? 0 : count();
    insertItem(m_extraIndex, FromBytes(stored));
    setCurrentIndex(m_extraIndex);
}

void ValueList::removeExtraEntry()
{
    if (m_extraIndex < 0)
        return;
    removeItem(m_extraIndex);
    m_extraIndex = -1;
}

void ValueList::focusOutEvent(QFocusEvent *event)
{
    QComboBox::focusOutEvent(event);
    if (event->reason() == Qt::PopupFocusReason || event->reason() == Qt::ActiveWindowFocusReason)
        return;
    if (!m_picked)
        return;
    m_picked = false;
    const int index = currentIndex();
    if (index < 0)
        return;
    if (index != m_extraIndex) {
        // The picked number is now the stored text; the old one is no longer on offer.
        m_stored = ToBytes(itemText(index));
        removeExtraEntry();
    }
    emit committed(m_stored);
}

} // namespace voltara::ui
