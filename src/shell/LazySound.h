#pragma once

#include "Services.h"

#include <QLibrary>
#include <QString>

#include <future>
#include <memory>

namespace vespin {

// The sound of the running program, and what it knows of the audio outputs,
// from a module (SoundModule.cpp) that a thread of its own begins to load as
// soon as this is made: the window is built meanwhile, and the first ask,
// the start-up's count of outputs, finds the module loaded. A module that
// cannot be loaded is a machine without audio output: no sound, the Sound
// command disabled, and the reason on the standard error.
class LazySound final : public SoundService {
public:
    LazySound(QString modulePath, QString dataDirectory);
    ~LazySound() override;

    void play(const QString &fileName) override;
    int audioOutputCount();

private:
    // False when the module is not there; waits for the load to end.
    bool loaded();

    QLibrary m_module;
    QString m_dataDirectory;
    std::future<bool> m_loading;
    bool m_loaded = false;
    std::unique_ptr<SoundService> m_sound;
};

} // namespace vespin
