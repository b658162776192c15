#include "persistence/SettingsFile.h"
#include "persistence/SettingsKeys.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>
#include <optional>

using namespace vespin;

namespace {

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void put(const QString &path, const QByteArray &data)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(data), data.size());
}

} // namespace

class TestSettingsFile : public QObject {
    Q_OBJECT

private slots:
    void init();
    void numbersFollowTheFileRule_data();
    void numbersFollowTheFileRule();
    void flagsAreReadAsNumbers_data();
    void flagsAreReadAsNumbers();
    void namesMatchWithoutRegardToCase();
    void namesOutsideAsciiMatchWithoutRegardToCase_data();
    void namesOutsideAsciiMatchWithoutRegardToCase();
    void aCopyOfTheTextOutlivesTheBytesItWasReadFrom();
    void writesChangeOnlyTheirOwnLine_data();
    void writesChangeOnlyTheirOwnLine();
    void clearSectionRemovesEverySectionOfTheName();
    void damagedFilesReadSafelyAndKeepTheirBytes_data();
    void damagedFilesReadSafelyAndKeepTheirBytes();
    void valuesCannotStartKeysOrSections();
    void textReadsBackAsWritten_data();
    void textReadsBackAsWritten();
    void longTextIsCutTo1023Characters();
    void failedWriteLeavesTheFileAsItWas_data();
    void failedWriteLeavesTheFileAsItWas();
    void missingDirectoryIsCreated();
    void readsSeeWhatIsOnDisk();
    void keyTableDefaults();
    void outOfRangeOptionsReadAsDefaults_data();
    void outOfRangeOptionsReadAsDefaults();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_path;
};

void TestSettingsFile::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_path = m_dir->filePath(QStringLiteral("Vespin.ini"));
}

void TestSettingsFile::numbersFollowTheFileRule_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("expected"); // -77 is the caller's default
    QTest::newRow("decimal") << "31" << 31;
    QTest::newRow("negative") << "-12" << -12;
    QTest::newRow("blanks around") << "  42  " << 42;
    QTest::newRow("0x") << "0x1F" << 31;
    QTest::newRow("0X") << "0X1f" << 31;
    QTest::newRow("dollar") << "$1F" << 31;
    QTest::newRow("0x alone") << "0x" << -77;
    QTest::newRow("dollar alone") << "$" << -77;
    QTest::newRow("word") << "abc" << -77;
    QTest::newRow("empty") << "" << -77;
    QTest::newRow("trailing text") << "12abc" << -77;
    QTest::newRow("fraction") << "1.5" << -77;
    QTest::newRow("largest") << "2147483647" << 2147483647;
    QTest::newRow("smallest") << "-2147483648" << int(-2147483648LL);
    QTest::newRow("too large") << "2147483648" << -77;
    QTest::newRow("too small") << "-2147483649" << -77;
    QTest::newRow("all bits in hex") << "0xFFFFFFFF" << -1;
    QTest::newRow("hex too large") << "$100000000" << -77;
    QTest::newRow("signed hex") << "0x-1" << -77;
    QTest::newRow("two prefixes") << "0x0x1F" << -77;
    QTest::newRow("dollar and 0x") << "$0x1F" << -77;
    QTest::newRow("blank after 0x") << "0x 1F" << -77;
    QTest::newRow("blank after dollar") << "$ 1F" << -77;
    QTest::newRow("leading zeros in hex") << "0x000000001F" << 31;
}

void TestSettingsFile::numbersFollowTheFileRule()
{
    QFETCH(QString, text);
    QFETCH(int, expected);
    put(m_path, "[Options]\nTipNumber=" + text.toUtf8() + "\n");
    QCOMPARE(SettingsFile(m_path).ReadNumber(QStringLiteral("Options"), QStringLiteral("TipNumber"), -77), expected);
}

void TestSettingsFile::flagsAreReadAsNumbers_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("fallback");
    QTest::addColumn<bool>("expected");
    QTest::newRow("1") << QByteArray("1") << false << true;
    QTest::newRow("0") << QByteArray("0") << true << false;
    QTest::newRow("2") << QByteArray("2") << false << true;
    QTest::newRow("-1") << QByteArray("-1") << false << true;
    QTest::newRow("yes, default off") << QByteArray("yes") << false << false;
    QTest::newRow("yes, default on") << QByteArray("yes") << true << true;
}

void TestSettingsFile::flagsAreReadAsNumbers()
{
    QFETCH(QByteArray, text);
    QFETCH(bool, fallback);
    QFETCH(bool, expected);
    put(m_path, "[Options]\nSound=" + text + "\n");
    QCOMPARE(SettingsFile(m_path).ReadFlag(QStringLiteral("Options"), QStringLiteral("Sound"), fallback), expected);
}

void TestSettingsFile::namesMatchWithoutRegardToCase()
{
    put(m_path, "[OPTIONS]\nstatusbar=0\n");
    SettingsFile file(m_path);
    QCOMPARE(file.ReadFlag(QStringLiteral("Options"), QStringLiteral("Statusbar"), true), false);
    write(file, keys::StatusBarToggle, true);
    QCOMPARE(read(file, keys::Statusbar(QSize(1024, 768))), true);
    QCOMPARE(read(file, keys::Statusbar(QSize(640, 480))), true);
    QCOMPARE(contents(m_path), QByteArray("[OPTIONS]\nstatusbar=1\n"));
}

void TestSettingsFile::namesOutsideAsciiMatchWithoutRegardToCase_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("expected");
    QTest::newRow("accented key") << QByteArray("[S]\n\xC3\x84rger=3\n") << "S" << QStringLiteral("\u00E4RGER") << 3;
    QTest::newRow("accented section") << QByteArray("[\xC3\x98st]\nk=4\n") << QStringLiteral("\u00F8ST") << "k" << 4;
    // Kelvin sign and K fold alike; the look-up does as the file rule does.
    QTest::newRow("ASCII in the file, not in the name") << QByteArray("[S]\nk=5\n") << "S" << QStringLiteral("\u212A") << 5;
    QTest::newRow("same length, other letter") << QByteArray("[S]\n\xC3\xA9=6\n") << "S" << "e" << -1;
    QTest::newRow("broken UTF-8 is no letter") << QByteArray("[S]\n\xC3=7\n") << "S" << QStringLiteral("\u00C3") << -1;
}

void TestSettingsFile::namesOutsideAsciiMatchWithoutRegardToCase()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(int, expected);
    put(m_path, file);
    QCOMPARE(SettingsFile(m_path).ReadNumber(section, key, -1), expected);
}

void TestSettingsFile::aCopyOfTheTextOutlivesTheBytesItWasReadFrom()
{
    std::optional<SettingsText> copy;
    {
        auto bytes = std::make_unique<QByteArray>("[Options]\nCardBack=3\nSound=0\n");
        const SettingsText text(QByteArray::fromRawData(bytes->constData(), bytes->size()));
        copy = text;
        bytes->fill('x');
    }
    copy->WriteNumber(QStringLiteral("Options"), QStringLiteral("Sound"), 1);
    QCOMPARE(copy->ReadNumber(QStringLiteral("Options"), QStringLiteral("CardBack"), 1), 3);
    QCOMPARE(copy->bytes(), QByteArray("[Options]\nCardBack=3\nSound=1\n"));
}

void TestSettingsFile::writesChangeOnlyTheirOwnLine_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QByteArray>("after");

    const QByteArray file = "; kept as it is\r\n"
                            "[Window]\r\n"
                            "LeftPosition = 10\r\n"
                            "Unknown=yes\r\n"
                            "\r\n"
                            "[Mine]\r\n"
                            "x=1\r\n";
    QTest::newRow("replace where it stands") << file << "window" << "leftposition"
                                             << QByteArray("; kept as it is\r\n[Window]\r\nLeftPosition =7\r\n"
                                                           "Unknown=yes\r\n\r\n[Mine]\r\nx=1\r\n");
    QTest::newRow("append to its section") << file << "Window" << "Height"
                                           << QByteArray("; kept as it is\r\n[Window]\r\nLeftPosition = 10\r\n"
                                                         "Unknown=yes\r\nHeight=7\r\n\r\n[Mine]\r\nx=1\r\n");
    QTest::newRow("new section at the end") << file << "Options" << "CardBack"
                                            << QByteArray(file + "\r\n[Options]\r\nCardBack=7\r\n");
    QTest::newRow("no file") << QByteArray() << "Options" << "CardBack" << QByteArray("[Options]\nCardBack=7\n");
    QTest::newRow("last line without its break")
        << QByteArray("[Options]\nSound=1") << "Options" << "Pause" << QByteArray("[Options]\nSound=1\nPause=7\n");
    QTest::newRow("duplicate keys: the first")
        << QByteArray("[A]\nk=1\nk=2\n") << "A" << "K" << QByteArray("[A]\nk=7\nk=2\n");
    QTest::newRow("duplicate sections: the first")
        << QByteArray("[A]\nx=1\n[B]\n[A]\nk=2\n") << "A" << "k" << QByteArray("[A]\nx=1\nk=7\n[B]\n[A]\nk=2\n");
}

void TestSettingsFile::writesChangeOnlyTheirOwnLine()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QByteArray, after);
    if (!before.isNull())
        put(m_path, before);
    SettingsFile file(m_path);
    file.WriteNumber(section, key, 7);
    QCOMPARE(contents(m_path), after);
    QCOMPARE(file.ReadNumber(section, key, 0), 7);
}

void TestSettingsFile::clearSectionRemovesEverySectionOfTheName()
{
    put(m_path, "[AutoSave]\nGameSaved=1\n[TopTen]\nLastPlayer=Ann\n[autosave]\nScore=3\n; note\n[Options]\nSound=0\n");
    SettingsFile file(m_path);
    file.ClearSection(QStringLiteral("AutoSave"));
    QCOMPARE(contents(m_path), QByteArray("[TopTen]\nLastPlayer=Ann\n[Options]\nSound=0\n"));
    QCOMPARE(read(file, keys::GameSaved), false);
    const QByteArray untouched = contents(m_path);
    file.ClearSection(QStringLiteral("AutoSave")); // nothing to remove: nothing written
    QCOMPARE(contents(m_path), untouched);
}

void TestSettingsFile::damagedFilesReadSafelyAndKeepTheirBytes_data()
{
    QTest::addColumn<QByteArray>("damaged");
    QTest::addColumn<int>("cardBack"); // what [Options] CardBack reads as

    QByteArray garbage;
    for (int i = 0; i < 4096; ++i)
        garbage += char((i * 7919) % 256);
    QTest::newRow("binary garbage") << garbage << 1;
    QTest::newRow("NUL bytes") << QByteArray("[Options]\nCardBack=3\0\0[x]\n=\n", 27) << 3;
    QTest::newRow("NUL inside a value") << QByteArray("[Options]\nCardBack=4\0009\n", 22) << 4;
    QTest::newRow("10 MB line") << QByteArray("[Options]\nCardBack=2\n" + QByteArray(10 << 20, 'x') + "\n") << 2;
    QTest::newRow("mixed line breaks") << QByteArray("[Window]\rHeight=500\r\n[Options]\nCardBack=5\r") << 5;
    QTest::newRow("byte order mark") << QByteArray("\xEF\xBB\xBF[Options]\r\nCardBack=6\r\n") << 6;
    QTest::newRow("duplicate section") << QByteArray("[Options]\nCardBack=2\n[Options]\nCardBack=3\n") << 2;
    QTest::newRow("duplicate key") << QByteArray("[Options]\nCardBack=4\ncardback=3\n") << 4;
    QTest::newRow("lines without =") << QByteArray("[Options]\nCardBack\njunk\nCardBack=3\n") << 3;
    QTest::newRow("text before any section") << QByteArray("CardBack=4\nhello\n[Options]\n") << 1;
    QTest::newRow("unclosed section") << QByteArray("[Options\nCardBack=4\n") << 1;
    QTest::newRow("comment") << QByteArray("[Options]\n;CardBack=4\n") << 1;
}

void TestSettingsFile::damagedFilesReadSafelyAndKeepTheirBytes()
{
    QFETCH(QByteArray, damaged);
    QFETCH(int, cardBack);
    put(m_path, damaged);
    SettingsFile file(m_path);
    QCOMPARE(read(file, keys::CardBack), cardBack);
    QCOMPARE(read(file, keys::Prompts), false);
    QCOMPARE(read(file, keys::LastPlayer), QStringLiteral("Player 1"));

    // A write elsewhere keeps every byte it does not touch, and reads back.
    write(file, keys::SuperPlayer, QStringLiteral("Zoë"));
    const QByteArray after = contents(m_path);
    QVERIFY(after.startsWith(damaged.left(damaged.size() - 1)));
    QCOMPARE(read(file, keys::SuperPlayer), QStringLiteral("Zoë"));
    QCOMPARE(read(file, keys::CardBack), cardBack);
}

void TestSettingsFile::valuesCannotStartKeysOrSections()
{
    SettingsFile file(m_path);
    write(file, keys::LastPlayer, QStringLiteral("Eve\n[Options]\r\nPrompts=1"));
    write(file, keys::Prompts, false);
    QCOMPARE(read(file, keys::Prompts), false);
    QCOMPARE(read(file, keys::LastPlayer), QStringLiteral("Eve [Options]  Prompts=1"));
    QCOMPARE(contents(m_path), QByteArray("[TopTen]\nLastPlayer=Eve [Options]  Prompts=1\n\n[Options]\nPrompts=0\n"));
}

void TestSettingsFile::textReadsBackAsWritten_data()
{
    QTest::addColumn<QString>("text");
    // U+FEFF reads as a byte order mark at the start of UTF-8 text.
    QTest::newRow("leading zero-width no-break space") << QStringLiteral("\uFEFFEve");
    QTest::newRow("nothing but one") << QStringLiteral("\uFEFF");
    QTest::newRow("beyond the first plane") << QStringLiteral("Zo\u00EB \U0001F0A1");
}

void TestSettingsFile::textReadsBackAsWritten()
{
    QFETCH(QString, text);
    SettingsFile file(m_path);
    write(file, keys::LastPlayer, text);
    QCOMPARE(read(file, keys::LastPlayer), text);
    QCOMPARE(read(SettingsFile(m_path), keys::LastPlayer), text);
}

void TestSettingsFile::longTextIsCutTo1023Characters()
{
    SettingsFile file(m_path);
    write(file, keys::LastPlayer, QString(2000, QLatin1Char('n')));
    QCOMPARE(read(file, keys::LastPlayer), QString(1023, QLatin1Char('n')));
}

void TestSettingsFile::failedWriteLeavesTheFileAsItWas_data()
{
    QTest::addColumn<QString>("blocker"); // what stands in the way
    QTest::newRow("the file is a directory") << "directory";
    QTest::newRow("the folder is a file") << "folder";
}

void TestSettingsFile::failedWriteLeavesTheFileAsItWas()
{
    QFETCH(QString, blocker);
    QString path = m_path;
    if (blocker == QLatin1String("directory")) {
        QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("Vespin.ini")));
    } else {
        put(m_dir->filePath(QStringLiteral("folder")), "[Options]\nSound=1\n");
        path = m_dir->filePath(QStringLiteral("folder/Vespin.ini"));
    }
    SettingsFile file(path);
    try {
        write(file, keys::Sound, false);
        QFAIL("the write reported success");
    } catch (const SettingsWriteError &error) {
        QCOMPARE(error.message(), QStringLiteral("Unable to write to %1").arg(path));
    }
    QCOMPARE(contents(m_dir->filePath(QStringLiteral("folder"))),
             blocker == QLatin1String("folder") ? QByteArray("[Options]\nSound=1\n") : QByteArray());
    // Nothing half-written is left behind.
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden).size(), blocker == QLatin1String("folder") ? 1 : 0);
}

void TestSettingsFile::missingDirectoryIsCreated()
{
    const QString path = m_dir->filePath(QStringLiteral("config/Vespintide/Vespin.ini"));
    SettingsFile file(path);
    write(file, keys::TipNumber, 12);
    QCOMPARE(contents(path), QByteArray("[Options]\nTipNumber=12\n"));
}

void TestSettingsFile::readsSeeWhatIsOnDisk()
{
    SettingsFile file(m_path);
    QCOMPARE(read(file, keys::TipNumber), 0);
    put(m_path, "[Options]\nTipNumber=5\n");
    QCOMPARE(read(file, keys::TipNumber), 5);
    SettingsFile other(m_path);
    write(other, keys::TipNumber, 6);
    QCOMPARE(read(file, keys::TipNumber), 6);
}

void TestSettingsFile::keyTableDefaults()
{
    const SettingsFile none(m_path);
    const QSize wide(1280, 1024);
    QCOMPARE(read(none, keys::LeftPosition(wide)), 320);
    QCOMPARE(read(none, keys::TopPosition(wide)), 272);
    QCOMPARE(read(none, keys::Height), 450);
    QCOMPARE(read(none, keys::Sound), true);
    QCOMPARE(read(none, keys::AutoSaveOption), false);
    QCOMPARE(read(none, keys::Pause), true);
    QCOMPARE(read(none, keys::BackGroundColor), 5);
    QCOMPARE(read(none, keys::ToolBar(wide)), true);
    QCOMPARE(read(none, keys::ToolBar(QSize(640, 480))), false);
    QCOMPARE(read(none, keys::Statusbar(QSize(640, 480))), false);
    QCOMPARE(read(none, keys::SuperTime), 9999);
    QCOMPARE(read(none, keys::PlayerName(3)), QStringLiteral("Player 3"));
    QCOMPARE(keys::PlayerName(3).name, QStringLiteral("Player3"));
    QCOMPARE(keys::PlayerGameNumber(10).name, QStringLiteral("Player10 GameNumber"));
    QCOMPARE(read(none, keys::PlayerTime(10)), 9999);
    QCOMPARE(read(none, keys::SavedGameNumber), 1);
    QCOMPARE(keys::SavedTableau(7, 3).name, QStringLiteral("Tableau_7_3"));
    QCOMPARE(keys::SavedFoundation(5, 1).name, QStringLiteral("Foundation_5_1"));
    QVERIFY(!QFile::exists(m_path)); // reading creates nothing
}

void TestSettingsFile::outOfRangeOptionsReadAsDefaults_data()
{
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<int>("cardBack");
    QTest::addColumn<int>("colour");
    QTest::newRow("in range") << QByteArray("CardBack=6\nBackGroundColor=0") << 6 << 0;
    QTest::newRow("other end") << QByteArray("CardBack=1\nBackGroundColor=15") << 1 << 15;
    QTest::newRow("just out") << QByteArray("CardBack=7\nBackGroundColor=16") << 1 << 5;
    QTest::newRow("far out") << QByteArray("CardBack=-1\nBackGroundColor=0x7FFFFFFF") << 1 << 5;
}

void TestSettingsFile::outOfRangeOptionsReadAsDefaults()
{
    QFETCH(QByteArray, stored);
    QFETCH(int, cardBack);
    QFETCH(int, colour);
    put(m_path, "[Options]\n" + stored + "\n");
    const SettingsFile file(m_path);
    QCOMPARE(read(file, keys::CardBack), cardBack);
    QCOMPARE(read(file, keys::BackGroundColor), colour);
}

QTEST_MAIN(TestSettingsFile)
#include "tst_settingsfile.moc"
