#include "TestServices.h"
#include "game/TfrmGameSelect.h"
#include "persistence/TfrmStatistics.h"
#include "persistence/TfrmTopten.h"
#include "shell/AppPaths.h"
#include "shell/TfrmMain.h"

#include <QAction>
#include <QPushButton>
#include <QtTest>

using namespace vespin;

namespace {

enum class Trigger { Contents, F1, KeywordSearch, HowToPlay, UsingHelp, TopTenHelp, StatisticsHelp, SelectGameHelp };

// A help command as the viewer receives it; the file only as "with the
// program's directory" or not.
struct Command {
    HelpCommand command;
    int topic;
    bool fileWithDirectory;
    bool operator==(const Command &) const = default;
};

template <typename Dialog>
void pressHelpIn(test::ScriptedModalRunner &modal, const char *className)
{
    modal.answerWhen(QString::fromLatin1(className), [](QDialog &d) {
        static_cast<Dialog &>(d).btHelp->click();
        d.reject();
        return d.result();
    });
}

} // namespace

Q_DECLARE_METATYPE(Trigger)
Q_DECLARE_METATYPE(QList<Command>)

namespace QTest {
template <>
char *toString(const QList<Command> &commands)
{
    QStringList text;
    for (const Command &c : commands)
        text << QStringLiteral("(%1, %2, %3)").arg(int(c.command)).arg(c.topic).arg(c.fileWithDirectory);
    return qstrdup(qPrintable(text.join(QLatin1Char(' '))));
}
} // namespace QTest

// Every way the game asks for help, and what the help viewer is told.
class TestHelpCommands : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void eachTriggerSendsItsCommand_data();
    void eachTriggerSendsItsCommand();
    void afterHowToPlayTheFileGoesByItsNameAlone();
    void destroyingTheWindowClosesTheHelp();

private:
    QList<Command> commands() const;
    void trigger(Trigger trigger);

    std::unique_ptr<test::TestServices> m_services;
    std::unique_ptr<TfrmMain> m_window;
};

void TestHelpCommands::init()
{
    m_services = std::make_unique<test::TestServices>();
    m_services->clock.millisecondsOfDay = 1;
    m_window = std::make_unique<TfrmMain>(m_services->services(), QStringLiteral(VESPIN_CARDLIB_PATH));
    m_window->show();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    m_services->modal.takeShown();
    m_services->help.calls.clear();
}

void TestHelpCommands::cleanup()
{
    m_window.reset();
    m_services.reset();
}

QList<Command> TestHelpCommands::commands() const
{
    const QString withDirectory = QDir(dataDirectory()).absoluteFilePath(QStringLiteral("Vespin.hlp>aux"));
    QList<Command> result;
    for (const test::RecordingHelp::Call &call : m_services->help.calls) {
        // Any other file name shows as topic -1, which no row expects.
        const bool known = call.file == withDirectory || call.file == QStringLiteral("Vespin.hlp>aux");
        result.append({call.command, known ? call.topic : -1, call.file == withDirectory});
    }
    return result;
}

void TestHelpCommands::trigger(Trigger trigger)
{
    CommandSurface &c = m_window->commands();
    switch (trigger) {
    case Trigger::Contents:
        c.mnuContents->trigger();
        break;
    case Trigger::F1:
        QTest::keyClick(m_window.get(), Qt::Key_F1);
        break;
    case Trigger::KeywordSearch:
        c.mnuKeywordSearch->trigger();
        break;
    case Trigger::HowToPlay:
        c.mnuHowtoPlay->trigger();
        break;
    case Trigger::UsingHelp:
        c.mnuHelpOnHelp->trigger();
        break;
    case Trigger::TopTenHelp:
        pressHelpIn<TfrmTopten>(m_services->modal, "vespin::TfrmTopten");
        c.mnuTopTen->trigger();
        break;
    case Trigger::StatisticsHelp:
        pressHelpIn<TfrmStatistics>(m_services->modal, "vespin::TfrmStatistics");
        c.mnuStatistics->trigger();
        break;
    case Trigger::SelectGameHelp:
        pressHelpIn<TfrmGameSelect>(m_services->modal, "vespin::TfrmGameSelect");
        c.mnuSelectGame->trigger();
        break;
    }
}

void TestHelpCommands::eachTriggerSendsItsCommand_data()
{
    QTest::addColumn<Trigger>("trigger");
    QTest::addColumn<QList<Command>>("sent");
    // The help drop-down's entries are the menu's own actions.
    QTest::newRow("Contents") << Trigger::Contents << QList<Command>{{HelpCommand::Finder, 0, true}};
    QTest::newRow("F1") << Trigger::F1 << QList<Command>{{HelpCommand::Finder, 0, true}};
    QTest::newRow("Keyword Search") << Trigger::KeywordSearch << QList<Command>{{HelpCommand::PartialKey, 0, true}};
    QTest::newRow("How to Play") << Trigger::HowToPlay << QList<Command>{{HelpCommand::Context, 3, false}};
    QTest::newRow("Using Help") << Trigger::UsingHelp << QList<Command>{{HelpCommand::HelpOnHelp, 0, true}};
    // The help window goes with the Top Ten dialog.
    QTest::newRow("Top Ten's Help") << Trigger::TopTenHelp
                                    << QList<Command>{{HelpCommand::Context, 4, true}, {HelpCommand::Quit, 0, true}};
    QTest::newRow("Statistics' Help") << Trigger::StatisticsHelp << QList<Command>{{HelpCommand::Context, 6, true}};
    QTest::newRow("Select Game's Help") << Trigger::SelectGameHelp << QList<Command>{{HelpCommand::Context, 9, true}};
}

void TestHelpCommands::eachTriggerSendsItsCommand()
{
    QFETCH(Trigger, trigger);
    QFETCH(QList<Command>, sent);
    this->trigger(trigger);
    QCOMPARE(commands(), sent);
}

void TestHelpCommands::afterHowToPlayTheFileGoesByItsNameAlone()
{
    trigger(Trigger::Contents);
    trigger(Trigger::HowToPlay);
    trigger(Trigger::Contents);
    trigger(Trigger::StatisticsHelp);
    QCOMPARE(commands(), (QList<Command>{{HelpCommand::Finder, 0, true},
                                         {HelpCommand::Context, 3, false},
                                         {HelpCommand::Finder, 0, false},
                                         {HelpCommand::Context, 6, false}}));
}

void TestHelpCommands::destroyingTheWindowClosesTheHelp()
{
    m_window.reset();
    QCOMPARE(commands(), (QList<Command>{{HelpCommand::Quit, 0, true}}));
}

QTEST_MAIN(TestHelpCommands)
#include "tst_helpcommands.moc"
