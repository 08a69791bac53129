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

// A designed place in twips, as the windows' layout tables give them.
struct Place
{
    int left, top, width, height;
};

constexpr QRect TwipsRect(const Place &place)
{
    return TwipsRect(place.left, place.top, place.width, place.height);
}

// A designed straight line from one point to another, in twips.
struct Stroke
{
    int x1, y1, x2, y2;
};

} // namespace voltara::ui
