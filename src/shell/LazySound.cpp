#include "LazySound.h"

#include <QDebug>

namespace vespin {

LazySound::LazySound(QString modulePath, QString dataDirectory)
    : m_module(modulePath), m_dataDirectory(std::move(dataDirectory))
{
    // Only the loading runs on the other thread; every call into the module
    // is made from this one, after the wait.
    m_loading = std::async(std::launch::async, [this] { return m_module.load(); });
}

// The sound goes before the module that holds its code; the module itself
// stays loaded to the end of the process, as Qt's own plugins do.
LazySound::~LazySound()
{
    if (m_loading.valid())
        m_loading.wait();
}

bool LazySound::loaded()
{
    if (m_loading.valid()) {
        m_loaded = m_loading.get();
        if (!m_loaded)
            qWarning().noquote() << "No sound: unable to load" << m_module.fileName() << '-' << m_module.errorString();
    }
    return m_loaded;
}

int LazySound::audioOutputCount()
{
    if (!loaded())
        return 0;
    using Count = int (*)();
    const auto count = reinterpret_cast<Count>(m_module.resolve("vespinAudioOutputCount"));
    return count ? count() : 0;
}

void LazySound::play(const QString &fileName)
{
    if (!m_sound) {
        if (!loaded())
            return;
        using Create = SoundService *(*)(const QString &);
        const auto create = reinterpret_cast<Create>(m_module.resolve("vespinCreateSound"));
        if (!create)
            return;
        m_sound.reset(create(m_dataDirectory));
    }
    m_sound->play(fileName);
}

} // namespace vespin
