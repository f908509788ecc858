#pragma once
// The embedded browser the player and the payment module show server pages in. Events arrive
// on the user-interface thread.
#include <functional>
#include <string>
#include <vector>

namespace lodgeview {

class WebBrowser {
public:
    virtual ~WebBrowser() = default;

    virtual void Navigate(const std::string& url) = 0;
    // History moves; without history they do nothing.
    virtual void GoBack() = 0;
    virtual void GoForward() = 0;
    virtual void SetVisible(bool visible) = 0;
    // Runs a script in the top frame of the loaded page (a page function call, a style change).
    virtual void RunScript(const std::string& script) = 0;
    // Hears clicks of the <button> elements with these ids in the loaded page (other element
    // kinds are not hooked); reported through onButtonClick. Call after document completion.
    virtual void HookButtons(const std::vector<std::string>& ids) = 0;
    virtual std::string Url() const = 0;

    // Every change of the status text: each assignment of window.status by a page script in any
    // frame (with the text assigned), and links under the pointer (their address, "" on leaving).
    std::function<void(const std::string& text)> onStatusTextChange;
    // A document finished loading; topFrame tells the top frame from inner frames.
    std::function<void(bool topFrame, const std::string& url)> onDocumentComplete;
    std::function<void(const std::string& id)> onButtonClick;
    // Each button HookButtons hooked, once, before any of its clicks: a caller that acts only
    // when the page has such a button (the payment dialog shows its confirmation pane) hears
    // nothing from a page without one.
    std::function<void(const std::string& id)> onButtonHooked;
    // window.moveTo / window.resizeTo of the top frame, for the host window.
    std::function<void(int x, int y)> onWindowMoveRequest;
    std::function<void(int width, int height)> onWindowResizeRequest;
};

} // namespace lodgeview
