#include "player/app/PlayerApp.h"

#include "platform/AppPaths.h"
#include "platform/PlayerFront.h"
#include "platform/ProcessClock.h"
#include "platform/Trace.h"
#include "player/controls/browser/QtWebBrowser.h"
#include "player/controls/media/VlcMediaPlayer.h"
#include "player/mainwindow/MainWindow.h"
#include "player/startup/StartupCheck.h"

#include <QApplication>
#include <QMessageBox>

namespace lodgeview {

// Reports once how long the process took until the main window was first painted: the start-up
// figure the player is measured by.
class FirstPaintTrace : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            Trace("main window shown " + std::to_string(ProcessAgeMs()) + " ms after process start");
            watched->removeEventFilter(this);
        }
        return false;
    }
};

PlayerApp::PlayerApp() = default;
PlayerApp::~PlayerApp() = default;

void PlayerApp::TraceFirstPaint()
{
    mainForm_->installEventFilter(new FirstPaintTrace(mainForm_.get()));
}

int PlayerApp::Run(const std::vector<std::string>& args)
{
    QApplication::setApplicationName("Lodgeview TV");
    try {
        dm_.DataModuleCreate(ExecutableFolder());

        MainWindowControls controls;
        controls.newBrowserPane = [] {
            auto* browser = new QtWebBrowser;
            return BrowserPane{browser, browser};
        };
        for (BrowserPane* pane : {&controls.WebBrowser, &controls.MenuBrowser, &controls.NewMediaWeb, &controls.WebLoading})
            *pane = controls.newBrowserPane();
        vlc_ = std::make_unique<VlcMediaPlayer>();
        controls.VLC = vlc_.get();
        controls.videoWidget = vlc_->VideoWidget();
        mainForm_ = std::make_unique<TfrmMorvikPlayer>(dm_, controls, http_);

        const StartupOutcome outcome = RunStartupCheck(args, dm_, http_);
        if (!outcome.proceed) {
            QMessageBox::warning(nullptr, "Lodgeview TV", QString::fromStdString(outcome.message));
            return 1;
        }
    } catch (const std::exception& e) {
        QMessageBox::critical(nullptr, "Lodgeview TV", QString::fromUtf8(e.what()));
        return 1;
    }

    frontListener_ = std::make_unique<PlayerFrontListener>([this] { mainForm_->BringToFront(); });
    if (!frontListener_->Listen()) {
        // Another player of this user runs and has been asked to come to the front.
        return 0;
    }
    TraceFirstPaint();
    mainForm_->Start();
    return QApplication::exec();
}

} // namespace lodgeview
