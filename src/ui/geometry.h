// Designed sizes are in twips; 15 twips make one pixel at 96 dots per inch.
#pragma once

#include <QRect>

namespace voltara::ui {

constexpr int Twips(int twips)
{
    return (twips + 7) / 15;
}

constexpr QRect TwipsRect(int left, int top, int width, int height)
{
    return QRect(Twips(left), Twips(top), Twips(width), Twips(height));
}

} // namespace voltara::ui
