#include "CardLibrary.h"

namespace vespin {

bool CardLibrary::load(const QString &path)
{
    m_library.setFileName(path);
    if (!m_library.load()) {
        m_error = m_library.errorString();
        return false;
    }
    CardLibrary resolved;
    bool complete = true;
#define VESPIN_RESOLVE_FUNCTION(name)                                                    \
    resolved.name = reinterpret_cast<decltype(&::name)>(m_library.resolve(#name));       \
    if (!resolved.name) {                                                                \
        complete = false;                                                                \
        m_error = QStringLiteral("%1: missing function %2").arg(path, QStringLiteral(#name)); \
    }
    VESPIN_CARD_FUNCTIONS(VESPIN_RESOLVE_FUNCTION)
#undef VESPIN_RESOLVE_FUNCTION
    if (!complete) {
        m_library.unload();
        return false;
    }
#define VESPIN_COPY_FUNCTION(name) name = resolved.name;
    VESPIN_CARD_FUNCTIONS(VESPIN_COPY_FUNCTION)
#undef VESPIN_COPY_FUNCTION
    m_loaded = true;
    return true;
}

} // namespace vespin
