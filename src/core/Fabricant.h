// The maker's addresses: the web address ends the window captions and is opened from the About box;
// the mail address receives the experiment results.
#pragma once

#include <string_view>

namespace tessora {

inline constexpr std::string_view kAdrecaWeb = "https://example.org/tessora";
inline constexpr std::string_view kAdrecaCorreu = "tessora@example.org";

} // namespace tessora
