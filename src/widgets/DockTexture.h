#pragma once

#include <QPixmap>

class QWidget;

namespace vespin {

inline constexpr int DockTextureWidth = 128;
inline constexpr int DockTextureHeight = 60;

// A light woven tile for the tool bar, 128 by 60 pixels in no more than 16
// colours. The colour of its bottom-left pixel is see-through wherever it
// occurs, so the window shows between the threads.
QPixmap dockTexture();

// Lays the tile under a tool bar's (or a dock's) buttons, or takes it away
// again and leaves the widget as the style draws it.
void applyDockTexture(QWidget *toolbarOrDock, bool on);

} // namespace vespin
