#pragma once

#include <QAbstractNativeEventFilter>

#include <functional>

namespace x11 {

// Whether an XEmbed system tray runs on the default screen now.
bool SystemTrayRuns();

// Tells once when an XEmbed system tray starts (its MANAGER announcement on the root window); installed
// as a native event filter for as long as it lives.
class SystemTrayStartWatch : public QAbstractNativeEventFilter {
public:
    explicit SystemTrayStartWatch(std::function<void()> started);
    ~SystemTrayStartWatch() override;
    SystemTrayStartWatch(const SystemTrayStartWatch&) = delete;
    SystemTrayStartWatch& operator=(const SystemTrayStartWatch&) = delete;

    bool nativeEventFilter(const QByteArray& type, void* message, qintptr* result) override;

private:
    std::function<void()> started_;
};

}  // namespace x11
