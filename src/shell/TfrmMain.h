#pragma once

#include "CommandSurface.h"
#include "Services.h"
#include "game/TableModel.h"
#include "interaction/CardLibrary.h"
#include "interaction/Painting.h"
#include "interaction/TablePlay.h"
#include "persistence/Records.h"

#include <QMainWindow>
#include <QTimer>

#include <functional>
#include <memory>

namespace vespin {

class SettingsFile;
class TableSurface;
class WinPicture;

// The options the running game uses, loaded at start with their defaults.
struct Options {
    bool Prompts = false;
    bool SlowAnim = false;
    bool Pause = true;
    int CardBack = 1;
    int BackGroundColor = 5;
    bool ToolHint = true;
    bool TexturedToolbar = true;
    bool ShowNameBox = true;
};

// The outer geometry of the main window at start: a stored position that
// would put the window partly off the screen gives way to the centred one.
QRect placeMainWindow(QSize screen, int left, int top, int height);

// The one main window: it owns the game on the table, runs the start-up and
// the shutdown, and wires the commands to their handlers.
class TfrmMain : public QMainWindow, private PlayFrame {
    Q_OBJECT
public:
    static constexpr int OuterWidth = 640;
    static constexpr int MinimumOuterHeight = 450;
    static constexpr int TableWidth = 632;

    TfrmMain(const Services &services, const QString &cardLibraryPath, QWidget *parent = nullptr);
    ~TfrmMain() override;

    // False when the card library could not be loaded or initialised; the
    // program then ends without doing anything more.
    bool isUsable() const { return m_usable; }

    TableModel &table() { return m_table; }
    TablePlay &play() { return *m_play; }
    const CardLibrary &cards() const { return m_cards; }
    TableSurface *surface() const { return m_surface; }
    WinPicture *winPicture() const { return m_winPicture; }
    bool inWinSequence() const { return m_inWinSequence; }
    CommandSurface &commands() { return *m_commands; }
    Options &options() { return m_options; }
    Statistics &statistics() { return m_statistics; }
    TopTen &topTen() { return m_topTen; }
    QString LastPlayer = QStringLiteral("Player 1");
    QString settingsPath() const;

    // The start-up sequence; runs once, at the first activation or, where
    // the window system activates no new window, once the shown window has
    // been painted and the event loop is idle.
    void FormActivate();
    bool hasStarted() const { return m_started; }
    bool sessionEnding() const { return m_sessionEnding; }
    // None: the toolkit's menu of bars would hide the tool bar behind the
    // program's back.
    QMenu *createPopupMenu() override;

    QTimer GameTimer;

public slots:
    void mnuNewGameClick();
    void mnuSelectGameClick();
    void mnuRestartGameClick();
    void btUndoClick();
    void mnuPauseClick();
    void mnuTopTenClick();
    void mnuStatisticsClick();
    void mnuExitClick();
    void mnuPreferencesClick();
    void mnuPlayerNameClick();
    void mnuSoundClick();
    void mnuAutoSaveClick();
    void mnuPlaceBookmarkClick();
    void mnuReturnToBookmarkClick();
    void mnuBackgroundColorClick();
    void mnuCardBackClick();
    void mnuRefreshClick();
    void mnuViewToolbarClick();
    void mnuViewStatusBarClick();
    void mnuContentsClick();
    void mnuKeywordSearchClick();
    void mnuHowtoPlayClick();
    void mnuHelpOnHelpClick();
    void mnuTipClick();
    void mnuAboutClick();
    void mnuMinimizeClick();
    void btReadmeClick();
    void ToolbarRecreated();
    // One second of the game clock.
    void GameTimerTimer();
    // The running copy is asked to come back by a copy started later.
    void WMRestoreApp();
    // The desktop session ends, or the program was told to end: the close
    // writes run without a question, and sessionEnded follows. Open dialogs
    // are closed as cancelled and none opens any more.
    void endSession();

signals:
    // Everything is written; the program may end.
    void sessionEnded();

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    bool FormCreate(const QString &cardLibraryPath);
    void connectCommands();
    void FormPaint();
    bool FormCloseQuery();
    void FormClose();
    void finishSession();
    // A drag in progress ends as a refused drop does, before anything else
    // can touch the table or take the mouse away from it.
    void endDrag();
    void frameFloatingToolbar();
    void FormDestroy();
    void StatusHint(const QString &hint);
    void ProcKeyDown();
    void fitToFrame();
    void setCaption(const QString &caption);
    void applyTableColour();
    bool toolbarDockedTop() const;
    ToolbarPlacement toolbarPlacement() const;
    void helpCommand(HelpCommand command, int topic = 0);
    // Help on a control of a dialog: its topic as a pop-up at the control.
    void contextHelp(int topic, QPoint at);
    // Runs a change of the settings file; a failed write is reported and
    // ends the change there. False when it failed.
    bool changeSettings(const std::function<void(SettingsFile &)> &change);

    // PlayFrame
    void playSound(const QString &fileName) override;
    void setUndoEnabled(bool enabled) override;
    bool clockRunning() const override;
    void startClock() override;
    void rearmPause() override;
    void showScore(std::int32_t score, std::int32_t gameNumber) override;
    void setInputEnabled(bool enabled) override;
    bool winPictureVisible() const override;

    // The win sequence, from the last card on a foundation to the question
    // of another game.
    void DisplayFinish() override;
    // During the win sequence a command that would deal or open a dialog
    // only stops the animation; true when it must go no further.
    bool refusedDuringWin();

    // Reached from here; their work belongs to the game's later parts.
    void UpdateScoreStat();
    void showStatistics(bool bestPlayerPage);
    bool RestoreGame();
    // Each shows its dialog and stores what the player chose in it.
    void showTipOfTheDay();
    void askPlayerName();
    // The Preferences dialog, opened on a page (TfrmPreferences::Page).
    void showPreferences(int page);

    ClosingModalRunner m_modal;
    Services m_services;
    CardLibrary m_cards;
    TableModel m_table;
    Options m_options;
    Statistics m_statistics;
    TopTen m_topTen;
    std::unique_ptr<CommandSurface> m_commands;
    std::unique_ptr<TablePlay> m_play;
    TableSurface *m_surface = nullptr;
    WinPicture *m_winPicture = nullptr;
    bool m_inWinSequence = false;
    bool m_closeAfterWin = false;
    QString m_helpFile;
    int m_outerHeight = MinimumOuterHeight; // as placed, until the frame is known
    bool m_frameFitted = false;
    bool m_usable = false;
    bool m_started = false;
    bool m_minimizing = false;
    bool m_closing = false;
    bool m_closeConfirmed = false;
    bool m_sessionEnding = false;
    bool m_idleStartQueued = false;
    // What the start-up has read so far: the close writes only what it knows.
    bool m_playerNameRead = false;
    bool m_topTenRead = false;
};

} // namespace vespin
