#include "TestServices.h"
#include "game/GameNumberText.h"
#include "game/TfrmGameOver.h"
#include "game/TfrmGameSelect.h"
#include "game/TfrmSecretGameList.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

#include <numeric>

using namespace vespin;

class TestDialogs : public QObject {
    Q_OBJECT

private slots:
    void parsesGameNumbers_data();
    void parsesGameNumbers();

    void selectGameActivates();
    void selectGameAccepts_data();
    void selectGameAccepts();
    void selectGameRefuses_data();
    void selectGameRefuses();
    void dialogsPlaceThemselvesOverTheMainWindow();

    void secretListHoldsTheGamesInOrder();
    void secretListPicksForThePlayer();

    void gameOverTicksAtMostOneBox();
    void gameOverTellsWhatComesNext_data();
    void gameOverTellsWhatComesNext();
};

void TestDialogs::parsesGameNumbers_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("number");
    QTest::newRow("one") << "1" << 1;
    QTest::newRow("largest") << "2147483647" << 2147483647;
    QTest::newRow("zero") << "0" << 0;
    QTest::newRow("negative") << "-5" << -5;
    QTest::newRow("letters") << "abc" << 0;
    QTest::newRow("one past largest") << "2147483648" << 0;
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("hex largest") << "$7FFFFFFF" << 2147483647;
    QTest::newRow("blanks and plus") << "  +12" << 12;
    QTest::newRow("trailing blank") << "12 " << 0;
    QTest::newRow("smallest") << "-2147483648" << std::numeric_limits<int>::min();
    QTest::newRow("one below smallest") << "-2147483649" << 0;
    QTest::newRow("leading zeros") << "000000000000000000042" << 42;
    // Twenty digits would wrap a 64-bit accumulator that is not checked.
    QTest::newRow("far too long") << "18446744073709551617" << 0;
    QTest::newRow("hex all ones") << "$FFFFFFFF" << -1;
    QTest::newRow("hex top bit") << "$80000000" << std::numeric_limits<int>::min();
    QTest::newRow("hex lower case, leading zeros") << "$000000000ff" << 255;
    QTest::newRow("hex beyond 32 bits") << "$100000000" << 0;
    QTest::newRow("signed hex") << "-$10" << -16;
    QTest::newRow("dollar alone") << "$" << 0;
    QTest::newRow("sign alone") << "+" << 0;
    QTest::newRow("blanks alone") << "   " << 0;
    QTest::newRow("two signs") << "+-1" << 0;
    QTest::newRow("sign after dollar") << "$-1" << 0;
    QTest::newRow("blank after sign") << "- 1" << 0;
    QTest::newRow("inner blank") << "1 2" << 0;
    QTest::newRow("hex digits without dollar") << "1A" << 0;
    QTest::newRow("C hex prefix") << "0x10" << 0;
    QTest::newRow("decimal point") << "7.0" << 0;
    QTest::newRow("non-ASCII digits") << QString::fromUtf8("\u0663\u0664") << 0;
    QTest::newRow("full-width digits") << QString::fromUtf8("\uff11\uff12") << 0;
}

void TestDialogs::parsesGameNumbers()
{
    QFETCH(QString, text);
    QFETCH(int, number);
    QCOMPARE(parseGameNumber(text), number);
}

void TestDialogs::selectGameActivates()
{
    test::ScriptedModalRunner runner;
    TfrmGameSelect dialog(runner, 4711, nullptr);
    QSignalSpy sounds(&dialog, &TfrmGameSelect::soundRequested);
    QSignalSpy help(&dialog, &TfrmGameSelect::helpRequested);
    dialog.Cancelled = true;
    dialog.edGameNumber->setText(QStringLiteral("left over"));

    QCOMPARE(dialog.btOK->text(), QStringLiteral("&OK"));
    QCOMPARE(dialog.btCancel->text(), QStringLiteral("&Cancel"));
    // The largest game number has ten digits; more cannot be typed.
    QCOMPARE(dialog.edGameNumber->maxLength(), 10);

    dialog.show();
    QCOMPARE(dialog.edGameNumber->text(), QStringLiteral("4711"));
    QCOMPARE(dialog.edGameNumber->selectedText(), QStringLiteral("4711"));
    QCOMPARE(dialog.focusWidget(), dialog.edGameNumber);
    QVERIFY(!dialog.Cancelled);
    QCOMPARE(sounds.size(), 1);
    QCOMPARE(sounds.at(0).at(0).toString(), QStringLiteral("Select.wav"));

    dialog.btHelp->click();
    QCOMPARE(help.size(), 1);
    QCOMPARE(help.at(0).at(0).toInt(), 9);
    QVERIFY(dialog.isVisible());

    dialog.btCancel->click();
    QVERIFY(dialog.Cancelled);
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QVERIFY(!dialog.isVisible());
    QVERIFY(runner.shown().isEmpty());
}

void TestDialogs::selectGameAccepts_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("number");
    QTest::newRow("decimal") << "12345" << 12345;
    QTest::newRow("the current number") << "4711" << 4711;
    QTest::newRow("blanks and plus") << "  +7" << 7;
    QTest::newRow("hex largest") << "$7FFFFFFF" << 2147483647;
}

void TestDialogs::selectGameAccepts()
{
    QFETCH(QString, typed);
    QFETCH(int, number);
    test::ScriptedModalRunner runner;
    TfrmGameSelect dialog(runner, 4711, nullptr);
    dialog.show();
    dialog.edGameNumber->setText(typed);
    dialog.btOK->click();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.chosenNumber(), number);
    QVERIFY(!dialog.Cancelled);
    QVERIFY(!dialog.isVisible());
    QVERIFY(runner.shown().isEmpty());
}

void TestDialogs::selectGameRefuses_data()
{
    QTest::addColumn<QString>("typed");
    QTest::newRow("zero") << "0";
    QTest::newRow("negative") << "-5";
    QTest::newRow("hex negative") << "$FFFFFFFF";
    QTest::newRow("too large") << "2147483648";
    QTest::newRow("letters") << "abc";
    QTest::newRow("empty") << "";
    QTest::newRow("trailing blank") << "12 ";
}

void TestDialogs::selectGameRefuses()
{
    QFETCH(QString, typed);
    test::ScriptedModalRunner runner;
    runner.press(QMessageBox::Retry);
    TfrmGameSelect dialog(runner, 4711, nullptr);
    dialog.show();
    dialog.edGameNumber->setText(typed);
    dialog.btCancel->setFocus(); // the refusal must bring the focus back
    dialog.btOK->click();

    QCOMPARE(runner.shown().size(), 1);
    const test::ShownDialog &box = runner.shown().at(0);
    QCOMPARE(box.className, QStringLiteral("QMessageBox"));
    QCOMPARE(box.title, QStringLiteral("Select Game"));
    QCOMPARE(box.text, QStringLiteral("That`s not a valid Game number!"));
    QCOMPARE(box.buttons, QStringList{QStringLiteral("Retry")});

    QVERIFY(dialog.isVisible());
    QVERIFY(dialog.result() != QDialog::Accepted);
    QCOMPARE(dialog.chosenNumber(), 0);
    QVERIFY(!dialog.Cancelled);
    QCOMPARE(dialog.edGameNumber->text(), QStringLiteral("4711"));
    QCOMPARE(dialog.edGameNumber->selectedText(), QStringLiteral("4711"));
    QCOMPARE(dialog.focusWidget(), dialog.edGameNumber);

    // A second try with a good number still goes through.
    dialog.edGameNumber->setText(QStringLiteral("88"));
    dialog.btOK->click();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.chosenNumber(), 88);
}

void TestDialogs::dialogsPlaceThemselvesOverTheMainWindow()
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
    TfrmGameSelect select(runner, 1, &main);
    checkCentred(select);
    TfrmSecretGameList secret(runner, &main);
    checkCentred(secret);

    TfrmGameOver over(&main);
    over.show();
    QCOMPARE(over.frameGeometry().topLeft(), mainFrame.topLeft() + QPoint(380, 200));
}

void TestDialogs::secretListHoldsTheGamesInOrder()
{
    const auto &games = TfrmSecretGameList::secretGames();
    // Sum of the published list: catches a changed, lost or doubled entry.
    QCOMPARE(std::accumulate(games.begin(), games.end(), std::int64_t(0)), std::int64_t(111714683666));
    QCOMPARE(games[0], 48);
    QCOMPARE(games[89], 1707644967);
    QCOMPARE(games[96], 1938797553); // the list is not sorted here, and stays so
    QCOMPARE(games[97], 1864927923);
    QCOMPARE(games[108], 2146581175);

    test::ScriptedModalRunner runner;
    TfrmSecretGameList dialog(runner, nullptr);
    QVERIFY(!dialog.ComboBox->isEditable());
    QCOMPARE(dialog.ComboBox->count(), 109);
    for (int i = 0; i < 109; ++i)
        QCOMPARE(dialog.ComboBox->itemText(i), QString::number(games[std::size_t(i)]));

    // Play takes the selected entry, wherever it sits in the list.
    dialog.ComboBox->setCurrentIndex(97);
    dialog.btPlay->click();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.chosenNumber(), 1864927923);
}

void TestDialogs::secretListPicksForThePlayer()
{
    test::ScriptedModalRunner runner;
    runner.press(QMessageBox::Ok);
    TfrmSecretGameList dialog(runner, nullptr);
    QVERIFY(!dialog.btPick->isEnabled());
    QSignalSpy sounds(&dialog, &TfrmSecretGameList::soundRequested);

    dialog.show();
    QCOMPARE(sounds.size(), 1);
    QCOMPARE(sounds.at(0).at(0).toString(), QStringLiteral("Ghost.wav"));
    QCOMPARE(dialog.ComboBox->currentIndex(), 89);
    QVERIFY(!dialog.btPick->isEnabled());

    dialog.ComboBox->setCurrentIndex(0);
    QVERIFY(dialog.btPick->isEnabled());
    dialog.ComboBox->setCurrentIndex(89);
    QVERIFY(!dialog.btPick->isEnabled());
    dialog.ComboBox->setCurrentIndex(108);
    QVERIFY(dialog.btPick->isEnabled());

    dialog.btPick->click();
    QCOMPARE(dialog.ComboBox->currentIndex(), 89);
    QVERIFY(!dialog.btPick->isEnabled());
    QCOMPARE(runner.shown().size(), 1);
    const test::ShownDialog &box = runner.shown().at(0);
    QCOMPARE(box.title, QStringLiteral("The Ghosts Secret Game List"));
    QCOMPARE(box.text, QStringLiteral("This game, number 1707644967, has been solved within 25 seconds by the "
                                      "ghost... ehhh... the author..."));
    QCOMPARE(box.buttons, QStringList{QStringLiteral("OK")});
    QVERIFY(dialog.isVisible());

    dialog.btCancel->click();
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(dialog.chosenNumber(), 0);
}

void TestDialogs::gameOverTicksAtMostOneBox()
{
    TfrmGameOver dialog(nullptr);
    QCheckBox *select = dialog.cbSelectGame;
    QCheckBox *replay = dialog.cbReplayGame;
    QVERIFY(!select->isChecked() && !replay->isChecked());

    select->click();
    QVERIFY(select->isChecked() && !replay->isChecked());
    replay->click();
    QVERIFY(!select->isChecked() && replay->isChecked());
    select->click();
    QVERIFY(select->isChecked() && !replay->isChecked());
    // Taking a tick back leaves both clear rather than ticking the other.
    select->click();
    QVERIFY(!select->isChecked() && !replay->isChecked());
}

void TestDialogs::gameOverTellsWhatComesNext_data()
{
    QTest::addColumn<bool>("selectGame");
    QTest::addColumn<bool>("replayGame");
    QTest::addColumn<bool>("yes");
    QTest::addColumn<int>("next");
    using Next = TfrmGameOver::Next;
    QTest::newRow("yes") << false << false << true << int(Next::NewGame);
    QTest::newRow("yes, select") << true << false << true << int(Next::SelectGame);
    QTest::newRow("yes, replay") << false << true << true << int(Next::Replay);
    QTest::newRow("no") << false << false << false << int(Next::Nothing);
    QTest::newRow("no, select") << true << false << false << int(Next::Nothing);
    QTest::newRow("no, replay") << false << true << false << int(Next::Nothing);
}

void TestDialogs::gameOverTellsWhatComesNext()
{
    QFETCH(bool, selectGame);
    QFETCH(bool, replayGame);
    QFETCH(bool, yes);
    QFETCH(int, next);
    TfrmGameOver dialog(nullptr);
    dialog.Declined = true; // left from an earlier showing
    dialog.show();
    QVERIFY(!dialog.Declined);
    QCOMPARE(dialog.focusWidget(), dialog.btYes);

    dialog.cbSelectGame->setChecked(selectGame);
    dialog.cbReplayGame->setChecked(replayGame);
    // Without a cancel button, Escape answers nothing.
    QTest::keyClick(&dialog, Qt::Key_Escape);
    QVERIFY(dialog.isVisible());
    QVERIFY(!dialog.Declined);
    (yes ? dialog.btYes : dialog.btNo)->click();
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(yes ? QDialog::Accepted : QDialog::Rejected));
    QCOMPARE(dialog.Declined, !yes);
    QCOMPARE(int(dialog.next()), next);
}

QTEST_MAIN(TestDialogs)
#include "tst_dialogs.moc"
