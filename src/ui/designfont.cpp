#include "ui/designfont.h"

#include <QApplication>
#include <QColor>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QPalette>
#include <QStringList>

namespace voltara::ui {

QString InstalledFamily(const QString &family, QFont::StyleHint hint)
{
#ifdef _WIN32
    // Qt on Windows falls back to whichever family comes first. Under Wine that is often a
    // mathematical font, whose tall glyph boxes push a line edit's text out of sight.
    if (QFontInfo(QFont(family)).family().compare(family, Qt::CaseInsensitive) == 0)
        return family;
    static const QStringList sans {QStringLiteral("Microsoft Sans Serif"),
        QStringLiteral("Segoe UI"), QStringLiteral("Tahoma"), QStringLiteral("Arial"),
        QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")};
    static const QStringList serif {QStringLiteral("Times New Roman"),
        QStringLiteral("Liberation Serif"), QStringLiteral("DejaVu Serif")};
    static const QStringList mono {QStringLiteral("Courier New"), QStringLiteral("Liberation Mono"),
        QStringLiteral("DejaVu Sans Mono")};
    const QStringList &candidates =
        hint == QFont::Serif ? serif : (hint == QFont::Monospace ? mono : sans);
    for (const QString &candidate : candidates) {
        if (QFontDatabase::hasFamily(candidate))
            return candidate;
    }
#else
    (void)hint;
#endif
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
