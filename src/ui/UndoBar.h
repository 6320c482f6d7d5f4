#pragma once

#include <QWidget>

class QPushButton;
class TokenStore;

// The one-line bar naming the store's account awaiting deletion, with its undo button.
class UndoBar : public QWidget
{
    Q_OBJECT

public:
    explicit UndoBar(TokenStore &store, QWidget *parent = nullptr);

    QString message() const { return m_message; }
    QPushButton *undoButton() const { return m_undo; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void styleUndoButton();
    void showPending();

    TokenStore &m_store;

    QString m_message;
    QPushButton *m_undo;
};
