#pragma once

#include <QDialog>
#include <QPoint>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace vespin {

// Asks the player's name, for the Top Ten. There is no cancelling it: every
// way of closing keeps what was typed.
class TfrmPlayerName : public QDialog {
    Q_OBJECT

public:
    // mainWindow: the window it is centred over; may be null.
    TfrmPlayerName(const QString &name, bool showNameBox, QWidget *mainWindow);

    // What showing the dialog does, callable without showing it.
    void FormActivate();

    // The results once the dialog has closed; before that, what it was given.
    QString name() const { return m_name; }
    bool showNameBox() const { return m_showNameBox; }

    QLineEdit *edPlayer = nullptr;
    QCheckBox *cbShowPlayerName = nullptr;
    QPushButton *BitBtn1 = nullptr;

    // Escape and the window manager's close count as OK.
    void reject() override;
    void done(int result) override;

signals:
    // Help on one of the dialog's controls, to be shown at `at` on the screen.
    void contextHelpRequested(int topic, QPoint at);

protected:
    void showEvent(QShowEvent *event) override;

private:
    QString m_name;
    bool m_showNameBox;
};

} // namespace vespin
