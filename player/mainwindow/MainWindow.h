#pragma once
// TfrmMorvikPlayer: the player's main window. A column of menu buttons on the left, the movie
// area in the middle (title picture, loading page or the video), the menu column on the right
// with the server's menu pages, and the media control panel at the bottom. The window only
// wires widgets to the settings, the browsers and the media player it is given.
#include "player/controls/MediaPlayer.h"
#include "player/controls/BrowserPane.h"
#include "player/service/HttpGet.h"
#include "player/startup/DataModule.h"

#include <QPixmap>
#include <QTimer>
#include <QWidget>

#include <array>
#include <functional>

class QLabel;
class QMenu;
class QSystemTrayIcon;

namespace lodgeview {

class TfrmMiniWin;
class TImageButton;

// The outside controls the owner creates for the window.
struct MainWindowControls {
    BrowserPane WebBrowser, MenuBrowser, NewMediaWeb, WebLoading;
    // Makes the mini window's two browsers when the window is first closed: most starts never
    // need them, and every browser costs start-up time.
    std::function<BrowserPane()> newBrowserPane;
    MediaPlayer* VLC = nullptr;
    QWidget* videoWidget = nullptr;
};

class TfrmMorvikPlayer : public QWidget {
    Q_OBJECT
public:
    static constexpr int kHomeWidth = 1003, kHomeHeight = 571;
    static constexpr int kCartoonWidth = 993, kCartoonHeight = 558;
    static constexpr int kMinWidth = 881, kMinHeight = 340;

    TfrmMorvikPlayer(TDM& dm, MainWindowControls controls, HttpClient& http, QWidget* parent = nullptr);

    // Start-up after the settings are complete: caption, home placement, the 3-second timer of
    // the menu pages. With StartMode "1" the window stays hidden.
    void Start();

    void btnMainMenuClick(int tag);
    void HighlightMenu(int n);
    void imgWebMoveClick(int tag);
    void mmiPopupClick(int tag);
    void btnCartoonClick();
    // The mini window's buttons: back at home with the menu of the tag (0 movies, resuming a
    // paused movie; 1 cartoons; 2 fortune), in front, tray icon and mini window hidden.
    void ReturnFromMiniWindow(int tag);
    void StatusTimerTimer();
    // Comes to the front as if the guest had picked it from the tray.
    void BringToFront();

    bool MovieMenuActive() const { return movieMenuActive_; }
    bool PagesLoaded() const { return pagesLoaded_; }
    QPoint Home() const { return {homeLeft_, homeTop_}; }
    QSystemTrayIcon* TaskbarIcon() const { return taskbarIcon_; }
    TfrmMiniWin* MiniWindow() const { return frmMiniWin_; }
    QTimer& StatusTimer() { return statusTimer_; }

    // Seams for what leaves the window: a guest warning box and opening a web address on the
    // desktop. Tests replace them.
    std::function<void(const QString& text)> showWarning;
    std::function<void(const QString& url)> openDocument;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildLayout();
    void BuildTray();
    void LoadMenuImages();
    void SetMenuButtonImage(TImageButton& button, const QString& file, bool selected);
    void LoadTitlePicture(const QString& file);
    QString ImagePath(const QString& file) const;

    TDM& dm_;
    MainWindowControls controls_;
    HttpClient& http_;

    std::array<TImageButton*, 9> imgLink_{};
    QWidget *contMainBG_ = nullptr, *pnMainMenu_ = nullptr, *contBody_ = nullptr, *pnMediaControl_ = nullptr,
            *contMenu_ = nullptr, *contWebMenu_ = nullptr, *contMediaSearch_ = nullptr, *splMainMenu_ = nullptr,
            *contWeb_ = nullptr, *contMedia_ = nullptr, *contLoading_ = nullptr, *contWebMedia_ = nullptr,
            *contMediaTitle_ = nullptr, *pnNewMediaWeb_ = nullptr;
    QLabel* imgLodgeLogo_ = nullptr;
    TImageButton *btnCartoon_ = nullptr, *imgWebBack_ = nullptr, *imgWebPrev_ = nullptr;
    QSystemTrayIcon* taskbarIcon_ = nullptr;
    TfrmMiniWin* frmMiniWin_ = nullptr;  // created at the first close, owned by the window
    QMenu* pmPopUp_ = nullptr;
    QTimer statusTimer_;

    int homeLeft_ = 0, homeTop_ = 0;
    bool movieMenuActive_ = false;
    bool pagesLoaded_ = false;
    bool exitRequested_ = false;
};

// The home position: the 1003 x 571 window centred on the usable area of the primary screen,
// as HomeLeft = width div 2 - 501 and HomeTop = height div 2 - 285.
QPoint HomePosition(const QSize& usableScreen);

} // namespace lodgeview
