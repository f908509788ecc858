#pragma once
// TfrmVerify: the modal dialog that asks for the resident registration number in two fields
// (6 and 7 characters). Typing accepts only digits and Backspace; text that arrives otherwise
// (pasting) is left for VerifyJumin to refuse.
#include <QDialog>
#include <QString>

class QLineEdit;

namespace lodgeview {

class TfrmVerify : public QDialog {
    Q_OBJECT
public:
    explicit TfrmVerify(QWidget* parent = nullptr);

    // The two fields joined, for VerifyJumin.
    QString Number() const;
    QLineEdit* EditJumin01() const { return editJumin01_; }
    QLineEdit* EditJumin02() const { return editJumin02_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* editJumin01_;
    QLineEdit* editJumin02_;
};

} // namespace lodgeview
