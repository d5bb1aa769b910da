// The user's folders after the desktop's base-directory rules.
#pragma once

#include <filesystem>

namespace tessora {

// The environment's `variable` when it holds an absolute path; else the home folder ($HOME when it is
// absolute, without it the home folder of the user's account entry) followed by `dinsCasa` (".config",
// ".local/share"). Empty when there is no home folder at all.
std::filesystem::path CarpetaXdg(const char* variable, const std::filesystem::path& dinsCasa);

} // namespace tessora
