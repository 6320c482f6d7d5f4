#pragma once

#include <QWidget>

class GlyphLabel;
class QLabel;

// The hint band under the quick entry while there is no account.
class EmptyStateView : public QWidget
{
    Q_OBJECT

public:
    explicit EmptyStateView(QWidget *parent = nullptr);

protected:
    void changeEvent(QEvent *event) override;

private:
    void applyColors();

    GlyphLabel *m_icon;
    QLabel *m_subtitle;
};
