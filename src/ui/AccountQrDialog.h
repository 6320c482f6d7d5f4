#pragma once

#include <QDialog>
#include <QImage>
#include <QTimer>

class QLabel;

// An account's otpauth link as a QR code, for a phone to scan. It holds the secret, so it
// closes itself after a minute, and as soon as the window it belongs to hides.
class AccountQrDialog : public QDialog
{
    Q_OBJECT

public:
    static constexpr int visibleSeconds = 60;

    AccountQrDialog(const QString &link, const QString &title, QWidget *parent = nullptr);

    int secondsLeft() const { return m_secondsLeft; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void tick();

    QLabel *m_countdown;
    QTimer *m_ticker;
    int m_secondsLeft = visibleSeconds;
};
