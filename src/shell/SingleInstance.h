#pragma once

#include <QObject>

#include <memory>
#include <vector>

class QSocketNotifier;

namespace vespin {

// One running copy per user. The first copy holds a lock on a file and
// listens on a local socket, both in the user's runtime directory; a later
// copy finds the lock taken, asks the running copy through the socket to come
// to the front, and ends. The system lets go of the lock when its process
// ends, however it ends; a socket left behind by a copy that crashed is
// taken over.
//
// The socket is the system's own Unix-domain socket, watched from the event
// loop, rather than QLocalServer: for the one line it carries, Qt Network
// would load nine libraries (Kerberos, a proxy resolver) at every start.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    // name: what the copies agree on; the user id is added to it.
    explicit SingleInstance(const QString &name, QObject *parent = nullptr);
    ~SingleInstance() override;

    // True when this is the one running copy: it then keeps the lock and
    // listens until it ends. True as well when no lock can be had at all,
    // so that the game still starts.
    bool becomePrimary();
    // Asks the running copy to come to the front; gives up after a while
    // when it does not answer (it may still be starting or ending).
    void askPrimaryToRestore();

    QString socketPath() const { return m_socketPath; }
    QString lockPath() const { return m_lockPath; }

signals:
    void restoreRequested();

private:
    QString m_socketPath;
    QString m_lockPath;
    int m_lockFd = -1;
    int m_listenFd = -1;
    std::unique_ptr<QSocketNotifier> m_listening;
    // The copies connected now, each with what it has sent so far.
    struct Client;
    std::vector<std::unique_ptr<Client>> m_clients;

    void listen();
    void acceptClients();
    void readClient(Client *client);
};

} // namespace vespin
