#pragma once

#include <QDialog>

#include <cstdint>

class QLineEdit;
class QPushButton;

namespace vespin {

class ModalRunner;

// Asks for the number of the game to deal next.
class TfrmGameSelect : public QDialog {
    Q_OBJECT

public:
    TfrmGameSelect(ModalRunner &runner, std::int32_t currentGameNumber, QWidget *mainWindow);

    // What showing the dialog does, callable without showing it.
    void FormActivate();

    // The number accepted with OK; 0 until then.
    std::int32_t chosenNumber() const { return m_chosenNumber; }

    // Set by Cancel and by any other way of closing without a number.
    bool Cancelled = false;

    QLineEdit *edGameNumber = nullptr;
    QPushButton *btOK = nullptr;
    QPushButton *btCancel = nullptr;
    QPushButton *btHelp = nullptr;

    // Escape and the window manager's close land here as well as Cancel, so
    // the caller never mistakes them for a chosen number.
    void reject() override;

signals:
    // The owner plays it only while sound is on.
    void soundRequested(const QString &fileName);
    void helpRequested(int topic);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void btOKClick();
    void btCancelClick();
    void showCurrentNumber();

    ModalRunner &m_runner;
    const std::int32_t m_currentGameNumber;
    std::int32_t m_chosenNumber = 0;
};

} // namespace vespin
