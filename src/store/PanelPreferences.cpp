#include "store/PanelPreferences.h"

#include "store/SettingsKeys.h"

#include <cmath>

namespace {

double nearestOpacityLevel(double stored)
{
    double best = PanelPreferences::panelOpacityLevels.front();
    for (const double level : PanelPreferences::panelOpacityLevels) {
        if (std::abs(level - stored) < std::abs(best - stored))
            best = level;
    }
    return best;
}

} // namespace

PanelPreferences::PanelPreferences(QSettings &settings, QObject *parent) : QObject(parent), m_settings(settings)
{
    if (settings.contains(SettingsKeys::clipboardClearDelay))
        m_clipboardClearDelay = settings.value(SettingsKeys::clipboardClearDelay).toLongLong();
    if (settings.contains(SettingsKeys::panelOpacity))
        m_panelOpacity = nearestOpacityLevel(settings.value(SettingsKeys::panelOpacity).toDouble());
    m_hideCodes = settings.value(SettingsKeys::hideCodes, m_hideCodes).toBool();
}

void PanelPreferences::setClipboardClearDelay(qint64 seconds)
{
    m_clipboardClearDelay = seconds;
    Q_EMIT clipboardClearDelayChanged();
}

void PanelPreferences::setPanelOpacity(double opacity)
{
    m_panelOpacity = opacity;
    Q_EMIT panelOpacityChanged();
}

void PanelPreferences::setHideCodes(bool hide)
{
    m_hideCodes = hide;
    Q_EMIT hideCodesChanged();
}

void PanelPreferences::persist()
{
    m_settings.setValue(SettingsKeys::clipboardClearDelay, m_clipboardClearDelay);
    m_settings.setValue(SettingsKeys::panelOpacity, m_panelOpacity);
    m_settings.setValue(SettingsKeys::hideCodes, m_hideCodes);
    m_settings.sync();
}
