#pragma once
// A browser for logic tests: records what it is asked to do; the test raises its events.
#include "player/controls/WebBrowser.h"

namespace lodgeview::test {

class FakeWebBrowser : public WebBrowser {
public:
    void Navigate(const std::string& url) override { navigations.push_back(url); }
    void GoBack() override { ++backs; }
    void GoForward() override { ++forwards; }
    void SetVisible(bool v) override { visible = v; }
    void RunScript(const std::string& script) override { scripts.push_back(script); }
    void HookButtons(const std::vector<std::string>& ids) override { hooked = ids; }
    std::string Url() const override { return navigations.empty() ? "" : navigations.back(); }

    std::vector<std::string> navigations, scripts, hooked;
    int backs = 0, forwards = 0;
    bool visible = true;
};

} // namespace lodgeview::test
