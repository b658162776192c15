#include "TablePlay.h"

#include "CardLibrary.h"
#include "game/Invariants.h"

#include <algorithm>

namespace vespin {

namespace {

bool isAce(std::int32_t card)
{
    return card == 1 || card == 14 || card == 27 || card == 40;
}

} // namespace

TablePlay::TablePlay(TableModel &table, const CardLibrary &cards, VespinSurface *window, PlayFrame &frame)
    : m_table(table), m_cards(cards), m_window(window), m_frame(frame)
{
}

void TablePlay::setEmptyColumns()
{
    for (int c = 1; c <= 8; ++c)
        m_table.EmptyColumn[c] = m_table.TableauCounter[c] == 0;
}

void TablePlay::FormMouseDown(Qt::MouseButton button, int X, int Y)
{
    MouseDownX = X;
    MouseDownY = Y;
    if (button == Qt::LeftButton && !Peeking) {
        setEmptyColumns();
        DragCard = m_cards.InitDrag(m_window, X, Y);
        if (DragCard == 0 || m_cards.GetCardStatus(DragCard) == 0) {
            m_cards.AbortDrag();
            return;
        }
        DragStartX = m_cards.GetCardX(DragCard);
        DragStartY = m_cards.GetCardY(DragCard);
        if (m_cards.GetCardBlocked(DragCard))
            BlockDragging = true;
        else
            SingleDragging = true;
    } else if (button == Qt::RightButton && !SingleDragging && !BlockDragging && !DragMoved) {
        PeekCard = m_cards.PointInCardTop(X, Y);
        if (PeekCard == 0)
            return;
        SourceColumn = m_cards.GetUser4(PeekCard);
        SourceRow = m_cards.GetUser3(PeekCard);
        DragStartX = m_cards.GetCardX(PeekCard);
        DragStartY = m_cards.GetCardY(PeekCard);
        if (m_cards.GetCardStatus(PeekCard) == 1) {
            m_cards.DrawCard(m_window, PeekCard + VESPIN_PEEK_IMAGE_OFFSET, DragStartX, DragStartY);
            Peeking = true;
        }
    }
}

void TablePlay::FormMouseMove(int X, int Y)
{
    if (SingleDragging && !Peeking) {
        m_cards.DoDrag(m_window, X, Y);
        DragMoved = true;
    } else if (BlockDragging && !Peeking) {
        blockStep(X, Y);
    }
    if (Peeking && (X < MouseDownX - 10 || X > MouseDownX + 10 || Y < MouseDownY - 10 || Y > MouseDownY + 10))
        endPeek();
}

void TablePlay::endPeek()
{
    m_cards.RemoveCard(m_window, PeekCard + VESPIN_PEEK_IMAGE_OFFSET);
    // The column index comes from the card's record; a card that is not in
    // a column has nothing to redraw.
    if (SourceColumn >= 1 && SourceColumn <= 8) {
        for (int r = std::max(SourceRow, 1); r <= m_table.TableauCounter[SourceColumn]; ++r) {
            const std::int32_t card = m_table.Tableau[SourceColumn][r];
            m_cards.DrawCard(m_window, card, m_cards.GetCardX(card), m_cards.GetCardY(card));
        }
    }
    Peeking = false;
}

void TablePlay::FormMouseUp(Qt::MouseButton button, int X, int Y)
{
    if (m_table.Score < CardCount && button == Qt::LeftButton && !Peeking) {
        if (SingleDragging || BlockDragging) {
            if (SingleDragging)
                DragSingleCard();
            else
                BlockDragCard(X, Y);
            setEmptyColumns();
            CalculateScore();
            CheckGameStatus();
        }
    } else if (button == Qt::RightButton && Peeking && !BlockDragging && !SingleDragging && !DragMoved) {
        endPeek();
    }
    // A release of the other button in the middle of a drag must not end
    // the card library's part of it: the dragged cards would lose their
    // grab point and be laid off their place by the drop.
    if (!SingleDragging && !BlockDragging)
        m_cards.AbortDrag();
}

void TablePlay::FormDblClick()
{
    DragMoved = false;
}

void TablePlay::cancelDrag()
{
    if (SingleDragging && DragMoved)
        returnSingleCard();
    else if (BlockDragging && DragMoved)
        returnBlock();
    else if (SingleDragging || BlockDragging)
        m_cards.AbortDrag();
    SingleDragging = BlockDragging = DragMoved = false;
}

void TablePlay::returnSingleCard()
{
    m_cards.ReturnDrag(m_window, DragCard, DragStartX, DragStartY);
    m_frame.playSound(QStringLiteral("Abort.wav"));
}

// The block as blockStep last gathered it: its cards and count are those of
// the drag in progress.
void TablePlay::returnBlock()
{
    m_cards.ReturnBlockDrag(m_window, &BlockCards[1], BlockCount, DragStartX, DragStartY);
    m_cards.AdjustCardBlocked(BlockCards[BlockCount], 0);
    m_frame.playSound(QStringLiteral("Abort.wav"));
}

std::int32_t TablePlay::countingTarget(std::int32_t card) const
{
    if (m_cards.GetCardValue(card) == 13)
        return 0;
    const std::int32_t target = card + 1;
    const int dx = m_cards.GetCardX(card);
    const int dy = m_cards.GetCardY(card);
    const int tx = m_cards.GetCardX(target);
    const int ty = m_cards.GetCardY(target);
    const bool overlaps = dx > tx - CardWidth && dx < tx + CardWidth && dy > ty - CardHeight && dy < ty + CardHeight;
    return !m_cards.GetCardBlocked(target) && overlaps ? target : 0;
}

int TablePlay::emptyColumnAt(int x) const
{
    for (int c = 1; c <= 8; ++c) {
        if (m_table.EmptyColumn[c] && ColumnX[c] - CardWidth <= x && x <= ColumnX[c] + CardWidth)
            return c;
    }
    return 0;
}

void TablePlay::unblockSourceTop()
{
    const std::int32_t count = m_table.TableauCounter[SourceColumn];
    if (count > 0)
        m_cards.AdjustCardBlocked(m_table.Tableau[SourceColumn][count], 0);
}

void TablePlay::legalFinish(int destination, const std::int32_t *cards, int count)
{
    m_frame.playSound(QStringLiteral("Dealcard.wav"));
    m_frame.startClock();
    for (int k = 1; k <= count; ++k)
        m_table.UndoCards[k] = cards[k - 1];
    m_table.UndoCount = count;
    m_table.UndoFrom = SourceColumn;
    m_table.UndoTo = destination;
    m_frame.setUndoEnabled(true);
}

void TablePlay::DragSingleCard()
{
    const int DX = m_cards.GetCardX(DragCard);
    bool legal = false;
    if (DragMoved) {
        const bool king = m_cards.GetCardValue(DragCard) == 13;
        TargetCard = countingTarget(DragCard);
        if (king || TargetCard != 0) {
            const int dragSuit = m_cards.GetCardSuit(DragCard);
            const int dragValue = m_cards.GetCardValue(DragCard);
            SourceColumn = m_cards.GetUser4(DragCard);
            SourceRow = m_cards.GetUser3(DragCard);
            TargetColumn = m_cards.GetUser4(TargetCard);
            const int empty = king ? emptyColumnAt(DX) : 0;
            if (empty != 0) {
                DestX = ColumnX[empty];
                DestY = m_table.TableTop + FirstRowY;
                --m_table.TableauCounter[SourceColumn];
                ++m_table.TableauCounter[empty];
                m_cards.SetUser3(DragCard, m_table.TableauCounter[empty]);
                m_cards.SetUser4(DragCard, empty);
                m_cards.RemoveCard(m_window, DragCard);
                m_cards.DealCard(m_window, DragCard, DestX, DestY);
                unblockSourceTop();
                m_table.Tableau[empty][m_table.TableauCounter[empty]] = DragCard;
                legalFinish(empty, &DragCard, 1);
                legal = true;
            } else if (TargetCard != 0 && m_cards.GetCardSuit(TargetCard) == dragSuit
                       && dragValue + 1 == m_cards.GetCardValue(TargetCard)) {
                --m_table.TableauCounter[SourceColumn];
                ++m_table.TableauCounter[TargetColumn];
                m_cards.AdjustCardBlocked(TargetCard, 1);
                m_cards.SetUser3(DragCard, m_table.TableauCounter[TargetColumn]);
                m_cards.SetUser4(DragCard, TargetColumn);
                DestX = m_cards.GetCardX(TargetCard);
                DestY = m_cards.GetCardY(TargetCard);
                m_cards.RemoveCard(m_window, DragCard);
                m_cards.DealCard(m_window, DragCard, DestX, DestY + RowStep);
                unblockSourceTop();
                m_table.Tableau[TargetColumn][m_table.TableauCounter[TargetColumn]] = DragCard;
                legalFinish(TargetColumn, &DragCard, 1);
                legal = true;
            }
        }
        if (legal)
            checkTable(m_table, m_cards, false, "a drop");
        else
            returnSingleCard();
    }
    SingleDragging = false;
    DragMoved = false;
}

void TablePlay::blockStep(int X, int Y)
{
    SourceColumn = m_cards.GetUser4(DragCard);
    SourceRow = m_cards.GetUser3(DragCard);
    BlockCount = m_table.TableauCounter[SourceColumn] - SourceRow + 1;
    for (int k = 1; k <= BlockCount; ++k)
        BlockCards[k] = m_table.Tableau[SourceColumn][SourceRow + k - 1];
    m_cards.AdjustCardBlocked(BlockCards[BlockCount], 1);
    m_cards.BlockDrag(m_window, &BlockCards[1], BlockCount, X, Y);
    DragMoved = true;
}

void TablePlay::BlockDragCard(int X, int Y)
{
    if (BlockDragging && !DragMoved) {
        m_cards.AbortDrag();
        BlockDragging = false;
        DragMoved = false;
        return;
    }
    const bool king = m_cards.GetCardValue(DragCard) == 13;
    TargetCard = countingTarget(DragCard);
    const int dragSuit = m_cards.GetCardSuit(DragCard);
    const int dragValue = m_cards.GetCardValue(DragCard);
    SourceColumn = m_cards.GetUser4(DragCard);
    SourceRow = m_cards.GetUser3(DragCard);
    TargetColumn = m_cards.GetUser4(TargetCard);
    const int DX = m_cards.GetCardX(DragCard);
    const std::int32_t *block = &BlockCards[1];
    const std::int32_t last = BlockCards[BlockCount];

    auto appendBlock = [&](int column) {
        for (int k = 1; k <= BlockCount; ++k) {
            const std::int32_t count = ++m_table.TableauCounter[column];
            m_table.Tableau[column][count] = BlockCards[k];
            m_cards.SetUser3(BlockCards[k], count);
            m_cards.SetUser4(BlockCards[k], column);
        }
    };

    // Lays the block with its first card 16 px below (DestX, DestY), where
    // the mouse left it; the grab offset keeps the corner exact.
    auto layBlock = [&](int column, bool grabAgain) {
        GrabOffsetX = X - m_cards.GetCardX(DragCard);
        GrabOffsetY = Y - m_cards.GetCardY(DragCard);
        if (grabAgain)
            m_cards.InitDrag(m_window, X, Y);
        m_cards.BlockDrag(m_window, block, BlockCount, DestX + GrabOffsetX, DestY + RowStep + GrabOffsetY);
        m_cards.EndBlockDrag(m_window, block, BlockCount, DestX + GrabOffsetX, DestY + RowStep + GrabOffsetY);
        appendBlock(column);
        unblockSourceTop();
        m_cards.AdjustCardBlocked(last, 0);
        DragMoved = false;
        legalFinish(column, block, BlockCount);
        checkTable(m_table, m_cards, false, "a block move");
    };

    const int empty = king ? emptyColumnAt(DX) : 0;
    if (empty != 0) {
        m_table.TableauCounter[SourceColumn] -= BlockCount;
        DestX = ColumnX[empty];
        DestY = m_table.TableTop + CardHeight;
        layBlock(empty, true);
    } else if (TargetCard != 0 && m_cards.GetCardSuit(TargetCard) == dragSuit
               && m_cards.GetCardValue(TargetCard) == dragValue + 1) {
        m_table.TableauCounter[SourceColumn] -= BlockCount;
        m_cards.AdjustCardBlocked(TargetCard, 1);
        DestX = m_cards.GetCardX(TargetCard);
        DestY = m_cards.GetCardY(TargetCard);
        layBlock(TargetColumn, false);
    } else {
        returnBlock();
    }
    BlockDragging = false;
    DragMoved = false;
}

void TablePlay::CheckGameStatus()
{
    for (int c = 5; c <= 8; ++c) {
        const std::int32_t count = m_table.TableauCounter[c];
        if (count == 0)
            continue;
        const std::int32_t top = m_table.Tableau[c][count];
        if (m_cards.GetCardStatus(top) == 0) {
            m_cards.SetCardStatus(top, 1);
            m_cards.DrawCard(m_window, top, m_cards.GetCardX(top), m_cards.GetCardY(top));
            m_frame.setUndoEnabled(false);
        }
    }
    if (m_table.Score < CardCount) {
        m_frame.setInputEnabled(false);
        AutoMove();
        m_frame.setInputEnabled(true);
    }
    if (m_frame.clockRunning() && !m_table.PauseDisabled)
        m_frame.rearmPause();
    CalculateScore();
    // A won game's cards belong to the win sequence from then on.
    if (!m_table.GameFinished)
        checkTable(m_table, m_cards, true, "a status check");
}

void TablePlay::CalculateScore()
{
    m_table.Score = 0;
    for (int f = FirstFoundation; f <= LastFoundation; ++f)
        m_table.Score += m_table.FoundationCounter[f];
    m_frame.showScore(m_table.Score, m_table.GameNumber);
    if (m_table.Score == CardCount && !m_frame.winPictureVisible())
        m_frame.DisplayFinish();
}

void TablePlay::AutoMove()
{
    bool moved = false;
    for (int c = 1; c <= 8 && !moved; ++c) {
        const std::int32_t count = m_table.TableauCounter[c];
        if (count == 0)
            continue;
        const std::int32_t T = m_table.Tableau[c][count];
        if (isAce(T)) {
            AutoMoveClickCard(T);
            moved = true;
            break;
        }
        for (int f = FirstFoundation; f <= LastFoundation; ++f) {
            const std::int32_t onFoundation = m_table.FoundationCounter[f];
            if (onFoundation > 0 && T - 1 == m_table.Foundation[f][onFoundation]) {
                AutoMoveClickCard(T);
                moved = true;
                break;
            }
        }
    }
    if (moved && m_table.Score < CardCount)
        CheckGameStatus();
}

void TablePlay::AutoMoveClickCard(std::int32_t card)
{
    if (card == 0)
        return;
    const int suit = m_cards.GetCardSuit(card);
    const int value = m_cards.GetCardValue(card);
    const int column = m_cards.GetUser4(card);
    int destination = 0;
    for (int f = FirstFoundation; f <= LastFoundation && destination == 0; ++f) {
        if (m_table.FoundationUsed[f]) {
            for (int k = 1; k <= m_table.FoundationCounter[f]; ++k) {
                const std::int32_t below = m_table.Foundation[f][k];
                if (m_cards.GetCardSuit(below) == suit && m_cards.GetCardValue(below) == value - 1)
                    destination = f;
            }
        } else if (value == 1) {
            destination = f;
        }
    }
    if (destination == 0 || column < 1 || column > 8)
        return;

    const int f = destination;
    m_table.FoundationUsed[f] = true;
    m_cards.RemoveCard(m_window, card);
    m_cards.DealCard(m_window, card, ColumnX[f], m_table.TableTop + FoundationRowY);
    ++m_table.FoundationCounter[f];
    const std::int32_t left = --m_table.TableauCounter[column];
    if (left > 0)
        m_cards.AdjustCardBlocked(m_table.Tableau[column][left], 0);
    m_table.Foundation[f][m_table.FoundationCounter[f]] = card;
    m_cards.SetCardDisabled(card, 1);
    m_frame.playSound(QStringLiteral("MoveCard.wav"));
    m_frame.startClock();
    m_frame.setUndoEnabled(false);
    checkTable(m_table, m_cards, false, "an automatic move");
}

void TablePlay::btUndoClick()
{
    TableModel &t = m_table;
    const int from = t.UndoFrom;
    const int to = t.UndoTo;
    if (t.UndoCount < 1 || from < 1 || from > 8 || to < 1 || to > 8)
        return;
    for (int k = t.UndoCount; k >= 1; --k)
        m_cards.RemoveCard(m_window, t.UndoCards[k]);
    int x = 0;
    int y = 0;
    if (t.EmptyColumn[from]) {
        x = ColumnX[from];
        y = t.TableTop + CardHeight;
    } else {
        const std::int32_t top = t.Tableau[from][t.TableauCounter[from]];
        x = m_cards.GetCardX(top);
        y = m_cards.GetCardY(top);
    }
    for (int k = 1; k <= t.UndoCount; ++k)
        m_cards.DealCard(m_window, t.UndoCards[k], x, y + RowStep * k);
    for (int k = 1; k <= t.UndoCount; ++k) {
        const int row = t.TableauCounter[from] + k;
        t.Tableau[from][row] = t.UndoCards[k];
        m_cards.SetUser3(t.UndoCards[k], row);
        m_cards.SetUser4(t.UndoCards[k], from);
    }
    t.TableauCounter[from] += t.UndoCount;
    for (int r = 1; r < t.TableauCounter[from]; ++r)
        m_cards.AdjustCardBlocked(t.Tableau[from][r], 1);
    t.TableauCounter[to] -= t.UndoCount;
    if (t.TableauCounter[to] > 0)
        m_cards.AdjustCardBlocked(t.Tableau[to][t.TableauCounter[to]], 0);
    m_frame.setUndoEnabled(false);
    m_frame.playSound(QStringLiteral("Undo.wav"));
    checkTable(m_table, m_cards, true, "undo");
}

} // namespace vespin
