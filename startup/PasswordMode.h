#pragma once

namespace ml {

// Changes the screen-saver password. The desktops we run on keep the screen locker's
// password apart from the saver, so there is nothing to change here and the mode ends at
// once, as it does wherever the system offers no password entry.
inline void PasswordMode() {}

} // namespace ml
