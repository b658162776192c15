#pragma once

#include <QDialog>

#include <array>
#include <cstdint>

class QComboBox;
class QPushButton;

namespace vespin {

class ModalRunner;

// A hidden list of games known to be winnable, one of them singled out.
class TfrmSecretGameList : public QDialog {
    Q_OBJECT

public:
    static constexpr int GhostsPickIndex = 89;

    // centreOver: the window it is centred over; may be null.
    TfrmSecretGameList(ModalRunner &runner, QWidget *centreOver);

    static const std::array<std::int32_t, 109> &secretGames();

    // What showing the dialog does, callable without showing it.
    void FormActivate();

    // The number accepted with Play; 0 until then.
    std::int32_t chosenNumber() const { return m_chosenNumber; }

    QComboBox *ComboBox = nullptr;
    QPushButton *btPlay = nullptr;
    QPushButton *btCancel = nullptr;
    QPushButton *btPick = nullptr;

signals:
    // The owner plays it only while sound is on.
    void soundRequested(const QString &fileName);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void btPickClick();
    void btPlayClick();

    ModalRunner &m_runner;
    std::int32_t m_chosenNumber = 0;
};

} // namespace vespin
