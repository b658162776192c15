// The help collection the build makes from data/help: every page the program
// asks for is there, every link, picture, contents entry and index keyword
// leads somewhere real, the search finds the rules, and the pop-up pages stay
// plain enough for a pop-up.

#include "shell/HelpViewer.h"
#include "TestServices.h"

#include <QApplication>
#include <QHelpContentModel>
#include <QHelpEngine>
#include <QHelpIndexModel>
#include <QHelpLink>
#include <QHelpSearchEngine>
#include <QImage>
#include <QSet>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>

#include <memory>

using vespin::HelpCommand;
using vespin::HelpService;
using vespin::HelpViewer;

namespace {

const QString Collection = QStringLiteral(VESPIN_HELP_COLLECTION);
const QString Namespace = QStringLiteral("org.vespintide.help");

// The topics the program opens by number: the main topics and the control
// topics of the dialogs.
QList<int> programTopics()
{
    QList<int> topics{3, 4, 6, 9};
    for (int topic = 125; topic <= 143; ++topic)
        topics << topic;
    return topics;
}

QUrl withoutFragment(const QUrl &url)
{
    return url.adjusted(QUrl::RemoveFragment);
}

// Links and pictures of a page, and the anchors it offers, as the help
// window's own HTML reader sees them.
struct PageParts {
    QList<QUrl> links;
    QList<QUrl> pictures;
    QSet<QString> anchors;
    QString title;
    QString text;
};

PageParts readPage(const QByteArray &html, const QUrl &page)
{
    QTextDocument document;
    document.setHtml(QString::fromUtf8(html));
    PageParts parts;
    parts.title = document.metaInformation(QTextDocument::DocumentTitle);
    parts.text = document.toPlainText();
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            for (const QString &name : format.anchorNames())
                parts.anchors.insert(name);
            if (format.isImageFormat())
                parts.pictures << page.resolved(QUrl(format.toImageFormat().name()));
            else if (format.isAnchor() && !format.anchorHref().isEmpty())
                parts.links << page.resolved(QUrl(format.anchorHref()));
        }
    }
    return parts;
}

} // namespace

class tst_HelpContent : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void viewerOpensEveryPageTheProgramNames_data();
    void viewerOpensEveryPageTheProgramNames();
    void linksAndPicturesLeadToWhatTheHelpHolds();
    void contentsTabLeadsToPages();
    void keywordLeadsToPage_data();
    void keywordLeadsToPage();
    void searchFindsWordsWhereTheyAre_data();
    void searchFindsWordsWhereTheyAre();
    void popupPageIsPlain_data();
    void popupPageIsPlain();

private:
    // Empty when the address names a file of the help and, with a fragment,
    // an anchor on that page; else what is wrong.
    QString brokenBecause(const QUrl &url) const;

    QTemporaryDir m_workDir;
    std::unique_ptr<QHelpEngine> m_engine;
    QList<QUrl> m_pages;
    vespin::test::ScriptedModalRunner m_modal;
    std::unique_ptr<HelpViewer> m_viewer;
};

void tst_HelpContent::initTestCase()
{
    // The engine writes to its collection and keeps the search index beside
    // it; the built collection must stay as the build left it.
    QVERIFY(m_workDir.isValid());
    const QString copy = m_workDir.filePath(QStringLiteral("vespintide.qhc"));
    {
        QHelpEngineCore built(Collection);
        built.setReadOnly(true);
        QVERIFY2(built.setupData(), qPrintable(built.error()));
        QVERIFY(built.copyCollectionFile(copy));
    }

    m_engine = std::make_unique<QHelpEngine>(copy);
    m_engine->setReadOnly(false);
    QHelpSearchEngine *search = m_engine->searchEngine();
    QSignalSpy indexed(search, &QHelpSearchEngine::indexingFinished);
    QSignalSpy contents(m_engine->contentModel(), &QHelpContentModel::contentsCreated);
    QSignalSpy keywords(m_engine->indexModel(), &QHelpIndexModel::indexCreated);
    QVERIFY2(m_engine->setupData(), qPrintable(m_engine->error()));
    QVERIFY(indexed.count() > 0 || indexed.wait(60000));
    QVERIFY(contents.count() > 0 || contents.wait(30000));
    QVERIFY(keywords.count() > 0 || keywords.wait(30000));

    m_pages = m_engine->files(Namespace, QString(), QStringLiteral("html"));
    QVERIFY(m_pages.contains(HelpViewer::contentsPage()));

    m_viewer = std::make_unique<HelpViewer>(m_modal, Collection);
}

QString tst_HelpContent::brokenBecause(const QUrl &url) const
{
    const QByteArray data = m_engine->fileData(withoutFragment(url));
    if (data.isEmpty())
        return QStringLiteral("no such file");
    if (url.hasFragment() && !readPage(data, withoutFragment(url)).anchors.contains(url.fragment()))
        return QStringLiteral("no such anchor");
    return {};
}

void tst_HelpContent::viewerOpensEveryPageTheProgramNames_data()
{
    QTest::addColumn<HelpCommand>("command");
    QTest::addColumn<int>("topic");
    QTest::addColumn<QUrl>("page");

    QTest::newRow("contents") << HelpCommand::Finder << 0 << HelpViewer::contentsPage();
    QTest::newRow("using help") << HelpCommand::HelpOnHelp << 0 << HelpViewer::usingHelpPage();
    for (const int topic : programTopics())
        QTest::addRow("topic %d", topic) << HelpCommand::Context << topic << HelpViewer::topicPage(topic);
}

// A page that is missing would quietly fall back to the contents page.
void tst_HelpContent::viewerOpensEveryPageTheProgramNames()
{
    QFETCH(HelpCommand, command);
    QFETCH(int, topic);
    QFETCH(QUrl, page);

    static_cast<HelpService &>(*m_viewer).command(QStringLiteral("Vespin.hlp>aux"), command, topic);

    QVERIFY(m_modal.shown().isEmpty());
    QTextBrowser *browser = nullptr;
    for (QWidget *window : QApplication::topLevelWidgets())
        if (window->isVisible() && (browser = window->findChild<QTextBrowser *>()))
            break;
    QVERIFY(browser);
    QCOMPARE(browser->source(), page);
    QVERIFY2(!browser->documentTitle().trimmed().isEmpty(), "every page needs a title for the search results");
    QVERIFY(browser->toPlainText().size() > 40);
}

void tst_HelpContent::linksAndPicturesLeadToWhatTheHelpHolds()
{
    QSet<QUrl> linkedFromContents;
    QSet<QUrl> shown;
    for (const QUrl &page : std::as_const(m_pages)) {
        const PageParts parts = readPage(m_engine->fileData(page), page);
        for (const QUrl &link : parts.links) {
            if (link.scheme() != QLatin1String("qthelp"))
                continue;
            const QString broken = brokenBecause(link);
            QVERIFY2(broken.isEmpty(), qPrintable(QStringLiteral("%1 links to %2: %3")
                                                      .arg(page.fileName(), link.toString(), broken)));
            if (page == HelpViewer::contentsPage())
                linkedFromContents.insert(withoutFragment(link));
        }
        for (const QUrl &picture : parts.pictures) {
            QVERIFY2(!QImage::fromData(m_engine->fileData(picture)).isNull(),
                     qPrintable(QStringLiteral("%1 shows %2, which is not a picture of the help")
                                    .arg(page.fileName(), picture.toString())));
            shown.insert(picture);
        }
    }
    const QList<QUrl> pictures = m_engine->files(Namespace, QString(), QStringLiteral("png"));
    QVERIFY(!pictures.isEmpty());
    for (const QUrl &picture : pictures)
        QVERIFY2(shown.contains(picture), qPrintable(picture.fileName() + QStringLiteral(" is shown on no page")));

    for (const QUrl &page : std::as_const(m_pages))
        if (page != HelpViewer::contentsPage())
            QVERIFY2(linkedFromContents.contains(page),
                     qPrintable(page.fileName() + QStringLiteral(" is not linked from the contents page")));
}

void tst_HelpContent::contentsTabLeadsToPages()
{
    QHelpContentModel *model = m_engine->contentModel();
    QList<QHelpContentItem *> items;
    for (int row = 0; row < model->rowCount(); ++row)
        items << model->contentItemAt(model->index(row, 0));
    QVERIFY(!items.isEmpty());

    QSet<QUrl> listed;
    while (!items.isEmpty()) {
        QHelpContentItem *item = items.takeFirst();
        const QString broken = brokenBecause(item->url());
        QVERIFY2(broken.isEmpty(), qPrintable(QStringLiteral("Contents entry \"%1\" (%2): %3")
                                                  .arg(item->title(), item->url().toString(), broken)));
        listed.insert(withoutFragment(item->url()));
        for (int child = 0; child < item->childCount(); ++child)
            items << item->child(child);
    }
    for (const QUrl &page : std::as_const(m_pages))
        QVERIFY2(listed.contains(page), qPrintable(page.fileName() + QStringLiteral(" is missing from the Contents tab")));
}

void tst_HelpContent::keywordLeadsToPage_data()
{
    QTest::addColumn<QString>("keyword");
    QTest::addColumn<QUrl>("page");

    const QUrl howToPlay = HelpViewer::topicPage(3);
    const QUrl preferences = HelpViewer::contentsPage().resolved(QUrl(QStringLiteral("preferences.html")));
    QTest::newRow("Undo") << "Undo" << howToPlay;
    QTest::newRow("Score") << "Score" << howToPlay;
    QTest::newRow("Foundation") << "Foundation" << howToPlay;
    QTest::newRow("Bookmark") << "Bookmark" << howToPlay;
    QTest::newRow("Auto Save") << "Auto Save" << HelpViewer::topicPage(133);
    QTest::newRow("Pause") << "Pause" << HelpViewer::topicPage(134);
    QTest::newRow("Peek") << "Peek" << howToPlay;
    QTest::newRow("Keyboard") << "Keyboard" << howToPlay;
    QTest::newRow("Strategy") << "Strategy" << howToPlay;
    QTest::newRow("Top Ten") << "Top Ten" << HelpViewer::topicPage(4);
    QTest::newRow("Statistics") << "Statistics" << HelpViewer::topicPage(6);
    QTest::newRow("Game number") << "Game number" << HelpViewer::topicPage(9);
    QTest::newRow("Preferences") << "Preferences" << preferences;
    QTest::newRow("Card back") << "Card back" << HelpViewer::topicPage(139);
    QTest::newRow("Background colour") << "Background colour" << HelpViewer::topicPage(137);
    QTest::newRow("Sound") << "Sound" << HelpViewer::topicPage(129);
    QTest::newRow("Tip of the day") << "Tip of the day" << HelpViewer::topicPage(131);
    QTest::newRow("Player name") << "Player name" << HelpViewer::topicPage(141);
    QTest::newRow("Using Help") << "Using Help" << HelpViewer::usingHelpPage();
}

void tst_HelpContent::keywordLeadsToPage()
{
    QFETCH(QString, keyword);
    QFETCH(QUrl, page);

    QVERIFY2(m_engine->indexModel()->stringList().contains(keyword), "not on the Index tab");
    QSet<QUrl> pages;
    for (const QHelpLink &link : m_engine->documentsForKeyword(keyword)) {
        const QString broken = brokenBecause(link.url);
        QVERIFY2(broken.isEmpty(), qPrintable(link.url.toString() + QStringLiteral(": ") + broken));
        QVERIFY2(!link.title.isEmpty(), "the Index offers the page by its title");
        pages.insert(withoutFragment(link.url));
    }
    QStringList names;
    for (const QUrl &url : std::as_const(pages))
        names << url.fileName();
    QVERIFY2(pages.contains(page), qPrintable(QStringLiteral("leads to: ") + names.join(QLatin1String(", "))));
}

void tst_HelpContent::searchFindsWordsWhereTheyAre_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<QUrl>("page");

    // Each word appears on one page only.
    QTest::newRow("rules") << "overlaps" << HelpViewer::topicPage(3);
    QTest::newRow("strategy") << "gamble" << HelpViewer::topicPage(3);
    QTest::newRow("statistics") << "applause" << HelpViewer::topicPage(6);
    QTest::newRow("select game") << "hexadecimal" << HelpViewer::topicPage(9);
}

void tst_HelpContent::searchFindsWordsWhereTheyAre()
{
    QFETCH(QString, word);
    QFETCH(QUrl, page);

    QHelpSearchEngine *search = m_engine->searchEngine();
    QSignalSpy finished(search, &QHelpSearchEngine::searchingFinished);
    search->search(word);
    QVERIFY(finished.wait(30000));

    QList<QUrl> found;
    for (const QHelpSearchResult &result : search->searchResults(0, search->searchResultCount()))
        found << withoutFragment(result.url());
    QCOMPARE(found, QList<QUrl>{page});
}

void tst_HelpContent::popupPageIsPlain_data()
{
    QTest::addColumn<int>("topic");
    for (int topic = 125; topic <= 143; ++topic)
        QTest::addRow("topic %d", topic) << topic;
}

// A pop-up is a small label beside a control: it shows no pictures, and has
// no help engine behind it to fetch a style sheet from.
void tst_HelpContent::popupPageIsPlain()
{
    QFETCH(int, topic);

    const QByteArray html = m_engine->fileData(HelpViewer::topicPage(topic));
    QVERIFY(!html.isEmpty());
    QVERIFY(!html.contains("<img") && !html.contains("<IMG"));
    QVERIFY(!html.contains("<link") && !html.contains("<LINK"));
    const PageParts parts = readPage(html, HelpViewer::topicPage(topic));
    QVERIFY(parts.pictures.isEmpty());
    const QString text = parts.text.simplified();
    QVERIFY2(text.size() >= 30 && text.size() <= 320, qPrintable(text));
}

QTEST_MAIN(tst_HelpContent)
#include "tst_helpcontent.moc"
