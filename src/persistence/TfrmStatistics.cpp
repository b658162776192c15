#include "TfrmStatistics.h"

#include "widgets/DialogPlacement.h"
#include "persistence/Records.h"
#include "persistence/StatisticsFormat.h"
#include "shell/Services.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace vespin {

namespace {

const QString Caption = QStringLiteral("Vespintide Statistics");
const QString NoFigure = QStringLiteral("-");
constexpr int HelpTopic = 6;
constexpr std::int32_t NoSuperTime = 9999;

// One page of four figures; the value labels are returned in order.
std::array<QLabel *, 4> buildFiguresPage(QWidget *page, const QString &namePrefix)
{
    static const std::array<QString, 4> captions{
        QStringLiteral("Games Played:"),
        QStringLiteral("Games Won:"),
        QStringLiteral("Average Score:"),
        QStringLiteral("Winning Percentage:"),
    };
    std::array<QLabel *, 4> values{};
    auto *grid = new QGridLayout(page);
    grid->setContentsMargins(24, 18, 24, 18);
    grid->setHorizontalSpacing(24);
    grid->setVerticalSpacing(10);
    for (int i = 0; i < 4; ++i) {
        auto *caption = new QLabel(captions[std::size_t(i)], page);
        auto *value = new QLabel(NoFigure, page);
        value->setObjectName(namePrefix + QString::number(i + 1));
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        // Room for a long figure, so the dialog keeps its size when filled.
        value->setMinimumWidth(value->fontMetrics().horizontalAdvance(QStringLiteral("0000000000")));
        grid->addWidget(caption, i, 0);
        grid->addWidget(value, i, 1);
        values[std::size_t(i)] = value;
    }
    grid->setColumnStretch(0, 1);
    grid->setRowStretch(4, 1);
    return values;
}

void showFigures(const std::array<QLabel *, 4> &labels, std::int32_t played, std::int32_t won, std::int32_t score,
                 const QLocale &locale)
{
    if (played <= 0)
        return;
    labels[0]->setText(QString::number(played));
    labels[1]->setText(QString::number(won));
    labels[2]->setText(averageText(score, played, locale));
    labels[3]->setText(percentageText(won, played, locale));
}

} // namespace

TfrmStatistics::TfrmStatistics(ModalRunner &runner, Statistics &statistics, QLocale locale, QWidget *mainWindow)
    : QDialog(mainWindow, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint
                              | Qt::WindowMinimizeButtonHint),
      m_runner(runner),
      m_statistics(statistics),
      m_locale(std::move(locale))
{
    setObjectName(QStringLiteral("frmStatistics"));
    setWindowTitle(Caption);

    PageControl = new QTabWidget(this);
    PageControl->setObjectName(QStringLiteral("PageControl"));

    tsOverall = new QWidget;
    tsOverall->setObjectName(QStringLiteral("tsOverall"));
    Tot = buildFiguresPage(tsOverall, QStringLiteral("Tot"));
    PageControl->addTab(tsOverall, QStringLiteral("Overall Statistics"));

    tsSession = new QWidget;
    tsSession->setObjectName(QStringLiteral("tsSession"));
    Ses = buildFiguresPage(tsSession, QStringLiteral("Ses"));
    PageControl->addTab(tsSession, QStringLiteral("Session Statistics"));

    tsBestPlayer = new QWidget;
    tsBestPlayer->setObjectName(QStringLiteral("tsBestPlayer"));
    gbSuperPlayer = new QGroupBox(QStringLiteral("Vespintide Superplayer: "), tsBestPlayer);
    gbSuperPlayer->setObjectName(QStringLiteral("gbSuperPlayer"));
    QPalette titlePalette = gbSuperPlayer->palette();
    titlePalette.setColor(QPalette::WindowText, Qt::red);
    titlePalette.setColor(QPalette::Text, Qt::red);
    gbSuperPlayer->setPalette(titlePalette);
    QFont titleFont = gbSuperPlayer->font();
    titleFont.setBold(true);
    gbSuperPlayer->setFont(titleFont);

    auto *superLayout = new QVBoxLayout(gbSuperPlayer);
    superLayout->setContentsMargins(16, 12, 16, 12);
    superLayout->setSpacing(8);
    auto makeNavy = [this, superLayout](const char *name) {
        auto *label = new QLabel(gbSuperPlayer);
        label->setObjectName(QString::fromLatin1(name));
        // The group box's bold red is for its title only.
        QFont plain = label->font();
        plain.setBold(false);
        label->setFont(plain);
        QPalette navy = label->palette();
        navy.setColor(QPalette::WindowText, QColor(0x00, 0x00, 0x80));
        label->setPalette(navy);
        superLayout->addWidget(label);
        return label;
    };
    lblName = makeNavy("lblName");
    lblTime = makeNavy("lblTime");
    lblWhen = makeNavy("lblWhen");
    lblGameNumber = makeNavy("lblGameNumber");
    auto *bestLayout = new QVBoxLayout(tsBestPlayer);
    bestLayout->setContentsMargins(14, 12, 14, 12);
    bestLayout->addWidget(gbSuperPlayer);
    bestLayout->addStretch();
    PageControl->addTab(tsBestPlayer, QStringLiteral("Best Player"));
    // Wide enough for all three tabs, so that the tab bar never scrolls when
    // the Best Player page comes and goes.
    PageControl->setMinimumWidth(PageControl->tabBar()->sizeHint().width() + 8);
    PageControl->setTabVisible(PageControl->indexOf(tsBestPlayer), false);

    btOK = new QPushButton(QStringLiteral("&OK"), this);
    btOK->setObjectName(QStringLiteral("btOK"));
    btOK->setDefault(true);
    btClear = new QPushButton(QStringLiteral("&Clear Stats"), this);
    btClear->setObjectName(QStringLiteral("btClear"));
    btClear->setEnabled(false);
    btHelp = new QPushButton(QStringLiteral("&Help"), this);
    btHelp->setObjectName(QStringLiteral("btHelp"));
    // Only OK answers Return, wherever the focus is.
    btClear->setAutoDefault(false);
    btHelp->setAutoDefault(false);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btOK);
    buttons->addWidget(btClear);
    buttons->addWidget(btHelp);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(12);
    layout->addWidget(PageControl);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(btOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(btClear, &QPushButton::clicked, this, &TfrmStatistics::btClearClick);
    connect(btHelp, &QPushButton::clicked, this, [this] { emit helpRequested(HelpTopic); });

    // The Best Player page may be asked for before the first show; its size
    // must count as well, so the texts are set now.
    updateBestPlayerPage();
    adjustSize();
    centreOverMainWindow(*this, mainWindow);
}

void TfrmStatistics::FormActivate()
{
    if (newSuperRecord)
        emit soundRequested(QStringLiteral("Clap.wav"));
    InitializeCaptions();
    btOK->setFocus();
}

void TfrmStatistics::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // A restore from the task bar is no new visit and must not applaud again.
    if (!event->spontaneous())
        FormActivate();
}

void TfrmStatistics::showBestPlayerPage()
{
    updateBestPlayerPage();
    if (PageControl->isTabVisible(PageControl->indexOf(tsBestPlayer)))
        PageControl->setCurrentWidget(tsBestPlayer);
}

void TfrmStatistics::InitializeCaptions()
{
    const Statistics &s = m_statistics;
    if (s.GamesPlayed > 0) {
        showFigures(Tot, s.GamesPlayed, s.GamesWon, s.TotalScore, m_locale);
        btClear->setEnabled(true);
    }
    // A run's own games are no reason to offer clearing what is stored.
    showFigures(Ses, s.SessionGames, s.SessionWon, s.SessionScore, m_locale);
    updateBestPlayerPage();
}

void TfrmStatistics::updateBestPlayerPage()
{
    const Statistics &s = m_statistics;
    const bool hasBest = s.SuperTime != NoSuperTime;
    if (hasBest) {
        lblName->setText(QStringLiteral("Name: ") + s.SuperPlayer);
        lblTime->setText(QStringLiteral("Time: ") + QString::number(s.SuperTime));
        lblWhen->setText(QStringLiteral("When: ") + s.SuperDate);
        lblGameNumber->setText(QStringLiteral("Gamenumber: ") + QString::number(s.SuperGame));
    }
    PageControl->setTabVisible(PageControl->indexOf(tsBestPlayer), hasBest);
}

void TfrmStatistics::btClearClick()
{
    const auto answer =
        showMessage(m_runner, QMessageBox::Question, Caption,
                    QStringLiteral("Are you sure you want to clear the statistics?"),
                    QMessageBox::Yes | QMessageBox::No, this);
    if (answer != QMessageBox::Yes)
        return;

    PageControl->setCurrentWidget(tsOverall);
    PageControl->setTabVisible(PageControl->indexOf(tsBestPlayer), false);
    Statistics &s = m_statistics;
    s.GamesPlayed = 0;
    s.GamesWon = 0;
    s.TotalScore = 0;
    s.SuperPlayer.clear();
    s.SuperTime = NoSuperTime;
    s.SuperDate.clear();
    s.SuperGame = 0;
    s.SessionGames = 0;
    s.SessionScore = 0;
    s.SessionWon = 0;
    for (QLabel *label : Tot)
        label->setText(NoFigure);
    for (QLabel *label : Ses)
        label->setText(NoFigure);
    btClear->setEnabled(false);
}

} // namespace vespin
