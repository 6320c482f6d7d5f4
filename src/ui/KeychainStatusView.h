#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

// One line under the header saying why the keychain cannot be used, or what it refused,
// in the style of the quick entry's error line, with an optional action such as "解锁". A text
// longer than the line ends in "…" at a whole character; the tooltip then holds all of it.
class KeychainStatusView : public QWidget
{
    Q_OBJECT

public:
    explicit KeychainStatusView(QWidget *parent = nullptr);

    // An empty action shows no button.
    void setStatus(const QString &text, const QString &action);
    QString text() const;
    QPushButton *actionButton() const { return m_action; }

Q_SIGNALS:
    void actionRequested();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void elide();

    QString m_fullText;
    QLabel *m_text;
    QPushButton *m_action;
};
