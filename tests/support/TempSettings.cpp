#include "support/TempSettings.h"

#include <QtTest>

using namespace Qt::Literals::StringLiterals;

TempSettings::TempSettings()
{
    QVERIFY2(m_dir.isValid(), "cannot create a temporary directory");
    m_settings = reopen();
}

std::unique_ptr<QSettings> TempSettings::reopen() const
{
    return std::make_unique<QSettings>(m_dir.filePath(u"Corvane.conf"_s), QSettings::IniFormat);
}
