#pragma once

#include "store/Autostart.h"

// The value "vezuDeve_v2" (REG_SZ) under the current user's
// SOFTWARE\Microsoft\Windows\CurrentVersion\Run key.
class RunKeyAutostart : public AutostartStore {
public:
    RunKeyAutostart(std::string programPath, std::string settingsFolder);
    std::optional<std::string> ReadRegistration() override;
    void WriteRegistration(const std::string& registration) override;
    void RemoveRegistration() override;
    std::string DesiredRegistration() const override;

private:
    std::string programPath_;
    std::string settingsFolder_;
};
