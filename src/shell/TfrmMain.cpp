#include "TfrmMain.h"

#include "game/ColourTable.h"
#include "game/Deal.h"
#include "interaction/Painting.h"
#include "interaction/TableSurface.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

#include <algorithm>

namespace vespin {

namespace {

const QString ProgramTitle = QStringLiteral("Vespintide");

QString gameCaption(std::int32_t gameNumber)
{
    return QStringLiteral("Vespintide (Game Number: %1)").arg(gameNumber);
}

} // namespace

QRect placeMainWindow(QSize screen, int left, int top, int height)
{
    const int centredLeft = screen.width() / 2 - TfrmMain::OuterWidth / 2;
    const int centredTop = screen.height() / 2 - 240;
    if (left < 0 || left + TfrmMain::OuterWidth > screen.width())
        left = centredLeft;
    if (top < 0 || top + height > screen.height()) {
        top = centredTop;
        height = TfrmMain::MinimumOuterHeight;
    }
    return QRect(left, top, TfrmMain::OuterWidth, height);
}

TfrmMain::TfrmMain(const Services &services, const QString &cardLibraryPath, QWidget *parent)
    : QMainWindow(parent), m_services(services)
{
    setWindowTitle(ProgramTitle);
    m_usable = FormCreate(cardLibraryPath);
}

TfrmMain::~TfrmMain() = default;

bool TfrmMain::FormCreate(const QString &cardLibraryPath)
{
    const QSize screen = m_services.system.screenSize();
    const QRect placed = placeMainWindow(screen, screen.width() / 2 - OuterWidth / 2, screen.height() / 2 - 240,
                                         MinimumOuterHeight);

    m_surface = new TableSurface(this);
    m_surface->setTableColour(tableColour(DefaultColourIndex));
    setCentralWidget(m_surface);

    if (!m_cards.load(cardLibraryPath) || !m_cards.InitializeDeck(m_surface->handle())) {
        showMessage(m_services.modal, QMessageBox::NoIcon, ProgramTitle,
                    QStringLiteral("Sorry. Unable to locate or open Vespin.DLL"), QMessageBox::Ok);
        return false;
    }

    createCommands();
    m_surface->setPainter([this] { FormPaint(); });

    m_statusPanels[0] = new QLabel(ProgramTitle);
    m_statusPanels[0]->setFixedWidth(450);
    m_statusPanels[1] = new QLabel(QStringLiteral("Time: 0"));
    m_statusPanels[2] = new QLabel(QStringLiteral("Score: 0"));
    for (int i = 1; i < 3; ++i) {
        m_statusPanels[i]->setFixedWidth(80);
        m_statusPanels[i]->setAlignment(Qt::AlignCenter);
    }
    for (QLabel *panel : m_statusPanels)
        statusBar()->addWidget(panel);
    statusBar()->setSizeGripEnabled(false);

    GameTimer.setInterval(1000);
    m_table.FirstDeal = true;
    m_table.GameFinished = false;
    m_table.RelayoutPending = false;
    m_table.Score = 0;
    m_table.ToolbarHeight = m_toolbar->sizeHint().height();

    move(placed.topLeft());
    resize(OuterWidth, placed.height());
    setMinimumHeight(MinimumOuterHeight);
    setFixedWidth(OuterWidth);
    return true;
}

void TfrmMain::createCommands()
{
    auto command = [this](const QString &text, QKeySequence key = {}) {
        auto *action = new QAction(text, this);
        action->setShortcut(key);
        addAction(action); // keys work whether or not a menu or tool bar shows the command
        return action;
    };
    mnuNewGame = command(QStringLiteral("&New Game"), Qt::Key_F2);
    mnuUndo = command(QStringLiteral("&Undo"));
    mnuPause = command(QStringLiteral("&Pause"));
    mnuPlaceBookmark = command(QStringLiteral("Place &Bookmark"));
    mnuReturnToBookmark = command(QStringLiteral("&Return to Bookmark"));
    mnuSound = command(QStringLiteral("&Sound"));
    mnuAutoSave = command(QStringLiteral("&Auto Save"));
    mnuRefresh = command(QStringLiteral("Refresh &Screen"), Qt::Key_F12);
    for (QAction *toggle : {mnuUndo, mnuPause, mnuSound, mnuAutoSave})
        toggle->setCheckable(true);
    for (QAction *idle : {mnuUndo, mnuPause, mnuReturnToBookmark})
        idle->setEnabled(false);
    connect(mnuNewGame, &QAction::triggered, this, &TfrmMain::mnuNewGameClick);
    connect(mnuRefresh, &QAction::triggered, this, &TfrmMain::mnuRefreshClick);

    QMenu *game = menuBar()->addMenu(QStringLiteral("&Game"));
    game->addAction(mnuNewGame);
    QMenu *view = menuBar()->addMenu(QStringLiteral("&View"));
    view->addAction(mnuRefresh);

    m_toolbar = new QToolBar(QStringLiteral("Toolbar"), this);
    m_toolbar->setObjectName(QStringLiteral("Toolbar"));
    m_toolbar->setAllowedAreas(Qt::TopToolBarArea);
    m_toolbar->setMovable(true);
    m_toolbar->setFloatable(true);
    m_toolbar->addAction(mnuNewGame);
    m_toolbar->addAction(mnuRefresh);
    addToolBar(Qt::TopToolBarArea, m_toolbar);
    connect(m_toolbar, &QToolBar::topLevelChanged, this, [this] { ToolbarRecreated(); });
}

void TfrmMain::FormActivate()
{
    if (m_started)
        return;
    m_started = true;

    mnuSound->setEnabled(m_services.system.audioOutputCount() >= 1);
    mnuSound->setChecked(mnuSound->isEnabled());
    m_surface->setTableColour(tableColour(m_options.BackGroundColor));
    m_table.TableTop = m_toolbar->isVisible() ? m_table.ToolbarHeight : 0;
    m_surface->setTableTop(m_table.TableTop);

    mnuNewGameClick();
}

void TfrmMain::mnuNewGameClick()
{
    TableModel &t = m_table;

    if (!t.FirstDeal && !t.ReturningToBookmark && m_options.Prompts
        && showMessage(m_services.modal, QMessageBox::Question, ProgramTitle,
                       QStringLiteral("Sure you want to quit current game?"), QMessageBox::Yes | QMessageBox::No,
                       this) != QMessageBox::Yes)
        return;

    if (t.Score > 0 && t.GameTime > 0 && !t.ReturningToBookmark && !t.WinRecorded)
        UpdateScoreStat();

    m_cards.SetCurrentBack(m_options.CardBack);
    m_surface->setTableColour(tableColour(m_options.BackGroundColor));

    mnuPause->setEnabled(false);
    mnuPause->setChecked(false);
    t.PauseCount = 0;
    mnuUndo->setEnabled(false);
    mnuUndo->setChecked(false);
    mnuPlaceBookmark->setEnabled(true);
    mnuReturnToBookmark->setEnabled(t.ReturningToBookmark);

    m_statusPanels[0]->setText(ProgramTitle);
    t.GameFinished = false;

    GameTimer.stop();
    t.GameTime = 0;
    t.Score = 0;
    m_statusPanels[1]->setText(QStringLiteral("Time: 0"));

    if (mnuSound->isChecked() && !t.ReturningToBookmark)
        m_services.sound.play(QStringLiteral("Shuffle.wav"));

    if (!(mnuAutoSave->isChecked() && t.RestorePending)) {
        t.FoundationUsed.fill(false);
        for (int f = FirstFoundation; f <= LastFoundation; ++f)
            t.Foundation[f].fill(0);
        t.FoundationCounter.fill(0);
        Shuffle(t, m_services.clock);
    }

    m_cards.SetDefaultValues();
    m_surface->refresh();

    if (t.RestorePending)
        RestoreGame();
    else
        LayOut(t, m_cards, m_surface->handle());

    setCaption(gameCaption(t.GameNumber));

    t.PresetGameNumber = false;
    t.ReturningToBookmark = false;
    t.FirstDeal = false;
    t.SecretGamePicked = false;
    t.WinRecorded = false;
    t.PauseDisabled = false;

    CheckGameStatus();
}

void TfrmMain::CheckGameStatus() {}

void TfrmMain::UpdateScoreStat() {}

void TfrmMain::RestoreGame() {}

void TfrmMain::mnuRefreshClick()
{
    m_surface->refresh();
}

void TfrmMain::FormPaint()
{
    vespin::FormPaint(m_table, m_cards, m_surface->handle(), toolbarPlacement());
}

bool TfrmMain::toolbarDockedTop() const
{
    return !m_toolbar->isFloating() && toolBarArea(m_toolbar) == Qt::TopToolBarArea;
}

ToolbarPlacement TfrmMain::toolbarPlacement() const
{
    return {m_toolbar->isVisible(), toolbarDockedTop()};
}

void TfrmMain::showToolbar(bool shown)
{
    m_toolbar->setVisible(shown);
    m_table.TableTop = shown && toolbarDockedTop() ? m_table.ToolbarHeight : 0;
    m_surface->setTableTop(m_table.TableTop);
    if (toolbarDockedTop())
        m_table.RelayoutPending = true;
    m_surface->refresh();
}

void TfrmMain::ToolbarRecreated()
{
    m_table.TableTop = m_toolbar->isVisible() && toolbarDockedTop() ? m_table.ToolbarHeight : 0;
    m_surface->setTableTop(m_table.TableTop);
    m_table.RelayoutPending = true;
    m_table.ToolbarRedocked = true;
    m_surface->refresh();
}

void TfrmMain::setCaption(const QString &caption)
{
    setWindowTitle(caption);
}

void TfrmMain::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && !m_started)
        FormActivate();
}

void TfrmMain::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    fitToFrame();
}

void TfrmMain::moveEvent(QMoveEvent *event)
{
    QMainWindow::moveEvent(event);
    fitToFrame();
}

void TfrmMain::fitToFrame()
{
    // The outer width is fixed; the frame the window manager draws, if any,
    // comes off the client area, which never gets narrower than the table.
    const int frameWidth = frameGeometry().width() - geometry().width();
    const int frameHeight = frameGeometry().height() - geometry().height();
    const int clientWidth = std::max(TableWidth, OuterWidth - frameWidth);
    if (width() != clientWidth || maximumWidth() != clientWidth)
        setFixedWidth(clientWidth);
    setMinimumHeight(std::max(1, MinimumOuterHeight - frameHeight));
}

} // namespace vespin
