#pragma once

#include <QColor>
#include <QMenu>

namespace vespin {

// A drop-down menu with the game's name on a coloured band down its left
// edge, reading upwards. Every banner menu shares the band's colours.
class BannerMenu : public QMenu {
    Q_OBJECT
public:
    static constexpr int BannerWidth = 18;

    explicit BannerMenu(QWidget *parent = nullptr);
    explicit BannerMenu(const QString &title, QWidget *parent = nullptr);

    // Open menus repaint at once; the others show the new colours when
    // they next open.
    static void setBannerColours(QColor background, QColor text);
    static QColor bannerBackground();
    static QColor bannerText();

    // The banner text that goes with a table colour.
    static QColor bannerTextFor(QColor tableColour);

    // Where the band is drawn, inside the menu's frame.
    QRect bannerRect() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void setUpBanner();
};

} // namespace vespin
