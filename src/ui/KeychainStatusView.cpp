#include "ui/KeychainStatusView.h"

#include "ui/PanelFonts.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

using namespace Qt::Literals::StringLiterals;

KeychainStatusView::KeychainStatusView(QWidget *parent) : QWidget(parent), m_text(new QLabel), m_action(new QPushButton)
{
    const QString orange = u"color: rgb(255, 149, 0);"_s;
    m_text->setFont(panelFont(10));
    m_text->setStyleSheet(orange + u" padding: 0 3px;"_s);
    m_text->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_action->setFont(panelFont(10, QFont::DemiBold));
    m_action->setFlat(true);
    m_action->setCursor(Qt::PointingHandCursor);
    // A border that only shows with the keyboard focus.
    m_action->setStyleSheet(u"QPushButton { %1 border: 1px solid transparent; border-radius: 4px; padding: 0 3px;"
                            " text-decoration: underline; }"
                            "QPushButton:focus { border-color: rgb(255, 149, 0); }"_s.arg(orange));
    m_action->hide();

    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(11, 0, 11, 0);
    row->setSpacing(4);
    row->addWidget(m_text, 1);
    row->addWidget(m_action);
    connect(m_action, &QPushButton::clicked, this, &KeychainStatusView::actionRequested);
}

void KeychainStatusView::setStatus(const QString &text, const QString &action)
{
    m_fullText = text;
    m_text->setAccessibleName(text);
    m_action->setText(action);
    m_action->setVisible(!action.isEmpty());
    elide();
}

QString KeychainStatusView::text() const
{
    return m_fullText;
}

void KeychainStatusView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    elide();
}

void KeychainStatusView::elide()
{
    layout()->activate();
    const QString shown = m_text->fontMetrics().elidedText(m_fullText, Qt::ElideRight, m_text->contentsRect().width());
    m_text->setText(shown);
    m_text->setToolTip(shown == m_fullText ? QString() : m_fullText);
}
