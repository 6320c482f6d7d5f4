#include "app/CorvaneApp.h"
#include "app/SingleInstance.h"
#include "store/SecretServiceKeychain.h"

#include <QApplication>
#include <QSettings>

#include <cstdio>

using namespace Qt::Literals::StringLiterals;

// Wayland gives clients neither window positions nor always-on-top, so a session that
// also offers X11 runs the panel through XWayland unless a platform was chosen.
static void preferX11UnderWayland()
{
    if (qEnvironmentVariableIsSet("WAYLAND_DISPLAY") && qEnvironmentVariableIsSet("DISPLAY")
        && !qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "xcb");
}

int main(int argc, char *argv[])
{
    preferX11UnderWayland();
    QApplication app(argc, argv);
    QApplication::setApplicationName(u"Corvane"_s);
    QApplication::setOrganizationName(u"Corvane"_s);
    QApplication::setApplicationDisplayName(u"岚签"_s);
    QApplication::setApplicationVersion(QStringLiteral(CORVANE_VERSION));
    QApplication::setDesktopFileName(u"corvane"_s);
    QApplication::setQuitOnLastWindowClosed(false);

    SingleInstance instance(u"corvane-"_s + qEnvironmentVariable("USER", u"user"_s));
    if (!instance.claim()) {
        if (instance.notifiedRunning())
            return 0;
        std::fputs("岚签已在运行，但没有响应。\n", stderr);
        return 1;
    }

    QSettings settings;
    SecretServiceKeychain keychain;
    CorvaneApp corvane(keychain, settings);
    QObject::connect(&instance, &SingleInstance::showRequested, &corvane, &CorvaneApp::showPanel);
    return app.exec();
}
