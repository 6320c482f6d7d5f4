#pragma once

class QCoreApplication;

// Qt's own texts (standard buttons, file dialogs, text fields' menus, the command line's
// help) in Simplified Chinese, like the rest of the interface.
namespace QtTranslation {

// Loads Qt's zh_CN catalogue into `app` and makes Chinese the default locale; false when
// the catalogue is not installed (the texts then stay in English).
bool install(QCoreApplication &app);

} // namespace QtTranslation
