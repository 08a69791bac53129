// The layout of sbot.cfg as data: the header, then per tier its section header, a line for each
// setting in record order, and an empty line. The writer walks these tables.
#pragma once

#include "core/comment_lines.h"
#include "core/superbot.h"

#include <iterator>
#include <string_view>

namespace voltara::superbot_layout {

// The heading of a key's description: "# key <value>", with the spacing the file has always had
// after it.
constexpr CommentLine NamesKey(SuperbotSetting setting, const char *after)
{
    return {FieldOf(setting).key, true, after};
}

// clang-format off
inline constexpr CommentLine kHeader[] = {
    {"# Super bot config file for the voltara_bot"},
    {"#"},
    {"# Lines started with a # and blank lines will be ignored"},
    {"#"},
    {"# Description: In this file you can modify some"},
    {"#              settings used by the super bots."},
    {"#"},
    {"# settings:"},
    {"#"},
    NamesKey(SuperbotSetting::ki_gain, " <value> "),
    {"# Specifies how much ki the superbot will recover every"},
    {"# second."},
    {"# Range: -1 - 1000. When specified -1 the bot has"},
    {"# unlimited ki."},
    {"#"},
    NamesKey(SuperbotSetting::health_gain, " <value> "),
    {"# Specifies how much health the superbot will recover"},
    {"# every second."},
    {"# Range: -1 - 180. When specified -1 the bot has unlimited"},
    {"# health."},
    {"#"},
    NamesKey(SuperbotSetting::powerlevel, " <value>"),
    {"# Specifies with how much powerlevel the superbot starts."},
    {"# Range: 1 - 99999999."},
    {"#"},
    NamesKey(SuperbotSetting::transparency_val, " <value>"),
    {"# Specifies the transparency value the superbot has."},
    {"# Range: -1 and 1 - 255. -1 = bot will flash, 1 = bot is invisible,"},
    {"# 255 = normal visible. Note: super bots will always flash when"},
    {"# they're on low health."},
    {"#"},
    NamesKey(SuperbotSetting::sbotlaser_percent, " <value>"),
    {"# specifies the percent that a superbot will use a super bot laser"},
    {"# to drain health or pl"},
    {""},
};
// clang-format on

// Every setting has its description in the header, once.
constexpr bool EachSettingDescribedOnce()
{
    for (const SuperbotFieldInfo &field : kSuperbotFields) {
        if (!HeadsOnce(kHeader, field.key))
            return false;
    }
    return true;
}
static_assert(EachSettingDescribedOnce());

// The header, then per tier its section header, its settings and an empty line.
inline constexpr int kFileLines =
    static_cast<int>(std::size(kHeader)) + kTierCount * (kSuperbotFieldCount + 2);

} // namespace voltara::superbot_layout
