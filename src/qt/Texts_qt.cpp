#include "qt/Texts_qt.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

UiLanguage UserLanguage() {
    const QLocale locale = QLocale::system();
    return LanguageOfLocale(locale.uiLanguages().value(0, locale.name()).toStdString());
}

void LoadTranslations(QCoreApplication& application, UiLanguage language) {
    auto* qt = new QTranslator(&application);  // the colour and font dialogs, message box buttons
    if (qt->load(QLocale::system(), "qtbase", "_", QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(qt);
    if (language != UiLanguage::English) return;
    auto* own = new QTranslator(&application);
    if (own->load(":/i18n/skyslate2_en.qm")) QCoreApplication::installTranslator(own);
}

QString Ui(const char* chinese) { return QCoreApplication::translate("Skyslate2", chinese); }

QString EditContent(const EditableText& text) {
    return QString::fromStdString(EditContent(text, Ui(text::kTooLongToEdit).toStdString()));
}
