#include "widgets/BannerMenu.h"
#include "widgets/DockTexture.h"
#include "widgets/Glyphs.h"

#include <QtTest>

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QStyle>
#include <QStyleOption>
#include <QToolBar>

using namespace vespin;

namespace {

const char *const GlyphNames[GlyphCount] = {
    "NewGame", "SelectGame", "RestartGame", "Undo", "Pause", "TopTen", "Statistics", "Exit", "Preferences",
    "PlayerName", "Sound", "AutoSave", "PlaceBookmark", "ReturnToBookmark", "BackgroundColor", "CardBack",
    "Refresh", "ViewToolbar", "ViewStatusBar", "Contents", "KeywordSearch", "HowToPlay", "UsingHelp",
    "TipOfTheDay", "About", "Help", "Readme",
};

QImage comparable(const QPixmap &pixmap)
{
    return pixmap.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

qreal coverage(const QImage &image)
{
    int painted = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            painted += qAlpha(image.pixel(x, y)) > 0;
    return qreal(painted) / (image.width() * image.height());
}

} // namespace

class TestWidgets : public QObject {
    Q_OBJECT

private slots:
    void bannerTextFollowsTheTableColour_data();
    void bannerTextFollowsTheTableColour();
    void bannerRunsUpTheLeftEdgeInTheSharedColours();
    void glyphDrawsAtEachRatio_data();
    void glyphDrawsAtEachRatio();
    void glyphsAreAllDifferent();
    void menuIndexesStopAtTheMenuList();
    void dockTextureIsALightTileWithAClearKey();
    void texturedToolbarTurnsBackToItsOwnLook();
};

void TestWidgets::bannerTextFollowsTheTableColour_data()
{
    QTest::addColumn<QColor>("table");
    QTest::addColumn<QColor>("text");

    QTest::newRow("Green") << QColor(0, 128, 0) << QColor(0x77, 0xf7, 0x77);
    QTest::newRow("Black") << QColor(0, 0, 0) << QColor(0x77, 0x77, 0x77);
    QTest::newRow("Gray") << QColor(128, 128, 128) << QColor(0xf7, 0xf7, 0xf7);
    // 0x0000ff + 0x777777 = 0x777876: red overflows into green.
    QTest::newRow("Red") << QColor(255, 0, 0) << QColor(0x76, 0x78, 0x77);
    // 0x000089 + 0x777777 = 0x777800: red lands exactly on zero.
    QTest::newRow("red 0x89") << QColor(0x89, 0, 0) << QColor(0x00, 0x78, 0x77);
    // 0x00ff00 + 0x777777 = 0x787677: green overflows into blue.
    QTest::newRow("Lime") << QColor(0, 255, 0) << QColor(0x77, 0x76, 0x78);
    // 0x00ffff + 0x777777 = 0x787776: the carry runs from red through green into blue.
    QTest::newRow("Yellow") << QColor(255, 255, 0) << QColor(0x76, 0x77, 0x78);
    // 0xff0000 + 0x777777 = 0x1767777: blue carries out of the colour.
    QTest::newRow("Blue") << QColor(0, 0, 255) << QColor(0x77, 0x77, 0x76);
    // 0xc0c0c0 + 0x777777 = 0x1383837
    QTest::newRow("Silver") << QColor(192, 192, 192) << QColor(0x37, 0x38, 0x38);
    // 0xffffff + 0x777777 = 0x1777776
    QTest::newRow("White") << QColor(255, 255, 255) << QColor(0x76, 0x77, 0x77);
}

void TestWidgets::bannerTextFollowsTheTableColour()
{
    QFETCH(QColor, table);
    QFETCH(QColor, text);
    QCOMPARE(BannerMenu::bannerTextFor(table), text);
}

void TestWidgets::bannerRunsUpTheLeftEdgeInTheSharedColours()
{
    QCOMPARE(BannerMenu::bannerBackground(), QColor(0, 128, 0));
    QCOMPARE(BannerMenu::bannerText(), BannerMenu::bannerTextFor(QColor(0, 128, 0)));

    BannerMenu menu;
    for (auto glyph : {Glyph::NewGame, Glyph::SelectGame, Glyph::RestartGame, Glyph::Undo, Glyph::Pause, Glyph::Exit})
        menu.addAction(glyphIcon(glyph), QString::fromLatin1(GlyphNames[int(glyph)]));
    menu.popup(QPoint(0, 0));
    QVERIFY(QTest::qWaitForWindowExposed(&menu));

    const QRect band = menu.bannerRect();
    QCOMPARE(band.width(), BannerMenu::BannerWidth);
    for (QAction *action : menu.actions())
        QVERIFY2(menu.actionGeometry(action).left() > band.right(), qPrintable(action->text()));

    const QColor navy(0, 0, 128);
    const QColor lavender = BannerMenu::bannerTextFor(navy);
    BannerMenu::setBannerColours(navy, lavender);
    const QImage shot = menu.grab().toImage();
    BannerMenu::setBannerColours(QColor(0, 128, 0), BannerMenu::bannerTextFor(QColor(0, 128, 0)));

    int background = 0;
    QRect letters;
    for (int y = band.top(); y <= band.bottom(); ++y) {
        for (int x = band.left(); x <= band.right(); ++x) {
            const QColor pixel = shot.pixelColor(x, y);
            background += pixel == navy;
            if (pixel == lavender)
                letters |= QRect(x, y, 1, 1);
        }
    }
    QVERIFY(background > band.width() * band.height() / 2);
    // The name runs along the band, not across it.
    QVERIFY2(letters.height() > 3 * letters.width(), qPrintable(QStringLiteral("%1x%2").arg(letters.width()).arg(letters.height())));
}

void TestWidgets::glyphDrawsAtEachRatio_data()
{
    QTest::addColumn<int>("glyph");
    QTest::addColumn<qreal>("ratio");
    QTest::addColumn<bool>("ownDisabledLook");

    const QList<Glyph> ownDisabled{Glyph::Undo, Glyph::Pause, Glyph::Exit, Glyph::Statistics,
                                   Glyph::Preferences, Glyph::Readme, Glyph::ReturnToBookmark};
    for (int glyph = 0; glyph < GlyphCount; ++glyph) {
        for (qreal ratio : {1.0, 2.0})
            QTest::addRow("%s@%gx", GlyphNames[glyph], ratio) << glyph << ratio << ownDisabled.contains(Glyph(glyph));
    }
}

void TestWidgets::glyphDrawsAtEachRatio()
{
    QFETCH(int, glyph);
    QFETCH(qreal, ratio);
    QFETCH(bool, ownDisabledLook);

    const QIcon icon = glyphIcon(Glyph(glyph));
    const QPixmap normal = icon.pixmap(QSize(16, 16), ratio);
    QCOMPARE(normal.size(), QSize(16, 16) * ratio);
    QCOMPARE(normal.devicePixelRatio(), ratio);
    const QImage picture = comparable(normal);
    QVERIFY2(coverage(picture) > 0.15, "hardly anything drawn");

    const QImage disabled = comparable(icon.pixmap(QSize(16, 16), ratio, QIcon::Disabled));
    QStyleOption option;
    option.palette = QApplication::palette();
    const QImage styleGreyed = comparable(QApplication::style()->generatedIconPixmap(QIcon::Disabled, normal, &option));
    if (ownDisabledLook) {
        QVERIFY(disabled != picture);
        QVERIFY(disabled != styleGreyed);
        QVERIFY2(coverage(disabled) > 0.15, "hardly anything drawn");
    } else {
        QCOMPARE(disabled, styleGreyed);
    }
}

void TestWidgets::glyphsAreAllDifferent()
{
    QList<QImage> pictures;
    for (int glyph = 0; glyph < GlyphCount; ++glyph) {
        pictures.append(comparable(glyphIcon(Glyph(glyph)).pixmap(QSize(16, 16), 1.0)));
        for (int other = 0; other < glyph; ++other)
            QVERIFY2(pictures[glyph] != pictures[other],
                     qPrintable(QStringLiteral("%1 looks like %2").arg(GlyphNames[glyph], GlyphNames[other])));
    }
}

void TestWidgets::menuIndexesStopAtTheMenuList()
{
    QVERIFY(!glyphIcon(0).isNull());
    QVERIFY(!glyphIcon(MenuGlyphCount - 1).isNull());
    QVERIFY(glyphIcon(-1).isNull());
    QVERIFY(glyphIcon(MenuGlyphCount).isNull()); // the tool bar's own Help
}

void TestWidgets::dockTextureIsALightTileWithAClearKey()
{
    const QImage texture = dockTexture().toImage().convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(texture.size(), QSize(128, 60));
    QCOMPARE(qAlpha(texture.pixel(0, texture.height() - 1)), 0);

    QSet<QRgb> colours;
    int clear = 0;
    for (int y = 0; y < texture.height(); ++y) {
        for (int x = 0; x < texture.width(); ++x) {
            const QRgb pixel = texture.pixel(x, y);
            colours.insert(pixel);
            if (qAlpha(pixel) == 0) {
                ++clear;
                continue;
            }
            QCOMPARE(qAlpha(pixel), 255);
            // Black glyphs stand on it.
            QVERIFY2(qGray(pixel) > 180, qPrintable(QStringLiteral("(%1,%2)").arg(x).arg(y)));
        }
    }
    QVERIFY2(colours.size() <= 16, qPrintable(QString::number(colours.size())));
    QVERIFY(clear < texture.width() * texture.height() / 4);
}

void TestWidgets::texturedToolbarTurnsBackToItsOwnLook()
{
    QMainWindow window;
    QToolBar *bar = window.addToolBar(QStringLiteral("Tools"));
    bar->setIconSize(QSize(16, 16));
    bar->addAction(glyphIcon(Glyph::NewGame), QStringLiteral("New"));
    bar->addAction(glyphIcon(Glyph::Undo), QStringLiteral("Undo"))->setEnabled(false);
    bar->addSeparator();
    bar->addAction(glyphIcon(Glyph::Help), QStringLiteral("Help"));
    window.setCentralWidget(new QLabel(QStringLiteral("table")));
    window.resize(300, 120);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    const QImage plain = bar->grab().toImage();
    applyDockTexture(bar, true);
    const QImage textured = bar->grab().toImage();
    QVERIFY(textured != plain);
    applyDockTexture(bar, true);
    QCOMPARE(bar->grab().toImage(), textured);
    applyDockTexture(bar, false);
    QCOMPARE(bar->grab().toImage(), plain);
}

QTEST_MAIN(TestWidgets)
#include "tst_widgets.moc"
