#pragma once

#include "vespin.h"

#include <QRect>
#include <QRegion>

#include <functional>

// Drawing on a VespinSurface. The surface's item list is the memory of what
// lies where, bottom to top, so that any area can be composed again from the
// background and the pictures over it: that is how a moved or removed picture
// shows what it covered.
namespace vespin {

// What an item looks like right now. A card image depends on the card's face
// state and the current back, so it is resolved at every draw.
struct Picture {
    enum Kind { None, Face, PeekFace, Back, Symbol };
    Kind kind = None;
    int id = 0;
};

using PictureResolver = std::function<Picture(const VespinItem &)>;

class Canvas {
public:
    Canvas(VespinSurface &surface, PictureResolver resolve);

    static QRect itemRect(const VespinItem &item);
    // The device pixels of a rectangle of table pixels. Edges are rounded on
    // their own, so neighbouring rectangles share no pixel and leave no gap
    // at fractional ratios.
    QRect toDevice(const QRect &rect) const;

    // Appends the item on top and draws it over what is there.
    void drawOnTop(const VespinItem &item);
    // Removes the items the predicate selects and returns the device region
    // they covered, which the caller then composes again.
    QRegion removeItems(const std::function<bool(const VespinItem &)> &select);
    // Appends the item on top; returns the device region of an identical
    // older item it replaced, if any.
    QRegion appendItem(const VespinItem &item);
    // Paints the region afresh: background, then every item in order.
    void compose(const QRegion &deviceRegion);

private:
    void notify(const QRect &deviceRect);

    VespinSurface &m_surface;
    PictureResolver m_resolve;
};

// Drops every cached rendering, e.g. when the library is initialised again.
void clearPictureCache();

} // namespace vespin
