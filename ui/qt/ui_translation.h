#pragma once

#include <QString>
#include <string_view>

class QCoreApplication;

// One of the program's English texts in the user's language, from the translation installed by
// InstallTranslation; the English text itself when there is none for it.
QString Translated(std::string_view english);

// Installs the translation for the system's interface language from `folder` (drovane_ko.qm for
// Korean); English, the language the program is written in, needs none. False when the user's
// language has a translation that cannot be loaded.
bool InstallTranslation(QCoreApplication& app, const QString& folder);
