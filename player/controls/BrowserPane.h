#pragma once
#include "player/controls/WebBrowser.h"

class QWidget;

namespace lodgeview {

// A browser and the widget that shows it, as an owner hands them to a form.
struct BrowserPane {
    WebBrowser* browser = nullptr;
    QWidget* widget = nullptr;
};

} // namespace lodgeview
