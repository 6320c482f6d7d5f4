#pragma once

#include <QWidget>

class QPushButton;

// The one-line bar naming the account just deleted, with its undo button.
class UndoBar : public QWidget
{
    Q_OBJECT

public:
    explicit UndoBar(QWidget *parent = nullptr);

    void setAccountName(const QString &name);
    QString message() const { return m_message; }
    QPushButton *undoButton() const { return m_undo; }

Q_SIGNALS:
    void undoRequested();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void styleUndoButton();

    QString m_message;
    QPushButton *m_undo;
};
