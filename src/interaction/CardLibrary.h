#pragma once

#include "vespin.h"

#include <QLibrary>
#include <QString>

namespace vespin {

// Every function the program takes from the card library, by name.
#define VESPIN_CARD_FUNCTIONS(X)                                                                       \
    X(InitializeDeck) X(SetDefaultValues) X(SetCurrentBack) X(DrawBack) X(DealCard) X(DrawCard)        \
    X(RemoveCard) X(DrawSymbol) X(GetCardSuit) X(GetCardValue) X(GetCardStatus) X(GetCardBlocked)      \
    X(GetCardX) X(GetCardY) X(GetUser3) X(GetUser4) X(SetCardStatus) X(AdjustCardBlocked)              \
    X(SetCardDisabled) X(SetUser3) X(SetUser4) X(InitDrag) X(DoDrag) X(ReturnDrag) X(AbortDrag)        \
    X(BlockDrag) X(EndBlockDrag) X(ReturnBlockDrag) X(PointInCardTop)

// The card library, loaded at run time. Calls go through the members, which
// carry the functions' own names: cards.DealCard(surface, card, x, y).
class CardLibrary {
public:
    CardLibrary() = default;
    CardLibrary(const CardLibrary &) = delete;
    CardLibrary &operator=(const CardLibrary &) = delete;

    // Loads the library file and resolves every function. On failure nothing
    // is resolved and errorString() says what was missing.
    bool load(const QString &path);
    bool isLoaded() const { return m_loaded; }
    QString errorString() const { return m_error; }

#define VESPIN_DECLARE_FUNCTION(name) decltype(&::name) name = nullptr;
    VESPIN_CARD_FUNCTIONS(VESPIN_DECLARE_FUNCTION)
#undef VESPIN_DECLARE_FUNCTION

private:
    QLibrary m_library;
    bool m_loaded = false;
    QString m_error;
};

} // namespace vespin
