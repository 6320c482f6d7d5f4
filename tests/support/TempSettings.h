#pragma once

#include <QSettings>
#include <QTemporaryDir>

#include <memory>

// A QSettings backed by an INI file in a fresh temporary directory, removed with the object.
class TempSettings
{
public:
    TempSettings();

    QSettings &settings() { return *m_settings; }
    QString fileName() const { return m_settings->fileName(); }
    QString directory() const { return m_dir.path(); }
    // A second QSettings on the same file, as a restarted process would open it.
    std::unique_ptr<QSettings> reopen() const;

private:
    QTemporaryDir m_dir;
    std::unique_ptr<QSettings> m_settings;
};
