#include "qt/wayland/LayerSurface_wl.h"

#include <QMetaObject>

#include <algorithm>

#include "wlr-layer-shell-unstable-v1-client-protocol.h"

namespace wayland {

namespace {

uint32_t LayerOf(bool top) { return top ? ZWLR_LAYER_SHELL_V1_LAYER_TOP : ZWLR_LAYER_SHELL_V1_LAYER_BOTTOM; }

constexpr size_t kBuffersKept = 2;

}  // namespace

LayerSurface::LayerSurface(Display& display, std::string nameSpace, PointerTarget& target,
                           std::function<void(QImage&)> paint)
    : display_(display), namespace_(std::move(nameSpace)), target_(target), paint_(std::move(paint)) {}

LayerSurface::~LayerSurface() { Destroy(); }

bool LayerSurface::Map(const WindowRect& rect, bool top) {
    rect_ = rect;
    top_ = top;
    if (!surface_) Create();
    return surface_ != nullptr;
}

void LayerSurface::Unmap() { Destroy(); }

// The first commit carries no picture: the compositor answers with a configure, and only then may one come.
void LayerSurface::Create() {
    const Output* output = display_.OutputAt(Point{rect_.left, rect_.top});
    if (!output) return;
    output_ = output->output;
    outputOrigin_ = output->area.topLeft();
    surface_ = wl_compositor_create_surface(display_.Compositor());
    layer_ = zwlr_layer_shell_v1_get_layer_surface(display_.LayerShell(), surface_, output_, LayerOf(top_),
                                                   namespace_.c_str());
    static const zwlr_layer_surface_v1_listener kListener = {OnConfigure, OnClosed};
    zwlr_layer_surface_v1_add_listener(layer_, &kListener, this);
    zwlr_layer_surface_v1_set_anchor(layer_, ZWLR_LAYER_SURFACE_V1_ANCHOR_TOP | ZWLR_LAYER_SURFACE_V1_ANCHOR_LEFT);
    zwlr_layer_surface_v1_set_exclusive_zone(layer_, -1);  // placed on the whole monitor, panels or not
    zwlr_layer_surface_v1_set_keyboard_interactivity(layer_, 0);
    ApplyPlace();
    ApplyInput();
    display_.Listen(surface_, &target_);
    wl_surface_commit(surface_);
    display_.Flush();
}

void LayerSurface::Destroy() {
    if (!surface_) return;
    display_.Forget(surface_);
    zwlr_layer_surface_v1_destroy(layer_);
    wl_surface_destroy(surface_);
    surface_ = nullptr;
    layer_ = nullptr;
    output_ = nullptr;
    configured_ = false;
    buffers_.clear();  // the compositor lets go of them with the surface
    display_.Flush();
}

void LayerSurface::ApplyPlace() {
    zwlr_layer_surface_v1_set_size(layer_, uint32_t(rect_.width()), uint32_t(rect_.height()));
    zwlr_layer_surface_v1_set_margin(layer_, rect_.top - outputOrigin_.y(), 0, 0, rect_.left - outputOrigin_.x());
}

void LayerSurface::ApplyInput() {
    wl_region* region = wl_compositor_create_region(display_.Compositor());
    for (const QRect& r : input_) wl_region_add(region, r.x(), r.y(), r.width(), r.height());
    wl_surface_set_input_region(surface_, region);
    wl_region_destroy(region);
    display_.Flush();  // a text's region is many rectangles
}

void LayerSurface::Place(const WindowRect& rect) {
    const bool resized = rect.width() != rect_.width() || rect.height() != rect_.height();
    rect_ = rect;
    if (!surface_) return;
    ApplyPlace();
    if (resized) Repaint();  // commits the new size with its picture
    else wl_surface_commit(surface_);
    display_.Flush();
}

void LayerSurface::FollowOutput() {
    if (!surface_) return;
    const Output* output = display_.OutputAt(Point{rect_.left, rect_.top});
    if (!output || output->output == output_) return;
    Destroy();
    Create();
}

void LayerSurface::SetTop(bool top) {
    if (top == top_) return;
    top_ = top;
    if (!surface_) return;
    zwlr_layer_surface_v1_set_layer(layer_, LayerOf(top));
    wl_surface_commit(surface_);
    display_.Flush();
}

void LayerSurface::SetInput(const std::vector<QRect>& rects) {
    input_ = rects;
    if (!surface_) return;
    ApplyInput();
    if (configured_) wl_surface_commit(surface_);
    display_.Flush();
}

void LayerSurface::Repaint() {
    if (!surface_ || !configured_) return;  // painted once configured
    const QSize size(rect_.width(), rect_.height());
    ShmBuffer* buffer = FreeBuffer(size);
    if (!buffer) return;
    paint_(buffer->Image());
    wl_surface_attach(surface_, buffer->Buffer(), 0, 0);
    wl_surface_damage_buffer(surface_, 0, 0, size.width(), size.height());
    buffer->Hand();
    wl_surface_commit(surface_);
    display_.Flush();
}

// A buffer the compositor does not hold, of the size: one of those kept, else a new one. Those the
// compositor gave back beyond that go, so that a note keeps one picture while nothing changes.
ShmBuffer* LayerSurface::FreeBuffer(QSize size) {
    buffers_.erase(std::remove_if(buffers_.begin(), buffers_.end(),
                                  [size](const auto& b) { return !b->Busy() && b->Image().size() != size; }),
                   buffers_.end());
    for (auto& buffer : buffers_)
        if (!buffer->Busy()) return buffer.get();
    if (buffers_.size() >= kBuffersKept + 1) return nullptr;  // the compositor holds them all: a later paint
    buffers_.push_back(ShmBuffer::Create(display_.Shm(), size));
    if (!buffers_.back()) {
        buffers_.pop_back();
        return nullptr;
    }
    return buffers_.back().get();
}

void LayerSurface::OnConfigure(void* data, zwlr_layer_surface_v1*, uint32_t serial, uint32_t, uint32_t) {
    static_cast<LayerSurface*>(data)->Configured(serial);
}

void LayerSurface::Configured(uint32_t serial) {
    zwlr_layer_surface_v1_ack_configure(layer_, serial);
    const bool first = !configured_;
    configured_ = true;
    if (first) Repaint();
}

// The compositor took the surface away (its monitor went): made anew on a monitor that is there, on the
// next turn of the event loop.
void LayerSurface::OnClosed(void* data, zwlr_layer_surface_v1*) {
    auto* self = static_cast<LayerSurface*>(data);
    self->Destroy();
    QMetaObject::invokeMethod(&self->context_, [self] { self->Create(); }, Qt::QueuedConnection);
}

}  // namespace wayland
