#include "BannerMenu.h"

#include <QApplication>
#include <QFontDatabase>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

namespace vespin {
namespace {

const QString BannerTitle = QStringLiteral("Vespintide");
constexpr int BannerLetterHeight = 16;
constexpr int SmallestBannerLetters = 8;

struct BannerColours {
    QColor background;
    QColor text;
};

BannerColours &sharedColours()
{
    static BannerColours colours{QColor(0, 128, 0), BannerMenu::bannerTextFor(QColor(0, 128, 0))};
    return colours;
}

} // namespace

BannerMenu::BannerMenu(QWidget *parent)
    : QMenu(parent)
{
    setUpBanner();
}

BannerMenu::BannerMenu(const QString &title, QWidget *parent)
    : QMenu(title, parent)
{
    setUpBanner();
}

void BannerMenu::setUpBanner()
{
    // The entries keep the desktop's ordinary face; only the banner is bold.
    setFont(QFontDatabase::systemFont(QFontDatabase::GeneralFont));
    // QMenu lays its entries out inside the contents margins, so widening the
    // left one leaves the band free and keeps highlighting, icons and
    // shortcuts exactly as the style draws them.
    QMargins margins = contentsMargins();
    margins.setLeft(margins.left() + BannerWidth);
    setContentsMargins(margins);
}

void BannerMenu::setBannerColours(QColor background, QColor text)
{
    sharedColours() = BannerColours{background, text};
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (auto *menu = qobject_cast<BannerMenu *>(window); menu && menu->isVisible())
            menu->update(menu->bannerRect());
    }
}

QColor BannerMenu::bannerBackground()
{
    return sharedColours().background;
}

QColor BannerMenu::bannerText()
{
    return sharedColours().text;
}

QColor BannerMenu::bannerTextFor(QColor tableColour)
{
    // One addition over the packed colour, red in the low byte, not one per
    // channel: a channel that overflows carries into the next. Only the low
    // three bytes are kept, so a carry out of blue cannot leave the colour
    // range.
    const quint32 packed = quint32(tableColour.red()) | quint32(tableColour.green()) << 8
        | quint32(tableColour.blue()) << 16;
    const quint32 sum = packed + 0x777777u;
    return QColor(int(sum & 0xff), int(sum >> 8 & 0xff), int(sum >> 16 & 0xff));
}

QRect BannerMenu::bannerRect() const
{
    QStyleOption option;
    option.initFrom(this);
    const int frame = style()->pixelMetric(QStyle::PM_MenuPanelWidth, &option, this);
    return QRect(frame, frame, BannerWidth, height() - 2 * frame);
}

void BannerMenu::paintEvent(QPaintEvent *event)
{
    QMenu::paintEvent(event);

    const QRect band = bannerRect();
    QPainter painter(this);
    painter.fillRect(band, bannerBackground());

    QFont letters = font();
    letters.setBold(true);
    letters.setPixelSize(BannerLetterHeight);
    // A short menu gets smaller letters rather than a clipped name.
    const int room = band.height() - 4;
    const int advance = QFontMetrics(letters).horizontalAdvance(BannerTitle);
    if (advance > room && room > 0)
        letters.setPixelSize(qMax(SmallestBannerLetters, BannerLetterHeight * room / advance));

    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setClipRect(band);
    painter.setFont(letters);
    painter.setPen(bannerText());
    // Turned a quarter to the left, the name reads from the bottom up.
    painter.translate(band.left(), band.bottom() + 1);
    painter.rotate(-90);
    painter.drawText(QRect(0, 0, band.height(), band.width()), Qt::AlignCenter, BannerTitle);
}

} // namespace vespin
