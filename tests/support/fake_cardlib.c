/* A card library that loads but cannot be used: either it refuses to
 * initialise, or it lacks one of the functions the program needs. */
#include "vespin.h"

int InitializeDeck(VespinSurface *window) { (void)window; return 0; }
void SetDefaultValues(void) {}
void SetCurrentBack(int back) { (void)back; }
void DrawBack(VespinSurface *w, int back, int x, int y) { (void)w; (void)back; (void)x; (void)y; }
void DealCard(VespinSurface *w, int card, int x, int y) { (void)w; (void)card; (void)x; (void)y; }
void DrawCard(VespinSurface *w, int image, int x, int y) { (void)w; (void)image; (void)x; (void)y; }
void RemoveCard(VespinSurface *w, int image) { (void)w; (void)image; }
void DrawSymbol(VespinSurface *w, int symbol, int x, int y) { (void)w; (void)symbol; (void)x; (void)y; }
int GetCardSuit(int card) { return card; }
int GetCardValue(int card) { return card; }
int GetCardStatus(int card) { return card; }
int GetCardBlocked(int card) { return card; }
int GetCardX(int card) { return card; }
int GetCardY(int card) { return card; }
int GetUser3(int card) { return card; }
int GetUser4(int card) { return card; }
void SetCardStatus(int card, int value) { (void)card; (void)value; }
void AdjustCardBlocked(int card, int value) { (void)card; (void)value; }
void SetCardDisabled(int card, int value) { (void)card; (void)value; }
void SetUser3(int card, int value) { (void)card; (void)value; }
void SetUser4(int card, int value) { (void)card; (void)value; }
int InitDrag(VespinSurface *w, int x, int y) { (void)w; (void)x; (void)y; return 0; }
void DoDrag(VespinSurface *w, int x, int y) { (void)w; (void)x; (void)y; }
void ReturnDrag(VespinSurface *w, int card, int x, int y) { (void)w; (void)card; (void)x; (void)y; }
void AbortDrag(void) {}
void BlockDrag(VespinSurface *w, const int *c, int n, int x, int y) { (void)w; (void)c; (void)n; (void)x; (void)y; }
void EndBlockDrag(VespinSurface *w, const int *c, int n, int x, int y) { (void)w; (void)c; (void)n; (void)x; (void)y; }
void ReturnBlockDrag(VespinSurface *w, const int *c, int n, int x, int y) { (void)w; (void)c; (void)n; (void)x; (void)y; }
#ifndef VESPIN_FAKE_INCOMPLETE
int PointInCardTop(int x, int y) { (void)x; (void)y; return 0; }
#endif
