#include "ui/valuelist.h"

#include "core/text.h"
#include "ui/accessible.h"
#include "ui/messagebox.h"

#include <QAbstractItemView>
#include <QAbstractListModel>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QtMath>

#include <algorithm>
#include <optional>

namespace voltara::ui {

// The entries of a value list, made when asked for rather than stored: a range of whole
// numbers and at most one extra entry before or after it. A window's lists hold thousands of
// entries between them; as items they would cost more to build than the whole window.
class NumberListModel : public QAbstractListModel
{
public:
    using QAbstractListModel::QAbstractListModel;

    int first() const { return m_first; }
    int rangeCount() const { return m_count; }
    int extraRow() const { return m_extraRow; }
    const QString &extraText() const { return m_extraText; }

    void setRange(int first, int last)
    {
        removeExtra();
        if (m_count > 0) {
            beginRemoveRows({}, 0, m_count - 1);
            m_count = 0;
            endRemoveRows();
        }
        m_first = first;
        if (last >= first) {
            beginInsertRows({}, 0, last - first);
            m_count = last - first + 1;
            endInsertRows();
        }
    }

    void insertExtra(int row, const QString &text)
    {
        removeExtra();
        beginInsertRows({}, row, row);
        m_extraRow = row;
        m_extraText = text;
        endInsertRows();
    }

    void removeExtra()
    {
        if (m_extraRow < 0)
            return;
        beginRemoveRows({}, m_extraRow, m_extraRow);
        m_extraRow = -1;
        m_extraText.clear();
        endRemoveRows();
    }

    int rowCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : m_count + (m_extraRow >= 0 ? 1 : 0);
    }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
            return {};
        const int row = index.row();
        if (row == m_extraRow)
            return m_extraText;
        const int offset = m_extraRow >= 0 && m_extraRow < row ? 1 : 0;
        return QString::number(m_first + row - offset);
    }

    Qt::ItemFlags flags(const QModelIndex &index) const override
    {
        return index.isValid() ? Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemNeverHasChildren
                               : Qt::NoItemFlags;
    }

private:
    int m_first = 0;
    int m_count = 0;
    int m_extraRow = -1;
    QString m_extraText;
};

namespace {

// The widest text of a range in a font. Every list of a window shows the same range in the
// same font, so the last answer is kept.
int RangeTextWidth(const QFont &font, int first, int count)
{
    static struct
    {
        QFont font;
        int first = 0;
        int count = -1;
        int width = 0;
    } last;
    if (count != last.count || first != last.first || font != last.font) {
        const QFontMetrics metrics(font);
        int width = 0;
        for (int value = first; value < first + count; ++value)
            width = std::max(width, metrics.boundingRect(QString::number(value)).width());
        last = {font, first, count, width};
    }
    return last.width;
}

// What a screen reader reads of a value list: its label's caption as its name and the entry on
// show as its value. Qt's own interface for a list gives the entry as the name on Linux, where
// Orca then takes the label for the name and finds no value: its value comes from the text
// interface, which this one offers, read only, with the entry's text.
class ValueListAccessible
    : public AccessibleWith<QAccessibleTextInterface, QAccessible::TextInterface>
{
public:
    explicit ValueListAccessible(ValueList *list)
        : AccessibleWith(list, QAccessible::ComboBox)
    {
    }

    // The drop-down's entries, as Qt's own interface shows them.
    int childCount() const override { return 1; }
    QAccessibleInterface *child(int index) const override
    {
        return index == 0 ? QAccessible::queryAccessibleInterface(list()->view()) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        return child && child->object() == list()->view() ? 0 : -1;
    }

    QString text(QAccessible::Text type) const override
    {
        if (type == QAccessible::Value)
            return list()->currentText();
        return QAccessibleWidget::text(type);
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.expandable = true;
        state.expanded = list()->view()->isVisible();
        return state;
    }

    QStringList actionNames() const override { return {showMenuAction(), pressAction()}; }
    void doAction(const QString &action) override
    {
        if (action == showMenuAction() || action == pressAction())
            list()->showPopup();
    }

    // The text interface: the entry on show, which cannot be edited or selected.
    QString text(int start, int end) const override
    {
        return list()->currentText().mid(start, end - start);
    }
    int characterCount() const override { return static_cast<int>(list()->currentText().size()); }
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override { }
    int selectionCount() const override { return 0; }
    void selection(int, int *start, int *end) const override { *start = *end = 0; }
    void addSelection(int, int) override { }
    void removeSelection(int) override { }
    void setSelection(int, int, int) override { }
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint &) const override { return -1; }
    void scrollToSubstring(int, int) override { }
    QString attributes(int, int *start, int *end) const override
    {
        *start = 0;
        *end = characterCount();
        return {};
    }

private:
    ValueList *list() const { return static_cast<ValueList *>(widget()); }
};

} // namespace

ValueList::ValueList(QWidget *parent)
    : QComboBox(parent)
    , m_model(new NumberListModel(this))
{
    UseAccessible<ValueList, ValueListAccessible>();
    setEditable(false);
    setModel(m_model);
    // Any choice by the user, by mouse, keys or wheel, arrives as activated; a change made by
    // the program does not.
    connect(this, &QComboBox::activated, this, [this](int index) {
        m_picked = true;
        announcePick(index);
    });
}

// A closed list tells assistive tools of a new value only by a change of its name, which screen
// readers take for a repeat and do not speak. The entry made current in the list's own view is
// announced, as it is when the user types the value.
void ValueList::announcePick(int index)
{
    if (!QAccessible::isActive() || view()->isVisible() || index < 0)
        return;
    view()->setCurrentIndex(model()->index(index, modelColumn()));
}

void ValueList::fillRange(int first, int last)
{
    m_model->setRange(first, last);
    // Nothing is on show until a value is.
    setCurrentIndex(-1);
    m_picked = false;
    fit();
}

void ValueList::showStored(const std::string &stored)
{
    const bool hadExtra = m_model->extraRow() >= 0;
    m_model->removeExtra();
    m_stored = stored;
    m_picked = false;
    const std::optional<int> value = ToWholeNumber(stored);
    const int first = m_model->first();
    const int count = m_model->rangeCount();
    if (value && *value >= first && *value - first < count) {
        setCurrentIndex(*value - first);
        if (hadExtra)
            fit();
        return;
    }
    // Below the range the extra entry goes first, otherwise last, so the list stays in order.
    const bool below = value && count > 0 && *value < first;
    const int row = below ? 0 : count;
    m_model->insertExtra(row, FromBytes(stored));
    setCurrentIndex(row);
    fit();
}

void ValueList::setFitToEntries(bool fit)
{
    m_fit = fit;
    this->fit();
}

// The size QComboBox::sizeHint gives for entries without icons whose widest text is that
// wide; the extra entry is measured alone.
void ValueList::fit()
{
    if (!m_fit || count() == 0)
        return;
    const QFontMetrics metrics = fontMetrics();
    int width = RangeTextWidth(font(), m_model->first(), m_model->rangeCount());
    if (m_model->extraRow() >= 0)
        width = std::max(width, metrics.boundingRect(m_model->extraText()).width());
    const QSize size(width, std::max(qCeil(QFontMetricsF(metrics).height()), 14) + 2);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    resize(style()->sizeFromContents(QStyle::CT_ComboBox, &option, size, this));
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
    if (index != m_model->extraRow()) {
        // The picked number is now the stored text; the old one is no longer on offer.
        m_stored = ToBytes(itemText(index));
        m_model->removeExtra();
        fit();
    }
    emit committed(m_stored);
}

} // namespace voltara::ui
