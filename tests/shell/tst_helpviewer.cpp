#include "shell/HelpViewer.h"
#include "shell/LazyHelp.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDialog>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QHelpIndexWidget>
#include <QLabel>
#include <QLibrary>
#include <QLibraryInfo>
#include <QMap>
#include <QMessageBox>
#include <QProcess>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>

#include <algorithm>

using vespin::HelpCommand;
using vespin::HelpService;
using vespin::HelpViewer;

namespace {

const QString HelpFileName = QStringLiteral("Vespin.hlp>aux");
const QString WindowTitle = QStringLiteral("Vespintide Help");

class RecordingModalRunner final : public vespin::ModalRunner {
public:
    struct Shown {
        QString title;
        QString text;
    };
    QList<Shown> shown;

    int run(QDialog &dialog) override
    {
        const auto *box = qobject_cast<QMessageBox *>(&dialog);
        shown.append({dialog.windowTitle(), box ? box->text() : QString()});
        return QDialog::Rejected;
    }
};

QString helpGenerator()
{
#ifdef VESPIN_QHELPGENERATOR
    return QStringLiteral(VESPIN_QHELPGENERATOR);
#else
    for (const auto location : {QLibraryInfo::LibraryExecutablesPath, QLibraryInfo::BinariesPath}) {
        const QString candidate = QDir(QLibraryInfo::path(location)).filePath(QStringLiteral("qhelpgenerator"));
        if (QFileInfo(candidate).isExecutable())
            return candidate;
    }
    return {};
#endif
}

bool writeFile(const QString &path, const QByteArray &text)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
}

// Each page carries a marker of its own name, so a test can tell that the
// page's text reached the screen, not just its address.
QByteArray page(const char *name, const char *body)
{
    return QByteArray("<html><head><title>") + name + "</title></head><body><p>Marker " + name + ".</p><p>"
        + body + "</p></body></html>";
}

QWidget *helpWindow()
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    const auto found = std::find_if(windows.begin(), windows.end(),
                                    [](const QWidget *w) { return w->windowTitle() == WindowTitle; });
    return found == windows.end() ? nullptr : *found;
}

QList<QWidget *> visibleWindows()
{
    QList<QWidget *> visible;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->isVisible())
            visible << w;
    return visible;
}

// Names and digests of every file under dir.
QMap<QString, QByteArray> snapshot(const QString &dir)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(dir, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        file.open(QIODevice::ReadOnly);
        files.insert(it.filePath(), QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha1).toHex());
    }
    return files;
}

} // namespace

class tst_HelpViewer : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void opensOnPage_data();
    void opensOnPage();
    void partialKeyShowsIndex();
    void windowIsReusedAndQuitClosesAll();
    void popupShowsTopicText();
    void unopenableCollectionIsReportedOnce_data();
    void unopenableCollectionIsReportedOnce();
    void installedCollectionIsLeftUntouched();
    void moduleIsLoadedForTheFirstShowingCommand();
    void missingModuleIsReportedAndGameGoesOn();

private:
    QTemporaryDir m_fixture;
    QString m_helpDir;
    QString m_collection;
};

void tst_HelpViewer::initTestCase()
{
    const QString generator = helpGenerator();
    QVERIFY2(!generator.isEmpty(), "qhelpgenerator not found");
    QVERIFY(m_fixture.isValid());
    m_helpDir = m_fixture.filePath(QStringLiteral("help"));
    QVERIFY(QDir().mkpath(m_helpDir));
    const QDir help(m_helpDir);

    QVERIFY(writeFile(help.filePath(QStringLiteral("vespintide.qhp")), R"(<?xml version="1.0" encoding="UTF-8"?>
<QtHelpProject version="1.0">
  <namespace>org.vespintide.help</namespace>
  <virtualFolder>doc</virtualFolder>
  <filterSection>
    <toc>
      <section title="Vespintide" ref="index.html">
        <section title="Rules" ref="topic1.html"/>
        <section title="Scoring" ref="topic2.html"/>
        <section title="Using Help" ref="usinghelp.html"/>
      </section>
    </toc>
    <keywords>
      <keyword name="rules" ref="topic1.html"/>
      <keyword name="score" ref="topic2.html"/>
    </keywords>
    <files>
      <file>index.html</file>
      <file>topic1.html</file>
      <file>topic2.html</file>
      <file>usinghelp.html</file>
    </files>
  </filterSection>
</QtHelpProject>
)"));
    QVERIFY(writeFile(help.filePath(QStringLiteral("vespintide.qhcp")), R"(<?xml version="1.0" encoding="UTF-8"?>
<QHelpCollectionProject version="1.0">
  <docFiles>
    <generate>
      <file>
        <input>vespintide.qhp</input>
        <output>vespintide.qch</output>
      </file>
    </generate>
    <register>
      <file>vespintide.qch</file>
    </register>
  </docFiles>
</QHelpCollectionProject>
)"));
    QVERIFY(writeFile(help.filePath(QStringLiteral("index.html")), page("index", "<a href=\"topic1.html\">Rules</a>")));
    QVERIFY(writeFile(help.filePath(QStringLiteral("topic1.html")), page("topic1", "Build the foundations up.")));
    QVERIFY(writeFile(help.filePath(QStringLiteral("topic2.html")), page("topic2", "Each card scores five.")));
    QVERIFY(writeFile(help.filePath(QStringLiteral("usinghelp.html")), page("usinghelp", "Click a topic.")));

    QProcess process;
    process.setWorkingDirectory(m_helpDir);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(generator, {QStringLiteral("vespintide.qhcp"), QStringLiteral("-o"), QStringLiteral("vespintide.qhc")});
    QVERIFY2(process.waitForFinished(60000), qPrintable(process.errorString()));
    QVERIFY2(process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0, process.readAll().constData());
    m_collection = help.filePath(QStringLiteral("vespintide.qhc"));
    QVERIFY(QFileInfo::exists(m_collection));
}

void tst_HelpViewer::opensOnPage_data()
{
    QTest::addColumn<HelpCommand>("command");
    QTest::addColumn<int>("topic");
    QTest::addColumn<QString>("page");

    QTest::newRow("contents") << HelpCommand::Finder << 0 << "index";
    QTest::newRow("topic 1") << HelpCommand::Context << 1 << "topic1";
    QTest::newRow("topic 2") << HelpCommand::Context << 2 << "topic2";
    QTest::newRow("topic without a page") << HelpCommand::Context << 99 << "index";
    QTest::newRow("pop-up without a page") << HelpCommand::ContextPopup << 99 << "index";
    QTest::newRow("help on help") << HelpCommand::HelpOnHelp << 0 << "usinghelp";
}

void tst_HelpViewer::opensOnPage()
{
    QFETCH(HelpCommand, command);
    QFETCH(int, topic);
    QFETCH(QString, page);

    RecordingModalRunner modal;
    HelpViewer viewer(modal, m_collection);
    static_cast<HelpService &>(viewer).command(HelpFileName, command, topic, QPoint(50, 50));

    QWidget *window = helpWindow();
    QVERIFY(window);
    QVERIFY(window->isVisible());
    const auto *browser = window->findChild<QTextBrowser *>();
    QVERIFY(browser);
    QCOMPARE(browser->source(), QUrl(QStringLiteral("qthelp://org.vespintide.help/doc/%1.html").arg(page)));
    QVERIFY2(browser->toPlainText().contains(QStringLiteral("Marker %1.").arg(page)),
             qPrintable(browser->toPlainText()));
    QVERIFY(modal.shown.isEmpty());
}

void tst_HelpViewer::partialKeyShowsIndex()
{
    RecordingModalRunner modal;
    HelpViewer viewer(modal, m_collection);
    static_cast<HelpService &>(viewer).command(HelpFileName, HelpCommand::Context, 2);
    static_cast<HelpService &>(viewer).command(HelpFileName, HelpCommand::PartialKey);

    QWidget *window = helpWindow();
    QVERIFY(window && window->isVisible());
    const auto *panes = window->findChild<QTabWidget *>();
    QVERIFY(panes);
    QVERIFY(panes->currentWidget()->findChild<QHelpIndexWidget *>());
    // Looking something up does not lose the page being read.
    QCOMPARE(window->findChild<QTextBrowser *>()->source(), HelpViewer::topicPage(2));
}

void tst_HelpViewer::windowIsReusedAndQuitClosesAll()
{
    RecordingModalRunner modal;
    HelpViewer viewer(modal, m_collection);
    HelpService &help = viewer;

    help.command(HelpFileName, HelpCommand::Context, 1);
    QWidget *first = helpWindow();
    QVERIFY(first);
    help.command(HelpFileName, HelpCommand::Quit);
    QVERIFY(!first->isVisible());

    help.command(HelpFileName, HelpCommand::Context, 2);
    QCOMPARE(helpWindow(), first);
    QVERIFY(first->isVisible());
    help.command(HelpFileName, HelpCommand::ContextPopup, 1, QPoint(20, 20));
    QVERIFY(QApplication::activePopupWidget());

    help.command(HelpFileName, HelpCommand::Quit);
    QVERIFY(visibleWindows().isEmpty());
}

void tst_HelpViewer::popupShowsTopicText()
{
    RecordingModalRunner modal;
    HelpViewer viewer(modal, m_collection);
    const QPoint at(120, 90);
    static_cast<HelpService &>(viewer).command(HelpFileName, HelpCommand::ContextPopup, 2, at);

    QVERIFY(!helpWindow());
    auto *popup = qobject_cast<QLabel *>(QApplication::activePopupWidget());
    QVERIFY(popup);
    QVERIFY(popup->isVisible());
    QVERIFY(popup->text().contains(QLatin1String("Marker topic2.")));
    QCOMPARE(popup->pos(), at);
    QVERIFY(popup->width() <= 300);

    QTest::keyClick(popup, Qt::Key_Space);
    QVERIFY(!popup->isVisible());
}

void tst_HelpViewer::unopenableCollectionIsReportedOnce_data()
{
    QTest::addColumn<QString>("collection");
    QTest::addColumn<HelpCommand>("command");

    const QString missing = m_fixture.filePath(QStringLiteral("nowhere/vespintide.qhc"));
    const QString garbage = m_fixture.filePath(QStringLiteral("garbage.qhc"));
    QVERIFY(writeFile(garbage, "This is not a help collection.\n"));

    QTest::newRow("missing, contents") << missing << HelpCommand::Finder;
    QTest::newRow("missing, topic") << missing << HelpCommand::Context;
    QTest::newRow("missing, pop-up") << missing << HelpCommand::ContextPopup;
    QTest::newRow("not a collection") << garbage << HelpCommand::Context;
}

void tst_HelpViewer::unopenableCollectionIsReportedOnce()
{
    QFETCH(QString, collection);
    QFETCH(HelpCommand, command);

    RecordingModalRunner modal;
    HelpViewer viewer(modal, collection);
    static_cast<HelpService &>(viewer).command(HelpFileName, command, 1, QPoint(10, 10));

    QCOMPARE(modal.shown.size(), 1);
    QCOMPARE(modal.shown[0].title, QStringLiteral("Vespintide"));
    QCOMPARE(modal.shown[0].text, QStringLiteral("Unable to open the help file %1").arg(collection));
    QVERIFY(!helpWindow());
    QVERIFY(visibleWindows().isEmpty());
}

void tst_HelpViewer::installedCollectionIsLeftUntouched()
{
    const QMap<QString, QByteArray> before = snapshot(m_helpDir);
    {
        RecordingModalRunner modal;
        HelpViewer viewer(modal, m_collection);
        HelpService &help = viewer;
        help.command(HelpFileName, HelpCommand::Finder);
        help.command(HelpFileName, HelpCommand::PartialKey);
        // Lets the search index, which the viewer builds in the background,
        // be written.
        QTest::qWait(500);
        QVERIFY(helpWindow());
    }
    QCOMPARE(snapshot(m_helpDir), before);
}

// The program's own service: the module is loaded by a command that shows
// something, not by a Quit before any, and then serves like the viewer.
void tst_HelpViewer::moduleIsLoadedForTheFirstShowingCommand()
{
    RecordingModalRunner modal;
    vespin::LazyHelp help(modal, QStringLiteral(VESPIN_HELP_MODULE), m_collection);
    QLibrary module(QStringLiteral(VESPIN_HELP_MODULE));

    help.command(HelpFileName, HelpCommand::Quit);
    QVERIFY(!module.isLoaded());
    QVERIFY(visibleWindows().isEmpty());

    help.command(HelpFileName, HelpCommand::Context, 2);
    QVERIFY(module.isLoaded());
    QWidget *window = helpWindow();
    QVERIFY(window);
    QCOMPARE(window->findChild<QTextBrowser *>()->source(), HelpViewer::topicPage(2));
    help.command(HelpFileName, HelpCommand::Quit);
    QVERIFY(visibleWindows().isEmpty());
    QVERIFY(modal.shown.isEmpty());
}

void tst_HelpViewer::missingModuleIsReportedAndGameGoesOn()
{
    RecordingModalRunner modal;
    const QString missing = m_fixture.filePath(QStringLiteral("no-such-module.so"));
    vespin::LazyHelp help(modal, missing, m_collection);

    help.command(HelpFileName, HelpCommand::Finder);
    help.command(HelpFileName, HelpCommand::Context, 1);
    help.command(HelpFileName, HelpCommand::Quit);
    QCOMPARE(modal.shown.size(), 2);
    QCOMPARE(modal.shown.first().title, QStringLiteral("Vespintide"));
    QVERIFY2(modal.shown.first().text.contains(missing), qPrintable(modal.shown.first().text));
    QVERIFY(visibleWindows().isEmpty());
}

QTEST_MAIN(tst_HelpViewer)
#include "tst_helpviewer.moc"
