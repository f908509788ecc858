// RVMC: the room terminal's movie player. Parameters: the VOD server's address and ":" + its
// HTTP port, as the start-up chain passes them on.
#include "player/app/PlayerApp.h"
#include "player/controls/browser/WebEngineSetup.h"

#include <QApplication>

int main(int argc, char** argv)
{
    lodgeview::PrepareWebEngine();
    // The video surface is a native window; its siblings (the browser panes among them) stay
    // alien widgets.
    QApplication::setAttribute(Qt::AA_DontCreateNativeWidgetSiblings);
    QApplication app(argc, argv);
    const std::vector<std::string> args(argv + 1, argv + argc);
    return lodgeview::PlayerApp().Run(args);
}
