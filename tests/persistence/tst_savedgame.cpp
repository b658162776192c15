#include "TestServices.h"
#include "game/Invariants.h"
#include "interaction/TableSurface.h"
#include "persistence/SavedGame.h"
#include "persistence/SettingsFile.h"
#include "persistence/SettingsKeys.h"
#include "shell/TfrmMain.h"

#include <QAction>
#include <QLabel>
#include <QtTest>

using namespace vespin;

namespace {

// The [AutoSave] lines of a settings file, in their order.
QStringList autoSaveLines(const QByteArray &file)
{
    QStringList lines;
    bool inside = false;
    for (const QByteArray &line : file.split('\n')) {
        if (line.startsWith('['))
            inside = line == "[AutoSave]";
        else if (inside && !line.isEmpty())
            lines << QString::fromUtf8(line);
    }
    return lines;
}

} // namespace

class TestSavedGame : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void freshDealSavesSeventyThreeKeysInOrder();
    void roundTripsReproduceTheTable_data();
    void roundTripsReproduceTheTable();
    void nearlyWonPositionRoundTrips();
    void bookmarkComesBackAsOftenAsAsked();
    void closeSavesOrRemovesTheGame_data();
    void closeSavesOrRemovesTheGame();
    void damagedSectionsAreNeverRestored_data();
    void damagedSectionsAreNeverRestored();
    void aGameWithEveryCardHomeIsNotRestored();
    void abandonedGamesAreBooked_data();
    void abandonedGamesAreBooked();
    void topTenInsertion_data();
    void topTenInsertion();
    void topTenDealsADoubleClickedGameAfterItCloses();
    void playerNamesOfAnyTextSurviveTheFile_data();
    void playerNamesOfAnyTextSurviveTheFile();

private:
    TfrmMain &start(const QByteArray &settings = {});
    // Plays some moves of the deal through the real handlers: every legal
    // single-card move found, a few times over.
    void playSomeMoves(int rounds);

    std::unique_ptr<test::TestServices> m_services;
    std::unique_ptr<TfrmMain> m_window;
    QList<test::ShownDialog> m_startDialogs;
};

void TestSavedGame::init()
{
    m_services = std::make_unique<test::TestServices>();
    m_services->clock.millisecondsOfDay = 1; // game 67387906: no Ace on top at the deal
}

void TestSavedGame::cleanup()
{
    m_window.reset();
    m_services.reset();
}

TfrmMain &TestSavedGame::start(const QByteArray &settings)
{
    if (!settings.isNull())
        m_services->writeSettings(settings);
    m_window = std::make_unique<TfrmMain>(m_services->services(), QStringLiteral(VESPIN_CARDLIB_PATH));
    m_window->show();
    if (!QTest::qWaitForWindowExposed(m_window.get()))
        qWarning("not exposed");
    m_window->FormActivate();
    m_startDialogs = m_services->modal.takeShown();
    return *m_window;
}

void TestSavedGame::playSomeMoves(int rounds)
{
    TfrmMain &w = *m_window;
    TablePlay &play = w.play();
    const CardLibrary &cards = w.cards();
    for (int round = 0; round < rounds; ++round) {
        for (int from = 1; from <= 8; ++from) {
            TableModel &t = w.table();
            if (t.TableauCounter[from] == 0)
                continue;
            const int card = t.Tableau[from][t.TableauCounter[from]];
            const int target = card + 1;
            if (cards.GetCardValue(card) == 13 || cards.GetCardBlocked(target) || cards.GetUser4(target) < 1
                || t.Score >= 52 || cards.GetCardY(target) <= t.TableTop + 7)
                continue;
            const QPoint grab(cards.GetCardX(card) + 10, cards.GetCardY(card) + 5);
            const QPoint drop(cards.GetCardX(target) + 10, cards.GetCardY(target) + 21);
            play.FormMouseDown(Qt::LeftButton, grab.x(), grab.y());
            play.FormMouseMove(drop.x(), drop.y());
            play.FormMouseUp(Qt::LeftButton, drop.x(), drop.y());
        }
    }
}

void TestSavedGame::freshDealSavesSeventyThreeKeysInOrder()
{
    TfrmMain &w = start();
    const TableModel &t = w.table();
    QCOMPARE(t.Score, 0);
    w.commands().mnuPlaceBookmark->trigger();
    QVERIFY(w.commands().mnuReturnToBookmark->isEnabled());

    QStringList expected{"GameSaved=1", QStringLiteral("GameNumber=%1").arg(t.GameNumber), "Score=0", "Time=0", "PC=0",
                         "Status5=6", "Status6=6", "Status7=6", "Status8=6"};
    for (int c = 1; c <= 8; ++c)
        expected << QStringLiteral("TableauCounter%1=%2").arg(c).arg(c <= 4 ? 6 : 7);
    for (int f = 5; f <= 8; ++f)
        expected << QStringLiteral("FoundationCounter%1=0").arg(f);
    int next = 1;
    for (int c = 1; c <= 8; ++c)
        for (int r = 1; r <= (c <= 4 ? 6 : 7); ++r)
            expected << QStringLiteral("Tableau_%1_%2=%3").arg(c).arg(r).arg(t.Deck[next++]);
    const QStringList saved = autoSaveLines(m_services->readSettings());
    QCOMPARE(saved.size(), 73);
    QCOMPARE(saved, expected);
}

void TestSavedGame::roundTripsReproduceTheTable_data()
{
    QTest::addColumn<int>("game");
    QTest::addColumn<int>("rounds");
    QTest::newRow("fresh deal") << 67387906 << 0;
    QTest::newRow("game 1, played a while") << 1 << 6;
    QTest::newRow("game 48, played long") << 48 << 20;
    QTest::newRow("game 1994, played long") << 1994 << 20;
}

void TestSavedGame::roundTripsReproduceTheTable()
{
    QFETCH(int, game);
    QFETCH(int, rounds);
    TfrmMain &w = start();
    w.table().GameNumber = game;
    w.table().PresetGameNumber = true;
    w.commands().mnuNewGame->trigger();
    playSomeMoves(rounds);
    w.table().GameTime = 77;
    w.table().PauseCount = 3;

    const TableModel before = w.table();
    std::vector<std::array<int, 6>> records;
    const CardLibrary &cards = w.cards();
    for (int card = 1; card <= 52; ++card)
        records.push_back({cards.GetCardX(card), cards.GetCardY(card), cards.GetCardStatus(card),
                           cards.GetCardBlocked(card), cards.GetUser3(card), cards.GetUser4(card)});
    w.commands().mnuPlaceBookmark->trigger();

    // Play on, then come back.
    playSomeMoves(10);
    w.table().GameTime = 999;
    w.table().PauseCount = 0;
    w.commands().mnuReturnToBookmark->trigger();
    const TableModel &t = w.table();
    QCOMPARE(t.TableauCounter, before.TableauCounter);
    for (int c = 1; c <= 8; ++c)
        for (int r = 1; r <= t.TableauCounter[c]; ++r)
            QCOMPARE(t.Tableau[c][r], before.Tableau[c][r]);
    QCOMPARE(t.FoundationCounter, before.FoundationCounter);
    QCOMPARE(t.FoundationUsed, before.FoundationUsed);
    for (int f = 5; f <= 8; ++f)
        for (int r = 1; r <= t.FoundationCounter[f]; ++r)
            QCOMPARE(t.Foundation[f][r], before.Foundation[f][r]);
    QCOMPARE(t.GameNumber, game);
    QCOMPARE(t.GameTime, 77);
    QCOMPARE(t.PauseCount, 3);
    QCOMPARE(t.Score, before.Score);
    for (int card = 1; card <= 52; ++card) {
        const std::array<int, 6> now{cards.GetCardX(card), cards.GetCardY(card), cards.GetCardStatus(card),
                                     cards.GetCardBlocked(card), cards.GetUser3(card), cards.GetUser4(card)};
        QCOMPARE(now, records[std::size_t(card - 1)]);
    }
    QVERIFY2(tableViolations(t, cards).isEmpty(), qPrintable(tableViolations(t, cards).join('\n')));
    QCOMPARE(m_services->sound.played.count(QStringLiteral("Fart.wav")), 1);
}

void TestSavedGame::nearlyWonPositionRoundTrips()
{
    // Empty columns, fully turned columns and full foundations, as stored.
    QByteArray section = "[AutoSave]\nGameSaved=1\nGameNumber=4711\nScore=48\nTime=100\nPC=2\n";
    for (int c = 1; c <= 8; ++c)
        section += QStringLiteral("TableauCounter%1=%2\n").arg(c).arg(c <= 2 ? 2 : 0).toUtf8();
    const int counts[4] = {13, 13, 11, 11};
    for (int f = 5; f <= 8; ++f)
        section += QStringLiteral("FoundationCounter%1=%2\n").arg(f).arg(counts[f - 5]).toUtf8();
    section += "Tableau_1_1=38\nTableau_1_2=52\nTableau_2_1=51\nTableau_2_2=39\n";
    for (int f = 5; f <= 8; ++f)
        for (int r = 1; r <= counts[f - 5]; ++r)
            section += QStringLiteral("Foundation_%1_%2=%3\n").arg(f).arg(r).arg((f - 5) * 13 + r).toUtf8();
    TfrmMain &w = start("[Options]\nAutoSave=1\nShowNameBox=0\n[TopTen]\nLastPlayer=Ann\n" + section);
    const TableModel &t = w.table();
    QCOMPARE(t.GameNumber, 4711);
    QCOMPARE(t.Score, 48);
    QCOMPARE(t.GameTime, 100);
    QCOMPARE(t.PauseCount, 2);
    QCOMPARE(t.FoundationCounter[5], 13);
    QCOMPARE(t.TableauCounter[3], 0);
    QVERIFY2(tableViolations(t, w.cards()).isEmpty(), qPrintable(tableViolations(t, w.cards()).join('\n')));
    // Saved again, the section reads as it was written.
    w.commands().mnuPlaceBookmark->trigger();
    QStringList expected = QString::fromUtf8(section).split('\n', Qt::SkipEmptyParts);
    expected.removeFirst();
    QCOMPARE(autoSaveLines(m_services->readSettings()), expected);
}

void TestSavedGame::bookmarkComesBackAsOftenAsAsked()
{
    TfrmMain &w = start("[Options]\nPrompts=1\n");
    w.table().GameTime = 40;
    w.commands().mnuPlaceBookmark->trigger();
    const auto deck = w.table().Tableau;
    playSomeMoves(3);
    w.table().GameTime = 90;
    for (int i = 0; i < 2; ++i) {
        w.commands().mnuReturnToBookmark->trigger();
        QCOMPARE(w.table().GameTime, 40);
        QCOMPARE(w.commands().StatusPanels[1]->text(), QStringLiteral("Time: 40"));
        QVERIFY(w.commands().mnuReturnToBookmark->isEnabled());
        QVERIFY(!w.GameTimer.isActive());
        for (int c = 1; c <= 8; ++c)
            for (int r = 1; r <= w.table().TableauCounter[c]; ++r)
                QCOMPARE(w.table().Tableau[c][r], deck[c][r]);
    }
    // No question, no shuffle sound, nothing booked.
    QVERIFY(m_services->modal.shown().isEmpty());
    QCOMPARE(m_services->sound.played.count(QStringLiteral("Shuffle.wav")), 1);
    QCOMPARE(w.statistics().GamesPlayed, 0);
    // Any other deal takes the way back away.
    m_services->modal.press(QMessageBox::Yes);
    w.commands().mnuNewGame->trigger();
    QVERIFY(!w.commands().mnuReturnToBookmark->isEnabled());
}

void TestSavedGame::closeSavesOrRemovesTheGame_data()
{
    QTest::addColumn<bool>("autoSave");
    QTest::newRow("Auto Save off") << false;
    QTest::newRow("Auto Save on") << true;
}

void TestSavedGame::closeSavesOrRemovesTheGame()
{
    QFETCH(bool, autoSave);
    TfrmMain &w = start(autoSave ? "[Options]\nAutoSave=1\n" : "[Options]\nAutoSave=0\n");
    w.commands().mnuPlaceBookmark->trigger();
    playSomeMoves(4);
    w.table().GameTime = 55;
    const auto tableau = w.table().Tableau;
    const auto counters = w.table().TableauCounter;
    QVERIFY(w.close());
    QCOMPARE(autoSaveLines(m_services->readSettings()).isEmpty(), !autoSave);

    // The next start restores the position at the close, not the bookmark,
    // and offers no bookmark to return to.
    m_window.reset();
    m_services->clock.millisecondsOfDay = 5;
    TfrmMain &again = start();
    QVERIFY(!again.commands().mnuReturnToBookmark->isEnabled());
    if (!autoSave) {
        QCOMPARE(again.table().GameTime, 0);
        return;
    }
    QCOMPARE(again.table().GameTime, 55);
    QCOMPARE(again.table().TableauCounter, counters);
    for (int c = 1; c <= 8; ++c)
        for (int r = 1; r <= counters[c]; ++r)
            QCOMPARE(again.table().Tableau[c][r], tableau[c][r]);
    QCOMPARE(m_services->sound.played.count(QStringLiteral("Shuffle.wav")), 2);
}

void TestSavedGame::damagedSectionsAreNeverRestored_data()
{
    QTest::addColumn<QByteArray>("damage"); // key=value lines that replace or add to a good section
    QTest::newRow("column over 52") << QByteArray("TableauCounter1=53");
    QTest::newRow("negative column") << QByteArray("TableauCounter2=-1");
    QTest::newRow("foundation over 13") << QByteArray("FoundationCounter5=14");
    QTest::newRow("face down over 6") << QByteArray("Status5=7");
    QTest::newRow("face down as many as the column") << QByteArray("Status6=7");
    QTest::newRow("negative face down") << QByteArray("Status7=-2");
    QTest::newRow("card 0") << QByteArray("Tableau_1_1=0");
    QTest::newRow("card 53") << QByteArray("Tableau_1_1=53");
    QTest::newRow("a card twice") << QByteArray("Tableau_1_2=__FIRST__");
    QTest::newRow("key missing halfway") << QByteArray("Tableau_3_4=");
    QTest::newRow("huge number") << QByteArray("Tableau_2_2=99999999999");
    QTest::newRow("negative time") << QByteArray("Time=-5");
    QTest::newRow("pauses over five") << QByteArray("PC=6");
    QTest::newRow("foundation out of order") << QByteArray("FoundationCounter5=1\nFoundation_5_1=2");
}

void TestSavedGame::damagedSectionsAreNeverRestored()
{
    QFETCH(QByteArray, damage);
    // A good section from a fresh deal, then broken by one rule.
    {
        TfrmMain &w = start("[Options]\nAutoSave=1\n");
        w.commands().mnuPlaceBookmark->trigger();
        w.close();
    }
    QByteArray file = m_services->readSettings();
    QByteArray firstCard = autoSaveLines(file).filter(QStringLiteral("Tableau_1_1=")).first().section('=', 1).toUtf8();
    damage.replace("__FIRST__", firstCard);
    for (const QByteArray &line : damage.split('\n')) {
        const QByteArray key = line.left(line.indexOf('=') + 1);
        const qsizetype at = file.indexOf("\n" + key);
        if (at >= 0) {
            const qsizetype end = file.indexOf('\n', at + 1);
            file.replace(at + 1, end - at - 1, line);
        } else {
            file.replace("[AutoSave]\n", "[AutoSave]\n" + line + "\n");
        }
    }
    cleanup();
    init();
    m_services->clock.millisecondsOfDay = 5; // another game than the saved one
    m_services->writeSettings(file);
    TfrmMain &w = start();
    // Told once, a new game dealt, the file as it was.
    QCOMPARE(m_startDialogs.first().text.contains(QStringLiteral("could not be read")), true);
    QCOMPARE(std::count_if(m_startDialogs.begin(), m_startDialogs.end(),
                           [](const test::ShownDialog &d) { return d.text.contains(QStringLiteral("could not be read")); }),
             1);
    QVERIFY2(tableViolations(w.table(), w.cards()).isEmpty(), qPrintable(tableViolations(w.table(), w.cards()).join('\n')));
    const QByteArray after = m_services->readSettings();
    QCOMPARE(autoSaveLines(after), autoSaveLines(file));

    // Return to Bookmark leaves the table alone, with the same message.
    const auto tableau = w.table().Tableau;
    w.commands().mnuReturnToBookmark->setEnabled(true);
    w.commands().mnuReturnToBookmark->trigger();
    QCOMPARE(m_services->modal.shown().size(), 1);
    QVERIFY(m_services->modal.shown().first().text.contains(QStringLiteral("could not be read")));
    QCOMPARE(w.table().Tableau, tableau);
}

void TestSavedGame::aGameWithEveryCardHomeIsNotRestored()
{
    // Written as a close during the last automatic moves could leave it:
    // won, and booked as won already.
    QByteArray section = "[Options]\nAutoSave=1\n[AutoSave]\nGameSaved=1\nGameNumber=77\nScore=52\nTime=90\nPC=0\n";
    for (int c = 1; c <= 8; ++c)
        section += keys::SavedTableauCounter(c).name.toUtf8() + "=0\n";
    for (int f = FirstFoundation; f <= LastFoundation; ++f) {
        section += keys::SavedStatus(f).name.toUtf8() + "=0\n";
        section += keys::SavedFoundationCounter(f).name.toUtf8() + "=13\n";
        for (int r = 1; r <= 13; ++r)
            section += keys::SavedFoundation(f, r).name.toUtf8() + '=' + QByteArray::number((f - 5) * 13 + r) + '\n';
    }
    {
        TfrmMain probe(m_services->services(), QStringLiteral(VESPIN_CARDLIB_PATH));
        // With the King of spades still on the table, the section is good.
        QByteArray kingOut = section;
        kingOut.replace("FoundationCounter8=13", "FoundationCounter8=12");
        kingOut.replace("TableauCounter1=0", "TableauCounter1=1\nTableau_1_1=52");
        m_services->writeSettings(kingOut);
        QVERIFY(readSavedGame(SettingsFile(m_services->settingsFile()), probe.cards()));
        m_services->writeSettings(section);
        QVERIFY(!readSavedGame(SettingsFile(m_services->settingsFile()), probe.cards()));
    }
    TfrmMain &w = start();
    QVERIFY(std::any_of(m_startDialogs.begin(), m_startDialogs.end(), [](const test::ShownDialog &shown) {
        return shown.text.startsWith(QStringLiteral("The saved game in "));
    }));
    QVERIFY(w.table().GameNumber != 77);
    QCOMPARE(w.table().Score, 0);
    QCOMPARE(w.statistics().GamesWon, 0);
}

void TestSavedGame::abandonedGamesAreBooked_data()
{
    QTest::addColumn<int>("score");
    QTest::addColumn<int>("time");
    QTest::addColumn<bool>("booked");
    QTest::newRow("10 cards after 30 s") << 10 << 30 << true;
    QTest::newRow("nothing up") << 0 << 30 << false;
    QTest::newRow("before the clock ran") << 10 << 0 << false;
}

void TestSavedGame::abandonedGamesAreBooked()
{
    QFETCH(int, score);
    QFETCH(int, time);
    QFETCH(bool, booked);
    TfrmMain &w = start();
    w.LastPlayer = QStringLiteral("Anna");
    w.table().Score = score;
    w.table().GameTime = time;
    const int game = w.table().GameNumber;
    w.commands().mnuNewGame->trigger();
    const Statistics &s = w.statistics();
    QCOMPARE(s.GamesPlayed, booked ? 1 : 0);
    QCOMPARE(s.SessionGames, booked ? 1 : 0);
    QCOMPARE(s.TotalScore, booked ? score : 0);
    QCOMPARE(s.SessionScore, booked ? score : 0);
    QCOMPARE(s.GamesWon, 0);
    const TopTenEntry &first = w.topTen().rows[0];
    QCOMPARE(first.name, booked ? QStringLiteral("Anna") : QStringLiteral("Player 1"));
    QCOMPARE(first.score, booked ? score : 0);
    QCOMPARE(first.gameNumber, booked ? game : 1);
    QCOMPARE(w.topTen().rows[9].name, booked ? QStringLiteral("Player 9") : QStringLiteral("Player 10"));
}

void TestSavedGame::topTenInsertion_data()
{
    QTest::addColumn<QList<QPoint>>("rows");     // score, time of rows 1..10
    QTest::addColumn<QPoint>("game");            // score, time
    QTest::addColumn<int>("place");              // 0: does not enter
    QList<QPoint> defaults(10, QPoint(0, 9999));
    QTest::newRow("first game") << defaults << QPoint(5, 40) << 1;
    QList<QPoint> two = defaults;
    two[0] = QPoint(52, 200);
    two[1] = QPoint(52, 300);
    QTest::newRow("faster win goes above") << two << QPoint(52, 250) << 2;
    QTest::newRow("tie goes above") << two << QPoint(52, 200) << 1;
    QTest::newRow("slower than all wins") << two << QPoint(52, 400) << 3;
    QList<QPoint> full(10, QPoint(30, 50));
    full[9] = QPoint(20, 100);
    QTest::newRow("too slow for the last row") << full << QPoint(20, 150) << 0;
    QTest::newRow("ties the last row") << full << QPoint(20, 100) << 10;
    QTest::newRow("lower score stays out") << full << QPoint(19, 1) << 0;
    QTest::newRow("nothing up never enters") << defaults << QPoint(0, 10) << 0;
}

void TestSavedGame::topTenInsertion()
{
    QFETCH(QList<QPoint>, rows);
    QFETCH(QPoint, game);
    QFETCH(int, place);
    TopTen table;
    for (int i = 0; i < 10; ++i) {
        table.rows[std::size_t(i)].score = rows[i].x();
        table.rows[std::size_t(i)].time = rows[i].y();
        table.rows[std::size_t(i)].name = QStringLiteral("row %1").arg(i + 1);
    }
    const TopTen before = table;
    table.offer({QStringLiteral("new"), game.x(), game.y(), 4711});
    for (int i = 0; i < 10; ++i) {
        const int row = i + 1;
        const TopTenEntry &entry = table.rows[std::size_t(i)];
        if (place == 0 || row < place)
            QCOMPARE(entry.name, before.rows[std::size_t(i)].name);
        else if (row == place)
            QCOMPARE(entry.name, QStringLiteral("new"));
        else
            QCOMPARE(entry.name, before.rows[std::size_t(i - 1)].name);
    }
}

void TestSavedGame::topTenDealsADoubleClickedGameAfterItCloses()
{
    TfrmMain &w = start();
    w.topTen().rows[0] = {QStringLiteral("Ann"), 40, 300, 4711};
    const std::int32_t current = w.table().GameNumber;
    // OK deals nothing.
    m_services->modal.answerWhen(QStringLiteral("vespin::TfrmTopten"), [](QDialog &dialog) {
        dialog.accept();
        return dialog.result();
    });
    w.commands().mnuTopTen->trigger();
    QCOMPARE(w.table().GameNumber, current);
    // A double click on 4711 deals 4711 once the dialog is gone.
    m_services->modal.answerWhen(QStringLiteral("vespin::TfrmTopten"), [&w](QDialog &dialog) {
        dialog.show();
        QTest::mouseDClick(dialog.findChild<QLabel *>(QStringLiteral("G1")), Qt::LeftButton);
        // Still inside the dialog: nothing dealt yet.
        Q_ASSERT(w.table().GameNumber != 4711);
        return dialog.result();
    });
    w.commands().mnuTopTen->trigger();
    QCOMPARE(w.table().GameNumber, 4711);
    QVERIFY(w.windowTitle().startsWith(QStringLiteral("Vespintide (Game Number: 4711)")));
    // The help window goes when the dialog closes.
    QCOMPARE(m_services->help.calls.last().command, HelpCommand::Quit);
}

void TestSavedGame::playerNamesOfAnyTextSurviveTheFile_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("readBack");
    QTest::newRow("brackets and equals") << "[TopTen]=x" << "[TopTen]=x";
    QTest::newRow("empty") << "" << "";
    QTest::newRow("line break") << "Ann\n[Options]\nPrompts=1" << "Ann [Options] Prompts=1";
    QTest::newRow("not ASCII") << "Zoë Ødegård" << "Zoë Ødegård";
}

void TestSavedGame::playerNamesOfAnyTextSurviveTheFile()
{
    QFETCH(QString, name);
    QFETCH(QString, readBack);
    TfrmMain &w = start();
    w.LastPlayer = name;
    w.table().Score = 5;
    w.table().GameTime = 9;
    w.commands().mnuNewGame->trigger(); // books the game under the name
    QVERIFY(w.close());
    m_window.reset();
    TfrmMain &again = start();
    QCOMPARE(again.LastPlayer, readBack);
    QCOMPARE(again.topTen().rows[0].name, readBack);
    QVERIFY(!again.options().Prompts);
    // The file still holds the sections it had, each once.
    const QList<QByteArray> lines = m_services->readSettings().split('\n');
    QCOMPARE(lines.count("[TopTen]"), 1);
    QCOMPARE(lines.count("[Options]"), 1);
}

QTEST_MAIN(TestSavedGame)
#include "tst_savedgame.moc"
