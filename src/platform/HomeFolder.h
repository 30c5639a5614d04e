#pragma once

#include <string>

namespace trawlit {

// The user's home folder: $HOME, else the user database's entry; empty when neither knows.
std::string HomeFolder();

} // namespace trawlit
