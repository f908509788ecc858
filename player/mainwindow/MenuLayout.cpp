#include "player/mainwindow/MenuLayout.h"

namespace lodgeview {

MenuLayout LayoutForMenu(int tag)
{
    MenuLayout l;
    switch (tag) {
    case 0: // movies
        l.MovieMenuActive = true;
        l.VLC = false;
        l.contWeb = false;
        l.contMedia = l.contMenu = l.contWebMenu = true;
        l.contMediaSearch = false;
        l.pnMediaControl = l.splMainMenu = l.pnNewMediaWeb = true;
        l.btnCartoon = false;
        l.NewMediaWeb = true;
        l.titlePicture = "lodgeview_logo.jpg";
        l.sizeable = true;
        break;
    case 1: // cartoons
        l.contWebMedia = false;
        l.contMediaTitle = true;
        l.fixedCartoonSize = true;
        l.MovieMenuActive = false;
        l.contWeb = l.splMainMenu = false;
        l.contMedia = true;
        l.contMenu = l.contWebMenu = l.contMediaSearch = l.pnMediaControl = false;
        l.pnNewMediaWeb = false;
        l.btnCartoon = true;
        l.NewMediaWeb = false;
        l.titleHeight = 524;
        l.titlePicture = "CARTOON.bmp";
        l.pressStop = true;
        break;
    case 2: case 3: case 4: case 5: // web services
        l.contWeb = true;
        l.splMainMenu = l.contMedia = l.contMenu = false;
        l.contWebMenu = true;
        l.contMediaSearch = l.pnMediaControl = false;
        break;
    case 6: // tourist information
        l.contWeb = true;
        l.contMedia = l.contMenu = l.splMainMenu = false;
        l.contWebMenu = true;
        l.contMediaSearch = l.pnMediaControl = false;
        break;
    case 8: // saved videos
        l.contWeb = false;
        l.contMedia = l.contMenu = true;
        l.contWebMenu = false;
        l.contMediaSearch = true;
        l.splMainMenu = l.pnMediaControl = true;
        break;
    default: // help, and anything unknown
        l.highlight = false;
        break;
    }
    return l;
}

} // namespace lodgeview
