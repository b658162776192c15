#pragma once

#include "Services.h"

#include <map>
#include <memory>

class QSoundEffect;

namespace vespin {

class DialogModalRunner final : public ModalRunner {
public:
    int run(QDialog &dialog) override;
};

// Wave files through Qt Multimedia. Files are looked up in the current
// directory first, then in the program's data directory. One sound plays at
// a time: a new one ends the one playing.
class EffectSound final : public SoundService {
public:
    EffectSound();
    ~EffectSound() override;
    void play(const QString &fileName) override;

private:
    // An effect per file, each made at the file's first sound: an effect
    // given a new file while it still loads the last one plays nothing.
    std::map<QString, std::unique_ptr<QSoundEffect>> m_effects;
    QSoundEffect *m_playing = nullptr;
};

class SystemClock final : public Clock {
public:
    std::uint32_t utcMillisecondsOfDay() const override;
    QDateTime localNow() const override;
};

class LinuxSystemInfo final : public SystemInfo {
public:
    QSize screenSize() const override;
    int audioOutputCount() const override;
    OperatingSystem operatingSystem() const override;
    std::uint64_t totalMemoryBytes() const override;
    QString userFullName() const override;
};

// $XDG_CONFIG_HOME/Vespintide, ~/.config/Vespintide by default.
class XdgSettingsLocation final : public SettingsLocation {
public:
    QString directory() const override;
};

} // namespace vespin
