#include <windows.h>

#include <gtest/gtest.h>

#include "FileHelpers.h"
#include "SettingsFile.h"
#include "store/SettingsEncoding.h"
#include "store/IniFile.h"
#include "ProgramUnderTest.h"
#include "TempFolder.h"
#include "store/Unicode.h"
#include "store/FileIO.h"
#include "store/Wide_win32.h"

namespace {

// The tray icon's messages and menu commands, as the manager dialog receives them.
constexpr UINT kTrayMessage = WM_APP + 7;
constexpr UINT kTrayFirstCommand = 100;

constexpr const wchar_t* kRun = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

class EndToEnd : public ::testing::Test {
protected:
    std::string SettingsPath() const { return folder.File("TextSetting.ini"); }
    std::wstring Folder() const { return Widen(folder.Path()); }
    IniDocument FileSections() const { return SettingsSections(SettingsPath()); }
    std::string FileValue(size_t section, const char* key) const { return SettingsValue(SettingsPath(), section, key); }
    static RECT RectOf(HWND hwnd) {
        RECT rect{};
        GetWindowRect(hwnd, &rect);
        return rect;
    }
    static std::wstring RunValue() {
        wchar_t data[1024] = {};
        DWORD bytes = sizeof data;
        if (RegGetValueW(HKEY_CURRENT_USER, kRun, L"vezuDeve_v2", RRF_RT_REG_SZ, nullptr, data, &bytes) != ERROR_SUCCESS)
            return L"<absent>";
        return data;
    }
    static void SetRunValue(const std::wstring& value) {
        HKEY key;
        RegCreateKeyExW(HKEY_CURRENT_USER, kRun, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
        RegSetValueExW(key, L"vezuDeve_v2", 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       DWORD((value.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(key);
    }

    TempFolder folder;
};

// A note of solid blocks, so that a press well inside it lands on painted pixels.
std::string BlockNote(int number, int x, int y, const std::string& extra = "isShow=1\n") {
    return "[Text_" + std::to_string(number) + "]\n" + extra + "positionX=" + std::to_string(x) +
           "\npositionY=" + std::to_string(y) + "\nwidth=600\nheight=200\ncolor=0,128,255\nfont=DejaVu Sans\nfontSize=800\n" +
           "text=\xE2\x96\x88\xE2\x96\x88\xE2\x96\x88\xE2\x96\x88\n" + extra;
}

}  // namespace

TEST_F(EndToEnd, FirstStartWritesTheFileAndShowsOneNote) {
    ProgramUnderTest program(Folder());
    ASSERT_TRUE(program.WaitUntilReady());
    HWND note = program.FindByClass(L"text_0");
    ASSERT_NE(note, nullptr);
    EXPECT_TRUE(IsWindowVisible(note));
    const RECT rect = RectOf(note);
    EXPECT_EQ(rect.left, 500);
    EXPECT_EQ(rect.top, 500);
    EXPECT_EQ(rect.right - rect.left, 800);
    EXPECT_EQ(rect.bottom - rect.top, 500);
    EXPECT_EQ(GetWindowLongW(note, GWL_EXSTYLE) & (WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_TOPMOST),
              WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_TOPMOST);
    EXPECT_EQ(program.FindByClass(L"text_1"), nullptr);
    ASSERT_EQ(FileSections().size(), 1u);
    EXPECT_EQ(FileValue(0, "positionX"), "500");
    EXPECT_TRUE(program.EndSession());
}

TEST_F(EndToEnd, EveryNoteGetsItsOwnWindowClassAndHiddenOnesStayHidden) {
    WriteBytes(SettingsPath(), BlockNote(0, 100, 100) + BlockNote(1, 200, 400, "isShow=0\n") + BlockNote(2, 300, 700));
    ProgramUnderTest program(Folder());
    ASSERT_TRUE(program.WaitUntilReady());
    HWND notes[3] = {program.FindByClass(L"text_0"), program.FindByClass(L"text_1"), program.FindByClass(L"text_2")};
    for (HWND note : notes) ASSERT_NE(note, nullptr);
    EXPECT_TRUE(IsWindowVisible(notes[0]));
    EXPECT_FALSE(IsWindowVisible(notes[1]));
    EXPECT_TRUE(IsWindowVisible(notes[2]));
    EXPECT_EQ(RectOf(notes[2]).top, 700);
    EXPECT_TRUE(program.EndSession());
    EXPECT_EQ(FileValue(1, "isShow"), "0");
}

TEST_F(EndToEnd, HiddenNotesNeverAppearAndCostNothingAtStartUp) {
    std::string file = BlockNote(0, 100, 100);
    for (int i = 1; i <= 200; ++i) file += BlockNote(i, 200, 400, "isShow=0\n");
    WriteBytes(SettingsPath(), file);
    ProgramUnderTest program(Folder());
    ASSERT_TRUE(program.WaitUntilReady());  // within its time-out: a hidden note takes no waiting
    for (int i = 1; i <= 200; i += 50) {
        HWND hidden = program.FindByClass(L"text_" + std::to_wstring(i));
        ASSERT_NE(hidden, nullptr);
        EXPECT_FALSE(IsWindowVisible(hidden));
    }
    EXPECT_TRUE(IsWindowVisible(program.FindByClass(L"text_0")));
    EXPECT_TRUE(program.EndSession());
}

TEST_F(EndToEnd, DraggedNoteIsStoredWhereItWasDroppedAtSessionEnd) {
    WriteBytes(SettingsPath(), BlockNote(0, 300, 300));
    ProgramUnderTest program(Folder());
    ASSERT_TRUE(program.WaitUntilReady());
    HWND note = program.FindByClass(L"text_0");
    ASSERT_NE(note, nullptr);
    DragMouse(300 + 60, 300 + 50, 150, 80);  // well inside the first block, outside the edge bands
    const RECT moved = RectOf(note);
    EXPECT_EQ(moved.left, 450);
    EXPECT_EQ(moved.top, 380);
    EXPECT_EQ(moved.right - moved.left, 600);
    EXPECT_EQ(FileValue(0, "positionX"), "300");  // nothing is saved by the move itself
    EXPECT_TRUE(program.EndSession());
    EXPECT_EQ(FileValue(0, "positionX"), "450");
    EXPECT_EQ(FileValue(0, "positionY"), "380");
}

TEST_F(EndToEnd, RightEdgeDragWidensTheNote) {
    // Blocks wider than the window: the right band of the window lies on painted pixels.
    WriteBytes(SettingsPath(), BlockNote(0, 300, 300, "isShow=1\nwidth=250\n"));
    ProgramUnderTest program(Folder());
    ASSERT_TRUE(program.WaitUntilReady());
    HWND note = program.FindByClass(L"text_0");
    ASSERT_NE(note, nullptr);
    ASSERT_EQ(RectOf(note).right, 550);
    DragMouse(550 - 10, 300 + 50, 120, 30);
    const RECT widened = RectOf(note);
    EXPECT_EQ(widened.left, 300);
    EXPECT_EQ(widened.top, 300);
    EXPECT_EQ(widened.right, 670);
    EXPECT_EQ(widened.bottom, 500);
    EXPECT_TRUE(program.EndSession());
    EXPECT_EQ(FileValue(0, "width"), "370");
}

TEST_F(EndToEnd, AutoStartFlagInTheFileDecidesTheRunValue) {
    SetRunValue(L"stale");
    WriteBytes(SettingsPath(), BlockNote(0, 100, 100, "autoStart=1\nisShow=1\n"));
    {
        ProgramUnderTest program(Folder());
        ASSERT_TRUE(program.WaitUntilReady());
        EXPECT_EQ(RunValue(), L"\"" + ProgramUnderTest::ProgramPath() + L"\" --settings-dir \"" + Folder() + L"\"");
        EXPECT_TRUE(program.EndSession());
    }
    WriteBytes(SettingsPath(), BlockNote(0, 100, 100, "autoStart=0\nisShow=1\n"));
    {
        ProgramUnderTest program(Folder());
        ASSERT_TRUE(program.WaitUntilReady());
        EXPECT_EQ(RunValue(), L"<absent>");
        EXPECT_TRUE(program.EndSession());
    }
}

TEST_F(EndToEnd, ASecondStartBringsTheRunningCopysManagerForwardAndLeavesTheFileAlone) {
    ProgramUnderTest first(Folder());
    ASSERT_TRUE(first.WaitUntilReady());
    const std::string before = ReadBytes(SettingsPath());
    ProgramUnderTest second(L"C:\\", L"--settings-dir \"" + Folder() + L"\"");
    ASSERT_TRUE(second.WaitForExit(10000));
    EXPECT_EQ(second.ExitCode(), 0u);
    EXPECT_NE(WaitForVisible(first, L"SettingManager"), nullptr);
    EXPECT_EQ(ReadBytes(SettingsPath()), before);
    EXPECT_TRUE(first.EndSession());
}

TEST_F(EndToEnd, TheTrayOpensTheManagerShowsEveryNoteAndLocksThem) {
    WriteBytes(SettingsPath(), BlockNote(0, 100, 100) + BlockNote(1, 100, 400, "isShow=0\n"));
    ProgramUnderTest program(Folder());
    ASSERT_TRUE(program.WaitUntilReady());
    HWND manager = program.FindByCaption(L"SettingManager");
    PostMessageW(manager, kTrayMessage, 0, WM_LBUTTONDBLCLK);  // a double-click on the icon
    EXPECT_NE(WaitForVisible(program, L"SettingManager"), nullptr);

    PostMessageW(manager, WM_COMMAND, kTrayFirstCommand + 2, 0);  // 显示全部便签
    HWND hidden = program.FindByClass(L"text_1");
    for (int i = 0; i < 100 && !IsWindowVisible(hidden); ++i) Sleep(100);
    EXPECT_TRUE(IsWindowVisible(hidden));

    PostMessageW(manager, WM_COMMAND, kTrayFirstCommand + 4, 0);  // 锁定便签
    for (int i = 0; i < 100 && FileValue(0, "locked") != "1"; ++i) Sleep(100);
    EXPECT_EQ(FileValue(0, "locked"), "1");
    EXPECT_TRUE(GetWindowLongW(program.FindByClass(L"text_0"), GWL_EXSTYLE) & WS_EX_TRANSPARENT);

    PostMessageW(manager, WM_COMMAND, kTrayFirstCommand + 5, 0);  // 帮助
    HWND help = WaitForVisible(program, L"Skyslate2 帮助");
    EXPECT_NE(help, nullptr);
    if (help) PostMessageW(help, WM_COMMAND, IDOK, 0);
    for (int i = 0; i < 50 && help && IsWindow(help); ++i) Sleep(100);

    PostMessageW(manager, WM_COMMAND, kTrayFirstCommand + 6, 0);  // 退出程序
    EXPECT_TRUE(program.WaitForExit(10000));
    EXPECT_EQ(FileValue(1, "isShow"), "1");
}

TEST_F(EndToEnd, AnotherNotesQuickSettingsLeaveTheManagersNoteCurrent) {
    WriteBytes(SettingsPath(), BlockNote(0, 100, 100) + BlockNote(1, 100, 350) + BlockNote(2, 100, 600));
    ProgramUnderTest program(Folder());
    ASSERT_TRUE(program.WaitUntilReady());
    DoubleClickMouse(150, 150);
    HWND settings = WaitForVisible(program, L"Setting");
    ASSERT_NE(settings, nullptr);
    ClickControl(settings, 1009);  // 管理界面: the manager on note 0
    HWND manager = WaitForVisible(program, L"SettingManager");
    ASSERT_NE(manager, nullptr);

    DoubleClickMouse(150, 650);  // note 2's quick settings
    settings = WaitForVisible(program, L"Setting");
    ASSERT_NE(settings, nullptr);
    ClickControl(settings, 1008);  // 窗口置顶 off, saved at once
    for (int i = 0; i < 100 && FileValue(2, "isTopWin") != "0"; ++i) Sleep(100);
    PostMessageW(settings, WM_COMMAND, IDCANCEL, 0);  // Esc
    for (int i = 0; i < 100 && IsWindowVisible(settings); ++i) Sleep(100);

    ClickControl(manager, 1011);  // 删除便签
    for (int i = 0; i < 100 && FileSections().size() != 2; ++i) Sleep(100);
    EXPECT_EQ(FileValue(0, "positionY"), "350");  // note 0 went; notes 1 and 2 stay
    EXPECT_EQ(FileValue(1, "positionY"), "600");
    EXPECT_EQ(FileValue(1, "isTopWin"), "0");
    EXPECT_TRUE(program.EndSession());
}

// A sync tool replaces the file while the program runs: the new notes show without a restart, and a later
// move and the session's end keep them.
TEST_F(EndToEnd, AFileReplacedFromOutsideShowsAndSurvivesTheSessionEnd) {
    WriteBytes(SettingsPath(), BlockNote(0, 100, 100) + BlockNote(1, 300, 500));
    ProgramUnderTest program(Folder());
    ASSERT_TRUE(program.WaitUntilReady());
    ASSERT_TRUE(WriteFileAtomically(SettingsPath(), BlockNote(0, 150, 100) + BlockNote(1, 300, 500) +
                                                        BlockNote(2, 700, 100)));
    HWND added = nullptr;
    for (int wait = 0; wait < 100 && !(added && IsWindowVisible(added)); ++wait) {
        Sleep(100);
        added = program.FindByClass(L"text_2");
    }
    ASSERT_NE(added, nullptr);
    EXPECT_TRUE(IsWindowVisible(added));
    EXPECT_EQ(RectOf(program.FindByClass(L"text_0")).left, 150);
    DragMouse(300 + 60, 500 + 50, 100, 0);
    EXPECT_TRUE(program.EndSession());
    EXPECT_EQ(FileValue(0, "positionX"), "150");
    EXPECT_EQ(FileValue(1, "positionX"), "400");
    EXPECT_EQ(FileValue(2, "positionX"), "700");
}
