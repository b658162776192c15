/*
 * libVespin: the card library of Vespintide.
 *
 * It keeps one record per card (position, face state, blocked, disabled and
 * two user values), draws cards, backs and symbols onto a drawing surface that
 * the program owns, and runs the drag of a single card or of a block of cards.
 * Every function runs on the program's user-interface thread.
 *
 * Cards are numbered 1..52 suit by suit, Ace to King: 1-13 clubs, 14-26
 * diamonds, 27-39 hearts, 40-52 spades, so card n + 1 is the next higher card
 * of card n's suit. Image n + 52 is the peek face of card n: the same face,
 * marked as being looked at. A card is 71 by 96 pixels.
 *
 * All coordinates are table pixels: the surface's own coordinates, before the
 * device pixel ratio. The x, y of InitDrag, DoDrag, BlockDrag, EndBlockDrag
 * and PointInCardTop are mouse points; every other x, y is a top-left corner.
 */
#ifndef VESPIN_H
#define VESPIN_H

#ifdef __cplusplus
extern "C" {
#endif

#define VESPIN_CARD_WIDTH 71
#define VESPIN_CARD_HEIGHT 96
#define VESPIN_CARD_COUNT 52
#define VESPIN_PEEK_IMAGE_OFFSET 52
#define VESPIN_BACK_COUNT 6
#define VESPIN_BLOCK_STEP 16
#define VESPIN_SYMBOL_EMPTY_FOUNDATION 2
#define VESPIN_ITEM_CAPACITY 1024

/* One picture on a surface, bottom to top in VespinSurface.items. The library
 * writes these; the owner only empties the list (itemCount = 0) whenever it
 * fills the whole surface with its background. */
typedef struct VespinItem {
    int kind;  /* VESPIN_ITEM_* */
    int id;    /* image 1..104, back 1..6 or symbol number */
    int x;
    int y;
} VespinItem;

enum { VESPIN_ITEM_IMAGE = 1, VESPIN_ITEM_BACK = 2, VESPIN_ITEM_SYMBOL = 3 };

/* A drawing surface, the "window" of the functions below. The owner allocates
 * it, keeps the pixel fields up to date and never lets the library outlive
 * the pixels. The library draws at once and reports each touched rectangle
 * through `changed`, which lets the owner schedule a screen update. */
typedef struct VespinSurface {
    unsigned char *bits;      /* 32-bit premultiplied ARGB, top row first */
    int width;                /* in device pixels */
    int height;               /* in device pixels */
    int bytesPerLine;
    double devicePixelRatio;  /* device pixels per table pixel, > 0 */
    unsigned int background;  /* 0xAARRGGBB shown where no picture lies */
    void *owner;
    void (*changed)(void *owner, int x, int y, int width, int height); /* table pixels; may be NULL */
    int itemCount;
    VespinItem items[VESPIN_ITEM_CAPACITY];
} VespinSurface;

#if defined(__GNUC__)
#pragma GCC visibility push(default)
#endif

/* Resets every record and checks that the surface can be drawn on; returns 1
 * when the library is usable, else 0. */
int InitializeDeck(VespinSurface *window);
/* Before each deal: every card face up, not blocked, enabled and off the
 * table (not hit and not drawn) until it is dealt again. */
void SetDefaultValues(void);
/* The back design (1..6) drawn for face-down cards; other values are ignored. */
void SetCurrentBack(int back);
void DrawBack(VespinSurface *window, int back, int x, int y);

/* Records the card at x, y and draws it on top; its earlier pictures go. */
void DealCard(VespinSurface *window, int card, int x, int y);
/* Draws image 1..104 at x, y on top, and nothing else: the record stays and
 * earlier pictures of the image remain. */
void DrawCard(VespinSurface *window, int image, int x, int y);
/* Takes every picture of the image off; what they covered shows again. */
void RemoveCard(VespinSurface *window, int image);
void DrawSymbol(VespinSurface *window, int symbol, int x, int y);

int GetCardSuit(int card);
int GetCardValue(int card);   /* 1 Ace .. 13 King */
int GetCardStatus(int card);  /* 1 face up, 0 face down */
int GetCardBlocked(int card);
int GetCardX(int card);
int GetCardY(int card);
int GetUser3(int card);
int GetUser4(int card);

void SetCardStatus(int card, int value);
void AdjustCardBlocked(int card, int value);
void SetCardDisabled(int card, int value);
void SetUser3(int card, int value);
void SetUser4(int card, int value);

/* The topmost enabled card on the table under the mouse point, else 0. A card
 * found starts a drag that keeps the grab point. During a block drag the call
 * only moves the grab point; the block keeps being dragged. */
int InitDrag(VespinSurface *window, int x, int y);
void DoDrag(VespinSurface *window, int x, int y);
void ReturnDrag(VespinSurface *window, int card, int x, int y);
void AbortDrag(void);

/* cards: count card numbers, the block's first (topmost) card first. Its first
 * card keeps the grab point's offset from the mouse; the others follow it,
 * each 16 pixels lower and drawn over the one before. */
void BlockDrag(VespinSurface *window, const int *cards, int count, int x, int y);
void EndBlockDrag(VespinSurface *window, const int *cards, int count, int x, int y);
void ReturnBlockDrag(VespinSurface *window, const int *cards, int count, int x, int y);

/* The enabled card whose visible part, the strip not covered by cards above
 * it, holds the point; else 0. */
int PointInCardTop(int x, int y);

#if defined(__GNUC__)
#pragma GCC visibility pop
#endif

#ifdef __cplusplus
}
#endif

#endif /* VESPIN_H */
