// The layout of bot_personality.cfg as data: the header, the general option, and one block per
// personality. The writer walks these tables; the order and spacing of the file live here only.
#pragma once

#include "core/comment_lines.h"
#include "core/personality.h"

#include <iterator>
#include <string_view>

namespace voltara::personality_layout {

// clang-format off
// The heading of a key's description: "# key :".
constexpr CommentLine NamesKey(const char *key)
{
    return {key, true, " :"};
}

constexpr CommentLine NamesKey(Setting setting)
{
    return NamesKey(FieldOf(setting).key);
}

constexpr CommentLine kHeader[] = {
    {"# Bot personalities config file for the voltara_bot"},
    {"#"},
    {"# Lines started with a # and blank lines will be ignored"},
    {"#"},
    {"# Description:"},
    {"# In this file you can modify the nine"},
    {"# different personalities used by the bots."},
    {"#"},
    {"# If this file doesnt exist or settings are corrupt;"},
    {"# random personalities will be created"},
    {"#"},
    {"#"},
    {"# settings:"},
    {"#"},
    {"#"},
    {"# attack usage percents"},
    {"#"},
    NamesKey(Setting::melee_percent),
    {"# sets the percent the bots will use melee or the sword INSTEAD of other attacks"},
    {"#"},
    NamesKey(Setting::kiblast_percent),
    {"# sets the percent the bots will use kiblasts, renzoku or scatter shot"},
    {"#"},
    NamesKey(Setting::lightbeam_percent),
    {"# sets the percent the bots will use lightbeams, like the"},
    {"# generic beam and the burning attack"},
    {"#"},
    NamesKey(Setting::mediumbeam_percent),
    {"# sets the percent the bots will use mediumbeams, like the"},
    {"# powerbeam and the masenko"},
    {"#"},
    NamesKey(Setting::heavybeam_percent),
    {"# sets the percent the bots will use heavybeams, like the"},
    {"# kamehameha and the final flash"},
    {"#"},
    NamesKey(Setting::disc_percent),
    {"# sets the percent the bots will use discs"},
    {"#"},
    NamesKey(Setting::laser_percent),
    {"# sets the percent the bots will use lasers, like the"},
    {"# eye laser and the finger laser"},
    {"#"},
    NamesKey(Setting::heavyball_percent),
    {"# sets the percent the bots will use heavy non beams,"},
    {"# like the bigbang and the special beam cannon"},
    {"#"},
    NamesKey(Setting::kametorp_percent),
    {"# sets the percent a bot will make some kame torpedo's"},
    {"#"},
    NamesKey(Setting::solarflare_percent),
    {"# sets the percent that a bot will blind his enemy when in danger"},
    {"#"},
    {"#"},
    {"# melee related percents"},
    {"#"},
    NamesKey(Setting::meleecombo_percent),
    {"# sets the percent will make a combo instead of charging a throw"},
    {"#"},
    NamesKey(Setting::meleekick_percent),
    {"# sets the percent that a bot will use secondary fire while he swoops"},
    {"# (to kick his enemy)"},
    {"#"},
    {"#"},
    {"# chat percents :"},
    {"#"},
    NamesKey(Setting::chat_percent),
    {"# sets the percent that a bot will chat"},
    {"#"},
    NamesKey(Setting::taunt_percent),
    {"# sets the percent that a bot will taunt after he killed someone"},
    {"#"},
    NamesKey(Setting::whine_percent),
    {"# sets the percent that a bot whines after he died"},
    {"#"},
    NamesKey(Setting::chat_tag_percent),
    {"# sets the percent of the time to drop clan tag"},
    {"#"},
    NamesKey(Setting::chat_drop_percent),
    {"# percent of the time to drop characters"},
    {"#"},
    NamesKey(Setting::chat_swap_percent),
    {"# percent of the time to swap characters"},
    {"#"},
    NamesKey(Setting::chat_lower_percent),
    {"# percent of the time to lowercase chat"},
    {"#"},
    {"#"},
    {"# other percents"},
    {"#"},
    NamesKey(Setting::teleport_percent),
    {"# sets the percent the bots will use teleport"},
    {"#"},
    NamesKey(Setting::swoop_percent),
    {"# sets the percent that a bot will use swoop to avoid danger"},
    {"#"},
    NamesKey(Setting::beamexplode_percent),
    {"# sets the percent that a bot will let a beam explode in their enemy's face"},
    {"#"},
    NamesKey(Setting::fly_percent),
    {"# sets the percent that a bot will fly"},
    {"#"},
    NamesKey(Setting::stopfly_percent),
    {"# sets the percent that a bot will stop with flying(for a while) to avoid danger"},
    {"#"},
    NamesKey(Setting::jump_percent),
    {"# sets the percent that a bot will jump(when he's on the ground)to avoid danger"},
    {"#"},
    NamesKey(Setting::block_percent),
    {"# the percent of blocking attacks instead of dodging them"},
    {"#"},
    {"#"},
    {"# other stuff"},
    {"#"},
    NamesKey(Setting::aggression_level),
    {"# Sets how aggressive the bot is. Can be: aggressive, normal or defensive"},
    {"#"},
    NamesKey(Setting::transkiller),
    {"# Sets if a bot will attack when his enemy ascends."},
    {"# Valid options are 1(on) and 0(off)"},
    {"#"},
    {"#"},
    {"# To let the bot use a specific personality see the manual."},
    {"#"},
    {"#"},
    {"# General option:"},
    NamesKey(kDefaultPersonalityKey),
    {"# Specifies which personality all bots should use. Valid options are"},
    {"# -1 and 1 to 9 where -1(default) specifies that each bot will"},
    {"# use a random one"},
};


// One line of a personality's block: a fixed text, the text followed by the personality's
// number, the section header, or the key line of a setting.
struct BlockLine
{
    enum Kind { Text, Numbered, Section, Key } kind;
    const char *text;
    Setting setting = {};
};

constexpr BlockLine Key(Setting setting)
{
    return {BlockLine::Key, "", setting};
}

constexpr BlockLine kBlock[] = {
    {BlockLine::Numbered, "# Personality "},
    {BlockLine::Section, ""},
    {BlockLine::Text, "# attack usage percent"},
    Key(Setting::melee_percent),
    Key(Setting::kiblast_percent),
    Key(Setting::lightbeam_percent),
    Key(Setting::mediumbeam_percent),
    Key(Setting::heavybeam_percent),
    Key(Setting::disc_percent),
    Key(Setting::laser_percent),
    Key(Setting::heavyball_percent),
    Key(Setting::kametorp_percent),
    Key(Setting::solarflare_percent),
    {BlockLine::Text, ""},
    {BlockLine::Text, "# chat related percents"},
    Key(Setting::chat_percent),
    Key(Setting::taunt_percent),
    Key(Setting::whine_percent),
    Key(Setting::chat_tag_percent),
    Key(Setting::chat_drop_percent),
    Key(Setting::chat_swap_percent),
    Key(Setting::chat_lower_percent),
    {BlockLine::Text, ""},
    {BlockLine::Text, "# melee related percents"},
    Key(Setting::meleecombo_percent),
    Key(Setting::meleekick_percent),
    {BlockLine::Text, ""},
    {BlockLine::Text, "# other percents"},
    Key(Setting::teleport_percent),
    Key(Setting::swoop_percent),
    Key(Setting::beamexplode_percent),
    Key(Setting::fly_percent),
    Key(Setting::stopfly_percent),
    Key(Setting::block_percent),
    Key(Setting::jump_percent),
    {BlockLine::Text, ""},
    {BlockLine::Text, "#other stuff"},
    Key(Setting::transkiller),
    Key(Setting::aggression_level),
    {BlockLine::Text, ""},
};
// clang-format on

// Every setting has its line in the block, and its description in the header, once.
constexpr bool EachSettingOnce()
{
    for (int i = 0; i < kFieldCount; ++i) {
        int lines = 0;
        for (const BlockLine &line : kBlock)
            lines += line.kind == BlockLine::Key && IndexOf(line.setting) == i;
        if (lines != 1 || !HeadsOnce(kHeader, kFields[i].key))
            return false;
    }
    return true;
}
static_assert(EachSettingOnce());

// The header, an empty line, the general option, an empty line, then the blocks.
inline constexpr int kFileLines =
    static_cast<int>(std::size(kHeader)) + 3 + kBotCount * static_cast<int>(std::size(kBlock));

} // namespace voltara::personality_layout
