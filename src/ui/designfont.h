// The fonts the windows were designed for. Where one is missing, the nearest family of the same
// kind stands in at the same size, so captions fit the designed places.
#pragma once

#include <QFont>
#include <QString>

class QLabel;

namespace voltara::ui {

// The family itself where the system has it as an outline font, else the installed outline
// family of the kind the hint names (SansSerif, Serif or Monospace) that is most like the
// Windows faces; the name itself when none is installed, for the system to match.
QString InstalledFamily(const QString &family, QFont::StyleHint hint);

// Gives the application's own font (message boxes, menus) the same treatment. Called once,
// right after the application object is made.
void UseInstalledApplicationFont();

// The family, or the installed stand-in of its kind, at a size in points.
inline QFont InstalledFont(const QString &family, QFont::StyleHint hint, double points)
{
    QFont font(InstalledFamily(family, hint));
    font.setStyleHint(hint);
    font.setPointSizeF(points);
    return font;
}

inline QFont DesignFont()
{
    return InstalledFont(QStringLiteral("MS Sans Serif"), QFont::SansSerif, 8);
}

// The red text of the About and Credits windows: plain text in the font, centred at the top.
void MakeRedText(QLabel *label, const QFont &font);

} // namespace voltara::ui
