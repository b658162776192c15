#pragma once

#include <QDialog>

class QCheckBox;
class QPushButton;

namespace vespin {

// Shown after a won game: play again, and how.
class TfrmGameOver : public QDialog {
    Q_OBJECT

public:
    enum class Next { Nothing, SelectGame, Replay, NewGame };

    explicit TfrmGameOver(QWidget *mainWindow);

    // What showing the dialog does, callable without showing it.
    void FormActivate();

    // What the player asked for, read after the dialog has closed.
    Next next() const;

    // Set by No and by any other way of closing without Yes.
    bool Declined = false;

    QCheckBox *cbSelectGame = nullptr;
    QCheckBox *cbReplayGame = nullptr;
    QPushButton *btYes = nullptr;
    QPushButton *btNo = nullptr;

    // No lands here, and so does any close that is not Yes.
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;
    // The dialog has no cancel button, so Escape answers nothing.
    void keyPressEvent(QKeyEvent *event) override;
};

} // namespace vespin
