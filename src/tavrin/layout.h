// Tavrin's window as designed: places and sizes in twips, the captions of what is no setting,
// and the hint numbers of the labels that are no setting.
#pragma once

#include "core/personality.h"
#include "ui/geometry.h"

namespace tavrin {

using voltara::ui::Place;

constexpr int kClientWidth = 9960;
constexpr int kFieldAreaHeight = 6795; // the client area above the status bar
constexpr int kStatusHeight = 315;
constexpr int kLabelHeight = 255;
constexpr int kDefaultHint = 26;
constexpr int kViewBotHint = 27;

// The two headed boxes at the top: the default personality and the bot selector. Their
// headings span the window; the boxes' lines are broken where a heading's text stands.
constexpr const char *kDefaultHeading = "Default personality";
constexpr const char *kViewHeading = "View Bot";
constexpr int kHeadingLeft = 60;
constexpr int kHeadingWidth = 9795;
constexpr int kDefaultHeadingTop = 0;
constexpr int kViewHeadingTop = 840;
constexpr int kDefaultBoxTop = 120; // the top line of each box, and its bottom end
constexpr int kDefaultBoxBottom = 690;
constexpr int kViewBoxTop = 960;
constexpr int kViewBoxBottom = 1530;
constexpr int kMirrorWidth = 375; // the field beside the heading that shows the stored text
constexpr int kMirrorHeight = 255;

// The default-personality row: "Random", then "Bot 1" to "Bot 9", one button every 960 twips.
constexpr int kRowLeft = 240;
constexpr int kRowPitch = 960;
constexpr int kRowTop = 300;
constexpr int kRowButtonWidth = 795;
constexpr int kRowButtonHeight = 315;

constexpr Place kSelector = {240, 1140, 9435, 315};
constexpr Place kBotFrame = {60, 1620, 9795, 5175};
constexpr Place kLoadDefaults = {6540, 4800, 1875, 255}; // in the bot frame

// The value column of a group frame: lists every 420 twips, labels to their left.
constexpr int kListLeft = 1860;
constexpr int kListWidth = 675;
constexpr int kListHeight = 315;
constexpr int kRowStep = 420;
constexpr int kLabelLeft = 240;
constexpr int kLabelWidth = 1455;
constexpr int kLabelDrop = 60;

// Below the lists of the Others frame: the aggression buttons and the transkiller box.
constexpr int kAggressiveTop = 3180;
constexpr int kDefensiveTop = 3420;
constexpr int kNormalTop = 3660;
constexpr int kAggressionWidth = 1035;
constexpr int kAggressionHeight = 240;
constexpr Place kTransKiller = {kListLeft, 3960, 1035, 255};

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
