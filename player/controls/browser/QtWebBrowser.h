#pragma once
// WebBrowser on Qt WebEngine. The browser is the view itself: forms place it like any widget,
// logic holds it as a WebBrowser.
//
// Page scripts reach the host through a script injected into every frame at document creation:
// window.status becomes an accessor whose every assignment is reported, and the top frame's
// window.moveTo / window.resizeTo report instead of acting. Reports travel as console messages
// that start with a random token of this browser; the token lives only in closures and
// isolated-world scripts, so a page can neither read it nor forge a report. Console messages
// without it are the page's own and take Qt's default path.
//
// The host program must have called PrepareWebEngine() before creating its QApplication.
// Events are raised from inside Qt's event handling: a handler must not delete the browser
// (deleteLater() it instead).
#include "player/controls/WebBrowser.h"

#include <QString>
#include <QWebEngineView>

namespace lodgeview {

class QtWebBrowser final : public QWebEngineView, public WebBrowser {
    Q_OBJECT

public:
    explicit QtWebBrowser(QWidget* parent = nullptr);

    void Navigate(const std::string& url) override;
    void GoBack() override;
    void GoForward() override;
    void SetVisible(bool visible) override;
    void RunScript(const std::string& script) override;
    // Hooks every <button> of the top document whose id is listed, each once however often this
    // is called; buttons added to the page later need another call.
    void HookButtons(const std::vector<std::string>& ids) override;
    // The address of the current page, percent-encoded; "" before the first navigation.
    std::string Url() const override;

private:
    class Page;

    // Raises the event a token-bearing console message carries; false for other messages.
    bool Deliver(const QString& message);

    const QString token_;
    QString hoveredLink_;
};

} // namespace lodgeview
