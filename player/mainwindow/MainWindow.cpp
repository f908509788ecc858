#include "player/mainwindow/MainWindow.h"

#include "player/mainwindow/CartoonRequest.h"
#include "player/mainwindow/MenuLayout.h"
#include "player/miniwin/MiniWindow.h"
#include "player/startup/StartupCheck.h"
#include "player/widgets/ImageButton.h"

#include <QAction>
#include <QBitmap>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QUrl>
#include <QVBoxLayout>

namespace lodgeview {
namespace {

constexpr int kMenuButtonWidth = 43, kMenuButtonHeight = 47;
const QColor kMenuTransparent(70, 70, 70);
const QColor kPanelColour(55, 54, 58);

const char* const kMenuHints[9] = {"영화정보", "만화", "운세", "인터넷", "게임", "맛집정보", "관광정보", "도움말", "저장동영상"};

QWidget* Container(QWidget* parent, const char* name)
{
    auto* widget = new QWidget(parent);
    widget->setObjectName(name);
    return widget;
}

// A column layout without margins or spacing.
QVBoxLayout* Column(QWidget* container)
{
    auto* column = new QVBoxLayout(container);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    return column;
}

// A container that shows one control (when the owner gave one) filling it.
QWidget* Pane(QWidget* parent, const char* name, QWidget* content)
{
    QWidget* pane = Container(parent, name);
    QVBoxLayout* column = Column(pane);
    if (content)
        column->addWidget(content);
    return pane;
}

// Frame `index` of a strip of 43 x 47 frames; the transparent colour is masked out when asked.
QPixmap MenuFrame(const QPixmap& strip, int index, bool transparent)
{
    QPixmap frame = strip.copy(index * kMenuButtonWidth, 0, kMenuButtonWidth, kMenuButtonHeight);
    if (transparent)
        frame.setMask(frame.createMaskFromColor(kMenuTransparent, Qt::MaskInColor));
    return frame;
}

void Apply(QWidget* widget, const std::optional<bool>& shown)
{
    if (widget && shown)
        widget->setVisible(*shown);
}

} // namespace

QPoint HomePosition(const QSize& usableScreen)
{
    return {usableScreen.width() / 2 - 501, usableScreen.height() / 2 - 285};
}

TfrmMorvikPlayer::TfrmMorvikPlayer(TDM& dm, MainWindowControls controls, HttpClient& http, QWidget* parent)
    : QWidget(parent), dm_(dm), controls_(controls), http_(http)
{
    setObjectName("TfrmMorvikPlayer");
    setWindowTitle("Lodgeview TV");
    setMinimumSize(kMinWidth, kMinHeight);
    showWarning = [this](const QString& text) {
        QMessageBox::warning(this, windowTitle(), text, QMessageBox::Yes);
    };
    openDocument = [](const QString& url) { QDesktopServices::openUrl(QUrl(url)); };

    BuildLayout();
    BuildTray();
    LoadMenuImages();
    if (controls_.VLC)
        controls_.VLC->ClearItems();

    const QScreen* screen = QGuiApplication::primaryScreen();
    const QPoint home = HomePosition(screen ? screen->availableGeometry().size() : QSize(kHomeWidth, kHomeHeight));
    homeLeft_ = home.x();
    homeTop_ = home.y();

    btnMainMenuClick(0);
    if (controls_.NewMediaWeb.browser) {
        controls_.NewMediaWeb.browser->onDocumentComplete = [this](bool topFrame, const std::string&) {
            if (topFrame)
                controls_.NewMediaWeb.browser->RunScript("document.body && (document.body.style.border = 'none');");
        };
    }
    LoadTitlePicture("lodgeview_logo.jpg");
    btnCartoon_->SetPictureUp(QPixmap(ImagePath("btn_c01.bmp")));
    btnCartoon_->SetPictureOver(QPixmap(ImagePath("btn_c02.bmp")));
    btnCartoon_->SetPictureDown(QPixmap(ImagePath("btn_c03.bmp")));
    movieMenuActive_ = true;

    statusTimer_.setInterval(3000);
    connect(&statusTimer_, &QTimer::timeout, this, &TfrmMorvikPlayer::StatusTimerTimer);
}

QString TfrmMorvikPlayer::ImagePath(const QString& file) const
{
    return QString::fromStdString(dm_.AppPath) + "Images/" + file;
}

void TfrmMorvikPlayer::BuildLayout()
{
    auto* root = new QHBoxLayout(this);
    root->setContentsMargins(0, 0, 0, 0);
    contMainBG_ = Container(this, "contMainBG");
    contMainBG_->setStyleSheet("#contMainBG { background: rgb(55, 54, 58); }");
    contMainBG_->setAttribute(Qt::WA_StyledBackground);
    root->addWidget(contMainBG_);
    auto* main = new QHBoxLayout(contMainBG_);
    main->setContentsMargins(0, 0, 0, 0);
    main->setSpacing(0);

    pnMainMenu_ = Container(contMainBG_, "pnMainMenu");
    pnMainMenu_->setFixedWidth(kMenuButtonWidth);
    QVBoxLayout* menu = Column(pnMainMenu_);
    for (int n = 0; n < 9; ++n) {
        auto* button = new TImageButton(pnMainMenu_);
        button->setObjectName(QString("imgLink%1").arg(n));
        button->SetTag(n);
        button->setFixedSize(kMenuButtonWidth, kMenuButtonHeight);
        button->setToolTip(QString::fromUtf8(kMenuHints[n]));
        button->setCursor(Qt::PointingHandCursor);
        // Only the movie and cartoon buttons are ever offered; the others stay hidden.
        button->setVisible(n == 0);
        connect(button, &TImageButton::clicked, this, [this, n] { btnMainMenuClick(n); });
        menu->addWidget(button);
        imgLink_[static_cast<std::size_t>(n)] = button;
    }
    menu->addStretch();
    main->addWidget(pnMainMenu_);

    contBody_ = Container(contMainBG_, "contBody");
    QVBoxLayout* body = Column(contBody_);
    auto* row = new QHBoxLayout;
    row->setSpacing(0);
    body->addLayout(row, 1);

    // Centre: the web service pane and the movie area.
    contWeb_ = Container(contBody_, "contWeb");
    QVBoxLayout* web = Column(contWeb_);
    auto* nav = Container(contWeb_, "pnWebNavigation");
    auto* navRow = new QHBoxLayout(nav);
    navRow->setContentsMargins(4, 2, 4, 2);
    imgWebBack_ = new TImageButton(nav);
    imgWebBack_->setObjectName("imgWebBack");
    imgWebBack_->setToolTip("뒤로");
    imgWebBack_->SetTag(0);
    imgWebPrev_ = new TImageButton(nav);
    imgWebPrev_->setObjectName("imgWebPrev");
    imgWebPrev_->setToolTip("앞으로");
    imgWebPrev_->SetTag(1);
    for (TImageButton* b : {imgWebBack_, imgWebPrev_}) {
        b->setFixedSize(30, 30);
        connect(b, &TImageButton::clicked, this, [this, b] { imgWebMoveClick(b->Tag()); });
        navRow->addWidget(b);
    }
    imgWebBack_->SetPictureUp(QPixmap(ImagePath("media_10_1.bmp")));
    imgWebBack_->SetPictureOver(QPixmap(ImagePath("media_10_2.bmp")));
    imgWebPrev_->SetPictureUp(QPixmap(ImagePath("media_11_1.bmp")));
    imgWebPrev_->SetPictureOver(QPixmap(ImagePath("media_11_2.bmp")));
    navRow->addStretch();
    web->addWidget(nav);
    if (controls_.WebBrowser.widget)
        web->addWidget(controls_.WebBrowser.widget, 1);
    row->addWidget(contWeb_, 1);

    contMedia_ = Container(contBody_, "contMedia");
    QVBoxLayout* media = Column(contMedia_);
    contLoading_ = Pane(contMedia_, "contLoading", controls_.WebLoading.widget);
    contWebMedia_ = Pane(contMedia_, "contWebMedia", controls_.videoWidget);
    contMediaTitle_ = Container(contMedia_, "contMediaTitle");
    contMediaTitle_->setStyleSheet("#contMediaTitle { background: black; }");
    contMediaTitle_->setAttribute(Qt::WA_StyledBackground);
    QVBoxLayout* title = Column(contMediaTitle_);
    imgLodgeLogo_ = new QLabel(contMediaTitle_);
    imgLodgeLogo_->setObjectName("imgLodgeLogo");
    imgLodgeLogo_->setAlignment(Qt::AlignCenter);
    imgLodgeLogo_->setMinimumSize(1, 1);
    title->addWidget(imgLodgeLogo_, 1);
    pnNewMediaWeb_ = Pane(contMediaTitle_, "pnNewMediaWeb", controls_.NewMediaWeb.widget);
    pnNewMediaWeb_->setFixedHeight(178);
    title->addWidget(pnNewMediaWeb_);
    // The cartoon button floats over the title picture at its place in the cartoon layout.
    btnCartoon_ = new TImageButton(contMediaTitle_);
    btnCartoon_->setObjectName("btnCartoon");
    btnCartoon_->setGeometry(333, 374, 185, 42);
    btnCartoon_->setCursor(Qt::PointingHandCursor);
    connect(btnCartoon_, &TImageButton::clicked, this, &TfrmMorvikPlayer::btnCartoonClick);
    for (QWidget* w : {contLoading_, contWebMedia_, contMediaTitle_})
        media->addWidget(w, 1);
    row->addWidget(contMedia_, 1);

    // The splitter's bar collapses or restores the menu column.
    splMainMenu_ = Container(contBody_, "splMainMenu");
    splMainMenu_->setFixedWidth(6);
    splMainMenu_->setStyleSheet("#splMainMenu { background: rgb(40, 39, 42); }");
    splMainMenu_->setAttribute(Qt::WA_StyledBackground);
    row->addWidget(splMainMenu_);

    contMenu_ = Container(contBody_, "contMenu");
    contMenu_->setFixedWidth(345);
    QVBoxLayout* menuColumn = Column(contMenu_);
    contWebMenu_ = Pane(contMenu_, "contWebMenu", controls_.MenuBrowser.widget);
    contMediaSearch_ = Container(contMenu_, "contMediaSearch");
    menuColumn->addWidget(contWebMenu_);
    menuColumn->addWidget(contMediaSearch_);
    row->addWidget(contMenu_);

    pnMediaControl_ = Container(contBody_, "pnMediaControl");
    pnMediaControl_->setFixedHeight(54);
    body->addWidget(pnMediaControl_);
    main->addWidget(contBody_, 1);

    contLoading_->hide();
    contWebMedia_->hide();
    contMediaSearch_->hide();
}

void TfrmMorvikPlayer::BuildTray()
{
    pmPopUp_ = new QMenu(this);
    pmPopUp_->setObjectName("pmPopUp");
    const struct {
        const char* name;
        int tag;
        const char* caption;
        bool visible;
    } items[] = {{"mmiShow", 1, "Lodgeview Movie", true}, {"mmiAbout", 2, "About", false}};
    for (const auto& item : items) {
        QAction* action = pmPopUp_->addAction(QString::fromUtf8(item.caption));
        action->setObjectName(item.name);
        action->setVisible(item.visible);
        connect(action, &QAction::triggered, this, [this, tag = item.tag] { mmiPopupClick(tag); });
    }
    pmPopUp_->addSeparator()->setObjectName("N1");
    QAction* exit = pmPopUp_->addAction(QString::fromUtf8("종료"));
    exit->setObjectName("mmiExit");
    connect(exit, &QAction::triggered, this, [this] { mmiPopupClick(3); });

    taskbarIcon_ = new QSystemTrayIcon(QIcon(ImagePath("media_01_2.bmp")), this);
    taskbarIcon_->setObjectName("TaskbarIcon");
    taskbarIcon_->setToolTip("Tavira Movie Player");
    taskbarIcon_->setContextMenu(pmPopUp_);
}

void TfrmMorvikPlayer::LoadMenuImages()
{
    imgLink_[1]->setVisible(dm_.CartoonEnabled);
    for (int n = 0; n < 9; ++n)
        SetMenuButtonImage(*imgLink_[static_cast<std::size_t>(n)], QString("menu_%1.bmp").arg(n + 1, 2, 10, QChar('0')), false);
}

void TfrmMorvikPlayer::SetMenuButtonImage(TImageButton& button, const QString& file, bool selected)
{
    // A missing picture leaves the button blank.
    const QPixmap strip(ImagePath(file));
    const QPixmap over = strip.isNull() ? QPixmap() : MenuFrame(strip, 1, true);
    const QPixmap up = strip.isNull() ? QPixmap() : MenuFrame(strip, selected ? 2 : 0, !selected);
    button.SetPictureOver(over);
    button.SetPictureDown(over);
    button.SetPictureUp(up);
}

void TfrmMorvikPlayer::HighlightMenu(int n)
{
    for (int i = 0; i < 9; ++i)
        SetMenuButtonImage(*imgLink_[static_cast<std::size_t>(i)], QString("menu_%1.bmp").arg(i + 1, 2, 10, QChar('0')), i == n);
}

void TfrmMorvikPlayer::LoadTitlePicture(const QString& file)
{
    const QString path = ImagePath(file);
    if (QFileInfo::exists(path))
        imgLodgeLogo_->setPixmap(QPixmap(path));
}

void TfrmMorvikPlayer::btnMainMenuClick(int tag)
{
    const MenuLayout l = LayoutForMenu(tag);
    if (l.MovieMenuActive)
        movieMenuActive_ = *l.MovieMenuActive;
    if (l.VLC && controls_.VLC)
        controls_.VLC->SetVisible(*l.VLC);
    Apply(contWeb_, l.contWeb);
    Apply(contMedia_, l.contMedia);
    Apply(contMenu_, l.contMenu);
    Apply(contWebMenu_, l.contWebMenu);
    Apply(contMediaSearch_, l.contMediaSearch);
    Apply(pnMediaControl_, l.pnMediaControl);
    Apply(splMainMenu_, l.splMainMenu);
    Apply(pnNewMediaWeb_, l.pnNewMediaWeb);
    Apply(btnCartoon_, l.btnCartoon);
    Apply(contWebMedia_, l.contWebMedia);
    Apply(contMediaTitle_, l.contMediaTitle);
    if (l.NewMediaWeb && controls_.NewMediaWeb.browser)
        controls_.NewMediaWeb.browser->SetVisible(*l.NewMediaWeb);
    if (l.fixedCartoonSize) {
        setFixedSize(kCartoonWidth, kCartoonHeight);
    } else if (l.sizeable) {
        setMinimumSize(kMinWidth, kMinHeight);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    }
    if (l.titleHeight > 0) {
        imgLodgeLogo_->setFixedHeight(l.titleHeight);
    } else if (l.sizeable) {
        imgLodgeLogo_->setMinimumHeight(1);
        imgLodgeLogo_->setMaximumHeight(QWIDGETSIZE_MAX);
    }
    if (!l.titlePicture.empty())
        LoadTitlePicture(QString::fromStdString(l.titlePicture));
    if (l.pressStop && controls_.VLC && controls_.VLC->ItemCount() > 0)
        controls_.VLC->Stop();
    if (l.highlight)
        HighlightMenu(tag);
}

void TfrmMorvikPlayer::imgWebMoveClick(int tag)
{
    WebBrowser* browser = controls_.WebBrowser.browser;
    if (!browser)
        return;
    if (tag == 0)
        browser->GoBack();
    else
        browser->GoForward();
}

void TfrmMorvikPlayer::mmiPopupClick(int tag)
{
    if (tag == 1) {
        BringToFront();
    } else if (tag == 3) {
        exitRequested_ = true;
        close();
    }
}

void TfrmMorvikPlayer::BringToFront()
{
    show();
    raise();
    activateWindow();
    taskbarIcon_->hide();
    if (frmMiniWin_)
        frmMiniWin_->hide();
}

void TfrmMorvikPlayer::ReturnFromMiniWindow(int tag)
{
    move(homeLeft_, homeTop_);
    if (tag == 1 || tag == 2) {
        btnMainMenuClick(tag);
    } else {
        btnMainMenuClick(0);
        if (controls_.VLC && controls_.VLC->InputState() == kInputPaused)
            controls_.VLC->TogglePause();
    }
    BringToFront();
}

void TfrmMorvikPlayer::btnCartoonClick()
{
    const std::optional<std::string> url = RequestCartoonUrl(dm_, http_);
    if (url)
        openDocument(QString::fromStdString(*url));
    else
        showWarning(QString::fromUtf8("서버와가 올바로 응답하지 않았습니다. 관리자에게 문의하세요."));
}

void TfrmMorvikPlayer::StatusTimerTimer()
{
    if (pagesLoaded_)
        return;
    pagesLoaded_ = true;
    const std::string base = "http://" + dm_.ServerHost + dm_.PortSuffix;
    if (controls_.NewMediaWeb.browser)
        controls_.NewMediaWeb.browser->Navigate(base + "/ZUVU_MS/pc/movie.do");
    if (controls_.MenuBrowser.browser)
        controls_.MenuBrowser.browser->Navigate(base + "/ZUVU_MS/pc/new_movie.do");
    if (controls_.WebLoading.browser)
        controls_.WebLoading.browser->Navigate("file://" + dm_.AppPath + "loading.html");
    statusTimer_.stop();
}

void TfrmMorvikPlayer::Start()
{
    contLoading_->hide();
    contWebMedia_->hide();
    contMediaTitle_->show();
    setWindowTitle(QString::fromStdString(MainCaption(dm_.SiteName)));
    if (dm_.StartMode == "1") {
        // Closing keeps the window hidden and opens the mini window; the window already has its
        // home size for when the mini window hands control back.
        resize(kHomeWidth, kHomeHeight);
        close();
    } else {
        setGeometry(homeLeft_, homeTop_, kHomeWidth, kHomeHeight);
        show();
    }
    statusTimer_.start();
}

void TfrmMorvikPlayer::closeEvent(QCloseEvent* event)
{
    statusTimer_.stop();
    if (exitRequested_) {
        event->accept();
        return;
    }
    // Closing only hides the window: playback stops and the mini window and the tray icon
    // stand in for it.
    event->ignore();
    if (controls_.VLC) {
        try {
            controls_.VLC->ClearItems();
            if (controls_.VLC->ItemCount() > 0)
                controls_.VLC->Stop();
        } catch (const MediaPlayerError&) {
        }
    }
    if (!frmMiniWin_) {
        const BrowserPane banner = controls_.newBrowserPane ? controls_.newBrowserPane() : BrowserPane{};
        const BrowserPane poster = controls_.newBrowserPane ? controls_.newBrowserPane() : BrowserPane{};
        frmMiniWin_ = new TfrmMiniWin(dm_, banner, poster, this);
        frmMiniWin_->OnControlClick = [this](int tag) { ReturnFromMiniWindow(tag); };
    }
    frmMiniWin_->show();
    hide();
    taskbarIcon_->show();
}

} // namespace lodgeview
