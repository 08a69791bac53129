// The font the windows were designed for. Where it is missing, the nearest sans-serif family
// stands in at the same size, so captions fit the designed places.
#pragma once

#include <QFont>

namespace voltara::ui {

inline QFont DesignFont()
{
    QFont font(QStringLiteral("MS Sans Serif"), 8);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

} // namespace voltara::ui
