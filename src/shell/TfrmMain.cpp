#include "TfrmMain.h"

#include "AppPaths.h"
#include "TAboutBox.h"
#include "TfrmPreferences.h"
#include "TfrmTipOfTheDay.h"
#include "game/ColourTable.h"
#include "game/Deal.h"
#include "game/Invariants.h"
#include "game/TfrmGameOver.h"
#include "game/TfrmGameSelect.h"
#include "game/WinAnimation.h"
#include "interaction/TableSurface.h"
#include "persistence/SavedGame.h"
#include "persistence/SettingsFile.h"
#include "persistence/SettingsKeys.h"
#include "persistence/StatisticsFormat.h"
#include "persistence/TfrmPlayerName.h"
#include "persistence/TfrmStatistics.h"
#include "persistence/TfrmTopten.h"
#include "widgets/BannerMenu.h"
#include "widgets/DockTexture.h"
#include "widgets/WinPicture.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QDialog>
#include <QLocale>
#include <QDesktopServices>
#include <QDir>
#include <QIconEngine>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QProxyStyle>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QWindow>

#include <xcb/xcb.h>

#include <algorithm>
#include <utility>

namespace vespin {

namespace {

const QString ProgramTitle = QStringLiteral("Vespintide");
const QString PauseText = QStringLiteral("Vespintide - Pause, press <F5> to continue...");
const QString HelpFileName = QStringLiteral("Vespin.hlp>aux");

QString gameCaption(std::int32_t gameNumber)
{
    return QStringLiteral("Vespintide (Game Number: %1)").arg(gameNumber);
}

// The "more" arrow of a menu or tool bar too narrow for its contents, drawn
// here so that no bar asks the style for its picture file: reading one makes
// Qt load every image plugin there is to find who reads it best.
class MoreArrow final : public QIconEngine {
public:
    explicit MoreArrow(Qt::Orientation orientation) : m_orientation(orientation) {}

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State) override
    {
        const QColor colour = QApplication::palette().color(
            mode == QIcon::Disabled ? QPalette::Disabled : QPalette::Active, QPalette::ButtonText);
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->translate(rect.center() + QPointF(0.5, 0.5));
        if (m_orientation == Qt::Vertical)
            painter->rotate(90);
        const qreal unit = std::min(rect.width(), rect.height()) / 16.0;
        painter->scale(unit, unit);
        painter->setPen(QPen(colour, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        for (const qreal x : {-3.5, 0.5})
            painter->drawPolyline(QPolygonF({QPointF(x, -3.5), QPointF(x + 3.5, 0), QPointF(x, 3.5)}));
        painter->restore();
    }

    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        QPixmap picture(size);
        picture.fill(Qt::transparent);
        QPainter painter(&picture);
        paint(&painter, QRect(QPoint(0, 0), size), mode, state);
        return picture;
    }

    QIconEngine *clone() const override { return new MoreArrow(m_orientation); }

private:
    Qt::Orientation m_orientation;
};

// Tooltips come after the pointer has rested 400 ms on a control; moving on
// to the next control while one shows brings its tooltip at once.
class ProgramStyle final : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *returnData) const override
    {
        if (hint == SH_ToolTip_WakeUpDelay)
            return 400;
        // While a tooltip shows, and for as long as one may show, the next
        // control's comes at once (the toolkit's shortest wait). A delay of
        // 0 would end that at once and make each wait the full 400 ms.
        if (hint == SH_ToolTip_FallAsleepDelay)
            return 10000;
        // A disabled entry still takes the highlight and shows its hint.
        if (hint == SH_Menu_AllowActiveAndDisabled)
            return 1;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }

    QIcon standardIcon(StandardPixmap icon, const QStyleOption *option, const QWidget *widget) const override
    {
        if (icon == SP_ToolBarHorizontalExtensionButton)
            return QIcon(new MoreArrow(Qt::Horizontal));
        if (icon == SP_ToolBarVerticalExtensionButton)
            return QIcon(new MoreArrow(Qt::Vertical));
        return QProxyStyle::standardIcon(icon, option, widget);
    }
};

} // namespace

QRect placeMainWindow(QSize screen, int left, int top, int height)
{
    const int centredLeft = screen.width() / 2 - TfrmMain::OuterWidth / 2;
    const int centredTop = screen.height() / 2 - 240;
    // In 64 bits: stored values anywhere in the 32-bit range must not wrap.
    if (left < 0 || qint64(left) + TfrmMain::OuterWidth > screen.width())
        left = centredLeft;
    if (top < 0 || qint64(top) + height > screen.height()) {
        top = centredTop;
        height = TfrmMain::MinimumOuterHeight;
    }
    // Lower heights show as the minimum anyway; raised here, the frame can
    // be taken off them without going below the range.
    return QRect(left, top, TfrmMain::OuterWidth, std::max(height, int(TfrmMain::MinimumOuterHeight)));
}

TfrmMain::TfrmMain(const Services &services, const QString &cardLibraryPath, QWidget *parent)
    : QMainWindow(parent), m_modal(services.modal),
      m_services{m_modal, services.sound, services.help, services.clock, services.system, services.settings}
{
    setWindowTitle(ProgramTitle);
    m_usable = FormCreate(cardLibraryPath);
}

TfrmMain::~TfrmMain()
{
    if (m_usable)
        FormDestroy();
}

QString TfrmMain::settingsPath() const
{
    return QDir(m_services.settings.directory()).absoluteFilePath(QStringLiteral("Vespin.ini"));
}

bool TfrmMain::changeSettings(const std::function<void(SettingsFile &)> &change)
{
    SettingsFile file(settingsPath());
    try {
        change(file);
        return true;
    } catch (const SettingsWriteError &error) {
        showMessage(m_services.modal, QMessageBox::Critical, ProgramTitle, error.message(), QMessageBox::Ok, this);
        return false;
    }
}

bool TfrmMain::FormCreate(const QString &cardLibraryPath)
{
    const QSize screen = m_services.system.screenSize();
    QRect placed;
    {
        const SettingsFile file(settingsPath());
        placed = placeMainWindow(screen, read(file, keys::LeftPosition(screen)), read(file, keys::TopPosition(screen)),
                                 read(file, keys::Height));
    }

    m_surface = new TableSurface(this);
    m_surface->setTableColour(tableColour(DefaultColourIndex));
    setCentralWidget(m_surface);

    if (!m_cards.load(cardLibraryPath) || !m_cards.InitializeDeck(m_surface->handle())) {
        showMessage(m_services.modal, QMessageBox::NoIcon, ProgramTitle,
                    QStringLiteral("Sorry. Unable to locate or open Vespin.DLL"), QMessageBox::Ok);
        return false;
    }

    // Hidden until a win; it lies on the table, below the tool bar.
    m_winPicture = new WinPicture(m_surface);
    m_winPicture->setGeometry(4, 4, OuterWidth / 2, OuterWidth / 2);
    m_winPicture->hide();

    // Before the bars are made, which ask the style for their pictures.
    if (!qobject_cast<QProxyStyle *>(QApplication::style()))
        QApplication::setStyle(new ProgramStyle);

    m_commands = std::make_unique<CommandSurface>(*this);
    m_play = std::make_unique<TablePlay>(m_table, m_cards, m_surface->handle(), static_cast<PlayFrame &>(*this));
    connectCommands();
    m_surface->setPainter([this] { FormPaint(); });
    m_surface->installEventFilter(this);
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
        if (state != Qt::ApplicationActive)
            ProcKeyDown();
    });

    m_helpFile = QDir(dataDirectory()).absoluteFilePath(HelpFileName);

    GameTimer.setInterval(1000);
    m_table.FirstDeal = true;
    m_table.GameFinished = false;
    m_table.RelayoutPending = false;
    m_table.Score = 0;
    m_table.ToolbarHeight = CommandSurface::ToolbarHeight;
    m_statistics.SessionGames = m_statistics.SessionScore = m_statistics.SessionWon = 0;

    move(placed.topLeft());
    m_outerHeight = placed.height();
    resize(OuterWidth, m_outerHeight);
    setFixedWidth(OuterWidth);
    setMinimumHeight(MinimumOuterHeight);
    return true;
}

void TfrmMain::connectCommands()
{
    CommandSurface &c = *m_commands;
    const std::initializer_list<std::pair<QAction *, void (TfrmMain::*)()>> handlers = {
        {c.mnuNewGame, &TfrmMain::mnuNewGameClick},
        {c.mnuSelectGame, &TfrmMain::mnuSelectGameClick},
        {c.mnuRestartGame, &TfrmMain::mnuRestartGameClick},
        {c.mnuUndo, &TfrmMain::btUndoClick},
        {c.mnuPause, &TfrmMain::mnuPauseClick},
        {c.mnuTopTen, &TfrmMain::mnuTopTenClick},
        {c.mnuStatistics, &TfrmMain::mnuStatisticsClick},
        {c.mnuExit, &TfrmMain::mnuExitClick},
        {c.mnuPreferences, &TfrmMain::mnuPreferencesClick},
        {c.mnuPlayerName, &TfrmMain::mnuPlayerNameClick},
        {c.mnuSound, &TfrmMain::mnuSoundClick},
        {c.mnuAutoSave, &TfrmMain::mnuAutoSaveClick},
        {c.mnuPlaceBookmark, &TfrmMain::mnuPlaceBookmarkClick},
        {c.mnuReturnToBookmark, &TfrmMain::mnuReturnToBookmarkClick},
        {c.mnuBackgroundColor, &TfrmMain::mnuBackgroundColorClick},
        {c.mnuCardBack, &TfrmMain::mnuCardBackClick},
        {c.mnuRefresh, &TfrmMain::mnuRefreshClick},
        {c.mnuViewToolbar, &TfrmMain::mnuViewToolbarClick},
        {c.mnuViewStatusBar, &TfrmMain::mnuViewStatusBarClick},
        {c.mnuContents, &TfrmMain::mnuContentsClick},
        {c.mnuKeywordSearch, &TfrmMain::mnuKeywordSearchClick},
        {c.mnuHowtoPlay, &TfrmMain::mnuHowtoPlayClick},
        {c.mnuHelpOnHelp, &TfrmMain::mnuHelpOnHelpClick},
        {c.mnuTip, &TfrmMain::mnuTipClick},
        {c.mnuAbout, &TfrmMain::mnuAboutClick},
        {c.mnuMinimize, &TfrmMain::mnuMinimizeClick},
        {c.btReadme, &TfrmMain::btReadmeClick},
        {c.mnuPopupHide, &TfrmMain::mnuViewToolbarClick},
        {c.mnuPopupHideStatusBar, &TfrmMain::mnuViewStatusBarClick},
    };
    for (const auto &[action, handler] : handlers) {
        connect(action, &QAction::triggered, this, [this, action, handler] {
            // A checkable entry has flipped its check before it reports the
            // click; the handlers flip it themselves, also when called
            // directly, so the click's flip is taken back first.
            if (action->isCheckable())
                action->setChecked(!action->isChecked());
            if (m_sessionEnding)
                return;
            endDrag();
            (this->*handler)();
        });
    }

    // Opening a menu of the menu bar stops the win animation.
    for (QMenu *menu : {c.mnuGame, c.mnuOptions, c.mnuView, c.mnuHelp})
        connect(menu, &QMenu::aboutToShow, this, [this] { ProcKeyDown(); });
    // A menu takes the mouse: the table would never see the drag's release.
    for (QMenu *menu : {c.mnuGame, c.mnuOptions, c.mnuView, c.mnuHelp, c.PopupMenuHelp, c.PopupMenuToolbar,
                        c.PopupMenuStatusBar})
        connect(menu, &QMenu::aboutToShow, this, [this] { endDrag(); });
    connect(c.Toolbar, &QToolBar::topLevelChanged, this, [this] {
        ToolbarRecreated();
        QTimer::singleShot(0, this, &TfrmMain::frameFloatingToolbar);
    });
    c.Toolbar->installEventFilter(this);
    connect(c.StatusBar, &QWidget::customContextMenuRequested, this,
            [this](QPoint at) { m_commands->PopupMenuStatusBar->popup(m_commands->StatusBar->mapToGlobal(at)); });
    connect(c.Toolbar, &QWidget::customContextMenuRequested, this,
            [this](QPoint at) { m_commands->PopupMenuToolbar->popup(m_commands->Toolbar->mapToGlobal(at)); });
    // Closed, a pop-up menu gives the status bar back its usual text.
    for (QMenu *menu : {c.PopupMenuToolbar, c.PopupMenuStatusBar})
        connect(menu, &QMenu::aboutToHide, this, [this] { StatusHint({}); });
    for (QToolButton *button : c.Toolbar->findChildren<QToolButton *>())
        button->installEventFilter(this);
    connect(m_surface, &TableSurface::mousePressed, this, [this](Qt::MouseButton button, QPoint at) {
        ProcKeyDown();
        // The left button is down through a whole drag: pressed again, its
        // release went elsewhere (a grab taken by another program).
        if (button == Qt::LeftButton)
            endDrag();
        m_play->FormMouseDown(button, at.x(), at.y());
    });
    connect(m_surface, &TableSurface::mouseMoved, this, [this](QPoint at) { m_play->FormMouseMove(at.x(), at.y()); });
    connect(m_surface, &TableSurface::mouseReleased, this,
            [this](Qt::MouseButton button, QPoint at) { m_play->FormMouseUp(button, at.x(), at.y()); });
    connect(m_surface, &TableSurface::mouseDoubleClicked, this, [this](Qt::MouseButton button) {
        // Another button's double click in the middle of a drag is no
        // reason to forget that the card has moved.
        if (button == Qt::LeftButton)
            m_play->FormDblClick();
    });
    connect(&GameTimer, &QTimer::timeout, this, &TfrmMain::GameTimerTimer);
}

void TfrmMain::FormActivate()
{
    if (m_started)
        return;
    m_started = true;
    CommandSurface &c = *m_commands;
    const QSize screen = m_services.system.screenSize();

    // Reads see the file as it is on disk, also after the writes between
    // them; a write that fails is reported and skipped, and the reads go on,
    // so that nothing read here is lost at the close.
    SettingsFile file(settingsPath());
    if (read(file, keys::Maximized))
        setWindowState(windowState() | Qt::WindowMaximized);

    m_options.ToolHint = read(file, keys::ToolHint);
    m_options.TexturedToolbar = read(file, keys::TexturedToolbar);
    applyDockTexture(c.Toolbar, m_options.TexturedToolbar);
    c.mnuViewToolbar->setChecked(file.ReadFlag(keys::Options, keys::ToolBar(screen).name, false));
    c.mnuViewStatusBar->setChecked(file.ReadFlag(keys::Options, keys::Statusbar(screen).name, true));

    m_statistics.read(file);

    if (m_services.system.audioOutputCount() < 1) {
        c.mnuSound->setChecked(false);
        c.mnuSound->setEnabled(false);
    } else {
        c.mnuSound->setEnabled(true);
        c.mnuSound->setChecked(read(file, keys::Sound));
    }

    c.mnuAutoSave->setChecked(read(file, keys::AutoSaveOption));
    m_options.SlowAnim = read(file, keys::SlowAnim);
    m_options.CardBack = read(file, keys::CardBack);
    m_options.Pause = read(file, keys::Pause);
    m_options.Prompts = read(file, keys::Prompts);
    const bool gameSaved = read(file, keys::GameSaved);

    m_options.BackGroundColor = read(file, keys::BackGroundColor);
    applyTableColour();

    c.Toolbar->setVisible(read(file, keys::ToolBar(screen)));
    c.StatusBar->setVisible(read(file, keys::Statusbar(screen)));
    c.mnuViewToolbar->setChecked(!c.Toolbar->isHidden());
    c.mnuViewStatusBar->setChecked(!c.StatusBar->isHidden());
    m_table.TableTop = c.mnuViewToolbar->isChecked() && toolbarDockedTop() ? m_table.ToolbarHeight : 0;
    m_surface->setTableTop(m_table.TableTop);

    if (c.mnuAutoSave->isChecked() && gameSaved) {
        if (readSavedGame(file, m_cards)) {
            m_table.RestorePending = true;
            m_table.PresetGameNumber = true;
            m_table.GameNumber = read(file, keys::SavedGameNumber);
        } else {
            // The section stays in the file, untouched, until the next save.
            showMessage(m_services.modal, QMessageBox::Warning, ProgramTitle,
                        QStringLiteral("The saved game in %1 could not be read. A new game is dealt instead.")
                            .arg(settingsPath()),
                        QMessageBox::Ok, this);
        }
    }

    mnuNewGameClick();

    // The session may end under each dialog; the rest is then not read, and
    // the close leaves it in the file as it is.
    if (m_sessionEnding)
        return;
    if (read(file, keys::ShowTips))
        showTipOfTheDay();
    if (m_sessionEnding)
        return;

    LastPlayer = read(file, keys::LastPlayer);
    m_options.ShowNameBox = read(file, keys::ShowNameBox);
    m_playerNameRead = true;
    if (LastPlayer == QLatin1String("Player 1") || LastPlayer.isEmpty() || m_options.ShowNameBox)
        askPlayerName();
    if (m_sessionEnding)
        return;

    changeSettings([this](SettingsFile &f) { write(f, keys::LastPlayer, LastPlayer); });
    c.mnuTip->setChecked(read(file, keys::ShowTips));

    m_topTen.read(file);
    m_topTenRead = true;
}

bool TfrmMain::refusedDuringWin()
{
    if (!m_inWinSequence)
        return false;
    ProcKeyDown();
    return true;
}

void TfrmMain::mnuNewGameClick()
{
    // What the file holds is the table as the session ended.
    if (m_sessionEnding || refusedDuringWin())
        return;
    TableModel &t = m_table;
    CommandSurface &c = *m_commands;

    if (!t.FirstDeal && !t.ReturningToBookmark && m_options.Prompts
        && showMessage(m_services.modal, QMessageBox::Question, ProgramTitle,
                       QStringLiteral("Sure you want to quit current game?"), QMessageBox::Yes | QMessageBox::No,
                       this) != QMessageBox::Yes) {
        // Declined, the game on the table stays, and so does its number for
        // a restart: nothing chosen for this deal is kept for the next.
        t.PresetGameNumber = false;
        t.NextGameNumber.reset();
        return;
    }

    if (t.Score > 0 && t.GameTime > 0 && !t.ReturningToBookmark && !t.WinRecorded)
        UpdateScoreStat();

    m_cards.SetCurrentBack(m_options.CardBack);
    applyTableColour();

    c.mnuPause->setEnabled(false);
    c.mnuPause->setChecked(false);
    t.PauseCount = 0;
    c.mnuUndo->setEnabled(false);
    c.mnuPlaceBookmark->setEnabled(true);
    c.mnuReturnToBookmark->setEnabled(t.ReturningToBookmark);

    c.StatusPanels[0]->setText(ProgramTitle);
    t.GameFinished = false;
    m_winPicture->hide();

    GameTimer.stop();
    t.GameTime = 0;
    t.Score = 0;
    c.StatusPanels[1]->setText(QStringLiteral("Time: 0"));

    if (c.mnuSound->isChecked() && !t.ReturningToBookmark)
        m_services.sound.play(QStringLiteral("Shuffle.wav"));

    auto shuffle = [&] {
        t.FoundationUsed.fill(false);
        for (int f = FirstFoundation; f <= LastFoundation; ++f)
            t.Foundation[f].fill(0);
        t.FoundationCounter.fill(0);
        Shuffle(t, m_services.clock);
    };
    if (t.PresetGameNumber && t.NextGameNumber)
        t.GameNumber = *t.NextGameNumber;
    const bool restoring = c.mnuAutoSave->isChecked() && t.RestorePending;
    if (!restoring)
        shuffle();

    m_cards.SetDefaultValues();
    m_surface->refresh();

    const bool restored = t.RestorePending && RestoreGame();
    if (!restored) {
        // Nothing usable was saved after all: a fresh deal instead.
        if (restoring)
            shuffle();
        LayOut(t, m_cards, m_surface->handle());
    }
    checkTable(t, m_cards, false, restored ? "the restore" : "the deal");

    setCaption(gameCaption(t.GameNumber));

    t.PresetGameNumber = false;
    t.NextGameNumber.reset();
    t.ReturningToBookmark = false;
    t.FirstDeal = false;
    t.SecretGamePicked = false;
    t.WinRecorded = false;
    t.PauseDisabled = false;

    m_play->CheckGameStatus();
}

void TfrmMain::applyTableColour()
{
    const QColor colour = tableColour(m_options.BackGroundColor);
    m_surface->setTableColour(colour);
    BannerMenu::setBannerColours(colour, BannerMenu::bannerTextFor(colour));
}

void TfrmMain::mnuSelectGameClick()
{
    if (refusedDuringWin())
        return;
    std::optional<std::int32_t> chosen;
    {
        TfrmGameSelect dialog(m_services.modal, m_table.GameNumber, this);
        connect(&dialog, &TfrmGameSelect::soundRequested, this, [this](const QString &file) { playSound(file); });
        connect(&dialog, &TfrmGameSelect::helpRequested, this,
                [this](int topic) { helpCommand(HelpCommand::Context, topic); });
        m_services.modal.run(dialog);
        if (!dialog.Cancelled)
            chosen = dialog.chosenNumber();
    }
    // The deal comes after the dialog is gone.
    if (chosen) {
        m_table.NextGameNumber = chosen;
        m_table.PresetGameNumber = true;
        mnuNewGameClick();
    }
}

void TfrmMain::mnuRestartGameClick()
{
    if (refusedDuringWin())
        return;
    m_table.PresetGameNumber = true;
    mnuNewGameClick();
}

void TfrmMain::btUndoClick()
{
    if (refusedDuringWin())
        return;
    m_play->btUndoClick();
}

void TfrmMain::mnuPauseClick()
{
    CommandSurface &c = *m_commands;
    if (c.mnuPause->isChecked()) {
        c.mnuPause->setChecked(false);
        c.StatusPanels[0]->setText(ProgramTitle);
    } else if (m_table.PauseCount == 5) {
        c.mnuPause->setEnabled(false);
        m_table.PauseDisabled = true;
        showMessage(m_services.modal, QMessageBox::Information, ProgramTitle,
                    QStringLiteral("You have reached the limit of 5 Pauses in one game. The Pause Option will now be "
                                   "disabled until a new game is started."),
                    QMessageBox::Ok, this);
        return;
    } else {
        ++m_table.PauseCount;
        c.mnuPause->setChecked(true);
        c.StatusPanels[0]->setText(PauseText);
    }
    if (c.mnuPause->isChecked())
        GameTimer.stop();
    else
        GameTimer.start();
}

void TfrmMain::mnuTopTenClick()
{
    if (refusedDuringWin())
        return;
    std::optional<std::int32_t> next;
    {
        TfrmTopten dialog(m_services.modal, m_topTen, m_surface->tableColour(), this);
        connect(&dialog, &TfrmTopten::soundRequested, this, [this](const QString &file) { playSound(file); });
        connect(&dialog, &TfrmTopten::helpRequested, this,
                [this](int topic) { helpCommand(HelpCommand::Context, topic); });
        connect(&dialog, &TfrmTopten::contextHelpRequested, this, &TfrmMain::contextHelp);
        m_services.modal.run(dialog);
        next = dialog.nextGame();
        m_table.SecretGamePicked = dialog.SecretGamePicked;
        // The help window goes with the dialog.
        helpCommand(HelpCommand::Quit);
    }
    // A replayed or secret game is dealt once the dialog is gone.
    if (next) {
        m_table.NextGameNumber = next;
        m_table.PresetGameNumber = true;
        mnuNewGameClick();
    }
}

void TfrmMain::mnuStatisticsClick()
{
    if (refusedDuringWin())
        return;
    showStatistics(false);
}

void TfrmMain::showStatistics(bool bestPlayerPage)
{
    TfrmStatistics dialog(m_services.modal, m_statistics, QLocale::system(), this);
    dialog.newSuperRecord = m_table.NewSuperRecord;
    connect(&dialog, &TfrmStatistics::soundRequested, this, [this](const QString &file) { playSound(file); });
    connect(&dialog, &TfrmStatistics::helpRequested, this,
            [this](int topic) { helpCommand(HelpCommand::Context, topic); });
    if (bestPlayerPage)
        dialog.showBestPlayerPage();
    m_services.modal.run(dialog);
}

void TfrmMain::mnuExitClick()
{
    close();
}

void TfrmMain::mnuPreferencesClick()
{
    if (refusedDuringWin())
        return;
    showPreferences(TfrmPreferences::GeneralPage);
}

void TfrmMain::mnuPlayerNameClick()
{
    if (refusedDuringWin())
        return;
    // The name reaches the file at the close.
    TfrmPlayerName dialog(LastPlayer, m_options.ShowNameBox, this);
    connect(&dialog, &TfrmPlayerName::contextHelpRequested, this, &TfrmMain::contextHelp);
    m_services.modal.run(dialog);
    LastPlayer = dialog.name();
    m_options.ShowNameBox = dialog.showNameBox();
}

void TfrmMain::mnuSoundClick()
{
    const bool on = !m_commands->mnuSound->isChecked();
    m_commands->mnuSound->setChecked(on);
    changeSettings([on](SettingsFile &file) { write(file, keys::Sound, on); });
}

void TfrmMain::mnuAutoSaveClick()
{
    const bool on = !m_commands->mnuAutoSave->isChecked();
    m_commands->mnuAutoSave->setChecked(on);
    changeSettings([on](SettingsFile &file) { write(file, keys::AutoSaveOption, on); });
}

void TfrmMain::mnuTipClick()
{
    // PopUpTip is the same entry, so its check follows.
    const bool on = !m_commands->mnuTip->isChecked();
    m_commands->mnuTip->setChecked(on);
    changeSettings([on](SettingsFile &file) { write(file, keys::ShowTips, on); });
}

void TfrmMain::mnuPlaceBookmarkClick()
{
    if (refusedDuringWin())
        return;
    m_commands->mnuReturnToBookmark->setEnabled(true);
    changeSettings([this](SettingsFile &file) { vespin::SaveGame(file, m_table, m_cards); });
}

void TfrmMain::mnuReturnToBookmarkClick()
{
    if (refusedDuringWin())
        return;
    // A bookmark that cannot be read leaves the game on the table alone.
    if (!readSavedGame(SettingsFile(settingsPath()), m_cards)) {
        showMessage(m_services.modal, QMessageBox::Warning, ProgramTitle,
                    QStringLiteral("The bookmark in %1 could not be read. The game stays as it is.").arg(settingsPath()),
                    QMessageBox::Ok, this);
        return;
    }
    m_table.RestorePending = true;
    m_table.ReturningToBookmark = true;
    playSound(QStringLiteral("Fart.wav"));
    mnuNewGameClick();
}

void TfrmMain::mnuBackgroundColorClick()
{
    if (refusedDuringWin())
        return;
    showPreferences(TfrmPreferences::BackgroundPage);
}

void TfrmMain::mnuCardBackClick()
{
    if (refusedDuringWin())
        return;
    showPreferences(TfrmPreferences::CardBackPage);
}

void TfrmMain::showPreferences(int page)
{
    CommandSurface &c = *m_commands;
    PreferencesLink link;
    link.current = {.Sound = c.mnuSound->isChecked(),
                    .Prompts = m_options.Prompts,
                    .ShowTips = c.mnuTip->isChecked(),
                    .AutoSave = c.mnuAutoSave->isChecked(),
                    .Pause = m_options.Pause,
                    .ToolHint = m_options.ToolHint,
                    .TexturedToolbar = m_options.TexturedToolbar,
                    .SlowAnim = m_options.SlowAnim,
                    .ShowNameBox = m_options.ShowNameBox,
                    .BackGroundColor = m_options.BackGroundColor,
                    .CardBack = m_options.CardBack};
    link.soundAvailable = c.mnuSound->isEnabled();
    link.settingsPath = settingsPath();
    link.cards = &m_cards;
    link.changeSettings = [this](const std::function<void(SettingsFile &)> &change) { return changeSettings(change); };
    link.apply = [this](const PreferenceValues &v) {
        CommandSurface &commands = *m_commands;
        commands.mnuSound->setChecked(v.Sound);
        commands.mnuTip->setChecked(v.ShowTips); // PopUpTip is the same entry
        commands.mnuAutoSave->setChecked(v.AutoSave);
        m_options.ToolHint = v.ToolHint;
        m_options.TexturedToolbar = v.TexturedToolbar;
        applyDockTexture(commands.Toolbar, v.TexturedToolbar);
        m_options.SlowAnim = v.SlowAnim;
        m_options.ShowNameBox = v.ShowNameBox;
        m_options.Pause = v.Pause;
        m_options.Prompts = v.Prompts;
        // The next deal takes these over.
        m_options.CardBack = v.CardBack;
        m_options.BackGroundColor = v.BackGroundColor;
    };
    TfrmPreferences dialog(m_services.modal, std::move(link), this);
    connect(&dialog, &TfrmPreferences::contextHelpRequested, this, &TfrmMain::contextHelp);
    dialog.selectPage(TfrmPreferences::Page(page));
    m_services.modal.run(dialog);
}

void TfrmMain::mnuAboutClick()
{
    if (refusedDuringWin())
        return;
    const SystemInfo &system = m_services.system;
    TAboutBox box({system.operatingSystem(), system.totalMemoryBytes(), system.userFullName(), LastPlayer,
                   QLocale::system()},
                  this);
    m_services.modal.run(box);
}

void TfrmMain::btReadmeClick()
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(QDir(dataDirectory()).absoluteFilePath(QStringLiteral("Readme.txt"))));
}

void TfrmMain::helpCommand(HelpCommand command, int topic)
{
    m_services.help.command(m_helpFile, command, topic);
}

void TfrmMain::contextHelp(int topic, QPoint at)
{
    m_services.help.command(m_helpFile, HelpCommand::ContextPopup, topic, at);
}

void TfrmMain::mnuContentsClick()
{
    helpCommand(HelpCommand::Finder);
}

void TfrmMain::mnuKeywordSearchClick()
{
    helpCommand(HelpCommand::PartialKey);
}

void TfrmMain::mnuHowtoPlayClick()
{
    // From here on the help file goes by its name alone, for the rest of the run.
    m_helpFile = HelpFileName;
    helpCommand(HelpCommand::Context, 3);
}

void TfrmMain::mnuHelpOnHelpClick()
{
    helpCommand(HelpCommand::HelpOnHelp);
}

void TfrmMain::GameTimerTimer()
{
    ++m_table.GameTime;
    m_commands->StatusPanels[1]->setText(QStringLiteral("Time: %1").arg(m_table.GameTime));
}

void TfrmMain::playSound(const QString &fileName)
{
    if (m_commands->mnuSound->isChecked())
        m_services.sound.play(fileName);
}

void TfrmMain::setUndoEnabled(bool enabled)
{
    m_commands->mnuUndo->setEnabled(enabled);
}

bool TfrmMain::clockRunning() const
{
    return GameTimer.isActive();
}

void TfrmMain::startClock()
{
    // Already running, the clock keeps its second going.
    if (!GameTimer.isActive())
        GameTimer.start();
}

void TfrmMain::rearmPause()
{
    CommandSurface &c = *m_commands;
    c.mnuPause->setEnabled(true);
    c.mnuPause->setChecked(false);
    if (c.StatusPanels[0]->text() == PauseText)
        c.StatusPanels[0]->setText(ProgramTitle);
}

void TfrmMain::showScore(std::int32_t score, std::int32_t gameNumber)
{
    m_commands->StatusPanels[2]->setText(QStringLiteral("Score: %1").arg(score));
    setCaption(gameCaption(gameNumber) + QStringLiteral(" Score: %1").arg(score));
}

void TfrmMain::setInputEnabled(bool enabled)
{
    setEnabled(enabled);
}

bool TfrmMain::winPictureVisible() const
{
    return !m_winPicture->isHidden();
}

void TfrmMain::DisplayFinish()
{
    TableModel &t = m_table;
    CommandSurface &c = *m_commands;
    m_inWinSequence = true;

    t.WinRecorded = true;
    if (t.GameTime < m_statistics.SuperTime) {
        t.NewSuperRecord = true;
        m_statistics.SuperPlayer = LastPlayer;
        m_statistics.SuperTime = t.GameTime;
        const QLocale locale = QLocale::system();
        const QDateTime now = m_services.clock.localNow();
        m_statistics.SuperDate = superDateText(locale, now);
        m_statistics.SuperGame = t.GameNumber;
    }
    m_statistics.bookWin();

    GameTimer.stop();
    c.mnuPlaceBookmark->setEnabled(false);
    c.mnuReturnToBookmark->setEnabled(false);
    c.mnuPause->setEnabled(false);

    t.UserInterrupt = false;
    t.GameFinished = true;
    playSound(QStringLiteral("WinGame.wav"));

    runWinAnimation(t, {[this] {
                            QCoreApplication::processEvents();
                            return !m_table.UserInterrupt;
                        },
                        [this] {
                            const int client = height() - (menuBar()->isVisible() ? menuBar()->height() : 0);
                            return client - CardHeight;
                        },
                        [this](std::int32_t card, QPoint at) {
                            if (m_options.SlowAnim)
                                m_cards.DealCard(m_surface->handle(), card, at.x(), at.y());
                            else
                                m_cards.DrawCard(m_surface->handle(), card, at.x(), at.y());
                        }});

    m_winPicture->show();
    UpdateScoreStat();
    m_surface->refresh();
    if (t.NewSuperRecord)
        showStatistics(true);
    t.NewSuperRecord = false;
    m_inWinSequence = false;

    TfrmGameOver gameOver(this);
    m_services.modal.run(gameOver);
    switch (gameOver.next()) {
    case TfrmGameOver::Next::Nothing:
        break;
    case TfrmGameOver::Next::SelectGame:
        mnuSelectGameClick();
        break;
    case TfrmGameOver::Next::Replay:
        t.PresetGameNumber = true;
        mnuNewGameClick();
        break;
    case TfrmGameOver::Next::NewGame:
        mnuNewGameClick();
        break;
    }
    if (m_closeAfterWin) {
        m_closeAfterWin = false;
        if (m_sessionEnding) {
            finishSession();
            return;
        }
        // The player has asked to quit once already.
        m_closeConfirmed = true;
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
    }
}


void TfrmMain::UpdateScoreStat()
{
    const TableModel &t = m_table;
    m_topTen.offer({LastPlayer, t.Score, t.GameTime, t.GameNumber});
    m_statistics.bookGame(t.Score);
}

bool TfrmMain::RestoreGame()
{
    m_table.RestorePending = false;
    m_table.PresetGameNumber = false;
    const std::optional<SavedGame> saved = readSavedGame(SettingsFile(settingsPath()), m_cards);
    if (!saved)
        return false;
    layOutSavedGame(*saved, m_table, m_cards, m_surface->handle());
    m_play->CalculateScore();
    m_commands->StatusPanels[1]->setText(QStringLiteral("Time: %1").arg(m_table.GameTime));
    return true;
}

void TfrmMain::showTipOfTheDay()
{
    const SettingsFile file(settingsPath());
    TfrmTipOfTheDay dialog(QDir(dataDirectory()).absoluteFilePath(QStringLiteral("TIPS.TXT")),
                           read(file, keys::TipNumber), read(file, keys::ShowTips), this);
    m_services.modal.run(dialog);
    changeSettings([&dialog](SettingsFile &f) {
        f.beginBatch();
        write(f, keys::ShowTips, dialog.showTips());
        write(f, keys::TipNumber, dialog.tipNumber());
        f.commitBatch();
    });
}

void TfrmMain::askPlayerName()
{
    const bool shown = read(SettingsFile(settingsPath()), keys::ShowNameBox);
    TfrmPlayerName dialog(LastPlayer, shown, this);
    connect(&dialog, &TfrmPlayerName::contextHelpRequested, this, &TfrmMain::contextHelp);
    m_services.modal.run(dialog);
    LastPlayer = dialog.name();
    m_options.ShowNameBox = dialog.showNameBox();
    changeSettings([this](SettingsFile &file) { write(file, keys::ShowNameBox, m_options.ShowNameBox); });
}

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
    const QToolBar *toolbar = m_commands->Toolbar;
    return !toolbar->isFloating() && toolBarArea(const_cast<QToolBar *>(toolbar)) == Qt::TopToolBarArea;
}

ToolbarPlacement TfrmMain::toolbarPlacement() const
{
    return {!m_commands->Toolbar->isHidden(), toolbarDockedTop()};
}

void TfrmMain::mnuViewToolbarClick()
{
    CommandSurface &c = *m_commands;
    const bool show = !c.mnuViewToolbar->isChecked();
    c.mnuViewToolbar->setChecked(show);
    m_table.TableTop = show && toolbarDockedTop() ? m_table.ToolbarHeight : 0;
    c.Toolbar->setVisible(show);
    changeSettings([show](SettingsFile &file) { write(file, keys::ToolBar(QSize()), show); });
    if (toolbarDockedTop())
        m_table.RelayoutPending = true;
    m_surface->setTableTop(m_table.TableTop);
    m_surface->refresh();
}

void TfrmMain::ToolbarRecreated()
{
    m_table.TableTop = toolbarDockedTop() ? m_table.ToolbarHeight : 0;
    m_table.RelayoutPending = true;
    m_table.ToolbarRedocked = true;
    m_surface->setTableTop(m_table.TableTop);
    m_surface->refresh();
}

void TfrmMain::mnuViewStatusBarClick()
{
    CommandSurface &c = *m_commands;
    const bool show = c.StatusBar->isHidden();
    c.StatusBar->setVisible(show);
    c.mnuViewStatusBar->setChecked(show);
    changeSettings([show](SettingsFile &file) { write(file, keys::StatusBarToggle, show); });
}

void TfrmMain::mnuMinimizeClick()
{
    if (m_minimizing)
        return;
    m_minimizing = true;
    ProcKeyDown();
    endDrag();
    if (m_options.Pause && GameTimer.isActive() && !m_table.PauseDisabled)
        mnuPauseClick();
    if (!isMinimized())
        showMinimized();
    m_minimizing = false;
}

void TfrmMain::WMRestoreApp()
{
    if (isMinimized()) {
        // Back as it was before: a maximised window stays maximised.
        setWindowState(windowState() & ~Qt::WindowMinimized);
        show();
        activateWindow();
        return;
    }
    QWidget *front = QApplication::activeModalWidget();
    if (!front)
        front = this;
    front->raise();
    front->activateWindow();
    if (auto *x11 = qApp->nativeInterface<QNativeInterface::QX11Application>()) {
        // The request came through a socket, not as an X event, so the
        // toolkit's idea of the server time is old, and the server ignores a
        // focus change stamped with it.
        xcb_set_input_focus(x11->connection(), XCB_INPUT_FOCUS_PARENT, xcb_window_t(front->winId()), XCB_CURRENT_TIME);
        xcb_flush(x11->connection());
    }
}

void TfrmMain::StatusHint(const QString &hint)
{
    QString text = hint.section(QLatin1Char('|'), -1);
    if (text.isEmpty())
        text = m_commands->mnuPause->isChecked() ? PauseText : ProgramTitle;
    m_commands->StatusPanels[0]->setText(text);
}

void TfrmMain::ProcKeyDown()
{
    m_table.UserInterrupt = true;
}

bool TfrmMain::event(QEvent *event)
{
    if (event->type() == QEvent::StatusTip && m_commands) {
        // The panels stay; only the first one shows the hint.
        StatusHint(static_cast<QStatusTipEvent *>(event)->tip());
        return true;
    }
    return QMainWindow::event(event);
}

bool TfrmMain::eventFilter(QObject *watched, QEvent *event)
{
    // Where no activation comes (X11 without a window manager, a Wayland
    // compositor that gives focus only with a token), the start-up runs
    // once the table has been painted and the queued events are handled.
    if (watched == m_surface && event->type() == QEvent::Paint && !m_started && !m_idleStartQueued) {
        m_idleStartQueued = true;
        QTimer::singleShot(0, this, [this] {
            if (!m_started)
                FormActivate();
        });
    }
    if (m_commands && watched == m_commands->Toolbar) {
        // The end of a drag by the handle: the toolkit has made the bar
        // frameless again if it still floats.
        if (event->type() == QEvent::MouseButtonRelease)
            QTimer::singleShot(0, this, &TfrmMain::frameFloatingToolbar);
        // The floating bar's close button hides it as View > Toolbar does.
        if (event->type() == QEvent::Close && m_commands->Toolbar->isFloating() && !m_closing) {
            event->ignore();
            mnuViewToolbarClick();
            return true;
        }
    }
    if (event->type() == QEvent::ToolTip && !m_options.ToolHint)
        return true;
    return QMainWindow::eventFilter(watched, event);
}

void TfrmMain::frameFloatingToolbar()
{
    // The toolkit floats a tool bar frameless; floating, ours is a small
    // window with its caption and a close button. Not in the middle of the
    // drag that floats it: the toolkit moves the bar itself until the
    // button is released.
    QToolBar *toolbar = m_commands->Toolbar;
    constexpr Qt::WindowFlags Framed = Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                                       | Qt::WindowCloseButtonHint;
    if (!toolbar->isFloating() || QGuiApplication::mouseButtons() != Qt::NoButton || toolbar->windowFlags() == Framed)
        return;
    const QPoint at = toolbar->pos();
    const bool visible = toolbar->isVisible();
    toolbar->setWindowFlags(Framed);
    toolbar->move(at);
    if (visible)
        toolbar->show();
}

void TfrmMain::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (!m_usable)
        return;
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && !m_started)
        FormActivate();
    if (event->type() == QEvent::ActivationChange && !isActiveWindow())
        endDrag();
    if (event->type() == QEvent::WindowStateChange && isMinimized())
        mnuMinimizeClick();
}

QMenu *TfrmMain::createPopupMenu()
{
    return nullptr;
}

void TfrmMain::contextMenuEvent(QContextMenuEvent *event)
{
    // The top dock around the tool bar, between the menu bar and the table,
    // answers with the tool bar's pop-up; the rest of the frame with none.
    const int dockTop = menuBar()->isVisible() ? menuBar()->geometry().bottom() + 1 : 0;
    if (m_commands && event->pos().y() >= dockTop && event->pos().y() < centralWidget()->geometry().top())
        m_commands->PopupMenuToolbar->popup(event->globalPos());
    event->accept();
}

void TfrmMain::keyPressEvent(QKeyEvent *event)
{
    ProcKeyDown();
    QMainWindow::keyPressEvent(event);
}

void TfrmMain::resizeEvent(QResizeEvent *event)
{
    ProcKeyDown();
    QMainWindow::resizeEvent(event);
}

void TfrmMain::closeEvent(QCloseEvent *event)
{
    if (!m_usable || m_closing) {
        event->accept();
        return;
    }
    if (m_inWinSequence) {
        // Not under the running win sequence: it stops, and the window
        // closes once the sequence has ended.
        ProcKeyDown();
        m_closeAfterWin = true;
        event->ignore();
        return;
    }
    if (!std::exchange(m_closeConfirmed, false) && !FormCloseQuery()) {
        event->ignore();
        return;
    }
    endDrag();
    m_closing = true;
    FormClose();
    event->accept();
}

void TfrmMain::endSession()
{
    // A second request while the first is under way changes nothing.
    if (!m_usable || m_sessionEnding)
        return;
    m_sessionEnding = true;
    m_modal.refuseFromNowOn();
    ProcKeyDown();
    endDrag();
    // Each open dialog ends as cancelled, so that the code that opened it
    // comes back; its result is no longer taken up.
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (auto *dialog = qobject_cast<QDialog *>(widget); dialog && dialog->isVisible())
            dialog->reject();
    }
    // The win sequence books the won game once its animation has stopped,
    // as for a close, and ends the session then.
    if (m_inWinSequence) {
        m_closeAfterWin = true;
        return;
    }
    finishSession();
}

void TfrmMain::finishSession()
{
    if (!m_closing) {
        m_closing = true;
        FormClose();
    }
    emit sessionEnded();
}

void TfrmMain::endDrag()
{
    m_play->cancelDrag();
}

bool TfrmMain::FormCloseQuery()
{
    m_table.UserInterrupt = true;
    if (GameTimer.isActive() && m_options.Prompts)
        return showMessage(m_services.modal, QMessageBox::Question, ProgramTitle,
                           QStringLiteral("Are you sure you want to quit Vespintide?"),
                           QMessageBox::Yes | QMessageBox::No, this)
               == QMessageBox::Yes;
    return true;
}

void TfrmMain::FormClose()
{
    // Before the start-up has read them, the records in memory are only
    // defaults: writing them would wipe what the file holds.
    if (!m_started)
        return;
    const QRect outer = isMaximized() || isMinimized()
                            ? normalGeometry().adjusted(geometry().x() - frameGeometry().x(),
                                                        geometry().y() - frameGeometry().y(), 0, 0)
                            : frameGeometry();
    const int outerHeight = isMaximized() || isMinimized()
                                ? normalGeometry().height() + frameGeometry().height() - geometry().height()
                                : frameGeometry().height();
    changeSettings([&](SettingsFile &file) {
        // All of it reaches the disk in one replacement of the file.
        file.beginBatch();
        m_statistics.write(file);
        write(file, keys::LeftPosition(QSize()), outer.x());
        write(file, keys::TopPosition(QSize()), outer.y());
        write(file, keys::Height, outerHeight);
        if (m_playerNameRead) {
            write(file, keys::LastPlayer, LastPlayer);
            write(file, keys::ShowNameBox, m_options.ShowNameBox);
        }
        if (m_topTenRead)
            m_topTen.write(file);
        write(file, keys::Maximized, windowState() != Qt::WindowNoState);
        // Before the first deal the table holds no game, and a saved one
        // that could not be read stays for the next save to replace.
        if (!m_table.FirstDeal) {
            if (m_commands->mnuAutoSave->isChecked() && !winPictureVisible())
                vespin::SaveGame(file, m_table, m_cards);
            else
                file.ClearSection(keys::AutoSave);
        }
        file.commitBatch();
    });
}

void TfrmMain::FormDestroy()
{
    helpCommand(HelpCommand::Quit);
}

void TfrmMain::setCaption(const QString &caption)
{
    setWindowTitle(caption);
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
    if (!m_frameFitted && frameHeight > 0) {
        // The stored height is the outer one; the frame is known only now.
        m_frameFitted = true;
        resize(clientWidth, m_outerHeight - frameHeight);
    }
}

} // namespace vespin
