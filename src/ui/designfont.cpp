#include "ui/designfont.h"

#include <QApplication>
#include <QColor>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QPalette>
#include <QStringList>

namespace voltara::ui {

namespace {

// A family the programs can draw every character with: installed, and drawn from outlines. A
// bitmap face (Windows' "MS Sans Serif" and "Fixedsys", Wine's copies of them) loses glyphs on
// its way through Qt's font engines: under Wine a capital "I" is not drawn at all.
bool Drawable(const QString &family)
{
    return QFontDatabase::hasFamily(family) && QFontDatabase::isSmoothlyScalable(family);
}

} // namespace

// The stand-ins come in the order of their likeness to the Windows faces the windows were
// designed with: the same widths where a face is metric-compatible (Liberation's), so that
// captions fit the designed places.
QString InstalledFamily(const QString &family, QFont::StyleHint hint)
{
    if (Drawable(family))
        return family;
    static const QStringList sans {QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Arial"),
        QStringLiteral("Liberation Sans"), QStringLiteral("Tahoma"), QStringLiteral("Segoe UI"),
        QStringLiteral("DejaVu Sans")};
    static const QStringList serif {QStringLiteral("Times New Roman"),
        QStringLiteral("Liberation Serif"), QStringLiteral("DejaVu Serif")};
    static const QStringList mono {QStringLiteral("Courier New"), QStringLiteral("Liberation Mono"),
        QStringLiteral("DejaVu Sans Mono")};
    const QStringList &candidates =
        hint == QFont::Serif ? serif : (hint == QFont::Monospace ? mono : sans);
    for (const QString &candidate : candidates) {
        if (Drawable(candidate))
            return candidate;
    }
    return family;
}

void UseInstalledApplicationFont()
{
    QFont font = QApplication::font();
    const QString family = InstalledFamily(font.family(), QFont::SansSerif);
    if (family != font.family()) {
        font.setFamily(family);
        QApplication::setFont(font);
    }
}

void MakeRedText(QLabel *label, const QFont &font)
{
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, QColor(255, 0, 0));
    label->setPalette(palette);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label->setTextFormat(Qt::PlainText);
}

} // namespace voltara::ui
