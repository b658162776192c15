#include "SingleInstance.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QElapsedTimer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>

#include <unistd.h>

namespace vespin {
namespace {

// The message a later copy sends: the restore request of the window
// protocol the program grew up with.
const QByteArray RestoreRequest = QByteArrayLiteral("0x1400\n");
// A copy writes its details into the lock at once after creating it; a lock
// still empty after this long was left by one that died in between.
constexpr int EmptyLockStaleMs = 1000;

QString runtimeDirectory()
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath();
    return dir;
}

} // namespace

SingleInstance::SingleInstance(const QString &name, QObject *parent) : QObject(parent)
{
    const QString base = QDir(runtimeDirectory()).absoluteFilePath(QStringLiteral("%1-%2").arg(name).arg(getuid()));
    m_socketPath = base + QStringLiteral(".socket");
    m_lockPath = base + QStringLiteral(".lock");
    m_lock = std::make_unique<QLockFile>(m_lockPath);
    // A lock is stale only when its process is gone, however old it is.
    m_lock->setStaleLockTime(0);
}

SingleInstance::~SingleInstance()
{
    if (m_server)
        m_server->close();
}

bool SingleInstance::becomePrimary()
{
    if (!m_lock->tryLock(0)) {
        // A lock without its owner's details was left by a copy that died
        // while taking it: with no process to ask about, QLockFile would keep
        // it for ever. Removing it fails while a live copy holds it, except
        // in the moment between its creating the file and locking it, which
        // the wait leaves alone.
        if (m_lock->error() != QLockFile::LockFailedError || m_lock->getLockInfo(nullptr, nullptr, nullptr)
            || QFileInfo(m_lockPath).lastModified().msecsTo(QDateTime::currentDateTime()) <= EmptyLockStaleMs
            || !m_lock->removeStaleLockFile() || !m_lock->tryLock(0))
            return false;
    }
    // Holding the lock, any socket there is a crashed copy's.
    QLocalServer::removeServer(m_socketPath);
    m_server = std::make_unique<QLocalServer>();
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server.get(), &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *client = m_server->nextPendingConnection()) {
            connect(client, &QLocalSocket::readyRead, this, [this, client] {
                if (client->readAll().contains(RestoreRequest.trimmed()))
                    emit restoreRequested();
            });
            connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
        }
    });
    // Without a socket the copy still runs alone; a later copy then simply
    // finds nobody to bring to the front.
    m_server->listen(m_socketPath);
    return true;
}

void SingleInstance::askPrimaryToRestore()
{
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 800) {
        QLocalSocket socket;
        socket.connectToServer(m_socketPath);
        if (socket.waitForConnected(200)) {
            socket.write(RestoreRequest);
            socket.waitForBytesWritten(200);
            socket.disconnectFromServer();
            return;
        }
        // The running copy may not listen yet: it started a moment ago.
        QThread::msleep(50);
    }
}

} // namespace vespin
