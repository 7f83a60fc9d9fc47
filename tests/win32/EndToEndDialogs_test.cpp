// The program's dialogs over its topmost notes, the font dialog on a face the system lacks, and the
// interface in English.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "FileHelpers.h"
#include "SettingsFile.h"
#include "ProgramUnderTest.h"
#include "TempFolder.h"
#include "resource.h"
#include "store/IniFile.h"
#include "store/SettingsEncoding.h"
#include "store/Wide_win32.h"

namespace {

constexpr UINT kTrayMessage = WM_APP + 7;

std::string FileValue(const TempFolder& folder, size_t section, const char* key) {
    return SettingsValue(folder.File("TextSetting.ini"), section, key);
}

// The program's shown top-level windows, topmost first.
std::vector<HWND> StackingOrder(DWORD processId) {
    struct Search {
        DWORD processId;
        std::vector<HWND> windows;
    } search{processId, {}};
    EnumWindows(
        [](HWND hwnd, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            DWORD owner = 0;
            GetWindowThreadProcessId(hwnd, &owner);
            if (owner == s->processId && IsWindowVisible(hwnd)) s->windows.push_back(hwnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.windows;
}

bool IsAbove(DWORD processId, HWND upper, HWND lower) {
    const std::vector<HWND> order = StackingOrder(processId);
    for (HWND window : order) {
        if (window == upper) return true;
        if (window == lower) return false;
    }
    return false;
}

// The shown dialog of the program that is neither of these (a picker or a message box).
HWND WaitForOtherDialog(DWORD processId, HWND manager) {
    for (int i = 0; i < 100; ++i) {
        for (HWND window : StackingOrder(processId)) {
            wchar_t name[16] = {};
            GetClassNameW(window, name, 16);
            if (window != manager && lstrcmpW(name, L"#32770") == 0) return window;
        }
        Sleep(100);
    }
    return nullptr;
}

std::wstring ControlText(HWND dialog, int id) {
    wchar_t text[64] = {};
    GetDlgItemTextW(dialog, id, text, 64);
    return text;
}

}  // namespace

TEST(EndToEndDialogs, DialogsStayAboveTheNotesAndAnUnchangedFontKeepsTheNotesFaceAndSize) {
    TempFolder folder;
    // Over the middle of the screen, where the dialogs open; in a face Wine does not have.
    WriteBytes(folder.File("TextSetting.ini"), "[Text_0]\nisShow=1\npositionX=200\npositionY=300\nwidth=1200\n"
                                               "height=400\ncolor=0,128,255\nfont=\xE6\x96\xB9\xE6\xAD\xA3\xE8\x88\x92\xE4\xBD\x93\n"
                                               "fontSize=380\ntext=\xE2\x96\x88\xE2\x96\x88\xE2\x96\x88*#33#\xE2\x96\x88\n");
    ProgramUnderTest program(Widen(folder.Path()));
    ASSERT_TRUE(program.WaitUntilReady());
    HWND note = program.FindByClass(L"text_0");
    HWND manager = program.FindByCaption(L"SettingManager");
    PostMessageW(manager, kTrayMessage, 0, WM_LBUTTONDBLCLK);
    ASSERT_NE(WaitForVisible(program, L"SettingManager"), nullptr);
    EXPECT_TRUE(IsAbove(program.ProcessId(), manager, note));
    EXPECT_EQ(ControlText(manager, IDC_TEXT_EDIT), L"\u2588\u2588\u2588\r\n\u2588");  // the edit's own line break

    ClickControl(manager, IDC_ADD_NOTE);  // a note that comes up while the manager is open
    for (int i = 0; i < 100 && !IsWindowVisible(program.FindByClass(L"text_1")); ++i) Sleep(100);
    EXPECT_TRUE(IsAbove(program.ProcessId(), manager, program.FindByClass(L"text_1")));

    ClickControl(manager, IDC_PICK_FONT);
    HWND fonts = WaitForOtherDialog(program.ProcessId(), manager);
    ASSERT_NE(fonts, nullptr);
    EXPECT_TRUE(IsAbove(program.ProcessId(), fonts, note));
    ClickControl(fonts, IDOK);
    for (int i = 0; i < 100 && IsWindow(fonts); ++i) Sleep(100);
    ClickControl(manager, IDC_CONFIRM);  // saves, then hides the manager
    for (int i = 0; i < 100 && IsWindowVisible(manager); ++i) Sleep(100);
    Sleep(200);
    EXPECT_EQ(FileValue(folder, 0, "font"), "\xE6\x96\xB9\xE6\xAD\xA3\xE8\x88\x92\xE4\xBD\x93");  // 方正舒体
    EXPECT_EQ(FileValue(folder, 0, "fontSize"), "380");
    EXPECT_EQ(FileValue(folder, 0, "text"), "\xE2\x96\x88\xE2\x96\x88\xE2\x96\x88*#33#\xE2\x96\x88");
    EXPECT_TRUE(program.EndSession());
}

// What Windows shows of the program's file: its version in English and in Chinese with the copyright, and
// the Windows versions it is made for (10 and 11). The dialogs' icons are checked where Wine shows them, on
// the X server (tests/install/windows_install_test.sh).
TEST(EndToEndDialogs, TheProgramNamesItselfToWindows) {
    const std::wstring exe = ProgramUnderTest::ProgramPath();
    DWORD unused = 0;
    std::vector<BYTE> version(GetFileVersionInfoSizeW(exe.c_str(), &unused));
    ASSERT_FALSE(version.empty());
    ASSERT_TRUE(GetFileVersionInfoW(exe.c_str(), 0, DWORD(version.size()), version.data()));
    for (const std::wstring table : {L"040904b0", L"080404b0"}) {
        void* value = nullptr;
        UINT length = 0;
        EXPECT_TRUE(VerQueryValueW(version.data(), (L"\\StringFileInfo\\" + table + L"\\LegalCopyright").c_str(),
                                   &value, &length) && length > 1) << table.c_str();
    }
    HMODULE image = LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(image, nullptr);
    HRSRC found = FindResourceW(image, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));  // the manifest
    ASSERT_NE(found, nullptr);
    const std::string manifest(static_cast<const char*>(LockResource(LoadResource(image, found))),
                               SizeofResource(image, found));
    EXPECT_NE(manifest.find("supportedOS Id=\"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}\""), std::string::npos);
    FreeLibrary(image);
}

// Run by its own test under an English locale (Wine takes the language from LANG when it starts).
TEST(EndToEndDialogs, OutsideChineseTheInterfaceIsEnglish) {
    if (PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_CHINESE) GTEST_SKIP() << "a Chinese interface";
    TempFolder folder;
    ProgramUnderTest program(Widen(folder.Path()));
    ASSERT_TRUE(program.WaitUntilReady());
    HWND manager = program.FindByCaption(L"SettingManager");
    EXPECT_EQ(ControlText(manager, IDC_CONFIRM), L"Apply");
    EXPECT_EQ(ControlText(manager, IDC_ADD_NOTE), L"Add note");
    EXPECT_EQ(ControlText(manager, IDC_LOCK), L"Lock notes");
    EXPECT_EQ(FileValue(folder, 0, "text").rfind("Welcome to Skyslate2", 0), 0u);
    EXPECT_TRUE(program.EndSession());
}
