#include "Deal.h"

#include "interaction/CardLibrary.h"
#include "shell/Services.h"

#include <utility>

namespace vespin {

void Shuffle(TableModel &table, const Clock &clock)
{
    GameRandom &random = table.Random;
    random.SeedFromClock(clock);
    if (!table.PresetGameNumber)
        table.GameNumber = std::int32_t(random.RandomBelow(2147483647u));
    random.RandomState = std::uint32_t(table.GameNumber);
    for (int i = 1; i <= CardCount; ++i)
        table.Deck[i] = i;
    for (int pass = 0; pass < 10; ++pass) {
        for (int i = 1; i <= CardCount; ++i) {
            const int j = int(random.RandomBelow(CardCount)) + 1;
            std::swap(table.Deck[i], table.Deck[j]);
        }
    }
}

void LayOut(TableModel &table, const CardLibrary &cards, VespinSurface *window)
{
    for (int f = FirstFoundation; f <= LastFoundation; ++f)
        cards.DrawSymbol(window, VESPIN_SYMBOL_EMPTY_FOUNDATION, ColumnX[f], table.TableTop + FoundationRowY);

    int next = 1;
    for (int c = 1; c <= 8; ++c) {
        const int n = c <= 4 ? 6 : 7;
        for (int r = 1; r <= n; ++r) {
            const int card = table.Deck[next++];
            if (c >= 5 && r < 7)
                cards.SetCardStatus(card, 0);
            cards.DealCard(window, card, ColumnX[c], rowY(table.TableTop, r));
            table.Tableau[c][r] = card;
            cards.SetUser3(card, r);
            cards.SetUser4(card, c);
            if (r < n)
                cards.AdjustCardBlocked(card, 1);
        }
        table.TableauCounter[c] = n;
    }
    for (int card = 1; card <= CardCount; ++card)
        cards.SetCardDisabled(card, 0);
}

} // namespace vespin
