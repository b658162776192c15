#pragma once

#include "Services.h"
#include "game/TableModel.h"
#include "interaction/CardLibrary.h"
#include "interaction/Painting.h"

#include <QMainWindow>
#include <QTimer>

class QAction;
class QLabel;
class QToolBar;

namespace vespin {

class TableSurface;

// The options the game reads while it runs, with their defaults.
struct Options {
    bool Prompts = false;
    bool SlowAnim = false;
    bool Pause = true;
    int CardBack = 1;
    int BackGroundColor = 5;
};

// The outer geometry of the main window at start: a stored position that
// would put the window partly off the screen gives way to the centred one.
QRect placeMainWindow(QSize screen, int left, int top, int height);

// The one main window: it owns the game on the table and wires the commands.
class TfrmMain : public QMainWindow {
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
    const CardLibrary &cards() const { return m_cards; }
    TableSurface *surface() const { return m_surface; }
    Options &options() { return m_options; }

    // The start-up sequence; runs once, at the first activation.
    void FormActivate();
    bool hasStarted() const { return m_started; }

    // Shows or hides the tool bar and moves the table with it.
    void showToolbar(bool shown);
    void ToolbarRecreated();

    QAction *mnuNewGame = nullptr;
    QAction *mnuUndo = nullptr;
    QAction *mnuPause = nullptr;
    QAction *mnuPlaceBookmark = nullptr;
    QAction *mnuReturnToBookmark = nullptr;
    QAction *mnuSound = nullptr;
    QAction *mnuAutoSave = nullptr;
    QAction *mnuRefresh = nullptr;
    QTimer GameTimer;

public slots:
    void mnuNewGameClick();
    void mnuRefreshClick();

protected:
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void moveEvent(QMoveEvent *event) override;

private:
    bool FormCreate(const QString &cardLibraryPath);
    void createCommands();
    void FormPaint();
    void fitToFrame();
    void setCaption(const QString &caption);
    ToolbarPlacement toolbarPlacement() const;
    bool toolbarDockedTop() const;

    // Reached by the deal; their work belongs to the status check, the
    // statistics and the saved game.
    void CheckGameStatus();
    void UpdateScoreStat();
    void RestoreGame();

    Services m_services;
    CardLibrary m_cards;
    TableModel m_table;
    Options m_options;
    TableSurface *m_surface = nullptr;
    QToolBar *m_toolbar = nullptr;
    QLabel *m_statusPanels[3] = {};
    bool m_usable = false;
    bool m_started = false;
};

} // namespace vespin
