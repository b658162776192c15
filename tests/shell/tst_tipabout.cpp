#include "TestServices.h"
#include "shell/TAboutBox.h"
#include "shell/TfrmMain.h"
#include "shell/TfrmTipOfTheDay.h"
#include "shell/Tips.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

using namespace vespin;

namespace {

// A tips file in a scratch folder.
class TipsFixture {
public:
    explicit TipsFixture(const QByteArray &contents)
    {
        QFile file(path());
        if (file.open(QIODevice::WriteOnly))
            file.write(contents);
    }
    QString path() const { return m_dir.filePath(QStringLiteral("TIPS.TXT")); }

private:
    QTemporaryDir m_dir;
};

const QString NoTipsText = QStringLiteral(
    "Sorry, no tips are available. You can disable this message by unchecking \"Show Tips at Startup\" at the "
    "bottom of this dialog. Alternatively, re-install this program.");

} // namespace

class TestTipAbout : public QObject {
    Q_OBJECT

private slots:
    void linesEndAtEveryLineBreak_data();
    void linesEndAtEveryLineBreak();
    void lineIsShownWithItsTitle_data();
    void lineIsShownWithItsTitle();
    void stepsWrapAroundBothWays();
    void withoutTipsTheDialogApologises_data();
    void withoutTipsTheDialogApologises();
    void startUpStoresWhatThePlayerLeft();

    void operatingSystemLine_data();
    void operatingSystemLine();
    void memoryAmount_data();
    void memoryAmount();
    void aboutBoxNamesTheAccountOrThePlayer_data();
    void aboutBoxNamesTheAccountOrThePlayer();
};

void TestTipAbout::linesEndAtEveryLineBreak_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("lines");
    const QStringList abc{"a", "b", "c"};
    QTest::newRow("LF") << QByteArray("a\nb\nc\n") << abc;
    QTest::newRow("CR LF") << QByteArray("a\r\nb\r\nc\r\n") << abc;
    QTest::newRow("CR") << QByteArray("a\rb\rc\r") << abc;
    QTest::newRow("mixed") << QByteArray("a\r\nb\rc\n") << abc;
    QTest::newRow("last line without ending") << QByteArray("a\nb\nc") << abc;
    QTest::newRow("LF CR is two breaks") << QByteArray("a\n\rb") << QStringList{"a", "", "b"};
    QTest::newRow("empty lines kept") << QByteArray("a\n\n\nb\n") << QStringList{"a", "", "", "b"};
    QTest::newRow("zero byte ends the text") << QByteArray("a\nb\0c\nd\n", 9) << QStringList{"a", "b"};
    QTest::newRow("zero byte first") << QByteArray("\0a\n", 3) << QStringList{};
    QTest::newRow("empty") << QByteArray() << QStringList{};
    QTest::newRow("UTF-8") << QByteArray("caf\xc3\xa9\n") << QStringList{QStringLiteral("caf\u00e9")};
}

void TestTipAbout::linesEndAtEveryLineBreak()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, lines);
    QCOMPARE(splitTipLines(bytes), lines);
}

void TestTipAbout::lineIsShownWithItsTitle_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text");
    QTest::newRow("tip") << "^Kings go first." << "Today's tip..." << "Kings go first.";
    QTest::newRow("did you know, two lines") << "?First phrase.%sSecond phrase." << "Did you know..."
                                             << "First phrase.\nSecond phrase.";
    QTest::newRow("quote") << "'Q" << "Today's quote..." << "Q";
    QTest::newRow("joke") << "!J" << "Today's joke..." << "J";
    QTest::newRow("message") << "#M" << "Today's message..." << "M";
    QTest::newRow("question") << "+Q?" << "Today's question..." << "Q?";
    QTest::newRow("unknown first character is dropped") << "*Text" << "" << "Text";
    QTest::newRow("a letter first is dropped too") << "Hello" << "" << "ello";
    QTest::newRow("doubled percent") << "^100%% sure" << "Today's tip..." << "100% sure";
    QTest::newRow("other percent shows as it stands") << "^50% off, %d and %" << "Today's tip..."
                                                       << "50% off, %d and %";
    QTest::newRow("five breaks, then spaces") << "^a%sb%sc%sd%se%sf%sg%sh" << "Today's tip..."
                                              << "a\nb\nc\nd\ne\nf g h";
    QTest::newRow("title only") << "^" << "Today's tip..." << "";
    QTest::newRow("empty line") << "" << "" << "";
    QTest::newRow("at most 255 characters") << "^" + QString(300, u'x') << "Today's tip..." << QString(255, u'x');
    // A character beyond the first plane is two UTF-16 units: neither the
    // first character nor the limit may cut one in half.
    QTest::newRow("a wide first character goes whole") << QStringLiteral("\U0001F0A1Ace") << "" << "Ace";
    QTest::newRow("a wide character at the limit goes whole")
        << "^" + QString(254, u'x') + QStringLiteral("\U0001F0A1") << "Today's tip..." << QString(254, u'x');
}

void TestTipAbout::lineIsShownWithItsTitle()
{
    QFETCH(QString, line);
    QFETCH(QString, title);
    QFETCH(QString, text);
    const Tip tip = formatTip(line);
    QCOMPARE(tip.title, title);
    QCOMPARE(tip.text, text);
}

void TestTipAbout::stepsWrapAroundBothWays()
{
    TipsFixture tips("^zero\r\n?one\r\n'two\r\n");
    // The dialog steps once as it opens: from the last line to the first.
    TfrmTipOfTheDay dialog(tips.path(), 2, true, nullptr);
    dialog.FormActivate();
    QCOMPARE(dialog.tipNumber(), 0);
    QCOMPARE(dialog.lbTitle->text(), QStringLiteral("Today's tip..."));
    QCOMPARE(dialog.lbText->text(), QStringLiteral("zero"));
    QVERIFY(dialog.btNext->isEnabled() && dialog.btPrevious->isEnabled());

    dialog.btPrevious->click();
    QCOMPARE(dialog.tipNumber(), 2);
    QCOMPARE(dialog.lbTitle->text(), QStringLiteral("Today's quote..."));
    dialog.btNext->click();
    QCOMPARE(dialog.tipNumber(), 0);
    dialog.btNext->click();
    QCOMPARE(dialog.tipNumber(), 1);
    QCOMPARE(dialog.lbText->text(), QStringLiteral("one"));

    // Empty and blank lines are stepped over in both directions.
    TipsFixture gaps("^zero\n\n   \n^three\n");
    TfrmTipOfTheDay gapped(gaps.path(), 0, true, nullptr);
    gapped.FormActivate();
    QCOMPARE(gapped.tipNumber(), 3);
    gapped.btPrevious->click();
    QCOMPARE(gapped.tipNumber(), 0);

    // A stored number outside the file, at either end of its range, lands
    // on a line of it.
    TfrmTipOfTheDay beyond(tips.path(), std::numeric_limits<int>::max(), true, nullptr);
    beyond.FormActivate();
    QCOMPARE(beyond.tipNumber(), 0);
    TfrmTipOfTheDay below(tips.path(), std::numeric_limits<int>::min(), true, nullptr);
    below.FormActivate();
    QCOMPARE(below.tipNumber(), 2);
}

void TestTipAbout::withoutTipsTheDialogApologises_data()
{
    QTest::addColumn<bool>("exists");
    QTest::addColumn<QByteArray>("contents");
    QTest::newRow("missing") << false << QByteArray();
    QTest::newRow("empty") << true << QByteArray();
    QTest::newRow("only line breaks") << true << QByteArray("\r\n\n \r");
    QTest::newRow("zero byte first") << true << QByteArray("\0^tip\n", 6);
}

void TestTipAbout::withoutTipsTheDialogApologises()
{
    QFETCH(bool, exists);
    QFETCH(QByteArray, contents);
    TipsFixture tips(contents);
    const QString path = exists ? tips.path() : tips.path() + QStringLiteral(".missing");
    TfrmTipOfTheDay dialog(path, 7, true, nullptr);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Tip of the day"));
    dialog.FormActivate();
    QCOMPARE(dialog.lbTitle->text(), QStringLiteral("Oops..."));
    QCOMPARE(dialog.lbText->text(), NoTipsText);
    QVERIFY(!dialog.btNext->isEnabled());
    QVERIFY(!dialog.btPrevious->isEnabled());
    QCOMPARE(dialog.tipNumber(), 7);
    QVERIFY(dialog.btClose->isDefault());
}

void TestTipAbout::startUpStoresWhatThePlayerLeft()
{
    // The program's own tips file, as built beside the tests.
    test::TestServices services;
    services.writeSettings("[Options]\nTipNumber=3\n");
    int shownFirst = -1;
    services.modal.answerWhen(QStringLiteral("vespin::TfrmTipOfTheDay"), [&](QDialog &d) {
        auto &tip = static_cast<TfrmTipOfTheDay &>(d);
        tip.FormActivate();
        shownFirst = tip.tipNumber();
        [&] { QVERIFY(tip.cbShowTips->isChecked()); }();
        [&] { QVERIFY(!tip.lbText->text().isEmpty()); }();
        tip.btNext->click();
        tip.cbShowTips->setChecked(false);
        tip.btClose->click();
        return tip.result();
    });
    TfrmMain window(services.services(), QStringLiteral(VESPIN_CARDLIB_PATH));
    window.FormActivate();
    QCOMPARE(shownFirst, 4);
    const QByteArray file = services.readSettings();
    QVERIFY2(file.contains("ShowTips=0\n"), file.constData());
    QVERIFY2(file.contains("TipNumber=5\n"), file.constData());
    QVERIFY(!window.commands().mnuTip->isChecked());
    QVERIFY(!window.commands().PopUpTip->isChecked());

    // With the tips off, the next start shows none.
    services.modal.takeShown();
    TfrmMain again(services.services(), QStringLiteral(VESPIN_CARDLIB_PATH));
    again.FormActivate();
    for (const test::ShownDialog &shown : services.modal.shown())
        QVERIFY(shown.className != QStringLiteral("vespin::TfrmTipOfTheDay"));
}

void TestTipAbout::operatingSystemLine_data()
{
    QTest::addColumn<OperatingSystem>("os");
    QTest::addColumn<QString>("line");
    QTest::newRow("with distribution") << OperatingSystem{"Linux", 6, 1, 27, "Debian GNU/Linux 12 (bookworm)"}
                                       << "Linux 6.1 (Build 27: Debian GNU/Linux 12 (bookworm))";
    QTest::newRow("without distribution") << OperatingSystem{"Linux", 5, 15, 0, ""} << "Linux 5.15 (Build 0)";
}

void TestTipAbout::operatingSystemLine()
{
    QFETCH(OperatingSystem, os);
    QFETCH(QString, line);
    QCOMPARE(operatingSystemText(os), line);
}

void TestTipAbout::memoryAmount_data()
{
    QTest::addColumn<quint64>("bytes");
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("text");
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    const QLocale german(QLocale::German, QLocale::Germany);
    QTest::newRow("32 MB") << quint64(33554432) << english << "32,768 KB";
    QTest::newRow("32 MB, German") << quint64(33554432) << german << "32.768 KB";
    QTest::newRow("remainder dropped") << quint64(2047) << english << "1 KB";
    QTest::newRow("nothing") << quint64(0) << english << "0 KB";
    QTest::newRow("64 GB") << quint64(64) * 1024 * 1024 * 1024 << english << "67,108,864 KB";
}

void TestTipAbout::memoryAmount()
{
    QFETCH(quint64, bytes);
    QFETCH(QLocale, locale);
    QFETCH(QString, text);
    QCOMPARE(memoryText(bytes, locale), text);
}

void TestTipAbout::aboutBoxNamesTheAccountOrThePlayer_data()
{
    QTest::addColumn<QString>("fullName");
    QTest::addColumn<QString>("shown");
    QTest::newRow("account name") << "Ada Lovelace" << "Ada Lovelace";
    QTest::newRow("no account name") << "" << "Player 1";
}

void TestTipAbout::aboutBoxNamesTheAccountOrThePlayer()
{
    QFETCH(QString, fullName);
    QFETCH(QString, shown);
    test::TestServices services;
    services.system.fullName = fullName;
    services.system.memory = 33554432;
    TfrmMain window(services.services(), QStringLiteral(VESPIN_CARDLIB_PATH));
    window.FormActivate();
    services.modal.takeShown();

    QString name, os, memory, version;
    services.modal.answerWhen(QStringLiteral("vespin::TAboutBox"), [&](QDialog &d) {
        auto &box = static_cast<TAboutBox &>(d);
        box.FormActivate();
        name = box.UserName->text();
        os = box.OSVersion->text();
        memory = box.PhysMem->text();
        version = box.Version->text();
        [&] { QVERIFY(box.OKButton->isDefault()); }();
        box.OKButton->click();
        return box.result();
    });
    window.commands().mnuAbout->trigger();
    QCOMPARE(services.modal.shown().size(), 1);
    QCOMPARE(services.modal.shown().first().title, QStringLiteral("About Vespintide"));
    QCOMPARE(name, shown);
    QCOMPARE(version, QStringLiteral("Version 1.01"));
    QCOMPARE(os, QStringLiteral("Linux 6.1 (Build 0: Test Linux)"));
    QCOMPARE(memory, QLocale::system().toString(32768) + QStringLiteral(" KB"));
}

QTEST_MAIN(TestTipAbout)
#include "tst_tipabout.moc"
