#pragma once

#include <QMessageBox>

// A message in the sheets' look: the text without a stock icon, and either "取消" beside
// an accent button for the offered choice (Return and Escape cancel), or an accent "好".
class PanelMessageBox : public QMessageBox
{
    Q_OBJECT

public:
    explicit PanelMessageBox(const QString &text, const QString &choice = {}, QWidget *parent = nullptr);

    // Whether the person took the offered choice.
    bool choseIt() const;

private:
    QAbstractButton *m_choice = nullptr;
};
