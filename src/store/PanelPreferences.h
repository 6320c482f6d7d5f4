#pragma once

#include <QObject>
#include <QSettings>

#include <array>

// The settings the person chooses in the menu and the panel header: how long a copied code
// stays on the clipboard, the panel's opacity and whether codes are hidden. Read from the
// settings once; assigning changes the running value only, persist stores them all.
class PanelPreferences : public QObject
{
    Q_OBJECT

public:
    // The panel opacities one can choose, lightest first; a stored value snaps to the nearest.
    static constexpr std::array<double, 3> panelOpacityLevels{0.6, 0.82, 1.0};
    static constexpr double defaultPanelOpacity = panelOpacityLevels[1];

    explicit PanelPreferences(QSettings &settings, QObject *parent = nullptr);

    qint64 clipboardClearDelay() const { return m_clipboardClearDelay; }
    double panelOpacity() const { return m_panelOpacity; }
    // The panel shows a code only where the person looks for it.
    bool hideCodes() const { return m_hideCodes; }

    void setClipboardClearDelay(qint64 seconds);
    void setPanelOpacity(double opacity);
    void setHideCodes(bool hide);
    void persist();

Q_SIGNALS:
    void clipboardClearDelayChanged();
    void panelOpacityChanged();
    void hideCodesChanged();

private:
    QSettings &m_settings;
    qint64 m_clipboardClearDelay = 60;
    double m_panelOpacity = defaultPanelOpacity;
    bool m_hideCodes = false;
};
