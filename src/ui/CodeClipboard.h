#pragma once

#include "engine/Clock.h"

#include <QImage>
#include <QObject>
#include <QString>

#include <optional>

class QClipboard;

// The system clipboard as the panel uses it: codes go on it marked as secrets for
// clipboard managers and come off again after a delay, unless anything changed it since.
class CodeClipboard : public QObject
{
    Q_OBJECT

public:
    explicit CodeClipboard(QClipboard *clipboard, SingleShot singleShot = systemSingleShot, QObject *parent = nullptr);

    // Puts the code on the clipboard; with a delay above 0 seconds, clears it again then
    // if the clipboard has not changed since and still holds the code.
    void copyCode(const QString &code, qint64 clearDelaySeconds);
    // The plain text on the clipboard, absent when there is none.
    std::optional<QString> text() const;
    // The image on the clipboard when it holds one and no plain text.
    std::optional<QImage> image() const;
    // Empties the clipboard if it holds exactly `text` (or `image`): it then holds empty text.
    void clearIfHolds(const QString &text);
    void clearIfHolds(const QImage &image);
    // Empties the clipboard if it still holds the last code copied, untouched since; what
    // anyone copied after it stays.
    void takeBackCode();

private:
    struct Copy
    {
        quint64 changeCount;
        QString code;
    };
    bool stillHolds(const Copy &copy) const;
    void empty();

    QClipboard *m_clipboard;
    SingleShot m_singleShot;
    // Advances on every change of the clipboard, by this process or any other.
    quint64 m_changeCount = 0;
    std::optional<Copy> m_lastCopy;
};
