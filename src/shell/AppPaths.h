#pragma once

#include <QString>

namespace vespin {

// Where the program's own files are. In the build tree both are the
// executable's directory; installed, they are <prefix>/lib/vespintide and
// <prefix>/share/vespintide beside <prefix>/bin.
QString cardLibraryPath();
QString dataDirectory();
// The help viewer, a module beside the card library.
QString helpModulePath();
QString soundModulePath();

} // namespace vespin
