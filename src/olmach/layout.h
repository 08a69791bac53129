// Olmach's window as designed: places and sizes in twips, and the names and captions of what the
// table of settings does not give.
#pragma once

#include "core/superbot.h"
#include "ui/geometry.h"

#include <array>

namespace olmach {

using voltara::SuperbotSetting;
using voltara::ui::Place;
using voltara::ui::Stroke;

constexpr int kClientWidth = 8100;
constexpr int kFieldAreaHeight = 4125; // the client area above the status bar
constexpr int kStatusHeight = 315;

// The bot selector under its heading, in an open box broken where the heading stands.
constexpr const char *kViewHeading = "View Bot";
constexpr Place kHeading = {0, 0, 7995, 195};
constexpr Stroke kHeadingBox[] = {
    {120,  180, 3600, 180},
    {120,  180, 120,  660},
    {4380, 180, 7920, 180},
    {7920, 180, 7920, 660},
};
constexpr Place kSelector = {240, 300, 7575, 315};
constexpr Place kTierFrame = {60, 780, 7935, 3255};
constexpr Place kLoadDefaults = {4260, 2280, 1875, 735}; // in the tier frame

// Each setting's frame in the tier frame, and the control in it.
struct FieldFrame
{
    SuperbotSetting setting;
    const char *name;
    Place place;
    Place control; // in the frame
};
constexpr FieldFrame kFieldFrames[] = {
    {SuperbotSetting::ki_gain,           "fraKI", {240, 420, 2295, 1515},  {180, 360, 1815, 495}},
    {SuperbotSetting::health_gain,       "fraHP", {2820, 420, 2295, 1515}, {180, 360, 1815, 495}},
    {SuperbotSetting::transparency_val,  "fraTR", {5400, 420, 2295, 1515}, {180, 360, 1815, 495}},
    {SuperbotSetting::sbotlaser_percent, "fraLS", {240, 2160, 1755, 915},  {240, 360, 1275, 315}},
    {SuperbotSetting::powerlevel,        "fraPL", {2220, 2160, 1815, 915}, {300, 360, 1155, 315}},
};

// What a slider has besides its range: its steps, and the check box under it that stores "-1"
// with the mark beside the box that shows a stored text the slider cannot show.
struct SliderDesign
{
    SuperbotSetting setting;
    int pageStep, tickInterval;
    const char *checkName;
    const char *checkCaption;
    const char *checkSpoken; // what a screen reader calls the check box
    const char *storedName;
};
constexpr SliderDesign kSliderDesigns[] = {
    {SuperbotSetting::ki_gain,          100, 100, "chkKI", "Unlimited", "Unlimited KI",     "lblStoredKI"},
    {SuperbotSetting::health_gain,      30,  45,  "chkHP", "Unlimited", "Unlimited health", "lblStoredHP"},
    {SuperbotSetting::transparency_val, 30,  51,  "chkTR", "Flashing",  "Flashing",         "lblStoredTR"},
};
constexpr Place kCheckBox = {300, 1020, 975, 315}; // in the slider's frame

// The order Tab moves in, after the selector and the load-defaults button: each slider followed
// by its check box.
constexpr SuperbotSetting kTabOrder[] = {SuperbotSetting::ki_gain, SuperbotSetting::health_gain,
    SuperbotSetting::powerlevel, SuperbotSetting::transparency_val,
    SuperbotSetting::sbotlaser_percent};

} // namespace olmach
