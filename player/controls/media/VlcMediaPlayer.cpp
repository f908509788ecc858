#include "player/controls/media/VlcMediaPlayer.h"

#include "player/controls/media/LogoOverlay.h"

#include <vlc/vlc.h>

#include <QCloseEvent>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>
#include <QVBoxLayout>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <regex>

namespace lodgeview {
namespace {

constexpr int kInputOpening = 1;
constexpr int kInputBuffering = 2;
constexpr const char* kNoVideo = "the video widget has been destroyed";

[[noreturn]] void Fail(const std::string& what)
{
    const char* detail = libvlc_errmsg();
    throw MediaPlayerError(detail && *detail ? what + ": " + detail : what);
}

bool Failed(int result) { return result != 0; }
template <typename T> bool Failed(T* result) { return result == nullptr; }

// Runs a libVLC call that reports failure through its result (non-zero, or null) and turns a
// failure into MediaPlayerError carrying libVLC's message for this call.
template <typename Call> auto Checked(const std::string& what, Call call)
{
    libvlc_clearerr();
    auto result = call();
    if (Failed(result))
        Fail(what);
    return result;
}

class ListLock {
public:
    explicit ListLock(libvlc_media_list_t* list) : list_(list) { libvlc_media_list_lock(list_); }
    ~ListLock() { libvlc_media_list_unlock(list_); }
    ListLock(const ListLock&) = delete;
    ListLock& operator=(const ListLock&) = delete;

private:
    libvlc_media_list_t* list_;
};

// Only X11 gives libVLC a window id to draw into; elsewhere the instance's --vout decides.
bool OnX11() { return QGuiApplication::platformName() == QLatin1String("xcb"); }

void SetBlack(QWidget& widget)
{
    QPalette palette = widget.palette();
    palette.setColor(QPalette::Window, Qt::black);
    widget.setPalette(palette);
    widget.setAutoFillBackground(true);
}

// Black and filled by one child without margins: the frame and the full-screen window.
void MakeVideoHost(QWidget& host)
{
    SetBlack(host);
    auto* layout = new QVBoxLayout(&host);
    layout->setContentsMargins(0, 0, 0, 0);
}

} // namespace

// What the caller places; tells its owner before it goes, while the video window still exists.
class VlcMediaPlayer::Frame final : public QWidget {
public:
    explicit Frame(VlcMediaPlayer& owner) : owner_(owner) { MakeVideoHost(*this); }
    ~Frame() override { owner_.OnVideoWidgetDestroyed(); }

private:
    VlcMediaPlayer& owner_;
};

// On X11 the native window libVLC draws into. libVLC's own mouse and key handling is off, so
// clicks fall through to this widget.
class VlcMediaPlayer::Surface final : public QWidget {
public:
    explicit Surface(VlcMediaPlayer& owner) : owner_(owner)
    {
        // Native ancestors are created with it: a native child under alien parents crashes Qt
        // WebEngine views that are laid out beside it.
        if (OnX11())
            setAttribute(Qt::WA_NativeWindow);
        SetBlack(*this);
    }

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override
    {
        if (event->button() != Qt::LeftButton)
            return;
        // Moving this widget to another window is left until its own event has been handled.
        VlcMediaPlayer* owner = &owner_;
        QMetaObject::invokeMethod(&owner->events_, [owner] {
            if (owner->surface_)
                owner->ToggleFullscreen();
        }, Qt::QueuedConnection);
    }

private:
    VlcMediaPlayer& owner_;
};

// Closing it (Alt+F4, the window manager) leaves full screen instead.
class VlcMediaPlayer::FullscreenWindow final : public QWidget {
public:
    explicit FullscreenWindow(VlcMediaPlayer& owner) : owner_(owner)
    {
        setObjectName(kFullscreenWindowName);
        MakeVideoHost(*this);
    }

protected:
    void closeEvent(QCloseEvent* event) override
    {
        event->ignore();
        if (owner_.Fullscreen())
            owner_.ToggleFullscreen();
    }

private:
    VlcMediaPlayer& owner_;
};

void VlcMediaPlayer::Release::operator()(libvlc_instance_t* p) const { libvlc_release(p); }
void VlcMediaPlayer::Release::operator()(libvlc_media_t* p) const { libvlc_media_release(p); }
void VlcMediaPlayer::Release::operator()(libvlc_media_list_t* p) const
{
    libvlc_media_list_release(p);
}
void VlcMediaPlayer::Release::operator()(libvlc_media_player_t* p) const
{
    libvlc_media_player_release(p);
}
void VlcMediaPlayer::Release::operator()(libvlc_media_list_player_t* p) const
{
    libvlc_media_list_player_release(p);
}

VlcMediaPlayer::VlcMediaPlayer(const std::vector<std::string>& vlcArgs)
{
    std::vector<const char*> argv;
    for (const std::string& arg : vlcArgs)
        argv.push_back(arg.c_str());
    vlc_.reset(Checked("cannot start libVLC",
        [&] { return libvlc_new(static_cast<int>(argv.size()), argv.data()); }));
    list_.reset(Checked("cannot create the playlist",
        [&] { return libvlc_media_list_new(vlc_.get()); }));
    player_.reset(Checked("cannot create the media player",
        [&] { return libvlc_media_player_new(vlc_.get()); }));
    listPlayer_.reset(Checked("cannot create the playlist player",
        [&] { return libvlc_media_list_player_new(vlc_.get()); }));
    libvlc_media_list_player_set_media_player(listPlayer_.get(), player_.get());
    libvlc_media_list_player_set_media_list(listPlayer_.get(), list_.get());
    libvlc_video_set_mouse_input(player_.get(), 0);
    libvlc_video_set_key_input(player_.get(), 0);
    Checked("cannot watch the media player", [&] {
        return libvlc_event_attach(libvlc_media_player_event_manager(player_.get()),
            libvlc_MediaPlayerEncounteredError, &OnEncounteredError, this);
    });

    audioRetry_.setInterval(100);
    QObject::connect(&audioRetry_, &QTimer::timeout, &events_, [this] { ApplyAudio(); });

    // Widgets last: nothing above can fail and leave them behind.
    fullscreen_ = std::make_unique<FullscreenWindow>(*this);
    video_ = new Frame(*this);
    surface_ = new Surface(*this);
    video_->layout()->addWidget(surface_);
}

VlcMediaPlayer::~VlcMediaPlayer()
{
    libvlc_media_list_player_stop(listPlayer_.get());
    delete video_;
    libvlc_event_detach(libvlc_media_player_event_manager(player_.get()),
        libvlc_MediaPlayerEncounteredError, &OnEncounteredError, this);
}

QWidget* VlcMediaPlayer::VideoWidget() const { return video_; }

int VlcMediaPlayer::CurrentItem() const
{
    libvlc_media_t* current = libvlc_media_player_get_media(player_.get());
    if (!current)
        return -1;
    // The player keeps its own reference; only the address is compared.
    libvlc_media_release(current);
    const auto item = std::find_if(items_.begin(), items_.end(),
        [current](const Item& i) { return i.media.get() == current; });
    return item == items_.end() ? -1 : item->id;
}

int VlcMediaPlayer::Add(const std::string& uri, const std::vector<std::string>& options)
{
    std::unique_ptr<libvlc_media_t, Release> media(
        Checked("cannot create an item for \"" + uri + "\"",
            [&] { return libvlc_media_new_location(vlc_.get(), uri.c_str()); }));
    for (const std::string& option : options)
        libvlc_media_add_option(media.get(), option.c_str());
    {
        ListLock lock(list_.get());
        Checked("cannot add \"" + uri + "\" to the playlist",
            [&] { return libvlc_media_list_add_media(list_.get(), media.get()); });
    }
    items_.push_back({nextId_, std::move(media)});
    ApplyLogo(options);
    return nextId_++;
}

void VlcMediaPlayer::ApplyLogo(const std::vector<std::string>& options)
{
    // libVLC 3 ignores the logo module and its list as item options; its logo interface on the
    // media player does the same work.
    const std::optional<std::string> list = LogoFileListOf(options);
    if (list)
        libvlc_video_set_logo_string(player_.get(), libvlc_logo_file, list->c_str());
    libvlc_video_set_logo_int(player_.get(), libvlc_logo_enable, list ? 1 : 0);
}

void VlcMediaPlayer::PlayItem(int id)
{
    const size_t start = std::min(PositionOf(id), firstNotStarted_);
    AttachVideo();
    // By media rather than by index: libVLC 3.0's play_item_at_index reports failure on success
    // when nothing has played yet.
    Checked("cannot play item " + std::to_string(id), [&] {
        return libvlc_media_list_player_play_item(listPlayer_.get(), items_[start].media.get());
    });
    firstNotStarted_ = items_.size();
}

void VlcMediaPlayer::Play()
{
    AttachVideo();
    libvlc_media_list_player_play(listPlayer_.get());
    firstNotStarted_ = items_.size();
}

void VlcMediaPlayer::TogglePause() { libvlc_media_list_player_pause(listPlayer_.get()); }

void VlcMediaPlayer::Stop() { libvlc_media_list_player_stop(listPlayer_.get()); }

int VlcMediaPlayer::ItemCount() const { return static_cast<int>(items_.size()); }

bool VlcMediaPlayer::IsPlaying() const { return InputState() != kInputNone; }

void VlcMediaPlayer::ClearItems()
{
    Stop();
    ListLock lock(list_.get());
    while (!items_.empty()) {
        Checked("cannot empty the playlist", [&] {
            return libvlc_media_list_remove_index(list_.get(), static_cast<int>(items_.size() - 1));
        });
        items_.pop_back();
    }
    firstNotStarted_ = 0;
}

int VlcMediaPlayer::InputState() const
{
    switch (libvlc_media_player_get_state(player_.get())) {
    case libvlc_Opening:
        return kInputOpening;
    case libvlc_Buffering:
        return kInputBuffering;
    case libvlc_Playing:
        return kInputPlaying;
    case libvlc_Paused:
        return kInputPaused;
    default:
        return kInputNone;
    }
}

double VlcMediaPlayer::Rate() const { return libvlc_media_player_get_rate(player_.get()); }

void VlcMediaPlayer::SetRate(double rate)
{
    if (!std::isfinite(rate) || rate <= 0)
        throw MediaPlayerError("unsupported rate " + std::to_string(rate));
    Checked("cannot set the rate to " + std::to_string(rate),
        [&] { return libvlc_media_player_set_rate(player_.get(), static_cast<float>(rate)); });
}

void VlcMediaPlayer::SetVolume(int volume)
{
    if (volume < 0 || volume > 200)
        throw MediaPlayerError("volume " + std::to_string(volume) + " is outside 0..200");
    volume_ = volume;
    ApplyAudio();
}

bool VlcMediaPlayer::Mute() const { return mute_; }

void VlcMediaPlayer::ToggleMute()
{
    mute_ = !mute_;
    ApplyAudio();
}

void VlcMediaPlayer::ApplyAudio()
{
    // With the volume in range, setting it fails only while there is no audio output. The
    // timer tries again until one exists; outputs created later inherit what it accepted.
    if (libvlc_audio_set_volume(player_.get(), volume_) != 0) {
        audioRetry_.start();
        return;
    }
    audioRetry_.stop();
    libvlc_audio_set_mute(player_.get(), mute_);
}

void VlcMediaPlayer::SetAspectRatio(const std::string& ratio)
{
    // libVLC ignores a ratio it cannot read; say so instead.
    static const std::regex kRatio("[1-9][0-9]{0,5}:[1-9][0-9]{0,5}");
    if (!ratio.empty() && !std::regex_match(ratio, kRatio))
        throw MediaPlayerError("unsupported aspect ratio \"" + ratio + "\"");
    libvlc_video_set_aspect_ratio(player_.get(), ratio.empty() ? nullptr : ratio.c_str());
}

bool VlcMediaPlayer::Fullscreen() const
{
    return surface_ && surface_->parentWidget() == fullscreen_.get();
}

void VlcMediaPlayer::ToggleFullscreen()
{
    if (!surface_)
        throw MediaPlayerError(kNoVideo);
    // The surface keeps its native window while it moves, so playback goes on undisturbed.
    if (Fullscreen()) {
        video_->layout()->addWidget(surface_);
        fullscreen_->hide();
    } else {
        if (const QScreen* screen = video_->screen())
            fullscreen_->setGeometry(screen->geometry());
        fullscreen_->layout()->addWidget(surface_);
        fullscreen_->showFullScreen();
        fullscreen_->raise();
        fullscreen_->activateWindow();
    }
    surface_->show();
}

void VlcMediaPlayer::SetVisible(bool visible)
{
    if (!video_)
        throw MediaPlayerError(kNoVideo);
    video_->setVisible(visible);
}

void VlcMediaPlayer::OnEncounteredError(const libvlc_event_t*, void* self)
{
    // On a libVLC thread: only post.
    auto* owner = static_cast<VlcMediaPlayer*>(self);
    QMetaObject::invokeMethod(
        &owner->events_, [owner] { owner->SkipFailedItem(); }, Qt::QueuedConnection);
}

void VlcMediaPlayer::SkipFailedItem()
{
    // libVLC's list player stops at an item that fails. Go on with the next one unless a Stop
    // or another start has come since.
    const libvlc_state_t state = libvlc_media_player_get_state(player_.get());
    if (state == libvlc_Ended || state == libvlc_Error)
        libvlc_media_list_player_next(listPlayer_.get());  // after the last item: stays ended
}

void VlcMediaPlayer::OnVideoWidgetDestroyed()
{
    libvlc_media_list_player_stop(listPlayer_.get());
    if (Fullscreen()) {
        delete surface_;
        fullscreen_->hide();
    }
    surface_ = nullptr;
    video_ = nullptr;
}

size_t VlcMediaPlayer::PositionOf(int id) const
{
    const auto item =
        std::find_if(items_.begin(), items_.end(), [id](const Item& i) { return i.id == id; });
    if (item == items_.end())
        throw MediaPlayerError("no playlist item " + std::to_string(id));
    return static_cast<size_t>(item - items_.begin());
}

void VlcMediaPlayer::AttachVideo()
{
    if (!surface_)
        throw MediaPlayerError(kNoVideo);
    // Setting a window also overrides --vout, so only where there is one.
    if (OnX11())
        libvlc_media_player_set_xwindow(player_.get(), static_cast<uint32_t>(surface_->winId()));
}

} // namespace lodgeview
