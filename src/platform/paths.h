#pragma once
// The per-user folders the system offers.
#include <string>

namespace platform {

// The per-user data folder for the game (on Linux under the XDG data home), created when
// missing; "" when the system offers none. Without a trailing slash.
std::string user_pref_dir();

} // namespace platform
