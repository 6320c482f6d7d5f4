#include "ui/AccountQrDialog.h"

#include "transfer/TransferLoader.h"
#include "ui/DialogWindow.h"

#include <QEvent>
#include <QLabel>
#include <QPixmap>
#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

namespace {

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
    const auto layer = TransferLoader::layer();
    const QImage image = layer ? (*layer)->qrImage(link.toUtf8()) : QImage();
    const int scale = image.isNull() ? 1 : std::max(1, shownSize / image.width());
    code->setPixmap(QPixmap::fromImage(image.scaled(image.size() * scale)));
    code->setAlignment(Qt::AlignCenter);
    auto *hint = new QLabel(tr("二维码包含密钥，请勿截图或分享。"));
    auto *layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(code);
    layout->addWidget(hint, 0, Qt::AlignCenter);
    layout->addWidget(m_countdown, 0, Qt::AlignCenter);
    m_ticker->setInterval(1000);
    connect(m_ticker, &QTimer::timeout, this, &AccountQrDialog::tick);
    m_ticker->start();
    m_countdown->setText(tr("%n 秒后自动关闭", nullptr, m_secondsLeft));
    if (parent)
        parent->window()->installEventFilter(this);
}

bool AccountQrDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Hide && watched == parentWidget()->window())
        reject();
    return QDialog::eventFilter(watched, event);
}

void AccountQrDialog::tick()
{
    if (--m_secondsLeft <= 0) {
        m_ticker->stop();
        reject();
        return;
    }
    m_countdown->setText(tr("%n 秒后自动关闭", nullptr, m_secondsLeft));
}
