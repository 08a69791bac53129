"""What each damaged or unusual file of the corpus must give, worked out by hand from the
reading rules: the message-box captions in order (before the save) and the values that differ
from the defaults in the file written by Ctrl+S. The expected file is the hand-checked default
fixture with these values put in."""

T = "Tavrin"  # the program's own title
O = "Olmach"
E = "Error"

CHANGED_PERSONALITY = {
    (1, "melee_percent"): "45",
    (2, "chat_percent"): "0",
    (9, "aggression_level"): "defensive",
    (4, "transkiller"): "0",
}

# file name: (captions, default_personality, {(bot, key): value})
PERSONALITY = {
    "lf_only.cfg": ([], "4", CHANGED_PERSONALITY),
    "cr_only.cfg": ([], "7", CHANGED_PERSONALITY),
    "bom_no_final_newline.cfg": ([], "2", CHANGED_PERSONALITY),
    "tab_separator.cfg": ([T], "3", {(1, "melee_percent"): "10"}),
    "trailing_comment.cfg": ([], "-1", {(1, "disc_percent"): "40"}),
    "repeated_section.cfg": ([], "-1", {(7, "melee_percent"): "7", (7, "fly_percent"): "2",
                                        (3, "melee_percent"): "3"}),
    "sections_one_to_three.cfg": ([], "2", {(1, "jump_percent"): "1", (2, "jump_percent"): "2",
                                            (3, "jump_percent"): "3"}),
    "out_of_range.cfg": ([], "-1", {(1, "melee_percent"): "150", (1, "kiblast_percent"): "-3",
                                    (1, "lightbeam_percent"): "2.5",
                                    (1, "mediumbeam_percent"): "3.5",
                                    (1, "heavybeam_percent"): " 50", (1, "transkiller"): "5"}),
    "exponent.cfg": ([], "5", {(1, "melee_percent"): "1e2", (1, "block_percent"): "5E-1"}),
    "tenth_section.cfg": ([T], "9", {(n, "melee_percent"): str(n) for n in range(1, 10)}),
    "empty.cfg": ([T], "-1", {}),
    "comments_only.cfg": ([T], "-1", {}),
    "default_zero_only.cfg": ([T], "0", {}),
    "unknown_key.cfg": ([E], "-1", {(2, "melee_percent"): "60"}),
    "key_with_colon.cfg": ([E], "-1", {(1, "kiblast_percent"): "40"}),
    "indented_comment.cfg": ([E], "-1", {(1, "melee_percent"): "12"}),
    "indented_comment_no_space.cfg": ([T], "-1", {(1, "melee_percent"): "12"}),
    "lowercase_header.cfg": ([T], "-1", {(1, "melee_percent"): "21"}),
    "bot_zero.cfg": ([T], "-1", {(1, "melee_percent"): "31"}),
    "general_option_word.cfg": ([], "-1", {(1, "melee_percent"): "41"}),
    "default_in_section.cfg": ([], "6", {}),
    "default_twelve.cfg": ([], "12", {}),
    "no_header_after_option.cfg": ([T], "4", {}),
}

CHANGED_SUPERBOT = {(1, "ki_gain"): "120", (2, "powerlevel"): "4000000",
                    (3, "sbotlaser_percent"): "10"}

# file name: (captions, {(tier, key): value})
SUPERBOT = {
    "lf_only.cfg": ([], CHANGED_SUPERBOT),
    "cr_only.cfg": ([], CHANGED_SUPERBOT),
    "section_order.cfg": ([], {(3, "ki_gain"): "33", (1, "ki_gain"): "11", (2, "ki_gain"): "22"}),
    "xbot_header.cfg": ([], {(1, "health_gain"): "7", (2, "health_gain"): "8"}),
    "header_with_comment.cfg": ([E], {(1, "ki_gain"): "6"}),
    "comment_header_first.cfg": ([O], {}),
    "tab_separator.cfg": ([O], {(1, "ki_gain"): "15"}),
    "fourth_section.cfg": ([O], {(1, "ki_gain"): "1", (2, "ki_gain"): "2", (3, "ki_gain"): "3"}),
    "out_of_range.cfg": ([], {(1, "ki_gain"): "1e3", (1, "health_gain"): "500",
                              (1, "transparency_val"): "0", (1, "sbotlaser_percent"): "150",
                              (1, "powerlevel"): " 2.5", (2, "sbotlaser_percent"): "-1",
                              (2, "health_gain"): "2.5"}),
    "empty.cfg": ([O], {}),
    "comments_only.cfg": ([O], {}),
    "capital_key_and_word.cfg": ([E, E], {}),
}

# The texts of those message boxes, in the same order, with the line of the file each one
# blames (0 where none is). The e2e driver cannot read a box's text; botcfg check prints
# them (tests/botcfg). Files without a message are left out.
READ = "Error with reading config file"


def invalid(line):
    return "Invalid line:\r\n" + line


PERSONALITY_TEXTS = {
    "tab_separator.cfg": [(4, READ)],
    "tenth_section.cfg": [(20, READ)],
    "empty.cfg": [(0, READ)],
    "comments_only.cfg": [(0, READ)],
    "default_zero_only.cfg": [(0, READ)],
    "unknown_key.cfg": [(3, invalid("speed_percent 50"))],
    "key_with_colon.cfg": [(3, invalid("melee_percent: 50"))],
    "indented_comment.cfg": [(3, invalid("# a note"))],
    "indented_comment_no_space.cfg": [(4, READ)],
    "lowercase_header.cfg": [(4, READ)],
    "bot_zero.cfg": [(5, READ)],
    "no_header_after_option.cfg": [(2, READ)],
}

SUPERBOT_TEXTS = {
    "header_with_comment.cfg": [(3, invalid("[MEGABOT] # strong"))],
    "comment_header_first.cfg": [(2, READ)],
    "tab_separator.cfg": [(3, READ)],
    "fourth_section.cfg": [(7, READ)],
    "empty.cfg": [(0, READ)],
    "comments_only.cfg": [(0, READ)],
    "capital_key_and_word.cfg": [(2, invalid("KI_GAIN 9")), (4, invalid("# note"))],
}
