#include "ui/CodeSettingsFields.h"

#include "ui/SheetFields.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr HashAlgorithm algorithms[] = {HashAlgorithm::Sha1, HashAlgorithm::Sha256, HashAlgorithm::Sha512};

QSpinBox *spinBox(int minimum, int maximum, const QString &suffix)
{
    auto *box = new QSpinBox;
    box->setRange(minimum, maximum);
    box->setSuffix(suffix);
    return box;
}

} // namespace

CodeSettingsFields::CodeSettingsFields(QWidget *parent)
    : QWidget(parent),
      m_toggle(new QToolButton),
      m_controls(new QWidget),
      m_kind(new QComboBox),
      m_algorithm(new QComboBox),
      m_digits(spinBox(1, 9, tr(" 位"))),
      m_period(spinBox(1, 3600, tr(" 秒"))),
      m_counter(new QLineEdit)
{
    m_kind->addItem(tr("基于时间（TOTP）"));
    m_kind->addItem(tr("基于计数器（HOTP）"));
    SheetFields::takeCounterOnly(*m_counter);
    m_toggle->setText(tr("高级"));
    m_toggle->setCheckable(true);
    m_toggle->setAutoRaise(true);
    // In line with the sheet's other texts, never drawn as pressed; the focus shows in its colour.
    m_toggle->setStyleSheet(u"QToolButton { border: none; padding: 0; background: transparent; }"
                            "QToolButton:focus { color: palette(highlight); }"_s);
    m_toggle->setArrowType(Qt::RightArrow);
    m_toggle->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    for (const HashAlgorithm algorithm : algorithms)
        m_algorithm->addItem(algorithmName(algorithm));

    auto *grid = new QGridLayout(m_controls);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(10);
    grid->setColumnStretch(1, 1);
    const std::pair<QString, QWidget *> rows[] = {{tr("类型"), m_kind},
                                                  {tr("算法"), m_algorithm},
                                                  {tr("位数"), m_digits},
                                                  {tr("周期"), m_period},
                                                  {tr("计数器"), m_counter}};
    for (int row = 0; row < int(std::size(rows)); ++row) {
        auto *label = new QLabel(rows[row].first);
        label->setBuddy(rows[row].second);
        rows[row].second->setAccessibleName(label->text());
        grid->addWidget(label, row, 0);
        grid->addWidget(rows[row].second, row, 1);
    }
    m_controls->hide();

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(10);
    layout->addWidget(m_toggle, 0, Qt::AlignLeading);
    layout->addWidget(m_controls);
    showValues();

    connect(m_toggle, &QToolButton::toggled, this, [this](bool expanded) {
        m_toggle->setArrowType(expanded ? Qt::DownArrow : Qt::RightArrow);
        m_controls->setVisible(expanded);
        Q_EMIT expandedChanged();
    });
    connect(m_kind, &QComboBox::currentIndexChanged, this, [this](int index) {
        m_settings.kind = index == 1 ? OtpKind::Hotp : OtpKind::Totp;
        showValues();
        Q_EMIT changed();
    });
    connect(m_counter, &QLineEdit::textEdited, this, [this] {
        m_settings.counter = SheetFields::counterIn(*m_counter).value_or(0);
        Q_EMIT changed();
    });
    connect(m_algorithm, &QComboBox::currentIndexChanged, this, [this](int index) {
        m_settings.algorithm = algorithms[index];
        Q_EMIT changed();
    });
    connect(m_digits, &QSpinBox::valueChanged, this, [this](int digits) {
        m_settings.digits = digits;
        Q_EMIT changed();
    });
    connect(m_period, &QSpinBox::valueChanged, this, [this](int period) {
        m_settings.period = period;
        Q_EMIT changed();
    });
}

void CodeSettingsFields::takeFrom(const ImportedToken &token)
{
    m_settings = token.otp;
    showValues();
    Q_EMIT changed();
}

void CodeSettingsFields::applyTo(ImportedToken &token) const
{
    token.otp = m_settings;
}

QString CodeSettingsFields::summary() const
{
    if (m_settings.isHotp())
        return tr("HOTP · %1 · %2 位 · 计数器 %3")
            .arg(algorithmName(m_settings.algorithm))
            .arg(m_settings.digits)
            .arg(m_settings.counter);
    const QString kind = m_settings.isSteam() ? u"Steam"_s : algorithmName(m_settings.algorithm);
    return tr("%1 · %2 位 · %3 秒").arg(kind).arg(m_settings.digits).arg(m_settings.period);
}

// The controls follow the values without reporting them back; a link's numbers outside
// their ranges stay as the link gave them until the user edits them.
void CodeSettingsFields::showValues()
{
    const QSignalBlocker blockAlgorithm(m_algorithm);
    const QSignalBlocker blockDigits(m_digits);
    const QSignalBlocker blockPeriod(m_period);
    const QSignalBlocker blockKind(m_kind);
    m_kind->setCurrentIndex(m_settings.isHotp() ? 1 : 0);
    if (SheetFields::counterIn(*m_counter) != m_settings.counter)
        m_counter->setText(QString::number(m_settings.counter));
    m_period->setEnabled(!m_settings.isHotp());
    m_counter->setEnabled(m_settings.isHotp());
    m_algorithm->setCurrentIndex(int(m_settings.algorithm));
    m_digits->setValue(int(std::clamp<qint64>(m_settings.digits, m_digits->minimum(), m_digits->maximum())));
    m_period->setValue(int(std::clamp<qint64>(m_settings.period, m_period->minimum(), m_period->maximum())));
    m_controls->setEnabled(!m_settings.isSteam());
}
