#pragma once

#include <QImage>

#include <wayland-client.h>

#include <memory>

namespace wayland {

// A picture in memory shared with the compositor: ARGB32 premultiplied, which is WL_SHM_FORMAT_ARGB8888
// on a little-endian machine. The program draws into Image() only while the compositor does not hold it.
class ShmBuffer {
public:
    // Nothing when the memory cannot be had.
    static std::unique_ptr<ShmBuffer> Create(wl_shm* shm, QSize size);
    ~ShmBuffer();
    ShmBuffer(const ShmBuffer&) = delete;
    ShmBuffer& operator=(const ShmBuffer&) = delete;

    QImage& Image() { return image_; }
    wl_buffer* Buffer() const { return buffer_; }
    // Handed to the compositor with a commit; free again when it gives the buffer back.
    void Hand() { busy_ = true; }
    bool Busy() const { return busy_; }

private:
    ShmBuffer() = default;
    wl_buffer* buffer_ = nullptr;
    void* memory_ = nullptr;
    size_t bytes_ = 0;
    QImage image_;
    bool busy_ = false;
};

}  // namespace wayland
