#pragma once
// What each menu button of the main window shows: the layout switch of btnMainMenuClick as
// data, so that the form only applies it.
#include <optional>
#include <string>

namespace lodgeview {

struct MenuLayout {
    // Components to show (true) or hide (false); unset ones keep their state.
    std::optional<bool> contWeb, contMedia, contMenu, contWebMenu, contMediaSearch, pnMediaControl, splMainMenu,
        pnNewMediaWeb, btnCartoon, NewMediaWeb, VLC, contWebMedia, contMediaTitle;
    std::optional<bool> MovieMenuActive;
    bool fixedCartoonSize = false;   // the window is fixed to 993 x 558
    bool sizeable = false;           // the window becomes sizeable again
    std::string titlePicture;        // file in Images/ loaded into the title picture when it exists
    int titleHeight = 0;             // fixed height of the title picture, 0 = as laid out
    bool pressStop = false;          // the media control panel's Stop is pressed
    bool highlight = true;           // the clicked button becomes the selected one
};

// The layout of the menu button with this tag (0..8); tag 7 changes nothing.
MenuLayout LayoutForMenu(int tag);

} // namespace lodgeview
