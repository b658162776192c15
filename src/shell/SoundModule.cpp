// The program's sound through Qt Multimedia, built as a module of its own:
// Qt Multimedia and the audio and codec libraries under it are a fifth of
// everything the program loads, and LazySound loads them beside the start
// rather than before it.

#include "Services.h"

#include <QAudioDevice>
#include <QDir>
#include <QFileInfo>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

#include <map>
#include <memory>

namespace vespin {
namespace {

// Wave files are looked up in the current directory first, then in the
// program's data directory. One sound plays at a time: a new one ends the
// one playing.
class EffectSound final : public SoundService {
public:
    explicit EffectSound(QString dataDirectory) : m_dataDirectory(std::move(dataDirectory)) {}

    void play(const QString &fileName) override
    {
        if (m_playing)
            m_playing->stop();
        QString path = QFileInfo(QDir::current(), fileName).absoluteFilePath();
        if (!QFileInfo::exists(path))
            path = QDir(m_dataDirectory).absoluteFilePath(fileName);
        if (!QFileInfo::exists(path))
            return;
        // Made at the first sound, so that starting the audio back end does
        // not delay the first picture of the table.
        std::unique_ptr<QSoundEffect> &effect = m_effects[path];
        if (!effect) {
            effect = std::make_unique<QSoundEffect>();
            effect->setSource(QUrl::fromLocalFile(path));
        }
        effect->play();
        m_playing = effect.get();
    }

private:
    QString m_dataDirectory;
    // An effect per file, each made at the file's first sound: an effect
    // given a new file while it still loads the last one plays nothing.
    std::map<QString, std::unique_ptr<QSoundEffect>> m_effects;
    QSoundEffect *m_playing = nullptr;
};

} // namespace
} // namespace vespin

extern "C" Q_DECL_EXPORT vespin::SoundService *vespinCreateSound(const QString &dataDirectory)
{
    return new vespin::EffectSound(dataDirectory);
}

extern "C" Q_DECL_EXPORT int vespinAudioOutputCount()
{
    return int(QMediaDevices::audioOutputs().size());
}
