// The difference between two texts in the unified format of `diff -u`, which people read and
// `patch` and `git apply` take.
#pragma once

#include <string>
#include <string_view>

namespace botcfg {

// The unified difference that turns old_text into new_text, under the header lines
// "--- old_label" and "+++ new_label"; empty when the texts are equal. Lines end at LF, so a
// CR before it belongs to the line and is kept; a last line without LF is followed by
// "\ No newline at end of file". Hunks carry three lines of context and merge where their
// contexts meet. The difference is the smallest one unless finding it would take too long (files
// that differ in thousands of places), where it replaces the differing middle whole.
std::string UnifiedDiff(std::string_view old_text, std::string_view new_text,
    const std::string &old_label, const std::string &new_label);

} // namespace botcfg
