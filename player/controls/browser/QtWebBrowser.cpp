#include "player/controls/browser/QtWebBrowser.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRandomGenerator>
#include <QStringView>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>

#include <array>
#include <utility>

namespace lodgeview {

namespace {

// Main world, every frame, before the page's own scripts; called with the token. Everything is
// reported as the token, a kind, ":" and the payload, which runs to the end of the message.
// The accessors and functions a page can reach show only their own source, never the token.
// Inner frames report their load (the view reports only the top frame's); moveTo and resizeTo
// are the top frame's only, as in a browser window.
constexpr char kPageScript[] = R"js((function (token) {
    'use strict';
    const post = console.debug.bind(console);
    const toText = String;
    const report = (kind, payload) => post(token + kind + ':' + payload);
    let status = '';
    Object.defineProperty(window, 'status', {
        configurable: true,
        enumerable: true,
        get() { return status; },
        set(text) { status = toText(text); report('status', status); },
    });
    if (window !== window.top) {
        window.addEventListener('load', () => report('frame', location.href));
        return;
    }
    window.moveTo = function moveTo(x, y) { report('move', (x | 0) + ',' + (y | 0)); };
    window.resizeTo = function resizeTo(width, height) {
        report('resize', (width | 0) + ',' + (height | 0));
    };
}))js";

// Isolated world, top frame; called with the token and the ids. The page cannot see the
// listeners nor the set that keeps a button from being hooked twice.
constexpr char kHookScript[] = R"js((function (token, ids) {
    'use strict';
    const hooked = window.hookedButtons || (window.hookedButtons = new WeakSet());
    for (const button of document.querySelectorAll('button')) {
        const id = button.id;
        if (!ids.includes(id) || hooked.has(button))
            continue;
        hooked.add(button);
        button.addEventListener('click', () => console.debug(token + 'click:' + id));
        console.debug(token + 'hooked:' + id);
    }
}))js";

QString NewToken()
{
    std::array<quint32, 4> words;
    QRandomGenerator::system()->fillRange(words.data(), words.size());
    return QString::fromLatin1(
        QByteArray(reinterpret_cast<const char*>(words.data()), sizeof words).toHex());
}

template <typename... Args, typename... Values>
void Raise(const std::function<void(Args...)>& event, Values&&... values)
{
    if (event)
        event(std::forward<Values>(values)...);
}

std::string ToStd(QStringView text)
{
    return text.toUtf8().toStdString();
}

} // namespace

class QtWebBrowser::Page final : public QWebEnginePage {
public:
    explicit Page(QtWebBrowser& browser)
        : QWebEnginePage(&browser)
        , browser_(browser)
    {
    }

protected:
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message,
        int lineNumber, const QString& sourceId) override
    {
        if (!browser_.Deliver(message))
            QWebEnginePage::javaScriptConsoleMessage(level, message, lineNumber, sourceId);
    }

private:
    QtWebBrowser& browser_;
};

QtWebBrowser::QtWebBrowser(QWidget* parent)
    : QWebEngineView(parent)
    , token_(NewToken())
{
    auto* page = new Page(*this);
    QWebEngineScript script;
    script.setName(QStringLiteral("lodgeview-host"));
    script.setInjectionPoint(QWebEngineScript::DocumentCreation);
    script.setWorldId(QWebEngineScript::MainWorld);
    script.setRunsOnSubFrames(true);
    script.setSourceCode(QStringLiteral("%1('%2');").arg(QLatin1String(kPageScript), token_));
    page->scripts().insert(script);
    setPage(page);

    // Chromium also clears the link when a navigation starts; only changes are reported.
    connect(page, &QWebEnginePage::linkHovered, this, [this](const QString& url) {
        if (url == hoveredLink_)
            return;
        hoveredLink_ = url;
        Raise(onStatusTextChange, ToStd(url));
    });
    connect(page, &QWebEnginePage::loadFinished, this, [this](bool ok) {
        if (ok)
            Raise(onDocumentComplete, true, Url());
    });
}

void QtWebBrowser::Navigate(const std::string& url)
{
    load(QUrl(QString::fromStdString(url)));
}

void QtWebBrowser::GoBack()
{
    back();
}

void QtWebBrowser::GoForward()
{
    forward();
}

void QtWebBrowser::SetVisible(bool visible)
{
    setVisible(visible);
}

void QtWebBrowser::RunScript(const std::string& script)
{
    page()->runJavaScript(QString::fromStdString(script));
}

void QtWebBrowser::HookButtons(const std::vector<std::string>& ids)
{
    QJsonArray list;
    for (const std::string& id : ids)
        list.append(QString::fromStdString(id));
    const QString call = QStringLiteral("%1('%2', %3);")
                             .arg(QLatin1String(kHookScript), token_,
                                 QString::fromUtf8(QJsonDocument(list).toJson(QJsonDocument::Compact)));
    page()->runJavaScript(call, QWebEngineScript::ApplicationWorld);
}

std::string QtWebBrowser::Url() const
{
    return url().toString(QUrl::FullyEncoded).toStdString();
}

bool QtWebBrowser::Deliver(const QString& message)
{
    if (!message.startsWith(token_))
        return false;
    const QStringView body = QStringView(message).mid(token_.size());
    const qsizetype colon = body.indexOf(u':');
    const QStringView kind = body.left(colon);
    const QStringView payload = body.mid(colon + 1);
    if (kind == u"status") {
        Raise(onStatusTextChange, ToStd(payload));
    } else if (kind == u"frame") {
        Raise(onDocumentComplete, false, ToStd(payload));
    } else if (kind == u"hooked") {
        Raise(onButtonHooked, ToStd(payload));
    } else if (kind == u"click") {
        Raise(onButtonClick, ToStd(payload));
    } else if (kind == u"move" || kind == u"resize") {
        const qsizetype comma = payload.indexOf(u',');
        const int first = payload.left(comma).toInt();
        const int second = payload.mid(comma + 1).toInt();
        if (kind == u"move")
            Raise(onWindowMoveRequest, first, second);
        else
            Raise(onWindowResizeRequest, first, second);
    }
    return true;
}

} // namespace lodgeview
