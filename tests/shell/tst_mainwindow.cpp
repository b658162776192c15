#include "TestServices.h"
#include "interaction/TableSurface.h"
#include "shell/TfrmMain.h"

#include <QAction>
#include <QLabel>
#include <QStatusBar>
#include <QtTest>

using namespace vespin;

class TestMainWindow : public QObject {
    Q_OBJECT

private slots:
    void unusableCardLibraryEndsTheProgram_data();
    void unusableCardLibraryEndsTheProgram();
    void storedPlacementIsKeptOnScreen_data();
    void storedPlacementIsKeptOnScreen();
    void firstActivationDealsOnce();
    void windowKeepsItsWidthAndMinimumHeight();
    void newGameAsksFirstWhenPromptsAreOn();
};

void TestMainWindow::unusableCardLibraryEndsTheProgram_data()
{
    QTest::addColumn<QString>("path");
    const QString fakes = QStringLiteral(VESPIN_FAKE_CARDLIB_DIR);
    QTest::newRow("missing file") << fakes + QStringLiteral("/none/libVespin.so");
    QTest::newRow("missing function") << fakes + QStringLiteral("/incomplete/libVespin.so");
    QTest::newRow("refuses to initialise") << fakes + QStringLiteral("/refusing/libVespin.so");
}

void TestMainWindow::unusableCardLibraryEndsTheProgram()
{
    QFETCH(QString, path);
    test::TestServices services;
    TfrmMain window(services.services(), path);
    QVERIFY(!window.isUsable());
    QCOMPARE(services.modal.shown().size(), 1);
    QCOMPARE(services.modal.shown().first().text, QStringLiteral("Sorry. Unable to locate or open Vespin.DLL"));
    QCOMPARE(services.modal.shown().first().buttons, QStringList{QStringLiteral("OK")});
    QVERIFY(services.sound.played.isEmpty());
    QCOMPARE(test::filesUnder(services.settings.root()), QStringList());
}

void TestMainWindow::storedPlacementIsKeptOnScreen_data()
{
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<QList<int>>("stored"); // left, top, height
    QTest::addColumn<QRect>("placed");
    const QSize screen(1024, 768);
    QTest::newRow("fits") << screen << QList<int>{10, 20, 500} << QRect(10, 20, 640, 500);
    QTest::newRow("too far right") << screen << QList<int>{700, 20, 500} << QRect(192, 20, 640, 500);
    QTest::newRow("right edge exactly") << screen << QList<int>{384, 20, 500} << QRect(384, 20, 640, 500);
    QTest::newRow("negative left") << screen << QList<int>{-1, 20, 500} << QRect(192, 20, 640, 500);
    QTest::newRow("above the screen") << screen << QList<int>{10, -5, 700} << QRect(10, 144, 640, 450);
    QTest::newRow("too tall") << screen << QList<int>{10, 100, 669} << QRect(10, 144, 640, 450);
    QTest::newRow("small screen") << QSize(640, 480) << QList<int>{1, 0, 480} << QRect(0, 0, 640, 480);
    // Hand-edited values at the ends of the range neither wrap nor place
    // the window off the screen.
    QTest::newRow("largest left") << screen << QList<int>{2147483647, 20, 500} << QRect(192, 20, 640, 500);
    QTest::newRow("largest top") << screen << QList<int>{10, 2147483647, 500} << QRect(10, 144, 640, 450);
    QTest::newRow("largest height") << screen << QList<int>{10, 20, 2147483647} << QRect(10, 144, 640, 450);
    QTest::newRow("smallest height") << screen << QList<int>{10, 20, -2147483647 - 1} << QRect(10, 20, 640, 450);
}

void TestMainWindow::storedPlacementIsKeptOnScreen()
{
    QFETCH(QSize, screen);
    QFETCH(QList<int>, stored);
    QFETCH(QRect, placed);
    QCOMPARE(placeMainWindow(screen, stored[0], stored[1], stored[2]), placed);
}

void TestMainWindow::firstActivationDealsOnce()
{
    test::TestServices services;
    services.clock.millisecondsOfDay = 0; // a random deal at midnight draws game 0
    TfrmMain window(services.services(), QStringLiteral(VESPIN_CARDLIB_PATH));
    QVERIFY(window.isUsable());
    QCOMPARE(window.windowTitle(), QStringLiteral("Vespintide"));

    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QVERIFY(window.hasStarted());
    QVERIFY(window.windowTitle().startsWith(QStringLiteral("Vespintide (Game Number: 0)")));
    QCOMPARE(services.sound.played.count(QStringLiteral("Shuffle.wav")), 1);
    QVERIFY(!window.table().FirstDeal);
    QVERIFY(!window.commands().mnuUndo->isEnabled());
    // Game 0 has an Ace on top: it went up at the deal and started the clock.
    QVERIFY(window.GameTimer.isActive());
    QVERIFY(window.commands().mnuPause->isEnabled());
    QVERIFY(window.commands().mnuPlaceBookmark->isEnabled());
    QVERIFY(!window.commands().mnuReturnToBookmark->isEnabled());
    const auto panels = window.statusBar()->findChildren<QLabel *>();
    QCOMPARE(panels.size(), 3);
    QCOMPARE(panels[0]->text(), QStringLiteral("Vespintide"));
    QCOMPARE(panels[1]->text(), QStringLiteral("Time: 0"));

    // Coming back to the window later deals nothing.
    const auto deck = window.table().Deck;
    services.clock.millisecondsOfDay = 5000;
    window.FormActivate();
    QCOMPARE(window.table().Deck, deck);
    QCOMPARE(services.sound.played.count(QStringLiteral("Shuffle.wav")), 1);
}

void TestMainWindow::windowKeepsItsWidthAndMinimumHeight()
{
    test::TestServices services;
    TfrmMain window(services.services(), QStringLiteral(VESPIN_CARDLIB_PATH));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.frameGeometry().width(), 640);
    window.resize(900, 300);
    QCOMPARE(window.frameGeometry().width(), 640);
    QCOMPARE(window.frameGeometry().height(), 450);
    QVERIFY(window.surface()->width() >= TfrmMain::TableWidth);
}

void TestMainWindow::newGameAsksFirstWhenPromptsAreOn()
{
    test::TestServices services;
    services.clock.millisecondsOfDay = 1000;
    services.writeSettings("[Options]\nPrompts=1\n");
    TfrmMain window(services.services(), QStringLiteral(VESPIN_CARDLIB_PATH));
    window.FormActivate();
    QVERIFY(window.options().Prompts);
    // The first deal never asks; the start shows only the tip and the name.
    const auto atStart = services.modal.takeShown();
    QCOMPARE(atStart.size(), 2);
    QCOMPARE(atStart.at(0).className, QStringLiteral("vespin::TfrmTipOfTheDay"));
    QCOMPARE(atStart.at(1).className, QStringLiteral("vespin::TfrmPlayerName"));
    const auto deck = window.table().Deck;
    const QString caption = window.windowTitle();

    services.clock.millisecondsOfDay = 2000;
    services.modal.press(QMessageBox::No);
    window.commands().mnuNewGame->trigger();
    QCOMPARE(services.modal.shown().size(), 1);
    QCOMPARE(services.modal.shown().last().text, QStringLiteral("Sure you want to quit current game?"));
    QCOMPARE(services.modal.shown().last().buttons.size(), 2);
    QCOMPARE(window.table().Deck, deck);
    QCOMPARE(window.windowTitle(), caption);
    QCOMPARE(services.sound.played.count(QStringLiteral("Shuffle.wav")), 1);

    window.commands().mnuNewGame->trigger(); // closed without an answer: also declined
    QCOMPARE(services.modal.shown().size(), 2);
    QCOMPARE(window.table().Deck, deck);

    services.modal.press(QMessageBox::Yes);
    window.commands().mnuNewGame->trigger();
    QVERIFY(window.table().Deck != deck);
    QCOMPARE(services.sound.played.count(QStringLiteral("Shuffle.wav")), 2);

    window.options().Prompts = false;
    window.commands().mnuNewGame->trigger();
    QCOMPARE(services.modal.shown().size(), 3);
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
