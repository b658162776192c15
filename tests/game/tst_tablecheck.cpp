// Debug builds check the table after every operation that changes it and
// stop the program on a broken one. Each case here breaks the table just
// before an operation, in a process of its own started as
// "tst_tablecheck --break CASE", and expects that process to stop naming
// the operation and what is broken.
#include "TablePositions.h"
#include "TestServices.h"
#include "shell/TfrmMain.h"

#include <QAction>
#include <QApplication>
#include <QProcess>
#include <QtTest>

#include <cstdio>

using namespace vespin;
using namespace vespin::test;

namespace {

// Column 1 ends in the 7 of hearts on the 9 of clubs, column 2 holds the 8
// of hearts; with `covered` the 3 of spades lies on the 7, which then moves
// as a block.
void layHeartsPosition(TfrmMain &w, bool covered)
{
    std::vector<int> first{clubs(9), hearts(7)};
    if (covered)
        first.push_back(spades(3));
    lay(w, {{first, {hearts(8)}, {}, {}, {}, {}, {}, {}}});
}

void moveSevenOfHearts(TfrmMain &w)
{
    dragCard(w, hearts(7), corner(w, hearts(8)) + QPoint(0, RowStep));
}

// The 9 of clubs, which no case moves, claims a row it does not lie in.
void breakNineOfClubs(TfrmMain &w)
{
    w.cards().SetUser3(clubs(9), 7);
}

// Plays one case; returns only when the check let it pass.
int breakAndPlay(const QString &name)
{
    TestServices services;
    services.clock.millisecondsOfDay = 1;
    TfrmMain w(services.services(), QStringLiteral(VESPIN_CARDLIB_PATH));
    w.show();
    if (!QTest::qWaitForWindowExposed(&w))
        return 2;
    w.FormActivate();
    TableModel &t = w.table();

    if (name == QLatin1String("nothing broken")) {
        layHeartsPosition(w, true);
        moveSevenOfHearts(w);
        w.btUndoClick();
        w.mnuNewGameClick();
        w.play().CheckGameStatus();
    } else if (name == QLatin1String("drop")) {
        layHeartsPosition(w, false);
        breakNineOfClubs(w);
        moveSevenOfHearts(w);
    } else if (name == QLatin1String("block move")) {
        layHeartsPosition(w, true);
        breakNineOfClubs(w);
        moveSevenOfHearts(w);
    } else if (name == QLatin1String("automatic move")) {
        lay(w, {{{clubs(9), clubs(1)}, {}, {}, {}, {}, {}, {}, {}}});
        breakNineOfClubs(w);
        w.play().CheckGameStatus();
    } else if (name == QLatin1String("undo")) {
        layHeartsPosition(w, false);
        moveSevenOfHearts(w);
        breakNineOfClubs(w);
        w.btUndoClick();
    } else if (name == QLatin1String("status check of a dealt game")) {
        w.cards().SetUser3(t.Tableau[1][1], 9);
        w.play().CheckGameStatus();
    } else if (name == QLatin1String("card lost after a laid position")) {
        // A position of a few cards, then a deal: from then on every card
        // must be there again.
        layHeartsPosition(w, false);
        w.mnuNewGameClick();
        t.Tableau[1][1] = t.Tableau[1][2];
        w.play().CheckGameStatus();
    } else if (name == QLatin1String("card twice in a laid position")) {
        layHeartsPosition(w, false);
        t.Tableau[2][2] = clubs(9);
        t.TableauCounter[2] = 2;
        w.cards().AdjustCardBlocked(hearts(8), 1);
        w.play().CheckGameStatus();
    } else {
        return 2;
    }
    std::puts("the check let it pass");
    return 0;
}

} // namespace

class TestTableCheck : public QObject {
    Q_OBJECT

private slots:
    void brokenTableStopsTheProgram_data();
    void brokenTableStopsTheProgram();
};

void TestTableCheck::brokenTableStopsTheProgram_data()
{
    QTest::addColumn<QString>("operation"); // empty: the play goes on
    QTest::addColumn<QString>("broken");

    QTest::newRow("nothing broken") << QString() << QString();
    QTest::newRow("drop") << "a drop" << "card 9 at 1/1 is recorded at 1/7";
    QTest::newRow("block move") << "a block move" << "card 9 at 1/1 is recorded at 1/7";
    QTest::newRow("automatic move") << "an automatic move" << "card 9 at 1/1 is recorded at 1/7";
    QTest::newRow("undo") << "undo" << "card 9 at 1/1 is recorded at 1/7";
    QTest::newRow("status check of a dealt game") << "a status check" << "is recorded at 1/9";
    QTest::newRow("card lost after a laid position") << "a status check" << "stands 0 times";
    QTest::newRow("card twice in a laid position") << "a status check" << "card 9 stands 2 times";
}

void TestTableCheck::brokenTableStopsTheProgram()
{
#ifdef NDEBUG
    QSKIP("release builds leave the check out");
#endif
    QFETCH(QString, operation);
    QFETCH(QString, broken);
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--break"), QString::fromLatin1(QTest::currentDataTag())});
    QVERIFY(child.waitForFinished(120000));
    const QString output = QString::fromLocal8Bit(child.readAllStandardOutput() + child.readAllStandardError());
    if (operation.isEmpty()) {
        QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0, qPrintable(output));
        QVERIFY(output.contains(QLatin1String("the check let it pass")));
        return;
    }
    QVERIFY2(child.exitStatus() == QProcess::CrashExit, qPrintable(output));
    QVERIFY2(output.contains(QStringLiteral("The table is broken after %1:").arg(operation)), qPrintable(output));
    QVERIFY2(output.contains(broken), qPrintable(output));
    QVERIFY(!output.contains(QLatin1String("the check let it pass")));
}

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc == 3 && qstrcmp(argv[1], "--break") == 0)
        return breakAndPlay(QString::fromLocal8Bit(argv[2]));
    TestTableCheck test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_tablecheck.moc"
