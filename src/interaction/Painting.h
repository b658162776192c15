#pragma once

#include "game/TableModel.h"

#include "vespin.h"

namespace vespin {

class CardLibrary;

struct ToolbarPlacement {
    bool visible = false;
    bool dockedTop = false;
};

// Draws the whole table from the model through the card library onto a
// surface filled with the table colour. After the tool bar appeared,
// disappeared or changed its docking (RelayoutPending), every card is also
// moved by the tool bar's height and recorded there.
void FormPaint(TableModel &table, const CardLibrary &cards, VespinSurface *window, ToolbarPlacement toolbar);

} // namespace vespin
