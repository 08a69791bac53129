// Code names a setting through the tables' names, so that a misspelt one fails to compile: the
// build tests compile this file as it is, and once for each kind with one name misspelt.
#include "core/personality.h"
#include "core/superbot.h"

#ifdef VOLTARA_MISSPELT_PERSONALITY
constexpr auto kPersonalitySetting = voltara::Setting::melee_percnt;
#else
constexpr auto kPersonalitySetting = voltara::Setting::melee_percent;
#endif

#ifdef VOLTARA_MISSPELT_SUPERBOT
constexpr auto kSuperbotSetting = voltara::SuperbotSetting::ki_gian;
#else
constexpr auto kSuperbotSetting = voltara::SuperbotSetting::ki_gain;
#endif

static_assert(voltara::FieldOf(kPersonalitySetting).kind == voltara::FieldKind::Percent);
static_assert(voltara::FieldOf(kSuperbotSetting).unlimited);
