#pragma once

#include <QDialog>
#include <QStringList>

class QCheckBox;
class QLabel;
class QPushButton;

namespace vespin {

// One line of the tips file at start-up, with stepping through the others.
class TfrmTipOfTheDay : public QDialog {
    Q_OBJECT

public:
    // tipsFile: the file to read at activation; tipNumber: the line shown
    // last time; showTips: the check box as it opens.
    TfrmTipOfTheDay(QString tipsFile, int tipNumber, bool showTips, QWidget *mainWindow);

    // What showing the dialog does, callable without showing it.
    void FormActivate();
    // Next Tip and Previous.
    void bClick();
    void ShowTip(bool forward);

    // The line shown last, and the check box: what start-up stores.
    int tipNumber() const { return m_tipNumber; }
    bool showTips() const;

    QLabel *lbTitle = nullptr;
    QLabel *lbText = nullptr;
    QPushButton *btClose = nullptr;
    QPushButton *btNext = nullptr;
    QPushButton *btPrevious = nullptr;
    QCheckBox *cbShowTips = nullptr;

protected:
    void showEvent(QShowEvent *event) override;

private:
    QString m_tipsFile;
    QStringList m_lines;
    int m_tipNumber;
    bool m_activated = false;
};

} // namespace vespin
