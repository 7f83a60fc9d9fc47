#pragma once

#include "store/Autostart.h"

// The XDG autostart entry "vezuDeve_v2.desktop" in $XDG_CONFIG_HOME/autostart (~/.config/autostart).
class XdgAutostart : public AutostartStore {
public:
    XdgAutostart(std::string programPath, std::string settingsFolder);
    std::optional<std::string> ReadRegistration() override;
    void WriteRegistration(const std::string& registration) override;
    void RemoveRegistration() override;
    std::string DesiredRegistration() const override;

    // The entry's full path for the current environment, or "" when no config folder can be named.
    static std::string EntryPath();

private:
    std::string programPath_;
    std::string settingsFolder_;
};
