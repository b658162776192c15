#pragma once

class QPainter;

// The pictures of the card library, drawn as vectors. Each function paints one
// picture into the rectangle (0, 0)-(71, 96) of the painter's current
// coordinate system; the caller scales the painter to the device pixels the
// picture will occupy, so every picture is rendered at the screen's own
// resolution. Nothing is painted outside that rectangle; the rounded corners
// are left transparent.
namespace vespin::art {

// card 1..52: clubs, diamonds, hearts, spades, each Ace to King.
void paintFace(QPainter &painter, int card);
// The face of `card` as shown by a peek: the same face, visibly marked as
// being looked at.
void paintPeekFace(QPainter &painter, int card);
// back 1..6, six distinct designs.
void paintBack(QPainter &painter, int back);
// symbol 2: the mark of an empty foundation place. Other numbers paint nothing.
void paintSymbol(QPainter &painter, int symbol);

} // namespace vespin::art
