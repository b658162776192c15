#include "TestServices.h"
#include "game/TfrmSecretGameList.h"
#include "persistence/Records.h"
#include "persistence/StatisticsFormat.h"
#include "persistence/TfrmPlayerName.h"
#include "persistence/TfrmStatistics.h"
#include "persistence/TfrmTopten.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTimeZone>
#include <QtTest>

#include <limits>
#include <optional>

using namespace vespin;

Q_DECLARE_METATYPE(std::optional<QMessageBox::StandardButton>)
Q_DECLARE_METATYPE(vespin::TopTenEntry)

namespace {

QStringList texts(const std::array<QLabel *, 4> &labels)
{
    QStringList result;
    for (const QLabel *label : labels)
        result.append(label->text());
    return result;
}

const QStringList NoFigures{"-", "-", "-", "-"};

Statistics someStatistics()
{
    Statistics s;
    s.GamesPlayed = 7;
    s.GamesWon = 3;
    s.TotalScore = 31;
    s.SuperPlayer = QStringLiteral("Anna Lee");
    s.SuperTime = 87;
    s.SuperDate = QStringLiteral("10.12.2026 14:03");
    s.SuperGame = 1994;
    s.SessionGames = 3;
    s.SessionScore = 20;
    s.SessionWon = 2;
    return s;
}

bool bestPlayerShown(const TfrmStatistics &dialog)
{
    return dialog.PageControl->isTabVisible(dialog.PageControl->indexOf(dialog.tsBestPlayer));
}

} // namespace

class TestRecordDialogs : public QObject {
    Q_OBJECT

private slots:
    void formatsFigures_data();
    void formatsFigures();
    void bestTimeDateNamesNoTimeZone_data();
    void bestTimeDateNamesNoTimeZone();
    void sumsStopAtTheLargestNumber();

    void statisticsStartEmpty();
    void statisticsShowFigures_data();
    void statisticsShowFigures();
    void statisticsShowTheBestPlayer();
    void statisticsClear_data();
    void statisticsClear();
    void statisticsApplaudOnlyANewRecord_data();
    void statisticsApplaudOnlyANewRecord();

    void topTenShowsTheRows();
    void topTenOffersClearingOnlyWhenPlayed_data();
    void topTenOffersClearingOnlyWhenPlayed();
    void topTenClearsScores_data();
    void topTenClearsScores();
    void topTenReplaysADoubleClickedGame();
    void topTenSecretWord_data();
    void topTenSecretWord();
    void topTenPlaysASecretGame();

    void playerNameRoundTrip_data();
    void playerNameRoundTrip();

    void dialogsPlaceThemselvesOverTheMainWindow();
    void dialogsCarryTheirWindowButtons();
};

void TestRecordDialogs::formatsFigures_data()
{
    QTest::addColumn<bool>("percentage");
    QTest::addColumn<qint64>("part");
    QTest::addColumn<qint64>("whole");
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("expected");

    const QLocale english(QLocale::English, QLocale::UnitedStates);
    const QLocale german(QLocale::German, QLocale::Germany);
    QTest::newRow("average, four digits") << false << qint64(31) << qint64(7) << english << "4.429";
    QTest::newRow("average, whole") << false << qint64(10) << qint64(1) << english << "10";
    QTest::newRow("average, no trailing zero") << false << qint64(5) << qint64(2) << english << "2.5";
    QTest::newRow("average, no group separator") << false << qint64(4500) << qint64(3) << english << "1500";
    QTest::newRow("average, negative") << false << qint64(-31) << qint64(7) << english << "-4.429";
    QTest::newRow("average, German") << false << qint64(31) << qint64(7) << german << "4,429";
    QTest::newRow("percentage, third") << true << qint64(1) << qint64(3) << english << "33.3%";
    QTest::newRow("percentage, two thirds") << true << qint64(2) << qint64(3) << english << "66.7%";
    QTest::newRow("percentage, all") << true << qint64(3) << qint64(3) << english << "100%";
    QTest::newRow("percentage, none") << true << qint64(0) << qint64(1) << english << "0%";
    QTest::newRow("percentage, German") << true << qint64(1) << qint64(3) << german << "33,3%";
}

void TestRecordDialogs::formatsFigures()
{
    QFETCH(bool, percentage);
    QFETCH(qint64, part);
    QFETCH(qint64, whole);
    QFETCH(QLocale, locale);
    QFETCH(QString, expected);
    QCOMPARE(percentage ? percentageText(part, whole, locale) : averageText(part, whole, locale), expected);
}

void TestRecordDialogs::bestTimeDateNamesNoTimeZone_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("expected");
    QTest::newRow("English (US)") << QLocale(QLocale::English, QLocale::UnitedStates) << "12/11/26 9:05:03 PM";
    QTest::newRow("German") << QLocale(QLocale::German, QLocale::Germany) << "11.12.26 21:05:03";
    QTest::newRow("C") << QLocale::c() << "11 Dec 2026 21:05:03";
}

void TestRecordDialogs::bestTimeDateNamesNoTimeZone()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, expected);
    const QDateTime when(QDate(2026, 12, 11), QTime(21, 5, 3), QTimeZone(QByteArrayLiteral("Europe/Berlin")));
    QCOMPARE(superDateText(locale, when), expected);
}

void TestRecordDialogs::sumsStopAtTheLargestNumber()
{
    constexpr std::int32_t Largest = std::numeric_limits<std::int32_t>::max();
    Statistics s;
    s.TotalScore = 2147483600;
    s.GamesPlayed = Largest;
    s.GamesWon = Largest;
    s.bookGame(52);
    s.bookWin();
    QCOMPARE(s.TotalScore, Largest);
    QCOMPARE(s.GamesPlayed, Largest);
    QCOMPARE(s.GamesWon, Largest);
    QCOMPARE(s.SessionGames, 1);
    QCOMPARE(s.SessionScore, 52);
    QCOMPARE(s.SessionWon, 1);
    QCOMPARE(saturatingAdd(std::numeric_limits<std::int32_t>::min(), -1), std::numeric_limits<std::int32_t>::min());
    QCOMPARE(saturatingAdd(-5, 3), -2);
}

void TestRecordDialogs::statisticsStartEmpty()
{
    test::ScriptedModalRunner runner;
    Statistics statistics;
    TfrmStatistics dialog(runner, statistics, QLocale::c(), nullptr);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Vespintide Statistics"));
    QCOMPARE(dialog.PageControl->tabText(dialog.PageControl->indexOf(dialog.tsOverall)),
             QStringLiteral("Overall Statistics"));
    QCOMPARE(dialog.PageControl->tabText(dialog.PageControl->indexOf(dialog.tsSession)),
             QStringLiteral("Session Statistics"));
    QCOMPARE(dialog.PageControl->tabText(dialog.PageControl->indexOf(dialog.tsBestPlayer)),
             QStringLiteral("Best Player"));
    QVERIFY(!dialog.btClear->isEnabled());

    dialog.show();
    QCOMPARE(texts(dialog.Tot), NoFigures);
    QCOMPARE(texts(dialog.Ses), NoFigures);
    QVERIFY(!dialog.btClear->isEnabled());
    QVERIFY(!bestPlayerShown(dialog));
    QCOMPARE(dialog.focusWidget(), dialog.btOK);
    QVERIFY(dialog.btOK->isDefault());
    QVERIFY(dialog.Tot[0]->alignment() & Qt::AlignRight);

    QSignalSpy help(&dialog, &TfrmStatistics::helpRequested);
    dialog.btHelp->click();
    QCOMPARE(help.value(0).value(0).toInt(), 6);
    dialog.btOK->click();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(!dialog.isVisible());
}

void TestRecordDialogs::statisticsShowFigures_data()
{
    QTest::addColumn<QList<int>>("overall");  // played, won, score
    QTest::addColumn<QList<int>>("session");  // played, won, score
    QTest::addColumn<QStringList>("overallTexts");
    QTest::addColumn<QStringList>("sessionTexts");
    QTest::addColumn<bool>("clearEnabled");

    QTest::newRow("ten points in one game")
        << QList<int>{1, 0, 10} << QList<int>{0, 0, 0} << QStringList{"1", "0", "10", "0%"} << NoFigures << true;
    QTest::newRow("this run only")
        << QList<int>{0, 0, 0} << QList<int>{2, 1, 31} << NoFigures << QStringList{"2", "1", "15.5", "50%"}
        << false;
    QTest::newRow("both") << QList<int>{7, 3, 31} << QList<int>{3, 2, 20} << QStringList{"7", "3", "4.429", "42.9%"}
                          << QStringList{"3", "2", "6.667", "66.7%"} << true;
}

void TestRecordDialogs::statisticsShowFigures()
{
    QFETCH(QList<int>, overall);
    QFETCH(QList<int>, session);
    QFETCH(QStringList, overallTexts);
    QFETCH(QStringList, sessionTexts);
    QFETCH(bool, clearEnabled);

    Statistics statistics;
    statistics.GamesPlayed = overall[0];
    statistics.GamesWon = overall[1];
    statistics.TotalScore = overall[2];
    statistics.SessionGames = session[0];
    statistics.SessionWon = session[1];
    statistics.SessionScore = session[2];
    test::ScriptedModalRunner runner;
    TfrmStatistics dialog(runner, statistics, QLocale::c(), nullptr);
    dialog.FormActivate();
    QCOMPARE(texts(dialog.Tot), overallTexts);
    QCOMPARE(texts(dialog.Ses), sessionTexts);
    QCOMPARE(dialog.btClear->isEnabled(), clearEnabled);
    QVERIFY(!bestPlayerShown(dialog));
}

void TestRecordDialogs::statisticsShowTheBestPlayer()
{
    Statistics statistics = someStatistics();
    test::ScriptedModalRunner runner;
    TfrmStatistics dialog(runner, statistics, QLocale::c(), nullptr);
    dialog.showBestPlayerPage();
    dialog.show();
    QVERIFY(bestPlayerShown(dialog));
    QCOMPARE(dialog.PageControl->currentWidget(), dialog.tsBestPlayer);
    QCOMPARE(dialog.gbSuperPlayer->title(), QStringLiteral("Vespintide Superplayer: "));
    QCOMPARE(dialog.lblName->text(), QStringLiteral("Name: Anna Lee"));
    QCOMPARE(dialog.lblTime->text(), QStringLiteral("Time: 87"));
    QCOMPARE(dialog.lblWhen->text(), QStringLiteral("When: 10.12.2026 14:03"));
    QCOMPARE(dialog.lblGameNumber->text(), QStringLiteral("Gamenumber: 1994"));
    QCOMPARE(dialog.lblName->palette().color(QPalette::WindowText), QColor(0, 0, 128));
    QCOMPARE(dialog.gbSuperPlayer->palette().color(QPalette::WindowText), QColor(Qt::red));
}

void TestRecordDialogs::statisticsClear_data()
{
    QTest::addColumn<std::optional<QMessageBox::StandardButton>>("answer");
    QTest::addColumn<bool>("cleared");
    QTest::newRow("yes") << std::optional(QMessageBox::Yes) << true;
    QTest::newRow("no") << std::optional(QMessageBox::No) << false;
    QTest::newRow("closed") << std::optional<QMessageBox::StandardButton>() << false;
}

void TestRecordDialogs::statisticsClear()
{
    QFETCH(std::optional<QMessageBox::StandardButton>, answer);
    QFETCH(bool, cleared);

    Statistics statistics = someStatistics();
    test::ScriptedModalRunner runner;
    if (answer)
        runner.press(*answer);
    TfrmStatistics dialog(runner, statistics, QLocale::c(), nullptr);
    dialog.showBestPlayerPage();
    dialog.show();
    const QStringList overallBefore = texts(dialog.Tot);
    const QStringList sessionBefore = texts(dialog.Ses);
    QVERIFY(dialog.btClear->isEnabled());

    dialog.btClear->click();
    QCOMPARE(runner.shown().value(0).className, QStringLiteral("QMessageBox"));
    QCOMPARE(runner.shown().value(0).title, QStringLiteral("Vespintide Statistics"));
    QCOMPARE(runner.shown().value(0).text, QStringLiteral("Are you sure you want to clear the statistics?"));
    QCOMPARE(runner.shown().value(0).buttons, (QStringList{"&Yes", "&No"}));
    QVERIFY(dialog.isVisible());

    const Statistics before = someStatistics();
    if (cleared) {
        QCOMPARE(texts(dialog.Tot), NoFigures);
        QCOMPARE(texts(dialog.Ses), NoFigures);
        QVERIFY(!dialog.btClear->isEnabled());
        QVERIFY(!bestPlayerShown(dialog));
        QCOMPARE(dialog.PageControl->currentWidget(), dialog.tsOverall);
        QCOMPARE(statistics.GamesPlayed, 0);
        QCOMPARE(statistics.GamesWon, 0);
        QCOMPARE(statistics.TotalScore, 0);
        QCOMPARE(statistics.SuperPlayer, QString());
        QCOMPARE(statistics.SuperTime, 9999);
        QCOMPARE(statistics.SuperDate, QString());
        QCOMPARE(statistics.SuperGame, 0);
        QCOMPARE(statistics.SessionGames, 0);
        QCOMPARE(statistics.SessionScore, 0);
        QCOMPARE(statistics.SessionWon, 0);
    } else {
        QCOMPARE(texts(dialog.Tot), overallBefore);
        QCOMPARE(texts(dialog.Ses), sessionBefore);
        QVERIFY(dialog.btClear->isEnabled());
        QVERIFY(bestPlayerShown(dialog));
        QCOMPARE(dialog.PageControl->currentWidget(), dialog.tsBestPlayer);
        QCOMPARE(statistics.GamesPlayed, before.GamesPlayed);
        QCOMPARE(statistics.TotalScore, before.TotalScore);
        QCOMPARE(statistics.SuperPlayer, before.SuperPlayer);
        QCOMPARE(statistics.SuperTime, before.SuperTime);
        QCOMPARE(statistics.SessionGames, before.SessionGames);
    }
}

void TestRecordDialogs::statisticsApplaudOnlyANewRecord_data()
{
    QTest::addColumn<bool>("newRecord");
    QTest::addColumn<QStringList>("sounds");
    QTest::newRow("new record") << true << QStringList{"Clap.wav"};
    QTest::newRow("no new record") << false << QStringList{};
}

void TestRecordDialogs::statisticsApplaudOnlyANewRecord()
{
    QFETCH(bool, newRecord);
    QFETCH(QStringList, sounds);

    Statistics statistics = someStatistics();
    test::ScriptedModalRunner runner;
    TfrmStatistics dialog(runner, statistics, QLocale::c(), nullptr);
    QSignalSpy spy(&dialog, &TfrmStatistics::soundRequested);
    dialog.newSuperRecord = newRecord;
    dialog.show();
    QStringList requested;
    for (const QList<QVariant> &call : spy)
        requested.append(call.at(0).toString());
    QCOMPARE(requested, sounds);
}

void TestRecordDialogs::topTenShowsTheRows()
{
    TopTen topTen;
    topTen.rows[0] = {QStringLiteral("Anna Lee"), 1234, 87, 1994};
    topTen.rows[2] = {QStringLiteral("  spaced  "), 17, 301, 2147483647};
    topTen.rows[9] = {QString(), -5, 0, 48};
    test::ScriptedModalRunner runner;
    TfrmTopten dialog(runner, topTen, QColor(0, 128, 0), nullptr);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Vespintide Hall of Fame"));
    dialog.show();

    for (int row = 1; row <= 10; ++row) {
        const TopTenEntry &entry = topTen.rows[std::size_t(row - 1)];
        const QString r = QString::number(row);
        const std::array<std::pair<QString, QString>, 5> expected{{
            {"R" + r, r},
            {"P" + r, entry.name},
            {"S" + r, QString::number(entry.score)},
            {"T" + r, QString::number(entry.time)},
            {"G" + r, QString::number(entry.gameNumber)},
        }};
        for (int column = 1; column <= 5; ++column) {
            const int tag = column * 100 + row;
            QLabel *label = dialog.labelByTag(tag);
            QVERIFY2(label, qPrintable(QString::number(tag)));
            QCOMPARE(label->objectName(), expected[std::size_t(column - 1)].first);
            QCOMPARE(label->property("tag").toInt(), tag);
            QCOMPARE(label->text(), expected[std::size_t(column - 1)].second);
            QVERIFY(label->font().bold());
            QCOMPARE(label->palette().color(QPalette::WindowText), QColor(Qt::white));
        }
    }
    QCOMPARE(dialog.focusWidget(), dialog.btOK);

    QSignalSpy help(&dialog, &TfrmTopten::helpRequested);
    dialog.btHelp->click();
    QCOMPARE(help.value(0).value(0).toInt(), 4);
    QTest::keyClick(&dialog, Qt::Key_Escape);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.nextGame(), std::nullopt);
}

void TestRecordDialogs::topTenOffersClearingOnlyWhenPlayed_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<TopTenEntry>("entry");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("fresh") << 1 << TopTenEntry{"Player 1", 0, 9999, 1} << false;
    QTest::newRow("other game number") << 1 << TopTenEntry{"Player 1", 0, 9999, 77} << false;
    QTest::newRow("second row only") << 2 << TopTenEntry{"Anna", 50, 100, 7} << false;
    QTest::newRow("name") << 1 << TopTenEntry{"Anna", 0, 9999, 1} << true;
    QTest::newRow("score") << 1 << TopTenEntry{"Player 1", 1, 9999, 1} << true;
    QTest::newRow("time") << 1 << TopTenEntry{"Player 1", 0, 9998, 1} << true;
}

void TestRecordDialogs::topTenOffersClearingOnlyWhenPlayed()
{
    QFETCH(int, row);
    QFETCH(TopTenEntry, entry);
    QFETCH(bool, enabled);
    TopTen topTen;
    topTen.rows[std::size_t(row - 1)] = entry;
    test::ScriptedModalRunner runner;
    TfrmTopten dialog(runner, topTen, Qt::darkGreen, nullptr);
    dialog.FormActivate();
    QCOMPARE(dialog.btClearScores->isEnabled(), enabled);
}

void TestRecordDialogs::topTenClearsScores_data()
{
    QTest::addColumn<std::optional<QMessageBox::StandardButton>>("answer");
    QTest::addColumn<bool>("cleared");
    QTest::newRow("yes") << std::optional(QMessageBox::Yes) << true;
    QTest::newRow("no") << std::optional(QMessageBox::No) << false;
    QTest::newRow("closed") << std::optional<QMessageBox::StandardButton>() << false;
}

void TestRecordDialogs::topTenClearsScores()
{
    QFETCH(std::optional<QMessageBox::StandardButton>, answer);
    QFETCH(bool, cleared);

    TopTen topTen;
    for (int row = 1; row <= 10; ++row)
        topTen.rows[std::size_t(row - 1)] = {QStringLiteral("Winner %1").arg(row), 1000 - row, 60 + row, 500 + row};
    test::ScriptedModalRunner runner;
    if (answer)
        runner.press(*answer);
    TfrmTopten dialog(runner, topTen, Qt::darkGreen, nullptr);
    dialog.show();
    QVERIFY(dialog.btClearScores->isEnabled());
    dialog.btClearScores->click();

    const test::ShownDialog box = runner.shown().value(0);
    QCOMPARE(box.className, QStringLiteral("QMessageBox"));
    QCOMPARE(box.title, QStringLiteral("Vespintide Hall of Fame"));
    QCOMPARE(box.text, QStringLiteral("Are you sure you want to clear the scores?"));
    QCOMPARE(box.buttons, (QStringList{"&Yes", "&No"}));
    QVERIFY(dialog.isVisible());

    for (int row = 1; row <= 10; ++row) {
        const TopTenEntry &entry = topTen.rows[std::size_t(row - 1)];
        const TopTenEntry expected = cleared ? TopTenEntry{QStringLiteral("Player %1").arg(row), 0, 9999, 1}
                                             : TopTenEntry{QStringLiteral("Winner %1").arg(row), 1000 - row,
                                                           60 + row, 500 + row};
        QCOMPARE(entry.name, expected.name);
        QCOMPARE(entry.score, expected.score);
        QCOMPARE(entry.time, expected.time);
        QCOMPARE(entry.gameNumber, expected.gameNumber);
        QCOMPARE(dialog.labelByTag(200 + row)->text(), expected.name);
        QCOMPARE(dialog.labelByTag(300 + row)->text(), QString::number(expected.score));
        QCOMPARE(dialog.labelByTag(400 + row)->text(), QString::number(expected.time));
        QCOMPARE(dialog.labelByTag(500 + row)->text(), QString::number(expected.gameNumber));
    }
    QCOMPARE(dialog.btClearScores->isEnabled(), !cleared);
}

void TestRecordDialogs::topTenReplaysADoubleClickedGame()
{
    TopTen topTen;
    topTen.rows[2].gameNumber = 1994;
    topTen.rows[3].gameNumber = 5555;
    test::ScriptedModalRunner runner;
    TfrmTopten dialog(runner, topTen, Qt::darkGreen, nullptr);
    dialog.show();
    QLabel *g3 = dialog.findChild<QLabel *>(QStringLiteral("G3"));
    QVERIFY(g3);
    QTest::mouseDClick(g3, Qt::LeftButton);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.replayNumber(), 1994);
    QVERIFY(!dialog.SecretGamePicked);
    QCOMPARE(dialog.nextGame(), std::optional<std::int32_t>(1994));
}

void TestRecordDialogs::topTenSecretWord_data()
{
    QTest::addColumn<bool>("onButton");
    QTest::addColumn<QStringList>("typing");
    QTest::addColumn<bool>("opens");

    for (const bool onButton : {false, true}) {
        const char *where = onButton ? "on OK, " : "on the dialog, ";
        QTest::addRow("%sthe word", where) << onButton << QStringList{"moonlanterns"} << true;
        QTest::addRow("%scapitals", where) << onButton << QStringList{"MoonLanterns"} << true;
        QTest::addRow("%sshort", where) << onButton << QStringList{"moonlantern"} << false;
        QTest::addRow("%swrong letter in the middle", where) << onButton << QStringList{"moonlaXnterns"} << false;
        QTest::addRow("%swrong letter, then again", where)
            << onButton << QStringList{"moonlaX", "moonlanterns"} << true;
        // The mismatching M is no new first letter.
        QTest::addRow("%sdoubled first letter", where) << onButton << QStringList{"mmoonlanterns"} << false;
        QTest::addRow("%sin two goes", where) << onButton << QStringList{"moonla", "nterns"} << true;
    }
}

void TestRecordDialogs::topTenSecretWord()
{
    QFETCH(bool, onButton);
    QFETCH(QStringList, typing);
    QFETCH(bool, opens);

    TopTen topTen;
    test::ScriptedModalRunner runner; // the list is closed unanswered
    TfrmTopten dialog(runner, topTen, Qt::darkGreen, nullptr);
    dialog.show();
    QWidget *target = onButton ? static_cast<QWidget *>(dialog.btOK) : &dialog;
    for (const QString &keys : typing)
        QTest::keyClicks(target, keys);

    QStringList shown;
    for (const test::ShownDialog &d : runner.shown())
        shown.append(d.className);
    QCOMPARE(shown, opens ? QStringList{"vespin::TfrmSecretGameList"} : QStringList{});
    if (opens)
        QCOMPARE(runner.shown().value(0).title, QStringLiteral("The Ghosts Secret Game List"));
    QVERIFY(dialog.isVisible());
    QVERIFY(!dialog.SecretGamePicked);
    QCOMPARE(dialog.nextGame(), std::nullopt);
}

void TestRecordDialogs::topTenPlaysASecretGame()
{
    TopTen topTen;
    test::ScriptedModalRunner runner;
    runner.answerWith([](QDialog &d) {
        auto &list = dynamic_cast<TfrmSecretGameList &>(d);
        list.FormActivate();
        list.ComboBox->setCurrentIndex(3);
        list.btPlay->click();
        return list.result();
    });
    TfrmTopten dialog(runner, topTen, Qt::darkGreen, nullptr);
    QSignalSpy sounds(&dialog, &TfrmTopten::soundRequested);
    dialog.show();
    QTest::keyClicks(dialog.btOK, QStringLiteral("moonlanterns"));

    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(dialog.SecretGamePicked);
    QCOMPARE(dialog.secretNumber(), 5555);
    QCOMPARE(dialog.nextGame(), std::optional<std::int32_t>(5555));
    QCOMPARE(dialog.SecretKeyCount, 0);
    QCOMPARE(sounds.value(0).value(0).toString(), QStringLiteral("Ghost.wav"));
}

void TestRecordDialogs::playerNameRoundTrip_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("showBox");
    QTest::addColumn<QString>("typed"); // replaces the selected name; null keeps it
    QTest::addColumn<bool>("toggle");
    QTest::addColumn<QString>("closeBy");
    QTest::addColumn<QString>("expectedName");

    QTest::newRow("OK keeps the name") << "Anna" << true << QString() << false << "ok" << "Anna";
    QTest::newRow("typed over, box off") << "Anna" << true << " Bo Lee " << true << "ok" << " Bo Lee ";
    QTest::newRow("Return") << "" << false << "Carla" << true << "return" << "Carla";
    QTest::newRow("Escape keeps the typed name") << "Anna" << false << "Dora" << false << "escape" << "Dora";
    QTest::newRow("window closed") << "Anna" << true << "Eve" << false << "close" << "Eve";
    QTest::newRow("emptied") << "Anna" << true << "" << false << "ok" << "";
    QTest::newRow("at most 25 letters")
        << "" << true << "abcdefghijklmnopqrstuvwxyz0123" << false << "ok" << "abcdefghijklmnopqrstuvwxy";
    // The limit is for typing: a longer name from the file comes back whole.
    QTest::newRow("a longer stored name, not typed over")
        << "Maximiliane von Hohenstein-Ost" << true << QString() << false << "close"
        << "Maximiliane von Hohenstein-Ost";
}

void TestRecordDialogs::playerNameRoundTrip()
{
    QFETCH(QString, name);
    QFETCH(bool, showBox);
    QFETCH(QString, typed);
    QFETCH(bool, toggle);
    QFETCH(QString, closeBy);
    QFETCH(QString, expectedName);

    TfrmPlayerName dialog(name, showBox, nullptr);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Your Name Please..."));
    QCOMPARE(dialog.edPlayer->property("helpTopic").toInt(), 141);
    QCOMPARE(dialog.cbShowPlayerName->property("helpTopic").toInt(), 142);
    QCOMPARE(dialog.BitBtn1->property("helpTopic").toInt(), 128);
    dialog.show();
    QCOMPARE(dialog.edPlayer->text(), name.left(25));
    QCOMPARE(dialog.edPlayer->selectedText(), name.left(25));
    QCOMPARE(dialog.focusWidget(), dialog.edPlayer);
    QCOMPARE(dialog.cbShowPlayerName->isChecked(), showBox);

    if (!typed.isNull()) {
        QTest::keyClick(dialog.edPlayer, Qt::Key_Backspace);
        QTest::keyClicks(dialog.edPlayer, typed);
    }
    if (toggle)
        dialog.cbShowPlayerName->click();

    if (closeBy == "ok")
        dialog.BitBtn1->click();
    else if (closeBy == "return")
        QTest::keyClick(dialog.edPlayer, Qt::Key_Return);
    else if (closeBy == "escape")
        QTest::keyClick(dialog.edPlayer, Qt::Key_Escape);
    else
        dialog.close();

    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.name(), expectedName);
    QCOMPARE(dialog.showNameBox(), showBox != toggle);
}

void TestRecordDialogs::dialogsPlaceThemselvesOverTheMainWindow()
{
    QWidget main;
    main.setGeometry(101, 57, 633, 481);
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    const QRect mainFrame = main.frameGeometry();
    test::ScriptedModalRunner runner;

    // The size a dialog is centred with must be the one it shows with.
    auto checkCentred = [&](QDialog &dialog) {
        dialog.show();
        const QRect own = dialog.frameGeometry();
        QVERIFY2(std::abs(own.center().x() - mainFrame.center().x()) <= 1, qPrintable(dialog.objectName()));
        QVERIFY2(std::abs(own.center().y() - mainFrame.center().y()) <= 1, qPrintable(dialog.objectName()));
    };
    Statistics statistics = someStatistics();
    TfrmStatistics stats(runner, statistics, QLocale::c(), &main);
    checkCentred(stats);
    TopTen topTen;
    topTen.rows[0] = {QStringLiteral("A rather long player name"), 123456, 9999, 2147483647};
    TfrmTopten topten(runner, topTen, Qt::darkGreen, &main);
    checkCentred(topten);
    TfrmPlayerName name(QStringLiteral("Anna"), true, &main);
    checkCentred(name);
}

void TestRecordDialogs::dialogsCarryTheirWindowButtons()
{
    test::ScriptedModalRunner runner;
    Statistics statistics;
    TopTen topTen;
    TfrmStatistics stats(runner, statistics, QLocale::c(), nullptr);
    TfrmTopten top(runner, topTen, Qt::darkGreen, nullptr);
    TfrmPlayerName name(QStringLiteral("Anna"), true, nullptr);
    struct Expected {
        QDialog *dialog;
        bool minimise, maximise, help;
    };
    for (const Expected &e : {Expected{&stats, true, false, false}, Expected{&top, true, true, true},
                              Expected{&name, false, false, true}}) {
        const Qt::WindowFlags flags = e.dialog->windowFlags();
        QVERIFY2(flags.testFlag(Qt::WindowSystemMenuHint), e.dialog->metaObject()->className());
        QCOMPARE(flags.testFlag(Qt::WindowMinimizeButtonHint), e.minimise);
        QCOMPARE(flags.testFlag(Qt::WindowMaximizeButtonHint), e.maximise);
        QCOMPARE(flags.testFlag(Qt::WindowContextHelpButtonHint), e.help);
    }
}

QTEST_MAIN(TestRecordDialogs)
#include "tst_recorddialogs.moc"
