#pragma once

#include <QRect>
#include <QWidget>

namespace vespin {

// Puts a dialog whose size is settled (call adjustSize() first) in the middle
// of the window it belongs to (the main window, or the dialog that opened
// it). Does nothing without one.
inline void centreOverMainWindow(QWidget &dialog, const QWidget *mainWindow)
{
    if (!mainWindow)
        return;
    // No frame exists before the first show; the other window's decorations
    // are the best guess at the ones this one will get.
    const QRect over = mainWindow->frameGeometry();
    const QSize outer = dialog.size() + over.size() - mainWindow->size();
    dialog.move(over.left() + over.width() - over.width() / 2 - outer.width() / 2,
                over.top() + over.height() - over.height() / 2 - outer.height() / 2);
}

} // namespace vespin
