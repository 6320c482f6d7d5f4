#include "ui/AccountQrDialog.h"

#include "ui/DialogWindow.h"

#include <QLabel>
#include <QPixmap>
#include <QVBoxLayout>

#include <qrencode.h>

#include <memory>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int quietZone = 4;
constexpr int shownSize = 264;

} // namespace

AccountQrDialog::AccountQrDialog(const QString &link, const QString &title, QWidget *parent)
    : QDialog(parent, dialogWindowFlags),
      m_countdown(new QLabel),
      m_ticker(new QTimer(this))
{
    setWindowTitle(title);
    setAttribute(Qt::WA_DeleteOnClose);
    auto *code = new QLabel;
    const QImage image = qrImage(link.toUtf8());
    const int scale = image.isNull() ? 1 : std::max(1, shownSize / image.width());
    code->setPixmap(QPixmap::fromImage(image.scaled(image.size() * scale)));
    code->setAlignment(Qt::AlignCenter);
    auto *hint = new QLabel(u"二维码包含密钥，请勿截图或分享。"_s);
    auto *layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(code);
    layout->addWidget(hint, 0, Qt::AlignCenter);
    layout->addWidget(m_countdown, 0, Qt::AlignCenter);
    m_ticker->setInterval(1000);
    connect(m_ticker, &QTimer::timeout, this, &AccountQrDialog::tick);
    m_ticker->start();
    m_countdown->setText(u"%1 秒后自动关闭"_s.arg(m_secondsLeft));
}

void AccountQrDialog::tick()
{
    if (--m_secondsLeft <= 0) {
        m_ticker->stop();
        reject();
        return;
    }
    m_countdown->setText(u"%1 秒后自动关闭"_s.arg(m_secondsLeft));
}

QImage AccountQrDialog::qrImage(const QByteArray &text)
{
    const std::unique_ptr<QRcode, decltype(&QRcode_free)> code(
        QRcode_encodeData(int(text.size()), reinterpret_cast<const unsigned char *>(text.constData()), 0, QR_ECLEVEL_M),
        &QRcode_free);
    if (!code)
        return {};
    const int side = code->width + 2 * quietZone;
    QImage image(side, side, QImage::Format_Grayscale8);
    image.fill(Qt::white);
    for (int y = 0; y < code->width; ++y) {
        uchar *line = image.scanLine(y + quietZone) + quietZone;
        for (int x = 0; x < code->width; ++x) {
            if (code->data[y * code->width + x] & 1) // the low bit marks a dark module
                line[x] = 0;
        }
    }
    return image;
}
