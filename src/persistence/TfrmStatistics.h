#pragma once

#include <QDialog>
#include <QLocale>

#include <array>

class QGroupBox;
class QLabel;
class QPushButton;
class QTabWidget;

namespace vespin {

class ModalRunner;
struct Statistics;

// The games played and won, overall and in this run, and the fastest win.
class TfrmStatistics : public QDialog {
    Q_OBJECT

public:
    // statistics: changed in place by Clear Stats. mainWindow: the window it
    // is centred over; may be null.
    TfrmStatistics(ModalRunner &runner, Statistics &statistics, QLocale locale, QWidget *mainWindow);

    // What showing the dialog does, callable without showing it.
    void FormActivate();

    // Brings the Best Player page to the front, when there is a best player.
    void showBestPlayerPage();

    // Set by the owner before showing, when the game just won beat the best
    // time; the dialog then applauds.
    bool newSuperRecord = false;

    QTabWidget *PageControl = nullptr;
    QWidget *tsOverall = nullptr;
    QWidget *tsSession = nullptr;
    QWidget *tsBestPlayer = nullptr;
    std::array<QLabel *, 4> Tot{}; // Tot1..Tot4
    std::array<QLabel *, 4> Ses{}; // Ses1..Ses4
    QGroupBox *gbSuperPlayer = nullptr;
    QLabel *lblName = nullptr;
    QLabel *lblTime = nullptr;
    QLabel *lblWhen = nullptr;
    QLabel *lblGameNumber = nullptr;
    QPushButton *btOK = nullptr;
    QPushButton *btClear = nullptr;
    QPushButton *btHelp = nullptr;

signals:
    // The owner plays it only while sound is on.
    void soundRequested(const QString &fileName);
    void helpRequested(int topic);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void InitializeCaptions();
    void updateBestPlayerPage();
    void btClearClick();

    ModalRunner &m_runner;
    Statistics &m_statistics;
    const QLocale m_locale;
};

} // namespace vespin
