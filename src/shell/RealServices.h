#pragma once

#include "LazySound.h"
#include "Services.h"

namespace vespin {

class DialogModalRunner final : public ModalRunner {
public:
    int run(QDialog &dialog) override;
};

class SystemClock final : public Clock {
public:
    std::uint32_t utcMillisecondsOfDay() const override;
    QDateTime localNow() const override;
};

// The audio outputs are counted by the sound module.
class LinuxSystemInfo final : public SystemInfo {
public:
    explicit LinuxSystemInfo(LazySound &sound) : m_sound(sound) {}
    QSize screenSize() const override;
    int audioOutputCount() const override;
    OperatingSystem operatingSystem() const override;
    std::uint64_t totalMemoryBytes() const override;
    QString userFullName() const override;

private:
    LazySound &m_sound;
};

// $XDG_CONFIG_HOME/Vespintide, ~/.config/Vespintide by default.
class XdgSettingsLocation final : public SettingsLocation {
public:
    QString directory() const override;
};

} // namespace vespin
