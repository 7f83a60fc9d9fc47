#include "winui/Texts_win32.h"

#include "store/Wide_win32.h"
#include "winui/Window_win32.h"

UiLanguage UserLanguage() {
    return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_CHINESE ? UiLanguage::Chinese : UiLanguage::English;
}

std::wstring Ui(const std::string& chinese) { return Widen(InLanguage(UserLanguage(), chinese)); }

namespace {

BOOL CALLBACK TranslateCaption(HWND window, LPARAM) {
    const std::string text = WindowTextUtf8(window);
    if (!text.empty()) SetWindowTextW(window, Ui(text).c_str());
    return TRUE;
}

}  // namespace

void TranslateDialogTexts(HWND dialog) {
    if (UserLanguage() == UiLanguage::Chinese) return;
    TranslateCaption(dialog, 0);
    EnumChildWindows(dialog, TranslateCaption, 0);
}

std::string EditContent(const EditableText& text) {
    return EditContent(text, InLanguage(UserLanguage(), text::kTooLongToEdit));
}
