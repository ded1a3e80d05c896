#include "ui/qt/ui_translation.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTranslator>
#include <string>

#include "ui/ui_text.h"

namespace {
constexpr char kContext[] = "Drovane";
}  // namespace

QString Translated(std::string_view english) {
    const std::string source(english);
    return QCoreApplication::translate(kContext, source.c_str());
}

bool InstallTranslation(QCoreApplication& app, const QString& folder) {
    const QStringList languages = QLocale::system().uiLanguages();
    const QString first = languages.isEmpty() ? QString() : languages.front();
    if (LanguageOf(first.toStdString()) != UiLanguage::Korean) return true;
    auto* translator = new QTranslator(&app);
    if (!translator->load(QStringLiteral("drovane_ko"), folder)) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}
