#include "LazyHelp.h"

namespace vespin {

LazyHelp::LazyHelp(ModalRunner &modal, QString modulePath, QString collectionFile)
    : m_modal(modal), m_module(modulePath), m_collectionFile(std::move(collectionFile))
{
}

// The viewer goes before the module that holds its code; the module itself
// stays loaded to the end of the process, as Qt's own plugins do.
LazyHelp::~LazyHelp() = default;

void LazyHelp::command(const QString &file, HelpCommand command, int topic, QPoint popupAt)
{
    // Closing a viewer that was never opened needs no module.
    if (command == HelpCommand::Quit && !m_viewer)
        return;
    if (HelpService *help = viewer())
        help->command(file, command, topic, popupAt);
}

HelpService *LazyHelp::viewer()
{
    if (m_viewer)
        return m_viewer.get();
    using Create = HelpService *(*)(ModalRunner &, const QString &);
    const auto create = reinterpret_cast<Create>(m_module.resolve("vespinCreateHelpViewer"));
    if (!create) {
        showMessage(m_modal, QMessageBox::Warning, QStringLiteral("Vespintide"),
                    QStringLiteral("Unable to open the help viewer %1:\n%2")
                        .arg(m_module.fileName(), m_module.errorString()),
                    QMessageBox::Ok);
        return nullptr;
    }
    m_viewer.reset(create(m_modal, m_collectionFile));
    return m_viewer.get();
}

} // namespace vespin
