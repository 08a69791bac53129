// The platform layer's own words: the reasons a save or a read gives where the system has none.
#pragma once

namespace voltara::reasons {

inline constexpr const char *kNotRegular = "It is not a regular file";
inline constexpr const char *kProtectedLink =
    "It is reached through a link that another user made in a shared folder, which is not "
    "followed";
inline constexpr const char *kLocked =
    "Another program is saving it and kept it locked; try again later";

} // namespace voltara::reasons
