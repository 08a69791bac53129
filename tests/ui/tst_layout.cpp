// Both main windows as designed, in the fonts at hand: no control covers another or its frame's
// caption, at the scale factors of ordinary and high-density screens (QT_SCALE_FACTOR).
#include "olmach/frmolmach.h"
#include "tavrin/frmtavrin.h"
#include "ui/messagebox.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QStyle>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

// The part of a control that shows something, in the coordinates of parent: a label's text (a
// heading spans the window, with the box's lines beside its text), anything else all of it.
QRect InkOf(const QWidget *widget, const QWidget *parent)
{
    QRect ink = widget->rect();
    if (const auto *label = qobject_cast<const QLabel *>(widget)) {
        const QSize text = label->fontMetrics().size(0, label->text());
        ink = label->text().isEmpty()
            ? QRect()
            : QStyle::alignedRect(Qt::LeftToRight, label->alignment(), text, label->rect());
    }
    return ink.translated(widget->mapTo(parent, QPoint(0, 0)));
}

// The controls that show something, among the parent's own; a box that only groups option
// buttons for screen readers draws nothing, and its buttons count as the parent's.
QList<QWidget *> Shown(const QWidget *parent)
{
    QList<QWidget *> shown;
    for (QWidget *child : parent->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (!child->isVisibleTo(parent) || child->isWindow())
            continue;
        if (child->objectName().endsWith(QLatin1String("Group")))
            shown.append(Shown(child));
        else
            shown.append(child);
    }
    return shown;
}

// The straight lines of a box meet at its corners, as designed.
bool BothLines(const QWidget *a, const QWidget *b)
{
    return a->objectName().startsWith(QLatin1String("Line"))
        && b->objectName().startsWith(QLatin1String("Line"));
}

QString Name(const QWidget *widget)
{
    return widget->objectName().isEmpty() ? QString::fromLatin1(widget->metaObject()->className())
                                          : widget->objectName();
}

// Every pair of the parent's own controls, and the controls in a frame against its caption;
// then the same inside each of them.
void FindCovers(const QWidget *parent, QStringList &covers)
{
    const QList<QWidget *> shown = Shown(parent);
    for (qsizetype i = 0; i < shown.size(); ++i) {
        for (qsizetype j = i + 1; j < shown.size(); ++j) {
            if (!BothLines(shown[i], shown[j])
                && InkOf(shown[i], parent).intersects(InkOf(shown[j], parent)))
                covers << Name(shown[i]) + QStringLiteral(" ~ ") + Name(shown[j]);
        }
        const auto *frame = qobject_cast<const QGroupBox *>(parent);
        if (frame && InkOf(shown[i], parent).top() < frame->contentsRect().top())
            covers << Name(shown[i]) + QStringLiteral(" ~ the caption of ") + Name(parent);
        FindCovers(shown[i], covers);
    }
}

} // namespace

class TestLayout : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        voltara::ui::SetMessageBoxFunction([](QWidget *, const voltara::ui::MessageBoxRecord &) {});
    }

    void noControlCoversAnother_data()
    {
        QTest::addColumn<bool>("tavrin");
        QTest::newRow("Tavrin") << true;
        QTest::newRow("Olmach") << false;
    }

    void noControlCoversAnother()
    {
        QFETCH(bool, tavrin);
        QTemporaryDir folder;
        voltara::PersonalityConfig personalities;
        voltara::SuperbotConfig superbots;
        std::unique_ptr<voltara::ui::EditorWindow> window;
        if (tavrin)
            window = std::make_unique<frmTavrin>(personalities, folder.path().toStdString());
        else
            window = std::make_unique<frmOlmach>(superbots, folder.path().toStdString());
        window->Form_Load();
        QStringList covers;
        FindCovers(window->centralWidget(), covers);
        QVERIFY2(covers.isEmpty(), qPrintable(covers.join(QStringLiteral(", "))));
    }
};

QTEST_MAIN(TestLayout)
#include "tst_layout.moc"
