// The records of the 52 cards, their stacking order, the drag engine and the
// exported functions of the library.

#include "vespin.h"

#include "Canvas.h"

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <array>
#include <vector>

namespace {

struct CardRecord {
    int x = 0;
    int y = 0;
    int status = 1;
    bool blocked = false;
    bool disabled = false;
    bool onTable = false; // dealt since the last reset: hit by the mouse and drawn
    int user3 = 0;
    int user4 = 0;
};

struct DragState {
    int card = 0;          // the card a single drag moves
    QPoint grab;           // mouse point of the last InitDrag
    QPoint offset;         // grab point minus the dragged picture's corner
    bool blockActive = false;
    bool blockOffsetPending = false; // the next BlockDrag measures the offset anew
};

struct Deck {
    std::array<CardRecord, VESPIN_CARD_COUNT + 1> cards{}; // 1-based
    std::vector<int> stacking; // cards on the table, bottom to top
    DragState drag;
    int currentBack = 1;
};

Deck &deck()
{
    static Deck instance;
    return instance;
}

bool isCard(int card)
{
    return card >= 1 && card <= VESPIN_CARD_COUNT;
}

bool isImage(int image)
{
    return image >= 1 && image <= VESPIN_CARD_COUNT + VESPIN_PEEK_IMAGE_OFFSET;
}

CardRecord *record(int card)
{
    return isCard(card) ? &deck().cards[card] : nullptr;
}

vespin::Picture resolve(const VespinItem &item)
{
    using vespin::Picture;
    switch (item.kind) {
    case VESPIN_ITEM_IMAGE:
        if (isCard(item.id))
            return deck().cards[item.id].status ? Picture{Picture::Face, item.id}
                                                : Picture{Picture::Back, deck().currentBack};
        if (isImage(item.id))
            return {Picture::PeekFace, item.id - VESPIN_PEEK_IMAGE_OFFSET};
        return {};
    case VESPIN_ITEM_BACK: return {Picture::Back, item.id};
    case VESPIN_ITEM_SYMBOL:
        return item.id == VESPIN_SYMBOL_EMPTY_FOUNDATION ? Picture{Picture::Symbol, item.id} : Picture{};
    default: return {};
    }
}

vespin::Canvas canvas(VespinSurface &surface)
{
    return vespin::Canvas(surface, resolve);
}

void raise(int card)
{
    auto &stacking = deck().stacking;
    std::erase(stacking, card);
    stacking.push_back(card);
}

bool contains(const CardRecord &r, int x, int y)
{
    return x >= r.x && x < r.x + VESPIN_CARD_WIDTH && y >= r.y && y < r.y + VESPIN_CARD_HEIGHT;
}

// The card seen at a point: the topmost card on the table containing it.
int topmostAt(int x, int y, bool skipDisabled)
{
    const auto &stacking = deck().stacking;
    for (auto it = stacking.rbegin(); it != stacking.rend(); ++it) {
        const CardRecord &r = deck().cards[*it];
        if (!contains(r, x, y) || (skipDisabled && r.disabled))
            continue;
        return *it;
    }
    return 0;
}

// Moves cards to new corners in one step: each is recorded there and put on
// top in the given order, and the areas they left and entered are composed
// again, so whatever they uncovered shows and nothing is drawn twice.
void placeCards(VespinSurface *surface, const std::vector<std::pair<int, QPoint>> &moves)
{
    std::vector<int> ids;
    for (const auto &[card, corner] : moves) {
        CardRecord &r = deck().cards[card];
        r.x = corner.x();
        r.y = corner.y();
        r.onTable = true;
        raise(card);
        ids.push_back(card);
    }
    if (!surface)
        return;
    vespin::Canvas c = canvas(*surface);
    QRegion dirty = c.removeItems([&](const VespinItem &item) {
        return item.kind == VESPIN_ITEM_IMAGE && std::find(ids.begin(), ids.end(), item.id) != ids.end();
    });
    if (dirty.isEmpty() && moves.size() == 1) {
        // Nothing of the card was shown: a plain draw on top is exact.
        c.drawOnTop({VESPIN_ITEM_IMAGE, moves.front().first, moves.front().second.x(), moves.front().second.y()});
        return;
    }
    for (const auto &[card, corner] : moves) {
        const VespinItem item{VESPIN_ITEM_IMAGE, card, corner.x(), corner.y()};
        c.appendItem(item);
        dirty += c.toDevice(vespin::Canvas::itemRect(item));
    }
    c.compose(dirty);
}

std::vector<std::pair<int, QPoint>> blockMoves(const int *cards, int count, QPoint first)
{
    std::vector<std::pair<int, QPoint>> moves;
    if (!cards || count <= 0)
        return moves;
    for (int k = 0; k < count; ++k) {
        if (!isCard(cards[k]))
            return {};
        moves.emplace_back(cards[k], first + QPoint(0, VESPIN_BLOCK_STEP * k));
    }
    return moves;
}

bool usable(const VespinSurface *surface)
{
    if (!surface || !(surface->devicePixelRatio > 0) || surface->itemCount < 0
        || surface->itemCount > VESPIN_ITEM_CAPACITY)
        return false;
    if (surface->bits && (surface->width <= 0 || surface->height <= 0 || surface->bytesPerLine < surface->width * 4))
        return false;
    // The art must render: a face that leaves no pixel behind means the
    // painting engine is not working here.
    QImage probe(VESPIN_CARD_WIDTH, VESPIN_CARD_HEIGHT, QImage::Format_ARGB32_Premultiplied);
    probe.fill(Qt::transparent);
    VespinSurface scratch{};
    scratch.bits = probe.bits();
    scratch.width = probe.width();
    scratch.height = probe.height();
    scratch.bytesPerLine = int(probe.bytesPerLine());
    scratch.devicePixelRatio = 1.0;
    canvas(scratch).drawOnTop({VESPIN_ITEM_BACK, 1, 0, 0});
    return probe.pixel(VESPIN_CARD_WIDTH / 2, VESPIN_CARD_HEIGHT / 2) != 0;
}

} // namespace

extern "C" {

int InitializeDeck(VespinSurface *window)
{
    deck() = Deck{};
    vespin::clearPictureCache();
    return usable(window) ? 1 : 0;
}

void SetDefaultValues(void)
{
    for (int card = 1; card <= VESPIN_CARD_COUNT; ++card) {
        CardRecord &r = deck().cards[card];
        r.status = 1;
        r.blocked = false;
        r.disabled = false;
        r.onTable = false;
    }
    deck().stacking.clear();
    deck().drag = DragState{};
}

void SetCurrentBack(int back)
{
    if (back >= 1 && back <= VESPIN_BACK_COUNT)
        deck().currentBack = back;
}

void DrawBack(VespinSurface *window, int back, int x, int y)
{
    if (window && back >= 1 && back <= VESPIN_BACK_COUNT)
        canvas(*window).drawOnTop({VESPIN_ITEM_BACK, back, x, y});
}

void DealCard(VespinSurface *window, int card, int x, int y)
{
    if (isCard(card))
        placeCards(window, {{card, QPoint(x, y)}});
}

void DrawCard(VespinSurface *window, int image, int x, int y)
{
    if (!window || !isImage(image))
        return;
    if (isCard(image)) {
        if (!deck().cards[image].onTable)
            return;
        raise(image);
    }
    canvas(*window).drawOnTop({VESPIN_ITEM_IMAGE, image, x, y});
}

void RemoveCard(VespinSurface *window, int image)
{
    if (!window || !isImage(image))
        return;
    vespin::Canvas c = canvas(*window);
    c.compose(c.removeItems([image](const VespinItem &item) {
        return item.kind == VESPIN_ITEM_IMAGE && item.id == image;
    }));
}

void DrawSymbol(VespinSurface *window, int symbol, int x, int y)
{
    if (window && symbol == VESPIN_SYMBOL_EMPTY_FOUNDATION)
        canvas(*window).drawOnTop({VESPIN_ITEM_SYMBOL, symbol, x, y});
}

int GetCardSuit(int card)
{
    return isCard(card) ? (card - 1) / 13 + 1 : 0;
}

int GetCardValue(int card)
{
    return isCard(card) ? (card - 1) % 13 + 1 : 0;
}

int GetCardStatus(int card)
{
    const CardRecord *r = record(card);
    return r ? r->status : 0;
}

int GetCardBlocked(int card)
{
    const CardRecord *r = record(card);
    return r && r->blocked ? 1 : 0;
}

int GetCardX(int card)
{
    const CardRecord *r = record(card);
    return r ? r->x : 0;
}

int GetCardY(int card)
{
    const CardRecord *r = record(card);
    return r ? r->y : 0;
}

int GetUser3(int card)
{
    const CardRecord *r = record(card);
    return r ? r->user3 : 0;
}

int GetUser4(int card)
{
    const CardRecord *r = record(card);
    return r ? r->user4 : 0;
}

void SetCardStatus(int card, int value)
{
    if (CardRecord *r = record(card))
        r->status = value ? 1 : 0;
}

void AdjustCardBlocked(int card, int value)
{
    if (CardRecord *r = record(card))
        r->blocked = value != 0;
}

void SetCardDisabled(int card, int value)
{
    if (CardRecord *r = record(card))
        r->disabled = value != 0;
}

void SetUser3(int card, int value)
{
    if (CardRecord *r = record(card))
        r->user3 = value;
}

void SetUser4(int card, int value)
{
    if (CardRecord *r = record(card))
        r->user4 = value;
}

int InitDrag(VespinSurface *window, int x, int y)
{
    (void)window;
    DragState &drag = deck().drag;
    const int card = topmostAt(x, y, true);
    if (drag.blockActive) {
        // A block being dragged stays in hand; only its grab point moves.
        drag.grab = QPoint(x, y);
        drag.blockOffsetPending = true;
        return card;
    }
    drag = DragState{};
    if (card == 0)
        return 0;
    const CardRecord &r = deck().cards[card];
    drag.card = card;
    drag.grab = QPoint(x, y);
    drag.offset = drag.grab - QPoint(r.x, r.y);
    drag.blockOffsetPending = true;
    return card;
}

void DoDrag(VespinSurface *window, int x, int y)
{
    const DragState &drag = deck().drag;
    if (drag.card == 0 || drag.blockActive)
        return;
    placeCards(window, {{drag.card, QPoint(x, y) - drag.offset}});
}

void ReturnDrag(VespinSurface *window, int card, int x, int y)
{
    if (isCard(card))
        placeCards(window, {{card, QPoint(x, y)}});
}

void AbortDrag(void)
{
    deck().drag = DragState{};
}

void BlockDrag(VespinSurface *window, const int *cards, int count, int x, int y)
{
    if (!cards || count <= 0 || !isCard(cards[0]))
        return;
    DragState &drag = deck().drag;
    if (!drag.blockActive) {
        drag.blockActive = true;
        if (drag.card == 0)
            drag.grab = QPoint(x, y); // no grab point: the block stays under the mouse as it is
        drag.blockOffsetPending = true;
    }
    if (drag.blockOffsetPending) {
        const CardRecord &first = deck().cards[cards[0]];
        drag.offset = drag.grab - QPoint(first.x, first.y);
        drag.blockOffsetPending = false;
    }
    placeCards(window, blockMoves(cards, count, QPoint(x, y) - drag.offset));
}

void EndBlockDrag(VespinSurface *window, const int *cards, int count, int x, int y)
{
    BlockDrag(window, cards, count, x, y);
    deck().drag = DragState{};
}

void ReturnBlockDrag(VespinSurface *window, const int *cards, int count, int x, int y)
{
    placeCards(window, blockMoves(cards, count, QPoint(x, y)));
    deck().drag = DragState{};
}

int PointInCardTop(int x, int y)
{
    const int card = topmostAt(x, y, false);
    return card && !deck().cards[card].disabled ? card : 0;
}

} // extern "C"
