#pragma once

#include <functional>
#include <optional>

#include "notewindow/EdgeBands.h"

#include "notewindow/NoteRenderer_win32.h"
#include "notewindow/NoteWindow.h"
#include "winui/Window_win32.h"

// A note on the desktop: a layered, topmost tool popup that shows only its rendered text. Pressing on
// the text moves it, pressing in an edge band resizes it, a double-click asks for its quick settings.
// Clicks on fully transparent pixels go to whatever lies beneath.
class CLyricsWindow : public WindowBase, public NoteWindow {
public:
    static constexpr DWORD kExStyle = WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
    static constexpr DWORD kStyle = WS_POPUP | WS_VISIBLE;

    explicit CLyricsWindow(std::function<void(CLyricsWindow&)> onDoubleClick);
    ~CLyricsWindow() override;

    // Registers the class ("text_%d") and creates the window.
    bool Create(const std::wstring& className, int x, int y, int width, int height);

    void SetText(const std::string& text) override;
    std::string Text() const override;
    void SetFillColor(uint32_t argb) override;
    void SetTextFont(const std::string& face, int style, float emSize) override;
    void Draw() override;
    void Show(bool visible) override;
    void SetTopMost(bool topMost) override;
    WindowRect GetWindowRect() const override;
    void Destroy() override;

    bool m_bSettingOpen = false;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void BeginDrag(LPARAM lParam);
    void FollowDrag();
    void EndDrag();
    bool OnSetCursor();

    struct Drag {
        Edge edge;
        WindowRect start;
        int pressX;
        int pressY;
    };
    std::optional<Drag> drag_;

    std::wstring m_strText;
    NoteRenderer renderer_;
    HDC m_hMemDC = nullptr;
    std::function<void(CLyricsWindow&)> onDoubleClick_;
};

// Creates CLyricsWindow objects; a double-click on any of them reaches onDoubleClick.
class LyricsWindowFactory : public NoteWindowFactory {
public:
    std::unique_ptr<NoteWindow> CreateNoteWindow(const std::string& className, int32_t x, int32_t y,
                                                 int32_t width, int32_t height) override;
    std::function<void(CLyricsWindow&)> onDoubleClick;
};
