#pragma once
// TfrmMiniWin: the small window that stands in for the hidden main window in the bottom-right
// corner of the screen: a banner page, the buttons that bring the main window back with a
// chosen menu, and a poster page. It offers no close command; closing it only hides it.
#include "player/controls/BrowserPane.h"
#include "player/startup/DataModule.h"

#include <QWidget>

#include <functional>

namespace lodgeview {

class TImageButton;

class TfrmMiniWin : public QWidget {
    Q_OBJECT
public:
    static constexpr int kWidth = 232, kHeight = 258;

    TfrmMiniWin(const TDM& dm, BrowserPane webScrPos, BrowserPane wbNotifyBody, QWidget* parent = nullptr);

    // Set by the main form: a press of a button goes straight to it with the button's tag
    // (0 movie, 1 cartoon, 2 fortune).
    std::function<void(int tag)> OnControlClick;

    // Bottom-right corner of a screen of this width whose work area ends at this bottom.
    static QPoint Placement(int screenWidth, int workAreaBottom) { return {screenWidth - kWidth, workAreaBottom - kHeight}; }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void LoadButton(TImageButton& button, const QString& pattern);

    const TDM& dm_;
    BrowserPane webScrPos_, wbNotifyBody_;
    TImageButton *btnMovie_, *btnCari_, *btnLuck_;
    QPoint corner_;
};

} // namespace lodgeview
