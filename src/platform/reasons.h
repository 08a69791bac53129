// The platform layer's own words: the reasons a save or a read gives where the system has none.
#pragma once

namespace voltara::reasons {

inline constexpr const char *kNotRegular = "It is not a regular file";
inline constexpr const char *kProtectedLink =
    "It is reached through a link that another user made in a shared folder, which is not "
    "followed";
inline constexpr const char *kLocked =
    "Another program is saving it and kept it locked; try again later";
// Before the reasons of reading a file whose save was cut short and could not be completed.
inline constexpr const char *kCutShort = "A save of it was cut short, and could not be completed: ";
inline constexpr const char *kNoJournalFolder =
    "It can only be written in place, and there is no folder of the user's own to keep its "
    "journal in";

} // namespace voltara::reasons
