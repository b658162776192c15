#pragma once

#include "Services.h"

#include <QLibrary>
#include <QString>

#include <memory>

namespace vespin {

// The help service of the running program: the viewer, with Qt Help and its
// database under it, lives in a module loaded at the first help command that
// shows something. Most games end without one, and the start is quicker and
// smaller without them. A module that cannot be loaded is reported at each
// such command; the game goes on.
class LazyHelp final : public HelpService {
public:
    // modulePath: the viewer module; collectionFile: the help collection.
    LazyHelp(ModalRunner &modal, QString modulePath, QString collectionFile);
    ~LazyHelp() override;

    void command(const QString &file, HelpCommand command, int topic = 0, QPoint popupAt = {}) override;

private:
    HelpService *viewer();

    ModalRunner &m_modal;
    QLibrary m_module;
    QString m_collectionFile;
    std::unique_ptr<HelpService> m_viewer;
};

} // namespace vespin
