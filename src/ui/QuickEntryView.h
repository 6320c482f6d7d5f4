#pragma once

#include <QWidget>

#include <optional>

class QLabel;
class QLineEdit;
class AccentButton;

// The masked secret field shown while the list is empty, its paste button and the
// error line under it.
class QuickEntryView : public QWidget
{
    Q_OBJECT

public:
    explicit QuickEntryView(QWidget *parent = nullptr);

    QString text() const;
    void setText(const QString &text);
    void setError(const std::optional<QString> &error);
    QLineEdit *field() const { return m_field; }
    AccentButton *pasteButton() const { return m_paste; }

Q_SIGNALS:
    // Return in the field.
    void submitted(const QString &text);
    void pasteRequested();
    void textEdited(const QString &text);

protected:
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QRectF fieldBox() const;

    QLineEdit *m_field;
    AccentButton *m_paste;
    QLabel *m_error;
};
