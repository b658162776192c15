#pragma once

#include "Services.h"

#include <QDialog>
#include <QLocale>

class QLabel;
class QPushButton;

namespace vespin {

// The operating-system line: "Linux 6.1 (Build 12: Debian GNU/Linux 12
// (bookworm))", without the part after the colon when the distribution
// gives no name.
QString operatingSystemText(const OperatingSystem &os);
// Total memory in whole KB with the locale's thousands separators.
QString memoryText(std::uint64_t bytes, const QLocale &locale);

// What the About box shows of the machine and the player.
struct AboutFacts {
    OperatingSystem os;
    std::uint64_t memoryBytes = 0;
    QString userFullName;   // the account's recorded name; may be empty
    QString playerName;     // shown when the account has none
    QLocale locale;
};

class TAboutBox : public QDialog {
    Q_OBJECT

public:
    static constexpr auto HomePage = "https://vespintide.example.org/";

    TAboutBox(AboutFacts facts, QWidget *mainWindow);

    // What showing the box does, callable without showing it.
    void FormActivate();
    void ShowSystemInfo();
    void ShowOSVersion();
    // Opens the home page in the desktop's browser.
    void URLClick();

    QLabel *Version = nullptr;
    QLabel *Comments = nullptr;
    QLabel *URL = nullptr;
    QLabel *UserName = nullptr;
    QLabel *OSVersion = nullptr;
    QLabel *PhysMem = nullptr;
    QPushButton *OKButton = nullptr;

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    AboutFacts m_facts;
};

} // namespace vespin
