#include "ui/PanelHeader.h"

#include "store/TokenStore.h"
#include "ui/AboutItems.h"
#include "ui/CircleButton.h"
#include "ui/HideCodesItem.h"
#include "ui/OpacityPopover.h"
#include "ui/Palette.h"
#include "ui/PanelFonts.h"
#include "ui/PanelMetrics.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>

using namespace Qt::Literals::StringLiterals;

namespace {

// Room for the filter text beside the title, left of the buttons.
constexpr int filterWidth = 100;

} // namespace

PanelHeader::PanelHeader(TokenStore &store, QWidget *parent)
    : QWidget(parent),
      m_title(new QLabel(tr("岚签"))),
      m_filter(new QLabel),
      m_paste(new CircleButton(Glyph::DocOnClipboard, CircleButton::Style::PrimaryHeader)),
      m_add(new CircleButton(Glyph::Plus, CircleButton::Style::HeaderIcon)),
      m_opacity(new CircleButton(Glyph::CircleLeftHalfFilled, CircleButton::Style::HeaderIcon)),
      m_collapse(new CircleButton(Glyph::Minus, CircleButton::Style::HeaderIcon)),
      m_quit(new CircleButton(Glyph::XMark, CircleButton::Style::HeaderIcon)),
      m_store(store)
{
    setFixedHeight(PanelMetrics::headerHeight);
    m_opacity->setTrailingGlyph(Glyph::ChevronDown);
    m_title->setFont(panelFont(14, QFont::DemiBold));
    m_title->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_title, &QLabel::customContextMenuRequested, this,
            [this](const QPoint &pos) { showTitleMenu(m_title->mapToGlobal(pos)); });

    m_filter->setFont(panelFont(12, QFont::Medium));
    m_filter->setMaximumWidth(filterWidth);
    m_filter->setToolTip(tr("按 Esc 清除筛选"));
    m_filter->hide();

    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(11, 0, 11, 0);
    row->setSpacing(5);
    row->addWidget(m_title);
    row->addWidget(m_filter);
    row->addStretch();
    addButton(m_paste, tr("从剪贴板粘贴密钥并生成（Ctrl+Shift+V）"), tr("粘贴密钥并生成验证码"));
    addButton(m_add, tr("高级添加：名称、服务和 otpauth 链接"), tr("添加验证码"));
    addButton(m_opacity, tr("调整窗口透明度"), tr("窗口透明度"));
    addButton(m_collapse, {}, {});
    addButton(m_quit, tr("退出岚签"), tr("退出岚签"));
    setCollapsed(false);

    connect(m_paste, &QAbstractButton::clicked, this, &PanelHeader::pasteRequested);
    connect(m_add, &QAbstractButton::clicked, this, &PanelHeader::addRequested);
    connect(m_opacity, &QAbstractButton::clicked, this, &PanelHeader::toggleOpacityPopover);
    connect(m_collapse, &QAbstractButton::clicked, this, &PanelHeader::collapseToggled);
    connect(m_quit, &QAbstractButton::clicked, this, &PanelHeader::quitRequested);
}

CircleButton *PanelHeader::addButton(CircleButton *button, const QString &help, const QString &accessibleName)
{
    button->setToolTip(help);
    button->setAccessibleName(accessibleName);
    layout()->addWidget(button);
    return button;
}

void PanelHeader::setCollapsed(bool collapsed)
{
    const QString help = collapsed ? tr("展开岚签") : tr("收起岚签");
    m_collapse->setGlyph(collapsed ? Glyph::ChevronDown : Glyph::Minus);
    m_collapse->setToolTip(help);
    m_collapse->setAccessibleName(help);
}

void PanelHeader::setFilter(const QString &filter)
{
    QPalette colors = m_filter->palette();
    colors.setColor(QPalette::WindowText, Palette::accentColor(Palette::isDark(palette())));
    m_filter->setPalette(colors);
    m_filter->setText(m_filter->fontMetrics().elidedText(filter, Qt::ElideLeft, filterWidth));
    m_filter->setAccessibleName(filter);
    m_filter->setVisible(!filter.isEmpty());
}

void PanelHeader::toggleOpacityPopover()
{
    if (m_popover) {
        m_popover->close();
        return;
    }
    m_popover = new OpacityPopover(m_store.preferences().panelOpacity(), this);
    connect(m_popover, &OpacityPopover::levelChosen, this, [this](double opacity) {
        m_store.preferences().setPanelOpacity(opacity);
        m_store.preferences().persist();
    });
    m_popover->popUp(m_opacity);
}

QMenu *PanelHeader::showTitleMenu(const QPoint &globalPos)
{
    auto *menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    HideCodesItem::addTo(*menu, m_store.preferences());
    menu->addSeparator();
    menu->addAction(tr("导出备份…"), this, &PanelHeader::exportRequested);
    menu->addAction(tr("导入…"), this, &PanelHeader::importRequested);
    QAction *about = menu->addSeparator();
    AboutItems::addTo(*menu);
    Q_EMIT titleMenuAboutToShow(menu, about);
    menu->popup(globalPos);
    return menu;
}
