// The interface in English: Qt's translation of the program's texts agrees with the Windows catalogue,
// and the dialogs built with it show no Chinese caption.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QTranslator>

#include "Fakes.h"
#include "FileHelpers.h"
#include "TempFolder.h"
#include "qt/ManagerDialog_qt.h"
#include "qt/LyricsWindow_qt.h"
#include "quicksettings/QuickSettingsDialogs.h"
#include "qt/TempSetingDlg_qt.h"

namespace {

bool HasChinese(const QString& text) {
    for (QChar c : text)
        if (c.unicode() >= 0x3000 && c.unicode() <= 0x9FFF) return true;
    return false;
}

// Every caption of a dialog's buttons, check boxes and labels.
QStringList Captions(const QWidget& dialog) {
    QStringList captions;
    for (const QAbstractButton* button : dialog.findChildren<QAbstractButton*>()) captions << button->text();
    for (const QLabel* label : dialog.findChildren<QLabel*>()) captions << label->text();
    return captions;
}

}  // namespace

TEST(EnglishInterface, QtAndTheWindowsCatalogueTranslateAlikeAndNoDialogCaptionStaysChinese) {
    QTranslator english;
    ASSERT_TRUE(english.load(":/i18n/skyslate2_en.qm"));
    ASSERT_GT(CatalogueSize(), 20u);
    for (size_t i = 0; i < CatalogueSize(); ++i) {
        const std::string source(CatalogueSource(i));
        EXPECT_EQ(english.translate("Skyslate2", source.c_str()).toStdString(), InLanguage(UiLanguage::English, source))
            << source;
    }

    QCoreApplication::installTranslator(&english);
    TempFolder folder;
    FakeFrontEnd fakes;
    LyricsWindowFactory windows;
    CSkyslate2Dlg manager;
    NoteManager notes(manager, {windows, fakes.screens, fakes.pickers, fakes.messages, fakes.autostart, fakes.app,
                                fakes.log, fakes.clock, fakes.wakeup, folder.File("TextSetting.ini"), "",
                                UiLanguage::English, "", SettleTimes{}});
    ManagerPresenter presenter(manager, notes);
    manager.Attach(presenter, notes);
    presenter.Start();
    QuickSettingsDialogs dialogs(notes, presenter);
    auto* note = dynamic_cast<CLyricsWindow*>(notes.WindowOf(0));
    ASSERT_NE(note, nullptr);
    TempSetingDlg quickSettings(dialogs, *note, &manager);
    QCoreApplication::removeTranslator(&english);

    for (const QWidget* dialog : {static_cast<QWidget*>(&manager), static_cast<QWidget*>(&quickSettings)}) {
        const QStringList captions = Captions(*dialog);
        EXPECT_GE(captions.size(), 8);
        for (const QString& caption : captions) EXPECT_FALSE(HasChinese(caption)) << caption.toStdString();
    }
    // The first-run note greets in English too.
    EXPECT_NE(ReadBytes(folder.File("TextSetting.ini")).find("text=Welcome to Skyslate2"), std::string::npos);
}
