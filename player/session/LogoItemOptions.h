#pragma once
// The options of a movie's playlist items: the player options, and the logo list OverlayKit
// has just written to logo.ini, so that the media player's logo overlay shows the pictures of
// this movie's folder.
#include <string>
#include <vector>

namespace lodgeview {

// playerOptions plus ":logo-file=<list>" when logo.ini in appPath holds a non-empty list.
std::vector<std::string> LogoItemOptions(const std::vector<std::string>& playerOptions, const std::string& appPath);

} // namespace lodgeview
