#pragma once

#include <QColor>
#include <QDialog>
#include <QPoint>

#include <cstdint>
#include <map>
#include <optional>

class QLabel;
class QPushButton;

namespace vespin {

class ModalRunner;
struct TopTen;

// The ten best scores. A game number can be double-clicked to play it again,
// and a word typed blind opens a hidden list of games.
class TfrmTopten : public QDialog {
    Q_OBJECT

public:
    // topTen: changed in place by Clear Scores. tableColour: the table's
    // colour, painted behind the scores. mainWindow: the window it is
    // centred over; may be null.
    TfrmTopten(ModalRunner &runner, TopTen &topTen, QColor tableColour, QWidget *mainWindow);

    // What showing the dialog does, callable without showing it.
    void FormActivate();

    // The game to deal when the dialog has closed: one picked from the hidden
    // list, or one double-clicked in the table; nothing otherwise.
    std::optional<std::int32_t> nextGame() const;

    std::int32_t secretNumber() const { return m_secretNumber; }
    // The game number double-clicked; 0 when none was.
    std::int32_t replayNumber() const { return m_replayNumber; }

    bool SecretGamePicked = false;
    // Letters of the secret word typed so far.
    int SecretKeyCount = 0;

    // Tag: hundreds digit the column (1 rank, 2 name, 3 score, 4 time,
    // 5 game number), the rest the row 1..10; null for any other tag.
    QLabel *labelByTag(int tag) const;

    QPushButton *btOK = nullptr;
    QPushButton *btClearScores = nullptr;
    QPushButton *btHelp = nullptr;

signals:
    // The owner plays it only while sound is on.
    void soundRequested(const QString &fileName);
    void helpRequested(int topic);
    // Help on one of the dialog's controls, to be shown at `at` on the screen.
    void contextHelpRequested(int topic, QPoint at);

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void InitializeCaptions();
    void btClearScoresClick();
    void btOKKeyPress(const QString &text);
    void G1DblClick(QLabel *label);
    void openSecretList();

    ModalRunner &m_runner;
    TopTen &m_topTen;
    std::map<int, QLabel *> m_labels;
    std::int32_t m_secretNumber = 0;
    std::int32_t m_replayNumber = 0;
    bool m_replayPicked = false;
};

} // namespace vespin
