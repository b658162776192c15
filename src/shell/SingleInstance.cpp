#include "SingleInstance.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QThread>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace vespin {
namespace {

// The message a later copy sends: the restore request of the window
// protocol the program grew up with.
const QByteArray RestoreRequest = QByteArrayLiteral("0x1400\n");
// Enough for the request; a client that sends more is not one of ours.
constexpr qsizetype MaxMessage = 64;

QString runtimeDirectory()
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath();
    return dir;
}

// False when the path does not fit an address.
bool socketAddress(const QString &path, sockaddr_un &address)
{
    const QByteArray name = QFile::encodeName(path);
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    if (name.size() >= qsizetype(sizeof address.sun_path))
        return false;
    std::memcpy(address.sun_path, name.constData(), std::size_t(name.size()));
    return true;
}

} // namespace

struct SingleInstance::Client {
    int fd = -1;
    std::unique_ptr<QSocketNotifier> readable;
    QByteArray received;

    ~Client()
    {
        readable.reset();
        ::close(fd);
    }
};

SingleInstance::SingleInstance(const QString &name, QObject *parent) : QObject(parent)
{
    const QString base = QDir(runtimeDirectory()).absoluteFilePath(QStringLiteral("%1-%2").arg(name).arg(getuid()));
    m_socketPath = base + QStringLiteral(".socket");
    m_lockPath = base + QStringLiteral(".lock");
}

SingleInstance::~SingleInstance()
{
    m_clients.clear();
    m_listening.reset();
    if (m_listenFd >= 0) {
        ::close(m_listenFd);
        ::unlink(QFile::encodeName(m_socketPath).constData());
    }
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
    listen();
    return true;
}

void SingleInstance::listen()
{
    sockaddr_un address;
    if (!socketAddress(m_socketPath, address))
        return;
    // Holding the lock, any socket there is a crashed copy's; without it, it
    // may be a running copy's and stays.
    if (m_lockFd >= 0)
        ::unlink(address.sun_path);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return;
    // Only this user may connect: the socket is made without rights for
    // anyone else.
    const mode_t mask = ::umask(0077);
    const bool bound = ::bind(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0;
    ::umask(mask);
    // Without a socket the copy still runs alone; a later copy then simply
    // finds nobody to bring to the front.
    if (!bound || ::listen(fd, 4) != 0) {
        ::close(fd);
        return;
    }
    m_listenFd = fd;
    m_listening = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
    connect(m_listening.get(), &QSocketNotifier::activated, this, &SingleInstance::acceptClients);
}

void SingleInstance::acceptClients()
{
    for (;;) {
        const int fd = ::accept4(m_listenFd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0)
            return;
        auto client = std::make_unique<Client>();
        client->fd = fd;
        client->readable = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
        Client *const at = client.get();
        connect(client->readable.get(), &QSocketNotifier::activated, this, [this, at] { readClient(at); });
        m_clients.push_back(std::move(client));
    }
}

void SingleInstance::readClient(Client *client)
{
    char buffer[MaxMessage];
    ssize_t got = 0;
    while (client->received.size() <= MaxMessage && (got = ::read(client->fd, buffer, sizeof buffer)) > 0)
        client->received.append(buffer, got);
    // The end of what the copy sends, or a connection that broke; an
    // interrupted read is tried again at the next notice.
    bool done = got == 0 || (got < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR);
    if (client->received.contains(RestoreRequest.trimmed())) {
        emit restoreRequested();
        done = true;
    }
    if (done || client->received.size() > MaxMessage) {
        // Not here, in the notifier's own signal: once the event loop has
        // moved on.
        client->readable->setEnabled(false);
        QMetaObject::invokeMethod(
            this, [this, client] { std::erase_if(m_clients, [client](const auto &c) { return c.get() == client; }); },
            Qt::QueuedConnection);
    }
}

void SingleInstance::askPrimaryToRestore()
{
    sockaddr_un address;
    if (!socketAddress(m_socketPath, address))
        return;
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 800) {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd < 0)
            return;
        if (::connect(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0) {
            // A short line to a socket of this machine: it goes at once or
            // not at all.
            const ssize_t sent = ::send(fd, RestoreRequest.constData(), std::size_t(RestoreRequest.size()), MSG_NOSIGNAL);
            ::close(fd);
            if (sent == RestoreRequest.size())
                return;
        } else {
            ::close(fd);
        }
        // The running copy may not listen yet: it started a moment ago.
        QThread::msleep(50);
    }
}

} // namespace vespin
