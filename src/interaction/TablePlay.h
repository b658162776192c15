#pragma once

#include "game/TableModel.h"

#include "vespin.h"

#include <QPoint>
#include <QString>

namespace vespin {

class CardLibrary;

// What the play on the table needs of the window around it.
class PlayFrame {
public:
    virtual ~PlayFrame() = default;
    // A sound effect, played only while sound is on.
    virtual void playSound(const QString &fileName) = 0;
    virtual void setUndoEnabled(bool enabled) = 0;
    virtual bool clockRunning() const = 0;
    virtual void startClock() = 0;
    // The status check's re-arming of Pause while the clock runs.
    virtual void rearmPause() = 0;
    // The score on the status bar and in the caption.
    virtual void showScore(std::int32_t score, std::int32_t gameNumber) = 0;
    // The window takes no input while the automatic moves run.
    virtual void setInputEnabled(bool enabled) = 0;
    virtual bool winPictureVisible() const = 0;
    virtual void DisplayFinish() = 0;
};

// The cards in play: the mouse handling with the move rules, single and
// block drags, the peek, the automatic moves to the foundations, the status
// check with the score, and undo.
class TablePlay {
public:
    TablePlay(TableModel &table, const CardLibrary &cards, VespinSurface *window, PlayFrame &frame);

    void FormMouseDown(Qt::MouseButton button, int X, int Y);
    void FormMouseMove(int X, int Y);
    void FormMouseUp(Qt::MouseButton button, int X, int Y);
    void FormDblClick();
    // Ends a drag in progress as a refused drop ends it: the cards back in
    // their place, the card library's records equal to the model. A peek
    // changes no record and ends with its own release.
    void cancelDrag();

    void CheckGameStatus();
    void CalculateScore();
    void btUndoClick();

    // Interaction state.
    bool SingleDragging = false;
    bool BlockDragging = false;
    bool DragMoved = false;
    bool Peeking = false;
    std::int32_t DestX = 0;
    std::int32_t DestY = 0;
    std::int32_t PeekCard = 0;
    std::int32_t DragCard = 0;
    std::int32_t SourceColumn = 0;
    std::int32_t SourceRow = 0;
    std::int32_t TargetCard = 0;
    std::int32_t TargetColumn = 0;
    std::int32_t DragStartX = 0;
    std::int32_t DragStartY = 0;
    std::int32_t MouseDownX = 0;
    std::int32_t MouseDownY = 0;
    CardList BlockCards{};
    std::int32_t BlockCount = 0;
    std::int32_t GrabOffsetX = 0;
    std::int32_t GrabOffsetY = 0;

private:
    void setEmptyColumns();
    void endPeek();
    void DragSingleCard();
    void returnSingleCard();
    void returnBlock();
    void blockStep(int X, int Y);
    void BlockDragCard(int X, int Y);
    // The card the dragged card may be laid on, or 0: the next card of its
    // suit, exposed and overlapping it where the drag left it.
    std::int32_t countingTarget(std::int32_t card) const;
    // The first empty column within reach of a card's left edge, or 0.
    int emptyColumnAt(int x) const;
    void unblockSourceTop();
    void legalFinish(int destination, const std::int32_t *cards, int count);
    void AutoMove();
    void AutoMoveClickCard(std::int32_t card);

    TableModel &m_table;
    const CardLibrary &m_cards;
    VespinSurface *m_window;
    PlayFrame &m_frame;
};

} // namespace vespin
