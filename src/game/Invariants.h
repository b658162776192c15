#pragma once

#include "TableModel.h"

#include <QStringList>

namespace vespin {

class CardLibrary;

// What must hold of the table after every operation that changes it, with
// the card library's records agreeing with the model. Returns one line per
// rule broken; empty when all hold. `settled`: a status check has run since
// the last change, so no column ends in a face-down card and the score is
// up to date.
QStringList tableViolations(const TableModel &table, const CardLibrary &cards, bool settled = true);

} // namespace vespin
