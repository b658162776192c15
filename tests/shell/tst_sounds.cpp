#include "TablePositions.h"
#include "TestServices.h"
#include "game/TfrmGameOver.h"
#include "interaction/TableSurface.h"
#include "persistence/TfrmTopten.h"
#include "shell/LazySound.h"
#include "shell/TfrmMain.h"
#include "widgets/WinPicture.h"

#include <QAction>
#include <QKeyEvent>
#include <QPushButton>
#include <QtTest>

using namespace vespin;
using namespace vespin::test;

namespace {

enum class Event {
    Deal,
    ReturnToBookmark,
    DropLaid,
    DropSentBack,
    CardToFoundation,
    Undo,
    Win,
    SelectGame,
    SecretList,
};

enum class Sound { On, Off, NoDevice };

} // namespace

Q_DECLARE_METATYPE(Event)
Q_DECLARE_METATYPE(Sound)

// Every sound of the game, by the event that plays it; silence while the
// Sound entry is off or there is nothing to play on.
class TestSounds : public QObject {
    Q_OBJECT

private slots:
    void eachEventPlaysItsSound_data();
    void eachEventPlaysItsSound();
    void theSoundModuleLoadsOrLeavesTheGameSilent_data();
    void theSoundModuleLoadsOrLeavesTheGameSilent();

private:
    static void happen(Event event, TfrmMain &w, TestServices &services);
};

void TestSounds::eachEventPlaysItsSound_data()
{
    QTest::addColumn<Event>("event");
    QTest::addColumn<Sound>("sound");
    QTest::addColumn<QStringList>("played");

    const QList<std::tuple<const char *, Event, QStringList>> events{
        {"deal", Event::Deal, {"Shuffle.wav"}},
        {"return to the bookmark, without the shuffle", Event::ReturnToBookmark, {"Fart.wav"}},
        {"card laid on its new place", Event::DropLaid, {"Dealcard.wav"}},
        {"card sent back", Event::DropSentBack, {"Abort.wav"}},
        {"card laid, then an Ace up", Event::CardToFoundation, {"Dealcard.wav", "MoveCard.wav"}},
        {"undo", Event::Undo, {"Undo.wav"}},
        {"win with a new best time",
         Event::Win,
         {"Dealcard.wav", "MoveCard.wav", "MoveCard.wav", "MoveCard.wav", "MoveCard.wav", "WinGame.wav", "Clap.wav"}},
        {"Select Game opens", Event::SelectGame, {"Select.wav"}},
        {"secret list opens", Event::SecretList, {"Ghost.wav"}},
    };
    for (const auto &[name, event, played] : events) {
        QTest::addRow("%s, sound on", name) << event << Sound::On << played;
        QTest::addRow("%s, sound off", name) << event << Sound::Off << QStringList();
        QTest::addRow("%s, no output device", name) << event << Sound::NoDevice << QStringList();
    }
}

void TestSounds::eachEventPlaysItsSound()
{
    QFETCH(Event, event);
    QFETCH(Sound, sound);
    QFETCH(QStringList, played);

    TestServices services;
    services.clock.millisecondsOfDay = 1; // a deal that moves no card by itself
    services.writeSettings(sound == Sound::Off ? "[Options]\nSound=0\n" : "[Options]\nSound=1\n");
    if (sound == Sound::NoDevice)
        services.system.audioOutputs = 0;
    services.modal.showDialogs = true;
    TfrmMain w(services.services(), QStringLiteral(VESPIN_CARDLIB_PATH));
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.FormActivate();
    QCOMPARE(w.commands().mnuSound->isChecked(), sound == Sound::On);
    services.modal.takeShown();
    services.sound.played.clear();

    happen(event, w, services);
    QCOMPARE(services.sound.played, played);
}

void TestSounds::happen(Event event, TfrmMain &w, TestServices &services)
{
    const int top = w.table().TableTop;
    // Column 1 ends in the 7 of hearts, on the 9 or the Ace of clubs; column
    // 2 ends in the 8 of hearts, column 3 in the 8 of spades.
    const auto layMoves = [&](int under) {
        lay(w, {{{under, hearts(7)}, {hearts(8)}, {spades(8)}, {}, {}, {}, {}, {}}});
    };
    const auto layHeartsOnHearts = [&] {
        layMoves(clubs(9));
        dragCard(w, hearts(7), corner(w, hearts(8)) + QPoint(0, 16));
    };

    switch (event) {
    case Event::Deal:
        w.commands().mnuNewGame->trigger();
        break;
    case Event::ReturnToBookmark:
        w.commands().mnuPlaceBookmark->trigger();
        w.commands().mnuReturnToBookmark->trigger();
        break;
    case Event::DropLaid:
        layHeartsOnHearts();
        break;
    case Event::DropSentBack:
        layMoves(clubs(9));
        dragCard(w, hearts(7), corner(w, spades(8)) + QPoint(0, 16));
        break;
    case Event::CardToFoundation:
        layMoves(clubs(1));
        dragCard(w, hearts(7), corner(w, hearts(8)) + QPoint(0, 16));
        break;
    case Event::Undo:
        layHeartsOnHearts();
        services.sound.played.clear();
        w.commands().mnuUndo->trigger();
        break;
    case Event::Win:
        // One move from the end; the King of hearts into the empty column
        // frees the rest. A waiting key ends the animation at its start.
        lay(w, {{{hearts(12), spades(13)}, {spades(12), hearts(13)}, {}, {}, {}, {}, {}, {}}}, {}, {13, 13, 11, 11});
        w.table().GameTime = 100;
        w.GameTimer.start();
        QCoreApplication::postEvent(&w, new QKeyEvent(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a")));
        services.modal.answerWhen(QStringLiteral("vespin::TfrmGameOver"), [](QDialog &dialog) {
            static_cast<TfrmGameOver &>(dialog).btNo->click();
            return dialog.result();
        });
        dragCard(w, hearts(13), QPoint(ColumnX[3], rowY(top, 1)));
        QVERIFY(!w.winPicture()->isHidden());
        break;
    case Event::SelectGame:
        w.commands().mnuSelectGame->trigger();
        break;
    case Event::SecretList:
        services.modal.answerWhen(QStringLiteral("vespin::TfrmTopten"), [](QDialog &dialog) {
            QTest::keyClicks(static_cast<TfrmTopten &>(dialog).btOK, QStringLiteral("MOONLANTERNS"));
            dialog.reject();
            return dialog.result();
        });
        w.commands().mnuTopTen->trigger();
        QCOMPARE(services.modal.shown().last().className, QStringLiteral("vespin::TfrmSecretGameList"));
        break;
    }
}

QTEST_MAIN(TestSounds)
void TestSounds::theSoundModuleLoadsOrLeavesTheGameSilent_data()
{
    QTest::addColumn<QString>("module");
    QTest::addColumn<bool>("loads");
    QTest::newRow("built") << QStringLiteral(VESPIN_SOUND_MODULE) << true;
    QTest::newRow("missing") << QStringLiteral(VESPIN_SOUND_MODULE ".missing") << false;
}

// Whether a machine has outputs is not the test's to know; that a module
// that is there loads, and one that is not leaves silence and says why, is.
void TestSounds::theSoundModuleLoadsOrLeavesTheGameSilent()
{
    QFETCH(QString, module);
    QFETCH(bool, loads);
    if (loads)
        QTest::failOnWarning(QRegularExpression(QStringLiteral("^No sound")));
    else
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^No sound: unable to load .*\\.missing")));
    LazySound sound(module, QDir::currentPath());
    const int outputs = sound.audioOutputCount();
    QVERIFY(outputs >= 0);
    if (!loads)
        QCOMPARE(outputs, 0);
    // The module's sound is made, and finds nothing to play.
    sound.play(QStringLiteral("no such sound.wav"));
}

#include "tst_sounds.moc"
