// Tavrin's window as designed: places and sizes in twips, the captions of what is no setting,
// and the hint numbers of the labels that are no setting.
#pragma once

#include "core/personality.h"
#include "ui/geometry.h"

namespace tavrin {

using voltara::ui::Place;

constexpr int kClientWidth = 9960, kFieldAreaHeight = 6795; // the client area above the status bar
constexpr int kStatusHeight = 315;
constexpr int kDefaultHint = 26, kViewBotHint = 27;

// The two headed boxes at the top, of the default personality and of the bot selector. Their
// headings span the window; a box's top line is broken where its heading's text stands.
struct HeadedBox
{
    const char *heading;
    int headingTop;
    int top, bottom; // of the box's lines
};
constexpr HeadedBox kDefaultBox = {"Default personality", 0, 120, 690};
constexpr HeadedBox kViewBox = {"View Bot", 840, 960, 1530};
constexpr Place kHeading = {60, 0, 9795, 255}; // left, width and height of both headings
// The field right of the default personality's heading that shows the stored text.
constexpr int kMirrorWidth = 375, kMirrorHeight = 255;

// The default-personality row: "Random", then "Bot 1" to "Bot 9", one button every 960 twips.
constexpr Place kFirstRowButton = {240, 300, 795, 315};
constexpr int kRowPitch = 960;

constexpr Place kSelector = {240, 1140, 9435, 315};
constexpr Place kBotFrame = {60, 1620, 9795, 5175};
constexpr Place kLoadDefaults = {6540, 4800, 1875, 255}; // in the bot frame

// The value column of a group frame: a list every 420 twips, its label to its left and a little
// lower (the tops here are those of the first row).
constexpr Place kList = {1860, 0, 675, 315};
constexpr Place kLabel = {240, 60, 1455, 255};
constexpr int kRowStep = 420;

// Below the lists of the Others frame: the aggression buttons and the transkiller box.
constexpr int kAggressiveTop = 3180, kDefensiveTop = 3420, kNormalTop = 3660;
constexpr int kAggressionWidth = 1035, kAggressionHeight = 240;
constexpr Place kTransKiller = {kList.left, 3960, 1035, 255};

struct GroupFrame
{
    voltara::SettingGroup group;
    const char *name;
    const char *caption;
    Place place;
    int firstRowTop;
};

constexpr GroupFrame kGroupFrames[] = {
    {voltara::kGroupAttacks, "fraAttacks", "Attacks", {240, 360, 3015, 4575},   300},
    {voltara::kGroupMelee,   "fraMelee",   "Melee",   {3420, 360, 2955, 1215},  300},
    {voltara::kGroupChat,    "fraChat",    "Chat",    {3420, 1620, 2955, 3315}, 300},
    {voltara::kGroupOthers,  "fraOther",   "Others",  {6540, 360, 2955, 4335},  240},
};

} // namespace tavrin
