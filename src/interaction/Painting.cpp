#include "Painting.h"

#include "CardLibrary.h"

namespace vespin {

void FormPaint(TableModel &table, const CardLibrary &cards, VespinSurface *window, ToolbarPlacement toolbar)
{
    const bool moveDown = (toolbar.visible || table.ToolbarRedocked) && toolbar.dockedTop;
    auto draw = [&](int card) {
        int y = cards.GetCardY(card);
        const int x = cards.GetCardX(card);
        if (table.RelayoutPending) {
            y += moveDown ? table.ToolbarHeight : -table.ToolbarHeight;
            cards.DealCard(window, card, x, y);
        } else {
            cards.DrawCard(window, card, x, y);
        }
    };

    if (!table.GameFinished) {
        for (int c = 1; c <= 8; ++c)
            for (int r = 1; r <= table.TableauCounter[c]; ++r)
                draw(table.Tableau[c][r]);
    }
    for (int f = FirstFoundation; f <= LastFoundation; ++f)
        cards.DrawSymbol(window, VESPIN_SYMBOL_EMPTY_FOUNDATION, ColumnX[f], table.TableTop + FoundationRowY);
    if (!table.GameFinished) {
        for (int f = FirstFoundation; f <= LastFoundation; ++f) {
            for (int j = 1; j <= table.FoundationCounter[f]; ++j) {
                if (!table.FoundationUsed[f])
                    continue;
                const int card = table.Foundation[f][j];
                draw(card);
                cards.SetCardDisabled(card, 1);
            }
        }
    }
    table.RelayoutPending = false;
    table.ToolbarRedocked = false;
}

} // namespace vespin
