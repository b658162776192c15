#pragma once

#include <QWidget>

namespace vespin {

// The picture shown on the table after a win: drawn on a 33 x 33 grid and
// stretched to the widget's size, as vectors so it stays sharp at any size.
// It lets the mouse through to the table under it.
class WinPicture : public QWidget {
public:
    static constexpr int GridSize = 33;

    explicit WinPicture(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace vespin
