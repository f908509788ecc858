#pragma once
// The logo overlay in the player options. The options the installation uses are those of the
// media player the design was made with: an option naming the logo module in a sub-picture
// chain ("sub-filter=logo", the older name, or "sub-source=logo") enables it, and
// "logo-file=<picture>, <ms>, <opacity>;..." lists its pictures.
#include <optional>
#include <string>
#include <vector>

namespace lodgeview {

// The picture list when the options enable the logo and give a non-empty list; nothing
// otherwise. A leading ":" of an option is ignored.
std::optional<std::string> LogoFileListOf(const std::vector<std::string>& options);

} // namespace lodgeview
