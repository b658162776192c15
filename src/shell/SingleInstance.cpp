#include "SingleInstance.h"

#include <QDir>
#include <QFile>
#include <QElapsedTimer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace vespin {
namespace {

// The message a later copy sends: the restore request of the window
// protocol the program grew up with.
const QByteArray RestoreRequest = QByteArrayLiteral("0x1400\n");

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
}

SingleInstance::~SingleInstance()
{
    if (m_server)
        m_server->close();
    if (m_lockFd >= 0)
        ::close(m_lockFd);
}

bool SingleInstance::becomePrimary()
{
    // A lock the system holds for the open file rather than QLockFile's
    // record of a process: it goes with the process however that ends, so
    // no lock left by a crash has to be told from a live one, and taking it
    // writes nothing to the disk.
    const int fd = ::open(QFile::encodeName(m_lockPath).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0) {
        m_lockFd = fd;
    } else {
        const int error = errno;
        if (fd >= 0)
            ::close(fd);
        if (fd >= 0 && error == EWOULDBLOCK)
            return false;
        // No lock to be had there (no room for the file, or a file system
        // without locks): better a copy that cannot find the others than a
        // game that will not start.
        qWarning("Vespintide: cannot lock %s (%s); another copy may run beside this one",
                 qPrintable(m_lockPath), std::strerror(error));
    }
    // Holding the lock, any socket there is a crashed copy's; without it, it
    // may be a running copy's and stays.
    if (m_lockFd >= 0)
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
