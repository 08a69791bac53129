// The fonts the windows were designed for. Where one is missing, the nearest family of the same
// kind stands in at the same size, so captions fit the designed places.
#pragma once

#include <QFont>
#include <QString>

namespace voltara::ui {

// The family itself where the system has it, else an installed family of the kind the hint
// names (SansSerif, Serif or Monospace). On Linux fontconfig finds the nearest family by
// itself, and the name is kept.
QString InstalledFamily(const QString &family, QFont::StyleHint hint);

// Gives the application's own font (message boxes, menus) the same treatment. Called once,
// right after the application object is made.
void UseInstalledApplicationFont();

inline QFont DesignFont()
{
    QFont font(InstalledFamily(QStringLiteral("MS Sans Serif"), QFont::SansSerif), 8);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

} // namespace voltara::ui
