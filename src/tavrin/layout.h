// Tavrin's window as designed: places and sizes in twips, the hint numbers of the labels that
// are no setting, and what a screen reader says of the controls that have no hint of their own.
#pragma once

#include "core/personality.h"

namespace tavrin {

constexpr int kClientWidth = 9960;
constexpr int kFieldAreaHeight = 6795; // the client area above the status bar
constexpr int kStatusHeight = 315;
constexpr int kHeadingLeft = 60;
constexpr int kHeadingWidth = 9795;
constexpr int kDefaultHeadingTop = 0;
constexpr int kViewHeadingTop = 840;
constexpr int kLabelHeight = 255;
constexpr int kDefaultHint = 26;
constexpr int kViewBotHint = 27;
constexpr int kNoHint = -2;
constexpr const char *kDefaultHintText = "Specifies the personality default bots use";
constexpr int kRowLeft = 240; // the default-personality row: one button every 960 twips
constexpr int kRowPitch = 960;
constexpr int kRowTop = 300;

// What a screen reader says of the controls that have no hint of their own.
constexpr const char *kViewBotText = "Chooses which of the nine bots the fields below show";
constexpr const char *kTransKillerText = "the transkiller switch of the bot";
constexpr const char *kLoadDefaultsText =
    "Gives every setting of the bot on view its default value";

// The value column of a group frame: lists every 420 twips, labels to their left.
constexpr int kListLeft = 1860;
constexpr int kListWidth = 675;
constexpr int kListHeight = 315;
constexpr int kRowStep = 420;
constexpr int kLabelLeft = 240;
constexpr int kLabelWidth = 1455;
constexpr int kLabelDrop = 60;

struct GroupFrame
{
    voltara::SettingGroup group;
    const char *name;
    const char *caption;
    int left, top, width, height;
    int firstRowTop;
};

constexpr GroupFrame kGroupFrames[] = {
    {voltara::kGroupAttacks, "fraAttacks", "Attacks", 240,  360,  3015, 4575, 300},
    {voltara::kGroupMelee,   "fraMelee",   "Melee",   3420, 360,  2955, 1215, 300},
    {voltara::kGroupChat,    "fraChat",    "Chat",    3420, 1620, 2955, 3315, 300},
    {voltara::kGroupOthers,  "fraOther",   "Others",  6540, 360,  2955, 4335, 240},
};

} // namespace tavrin
