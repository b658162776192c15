#include "TfrmTopten.h"

#include "game/TfrmSecretGameList.h"
#include "widgets/ContextHelp.h"
#include "widgets/DialogPlacement.h"
#include "persistence/Records.h"
#include "shell/Services.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include <array>

namespace vespin {

namespace {

const QString Caption = QStringLiteral("Vespintide Hall of Fame");
constexpr int HelpTopic = 4;
const QString SecretWord = QStringLiteral("MOONLANTERNS");

enum Column { RankColumn = 1, NameColumn, ScoreColumn, TimeColumn, GameNumberColumn };

// The score table: headers on the panel, the ten rows on a patch of the
// player's own table colour, so the Hall of Fame looks like part of the game.
class ScorePanel : public QFrame {
public:
    ScorePanel(QColor colour, QWidget *parent) : QFrame(parent), m_colour(colour)
    {
        setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    }

    // The first and last label of the rows, set once the grid is built.
    QWidget *topLeft = nullptr;
    QWidget *bottomRight = nullptr;

protected:
    void paintEvent(QPaintEvent *event) override
    {
        QFrame::paintEvent(event);
        if (!topLeft || !bottomRight)
            return;
        QRect rows = topLeft->geometry().united(bottomRight->geometry());
        rows.adjust(-10, -6, 10, 6);
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(m_colour.darker(140), 1));
        p.setBrush(m_colour);
        p.drawRoundedRect(QRectF(rows).adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
    }

private:
    QColor m_colour;
};

} // namespace

TfrmTopten::TfrmTopten(ModalRunner &runner, TopTen &topTen, QColor tableColour, QWidget *mainWindow)
    : QDialog(mainWindow, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint
                              | Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint),
      m_runner(runner),
      m_topTen(topTen)
{
    setObjectName(QStringLiteral("frmTopten"));
    setWindowTitle(Caption);

    auto *panel = new ScorePanel(tableColour, this);
    panel->setObjectName(QStringLiteral("Panel1"));
    auto *grid = new QGridLayout(panel);
    grid->setContentsMargins(22, 14, 22, 18);
    grid->setHorizontalSpacing(22);
    grid->setVerticalSpacing(3);
    // The rows' coloured patch reaches past the labels; keep it off the headers.
    grid->setRowMinimumHeight(1, 8);

    static const std::array<QString, 5> headers{
        QStringLiteral("Rank"), QStringLiteral("Name"), QStringLiteral("Score"),
        QStringLiteral("Time"), QStringLiteral("Gamenumber"),
    };
    static const std::array<QString, 5> prefixes{
        QStringLiteral("R"), QStringLiteral("P"), QStringLiteral("S"), QStringLiteral("T"), QStringLiteral("G"),
    };
    auto alignmentOf = [](int column) -> Qt::Alignment {
        if (column == NameColumn)
            return Qt::AlignLeft | Qt::AlignVCenter;
        if (column == RankColumn)
            return Qt::AlignHCenter | Qt::AlignVCenter;
        return Qt::AlignRight | Qt::AlignVCenter;
    };

    QFont headerFont = font();
    headerFont.setBold(true);
    headerFont.setUnderline(true);
    QFont rowFont = font();
    rowFont.setBold(true);
    const QFontMetrics rowMetrics(rowFont);

    for (int column = RankColumn; column <= GameNumberColumn; ++column) {
        auto *header = new QLabel(headers[std::size_t(column - 1)], panel);
        header->setFont(headerFont);
        header->setAlignment(alignmentOf(column));
        grid->addWidget(header, 0, column - 1);
        for (int row = 1; row <= TopTen::Rows; ++row) {
            auto *label = new QLabel(panel);
            const int tag = column * 100 + row;
            label->setObjectName(prefixes[std::size_t(column - 1)] + QString::number(row));
            label->setProperty("tag", tag);
            label->setFont(rowFont);
            label->setAlignment(alignmentOf(column));
            QPalette white = label->palette();
            white.setColor(QPalette::WindowText, Qt::white);
            label->setPalette(white);
            if (column == RankColumn)
                label->setText(QString::number(row));
            grid->addWidget(label, row + 1, column - 1);
            m_labels[tag] = label;
        }
    }
    // Widths fixed for the longest possible entries, so that no set of
    // scores resizes the dialog after it has been centred.
    labelByTag(NameColumn * 100 + 1)->setMinimumWidth(rowMetrics.averageCharWidth() * 25);
    labelByTag(ScoreColumn * 100 + 1)->setMinimumWidth(rowMetrics.horizontalAdvance(QStringLiteral("-2147483648")));
    labelByTag(GameNumberColumn * 100 + 1)->setMinimumWidth(rowMetrics.horizontalAdvance(QStringLiteral("2147483647")));
    grid->setColumnStretch(NameColumn - 1, 1);
    panel->topLeft = labelByTag(RankColumn * 100 + 1);
    panel->bottomRight = labelByTag(GameNumberColumn * 100 + TopTen::Rows);

    for (int row = 1; row <= TopTen::Rows; ++row) {
        QLabel *gameNumber = labelByTag(GameNumberColumn * 100 + row);
        gameNumber->setToolTip(QStringLiteral("Double-click to play this game again"));
        gameNumber->setCursor(Qt::PointingHandCursor);
        gameNumber->installEventFilter(this);
    }

    btOK = new QPushButton(QStringLiteral("OK"), this);
    btOK->setObjectName(QStringLiteral("btOK"));
    btOK->setDefault(true);
    btOK->setProperty("helpTopic", 128);
    btClearScores = new QPushButton(QStringLiteral("Clear Scores"), this);
    btClearScores->setObjectName(QStringLiteral("btClearScores"));
    btClearScores->setProperty("helpTopic", 143);
    btHelp = new QPushButton(QStringLiteral("Help"), this);
    btHelp->setObjectName(QStringLiteral("btHelp"));
    btClearScores->setAutoDefault(false);
    btHelp->setAutoDefault(false);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btOK);
    buttons->addWidget(btClearScores);
    buttons->addWidget(btHelp);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(12);
    layout->addWidget(panel);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(btOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(btClearScores, &QPushButton::clicked, this, &TfrmTopten::btClearScoresClick);
    connect(btHelp, &QPushButton::clicked, this, [this] { emit helpRequested(HelpTopic); });
    auto *contextHelp = new ContextHelp(*this);
    connect(contextHelp, &ContextHelp::requested, this, &TfrmTopten::contextHelpRequested);

    InitializeCaptions();
    adjustSize();
    centreOverMainWindow(*this, mainWindow);
}

QLabel *TfrmTopten::labelByTag(int tag) const
{
    const auto found = m_labels.find(tag);
    return found == m_labels.end() ? nullptr : found->second;
}

std::optional<std::int32_t> TfrmTopten::nextGame() const
{
    if (SecretGamePicked)
        return m_secretNumber;
    if (m_replayPicked)
        return m_replayNumber;
    return std::nullopt;
}

void TfrmTopten::FormActivate()
{
    SecretKeyCount = 0;
    InitializeCaptions();
    btOK->setFocus();
}

void TfrmTopten::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // A restore from the task bar is no new visit and keeps a half-typed word.
    if (!event->spontaneous())
        FormActivate();
}

void TfrmTopten::InitializeCaptions()
{
    for (auto &[tag, label] : m_labels) {
        const int column = tag / 100;
        const int row = tag % 100;
        if (column == RankColumn || row < 1 || row > TopTen::Rows)
            continue;
        const TopTenEntry &entry = m_topTen.rows[std::size_t(row - 1)];
        switch (column) {
        case NameColumn: label->setText(entry.name); break;
        case ScoreColumn: label->setText(QString::number(entry.score)); break;
        case TimeColumn: label->setText(QString::number(entry.time)); break;
        case GameNumberColumn: label->setText(QString::number(entry.gameNumber)); break;
        default: break;
        }
    }
    // Judged by what the table shows: nothing to clear when the best row is
    // still the one a fresh table starts with.
    const bool untouched = labelByTag(NameColumn * 100 + 1)->text() == QStringLiteral("Player 1")
        && labelByTag(ScoreColumn * 100 + 1)->text() == QStringLiteral("0")
        && labelByTag(TimeColumn * 100 + 1)->text() == QStringLiteral("9999");
    btClearScores->setEnabled(!untouched);
}

void TfrmTopten::btClearScoresClick()
{
    const auto answer = showMessage(m_runner, QMessageBox::Question, Caption,
                                    QStringLiteral("Are you sure you want to clear the scores?"),
                                    QMessageBox::Yes | QMessageBox::No, this);
    if (answer != QMessageBox::Yes)
        return;
    for (int row = 1; row <= TopTen::Rows; ++row)
        m_topTen.rows[std::size_t(row - 1)] = TopTenEntry{QStringLiteral("Player %1").arg(row), 0, 9999, 1};
    InitializeCaptions();
}

bool TfrmTopten::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonDblClick) {
        auto *label = qobject_cast<QLabel *>(watched);
        if (label && label->property("tag").toInt() / 100 == GameNumberColumn) {
            G1DblClick(label);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmTopten::keyPressEvent(QKeyEvent *event)
{
    // Letters typed on a button arrive here too: the buttons have no
    // mnemonics and pass on every key but Space and Return.
    if (!event->text().isEmpty())
        btOKKeyPress(event->text());
    QDialog::keyPressEvent(event);
}

void TfrmTopten::btOKKeyPress(const QString &text)
{
    ++SecretKeyCount;
    const QChar expected = SecretKeyCount <= SecretWord.size() ? SecretWord.at(SecretKeyCount - 1) : QChar();
    if (text.toUpper() != QString(expected)) {
        // The wrong key is not taken as the first letter of a new try.
        SecretKeyCount = 0;
        return;
    }
    if (SecretKeyCount == SecretWord.size())
        openSecretList();
}

void TfrmTopten::openSecretList()
{
    TfrmSecretGameList list(m_runner, this);
    SecretKeyCount = 0;
    connect(&list, &TfrmSecretGameList::soundRequested, this, &TfrmTopten::soundRequested);
    if (m_runner.run(list) != QDialog::Accepted)
        return;
    m_secretNumber = list.chosenNumber();
    SecretGamePicked = true;
    accept();
}

void TfrmTopten::G1DblClick(QLabel *label)
{
    m_replayNumber = label->text().toInt();
    m_replayPicked = true;
    accept();
}

} // namespace vespin
