#include "ui/CodeClipboard.h"

#include <QClipboard>
#include <QMimeData>

#include <limits>

using namespace Qt::Literals::StringLiterals;

CodeClipboard::CodeClipboard(QClipboard *clipboard, SingleShot singleShot, QObject *parent)
    : QObject(parent),
      m_clipboard(clipboard),
      m_singleShot(std::move(singleShot))
{
    connect(m_clipboard, &QClipboard::dataChanged, this, [this] { ++m_changeCount; });
}

void CodeClipboard::copyCode(const QString &code, qint64 clearDelaySeconds)
{
    auto *data = new QMimeData;
    data->setText(code);
    // Asks KDE's and other clipboard managers not to keep the code in their history.
    data->setData(u"x-kde-passwordManagerHint"_s, "secret");
    m_clipboard->setMimeData(data);
    m_lastCopy = Copy{m_changeCount, code};
    if (clearDelaySeconds <= 0)
        return;

    // QTimer counts in int milliseconds: a longer delay waits as long as it can.
    const qint64 maxSeconds = std::numeric_limits<int>::max() / 1000;
    const std::chrono::seconds delay(std::min(clearDelaySeconds, maxSeconds));
    m_singleShot(delay, this, [this, copy = *m_lastCopy] {
        if (stillHolds(copy))
            empty();
    });
}

void CodeClipboard::takeBackCode()
{
    if (m_lastCopy && stillHolds(*m_lastCopy))
        empty();
}

bool CodeClipboard::stillHolds(const Copy &copy) const
{
    return m_changeCount == copy.changeCount && text() == copy.code;
}

std::optional<QString> CodeClipboard::text() const
{
    const QMimeData *data = m_clipboard->mimeData();
    if (!data || !data->hasText())
        return std::nullopt;
    return data->text();
}

std::optional<QImage> CodeClipboard::image() const
{
    const QMimeData *data = m_clipboard->mimeData();
    if (!data || data->hasText() || !data->hasImage())
        return std::nullopt;
    return qvariant_cast<QImage>(data->imageData());
}

void CodeClipboard::clearIfHolds(const QString &text)
{
    if (this->text() == text)
        empty();
}

void CodeClipboard::clearIfHolds(const QImage &image)
{
    if (this->image() == image)
        empty();
}

// Under Wayland an X client's dropped selection leaves the desktop's own copy of it
// behind; owning the clipboard with empty text replaces that copy everywhere.
void CodeClipboard::empty()
{
    m_clipboard->setText(QString());
}
