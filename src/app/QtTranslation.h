#pragma once

#include <QStringList>

class QCoreApplication;

// The interface's language: Chinese, the product's own, for a person who reads it, English
// for everyone else. Chinese is the source text, so it needs only Qt's own catalogue
// (standard buttons, file dialogs, text fields' menus, the command line's help); English
// needs Corvane's catalogue and none of Qt's.
namespace QtTranslation {

enum class Language { chinese, english };

// The first of the person's languages, most preferred first, that Corvane speaks; English
// when none is.
Language languageFor(const QStringList &uiLanguages);

// Where Corvane's catalogues are: beside the binary in the build tree, under the data
// folder in the install tree.
QStringList catalogueFolders();

// Loads the language's catalogues into `app` (Chinese also becomes the default locale);
// false when one is not installed (the texts then stay in the source language).
bool install(QCoreApplication &app, Language language, const QStringList &folders = catalogueFolders());

} // namespace QtTranslation
