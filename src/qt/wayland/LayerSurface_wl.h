#pragma once

#include <QImage>
#include <QObject>
#include <QRect>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "qt/wayland/Display_wl.h"
#include "qt/wayland/ShmBuffer_wl.h"

struct zwlr_layer_surface_v1;

namespace wayland {

// One note's surface on the compositor's layer shell: anchored to the top-left corner of the monitor
// that holds its place and kept there by margins, of the layer above or below the windows, never given
// the keyboard, on every workspace. paint fills a picture of the note's size; the surface asks for it
// whenever it needs one.
class LayerSurface {
public:
    LayerSurface(Display& display, std::string nameSpace, PointerTarget& target, std::function<void(QImage&)> paint);
    ~LayerSurface();
    LayerSurface(const LayerSurface&) = delete;
    LayerSurface& operator=(const LayerSurface&) = delete;

    // Shows the surface at rect; false when the compositor has no monitor to show it on.
    bool Map(const WindowRect& rect, bool top);
    void Unmap();
    bool Mapped() const { return surface_ != nullptr; }
    // Moves or resizes it on its monitor, even beyond its edges (a drag goes on there).
    void Place(const WindowRect& rect);
    // Made anew on the monitor that holds its place, when that is another one.
    void FollowOutput();
    void SetTop(bool top);
    // Where the mouse takes the note, in its own pixels; none: nowhere.
    void SetInput(const std::vector<QRect>& rects);
    // Shows a new picture of the note (once the compositor is ready for one).
    void Repaint();
    Point Origin() const { return Point{rect_.left, rect_.top}; }

private:
    void Create();
    void Destroy();
    void ApplyPlace();
    void ApplyInput();
    void Configured(uint32_t serial);
    ShmBuffer* FreeBuffer(QSize size);
    static void OnConfigure(void* data, zwlr_layer_surface_v1* layer, uint32_t serial, uint32_t width, uint32_t height);
    static void OnClosed(void* data, zwlr_layer_surface_v1* layer);

    Display& display_;
    std::string namespace_;
    PointerTarget& target_;
    std::function<void(QImage&)> paint_;
    wl_surface* surface_ = nullptr;
    zwlr_layer_surface_v1* layer_ = nullptr;
    wl_output* output_ = nullptr;
    QPoint outputOrigin_;
    WindowRect rect_;
    bool top_ = true;
    bool configured_ = false;
    std::vector<QRect> input_;
    std::vector<std::unique_ptr<ShmBuffer>> buffers_;
    QObject context_;  // what is queued for the surface goes with it
};

}  // namespace wayland
