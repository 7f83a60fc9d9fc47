#include "qt/wayland/ShmBuffer_wl.h"

#include <sys/mman.h>
#include <unistd.h>

namespace wayland {

namespace {

// Anonymous memory for one picture; -1 when there is none.
int SharedMemory(size_t bytes) {
    const int fd = memfd_create("skyslate2-note", MFD_CLOEXEC);
    if (fd < 0) return -1;
    if (ftruncate(fd, off_t(bytes)) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

}  // namespace

std::unique_ptr<ShmBuffer> ShmBuffer::Create(wl_shm* shm, QSize size) {
    const int stride = size.width() * 4;
    const size_t bytes = size_t(stride) * size_t(size.height());
    if (bytes == 0) return nullptr;
    const int fd = SharedMemory(bytes);
    if (fd < 0) return nullptr;
    void* memory = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    if (memory == MAP_FAILED) {
        close(fd);
        return nullptr;
    }
    std::unique_ptr<ShmBuffer> buffer(new ShmBuffer());
    buffer->memory_ = memory;
    buffer->bytes_ = bytes;
    wl_shm_pool* pool = wl_shm_create_pool(shm, fd, int32_t(bytes));
    buffer->buffer_ = wl_shm_pool_create_buffer(pool, 0, size.width(), size.height(), stride, WL_SHM_FORMAT_ARGB8888);
    wl_shm_pool_destroy(pool);
    close(fd);
    static const wl_buffer_listener kReleased = {[](void* data, wl_buffer*) { static_cast<ShmBuffer*>(data)->busy_ = false; }};
    wl_buffer_add_listener(buffer->buffer_, &kReleased, buffer.get());
    buffer->image_ = QImage(static_cast<uchar*>(memory), size.width(), size.height(), stride,
                            QImage::Format_ARGB32_Premultiplied);
    return buffer;
}

ShmBuffer::~ShmBuffer() {
    image_ = QImage();
    if (buffer_) wl_buffer_destroy(buffer_);
    if (memory_) munmap(memory_, bytes_);
}

}  // namespace wayland
