#include "HelpViewer.h"

#include <QAction>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHelpContentModel>
#include <QHelpContentWidget>
#include <QHelpEngine>
#include <QHelpIndexWidget>
#include <QHelpLink>
#include <QHelpSearchEngine>
#include <QHelpSearchQueryWidget>
#include <QHelpSearchResultWidget>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QScreen>
#include <QSplitter>
#include <QStringDecoder>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QToolBar>
#include <QToolTip>
#include <QVBoxLayout>

#include <algorithm>

namespace vespin {
namespace {

const QString PageRoot = QStringLiteral("qthelp://org.vespintide.help/doc/");

// findFile() hands back any address it cannot place, so it cannot tell
// whether a page exists.
bool hasPage(const QHelpEngine &engine, const QUrl &page)
{
    return !engine.fileData(page).isEmpty();
}

QString decodeHtml(const QByteArray &data)
{
    QStringDecoder decoder = QStringDecoder::decoderForHtml(data);
    return decoder.isValid() ? QString(decoder(data)) : QString::fromUtf8(data);
}

// Pages, style sheets and images all come out of the help engine; anything
// else is left to QTextBrowser.
class HelpBrowser final : public QTextBrowser {
public:
    HelpBrowser(QHelpEngine &engine, QWidget *parent) : QTextBrowser(parent), m_engine(engine)
    {
        // With links left to QTextBrowser, openExternalLinks would hand
        // qthelp:// links to the desktop as well.
        setOpenLinks(false);
        connect(this, &QTextBrowser::anchorClicked, this, [this](const QUrl &url) {
            if (url.scheme() == QLatin1String("qthelp"))
                setSource(url);
            else
                QDesktopServices::openUrl(url);
        });
    }

    QVariant loadResource(int type, const QUrl &name) override
    {
        if (name.scheme() == QLatin1String("qthelp"))
            return m_engine.fileData(name);
        return QTextBrowser::loadResource(type, name);
    }

private:
    QHelpEngine &m_engine;
};

} // namespace

class HelpWindow final : public QMainWindow {
public:
    HelpWindow(QHelpEngine &engine, ModalRunner &modal);

    void showPage(const QUrl &page);
    // Brings the window up on the contents or the index, keeping the page
    // being read, or showing the contents page when there is none yet.
    void showContentsPane();
    void showIndexPane();

private:
    void present();
    void showPageIfNone();
    void chooseDocument(const QList<QHelpLink> &documents, const QString &keyword);
    QWidget *makeIndexPane();
    QWidget *makeSearchPane();

    QHelpEngine &m_engine;
    ModalRunner &m_modal;
    QTabWidget *m_panes = nullptr;
    QWidget *m_indexPane = nullptr;
    QLineEdit *m_indexFilter = nullptr;
    HelpBrowser *m_browser = nullptr;
};

HelpWindow::HelpWindow(QHelpEngine &engine, ModalRunner &modal) : m_engine(engine), m_modal(modal)
{
    setWindowTitle(QStringLiteral("Vespintide Help"));
    // Left open, the help must not keep the program running after the game
    // window has closed.
    setAttribute(Qt::WA_QuitOnClose, false);
    resize(760, 560);

    m_browser = new HelpBrowser(engine, this);

    QHelpContentWidget *contents = engine.contentWidget();
    // The help has one book; its chapters should show without a click.
    connect(engine.contentModel(), &QHelpContentModel::contentsCreated, contents,
            [contents] { contents->expandToDepth(0); });
    connect(contents, &QHelpContentWidget::linkActivated, this, &HelpWindow::showPage);
    // Keeps the contents tree on the page being read, wherever it came from.
    connect(m_browser, &QTextBrowser::sourceChanged, contents, [contents](const QUrl &url) {
        const QModelIndex item = contents->indexOf(url);
        if (item.isValid())
            contents->setCurrentIndex(item);
    });

    m_indexPane = makeIndexPane();
    m_panes = new QTabWidget;
    m_panes->addTab(contents, QStringLiteral("Contents"));
    m_panes->addTab(m_indexPane, QStringLiteral("Index"));
    m_panes->addTab(makeSearchPane(), QStringLiteral("Search"));

    auto *splitter = new QSplitter(this);
    splitter->addWidget(m_panes);
    splitter->addWidget(m_browser);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({220, 540});
    setCentralWidget(splitter);

    QToolBar *tools = addToolBar(QStringLiteral("Navigation"));
    tools->setMovable(false);
    QAction *back = tools->addAction(QStringLiteral("Back"), m_browser, &QTextBrowser::backward);
    QAction *forward = tools->addAction(QStringLiteral("Forward"), m_browser, &QTextBrowser::forward);
    tools->addAction(QStringLiteral("Contents"), this, [this] { showPage(HelpViewer::contentsPage()); });
    back->setEnabled(false);
    forward->setEnabled(false);
    connect(m_browser, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
}

QWidget *HelpWindow::makeIndexPane()
{
    auto *pane = new QWidget;
    m_indexFilter = new QLineEdit;
    m_indexFilter->setPlaceholderText(QStringLiteral("Type a word to look for"));
    m_indexFilter->setClearButtonEnabled(true);
    QHelpIndexWidget *index = m_engine.indexWidget();
    connect(m_indexFilter, &QLineEdit::textChanged, index, [index](const QString &text) { index->filterIndices(text); });
    connect(m_indexFilter, &QLineEdit::returnPressed, index, &QHelpIndexWidget::activateCurrentItem);
    connect(index, &QHelpIndexWidget::documentActivated, this,
            [this](const QHelpLink &document) { showPage(document.url); });
    connect(index, &QHelpIndexWidget::documentsActivated, this, &HelpWindow::chooseDocument);

    auto *layout = new QVBoxLayout(pane);
    layout->setContentsMargins({});
    layout->addWidget(m_indexFilter);
    layout->addWidget(index);
    return pane;
}

QWidget *HelpWindow::makeSearchPane()
{
    QHelpSearchEngine *search = m_engine.searchEngine();
    QHelpSearchQueryWidget *query = search->queryWidget();
    QHelpSearchResultWidget *results = search->resultWidget();
    connect(query, &QHelpSearchQueryWidget::search, search, [search, query] { search->search(query->searchInput()); });
    connect(results, &QHelpSearchResultWidget::requestShowLink, this, &HelpWindow::showPage);
    // A search while the index is still being written would find nothing.
    connect(search, &QHelpSearchEngine::indexingStarted, query, [query] { query->setEnabled(false); });
    connect(search, &QHelpSearchEngine::indexingFinished, query, [query] { query->setEnabled(true); });

    auto *pane = new QWidget;
    auto *layout = new QVBoxLayout(pane);
    layout->setContentsMargins({});
    layout->addWidget(query);
    layout->addWidget(results, 1);
    return pane;
}

void HelpWindow::chooseDocument(const QList<QHelpLink> &documents, const QString &keyword)
{
    QStringList titles;
    for (const QHelpLink &document : documents)
        titles << document.title;

    QInputDialog chooser(this);
    chooser.setWindowTitle(QStringLiteral("Topics Found"));
    chooser.setLabelText(QStringLiteral("Choose a topic about \"%1\":").arg(keyword));
    chooser.setOption(QInputDialog::UseListViewForComboBoxItems);
    chooser.setComboBoxItems(titles);
    if (m_modal.run(chooser) != QDialog::Accepted)
        return;
    const qsizetype chosen = titles.indexOf(chooser.textValue());
    if (chosen >= 0)
        showPage(documents[chosen].url);
}

void HelpWindow::present()
{
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

void HelpWindow::showPageIfNone()
{
    if (m_browser->source().isEmpty())
        m_browser->setSource(HelpViewer::contentsPage());
}

void HelpWindow::showPage(const QUrl &page)
{
    m_browser->setSource(page);
    present();
}

void HelpWindow::showContentsPane()
{
    showPageIfNone();
    m_panes->setCurrentIndex(0);
    present();
}

void HelpWindow::showIndexPane()
{
    showPageIfNone();
    m_panes->setCurrentWidget(m_indexPane);
    present();
    m_indexFilter->setFocus();
    m_indexFilter->selectAll();
}

// Closes at the first click or key anywhere, its own area included, as the
// explanation of a single control should.
class HelpPopup final : public QLabel {
public:
    static constexpr int MaxWidth = 300;

    HelpPopup() : QLabel(nullptr, Qt::Popup | Qt::FramelessWindowHint)
    {
        setTextFormat(Qt::RichText);
        setMargin(6);
        setFrameShape(QFrame::Box);
        setPalette(QToolTip::palette());
        setAutoFillBackground(true);
        setMaximumWidth(MaxWidth);
    }

    void showAt(const QString &html, QPoint at)
    {
        setText(html);
        // Wrapped, a label settles on a narrow, tall shape; a short text
        // should stay on one line and a long one use the full width.
        setWordWrap(false);
        const int width = std::min(sizeHint().width(), MaxWidth);
        setWordWrap(true);
        resize(width, heightForWidth(width));

        const QScreen *screen = QGuiApplication::screenAt(at);
        if (!screen)
            screen = QGuiApplication::primaryScreen();
        if (screen) {
            const QRect area = screen->availableGeometry();
            at.setX(std::clamp(at.x(), area.left(), std::max(area.left(), area.right() + 1 - this->width())));
            at.setY(std::clamp(at.y(), area.top(), std::max(area.top(), area.bottom() + 1 - height())));
        }
        move(at);
        show();
    }

protected:
    void mousePressEvent(QMouseEvent *) override { close(); }
    void keyPressEvent(QKeyEvent *) override { close(); }
};

HelpViewer::HelpViewer(ModalRunner &modal, QString collectionFile)
    : m_modal(modal), m_collectionFile(std::move(collectionFile))
{
}

HelpViewer::~HelpViewer() = default;

QUrl HelpViewer::contentsPage()
{
    return QUrl(PageRoot + QStringLiteral("index.html"));
}

QUrl HelpViewer::usingHelpPage()
{
    return QUrl(PageRoot + QStringLiteral("usinghelp.html"));
}

QUrl HelpViewer::topicPage(int topic)
{
    return QUrl(PageRoot + QStringLiteral("topic%1.html").arg(topic));
}

// The installed collection may sit where we cannot write, and the engine
// writes to its collection and puts the search index beside it; so it works
// on a copy in a directory of its own for as long as the viewer lives. A
// fresh copy each run also means an updated installation never meets a
// stale copy.
bool HelpViewer::openCollection()
{
    if (m_engine)
        return true;
    if (!QFileInfo(m_collectionFile).isFile())
        return false;

    auto workDir = std::make_unique<QTemporaryDir>();
    if (!workDir->isValid())
        return false;
    const QString copy = workDir->filePath(QStringLiteral("vespintide.qhc"));
    {
        QHelpEngineCore installed(m_collectionFile);
        installed.setReadOnly(true);
        // copyCollectionFile rewrites the paths of the registered .qch files
        // so that the copy still finds them in the data directory.
        if (!installed.setupData() || !installed.copyCollectionFile(copy))
            return false;
    }

    auto engine = std::make_unique<QHelpEngine>(copy);
    engine->setReadOnly(false);
    engine->searchEngine(); // before setupData, so the search index gets built
    if (!engine->setupData() || !hasPage(*engine, contentsPage()))
        return false;

    m_workDir = std::move(workDir);
    m_engine = std::move(engine);
    return true;
}

QUrl HelpViewer::existingPageOr(const QUrl &page, const QUrl &fallback) const
{
    return hasPage(*m_engine, page) ? page : fallback;
}

HelpWindow &HelpViewer::window()
{
    if (!m_window)
        m_window = std::make_unique<HelpWindow>(*m_engine, m_modal);
    return *m_window;
}

void HelpViewer::showPopup(int topic, QPoint at)
{
    const QByteArray page = m_engine->fileData(topicPage(topic));
    if (page.isEmpty()) {
        window().showPage(contentsPage());
        return;
    }
    if (!m_popup)
        m_popup = std::make_unique<HelpPopup>();
    m_popup->showAt(decodeHtml(page), at);
}

void HelpViewer::command(const QString &, HelpCommand command, int topic, QPoint popupAt)
{
    if (command == HelpCommand::Quit) {
        if (m_popup)
            m_popup->close();
        if (m_window)
            m_window->close();
        return;
    }

    if (!openCollection()) {
        showMessage(m_modal, QMessageBox::Warning, QStringLiteral("Vespintide"),
                    QStringLiteral("Unable to open the help file %1").arg(m_collectionFile),
                    QMessageBox::Ok);
        return;
    }

    switch (command) {
    case HelpCommand::Finder:
        window().showContentsPane();
        break;
    case HelpCommand::PartialKey:
        window().showIndexPane();
        break;
    case HelpCommand::Context:
        window().showPage(existingPageOr(topicPage(topic), contentsPage()));
        break;
    case HelpCommand::ContextPopup:
        showPopup(topic, popupAt);
        break;
    case HelpCommand::HelpOnHelp:
        window().showPage(existingPageOr(usingHelpPage(), contentsPage()));
        break;
    case HelpCommand::Quit:
        break;
    }
}

} // namespace vespin

vespin::HelpService *vespinCreateHelpViewer(vespin::ModalRunner &modal, const QString &collectionFile)
{
    return new vespin::HelpViewer(modal, collectionFile);
}
