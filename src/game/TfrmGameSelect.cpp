#include "TfrmGameSelect.h"
#include "widgets/DialogPlacement.h"

#include "game/GameNumberText.h"
#include "shell/Services.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace vespin {

namespace {

const QString Caption = QStringLiteral("Select Game");
constexpr int HelpTopic = 9;

} // namespace

TfrmGameSelect::TfrmGameSelect(ModalRunner &runner, std::int32_t currentGameNumber, QWidget *mainWindow)
    : QDialog(mainWindow, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      m_runner(runner),
      m_currentGameNumber(currentGameNumber)
{
    setObjectName(QStringLiteral("frmGameSelect"));
    setWindowTitle(Caption);

    auto *prompt = new QLabel(QStringLiteral("Select a Game number from 1 to 2147483647:"), this);
    edGameNumber = new QLineEdit(this);
    edGameNumber->setObjectName(QStringLiteral("edGameNumber"));
    // The largest game number has 10 digits.
    edGameNumber->setMaxLength(10);
    prompt->setBuddy(edGameNumber);

    btOK = new QPushButton(QStringLiteral("&OK"), this);
    btOK->setObjectName(QStringLiteral("btOK"));
    btOK->setDefault(true);
    btCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    btCancel->setObjectName(QStringLiteral("btCancel"));
    btHelp = new QPushButton(QStringLiteral("Help"), this);
    btHelp->setObjectName(QStringLiteral("btHelp"));
    // Only OK answers Return, wherever the focus is.
    btCancel->setAutoDefault(false);
    btHelp->setAutoDefault(false);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btOK);
    buttons->addWidget(btCancel);
    buttons->addWidget(btHelp);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 12);
    layout->addWidget(prompt);
    layout->addWidget(edGameNumber);
    layout->addSpacing(10);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(btOK, &QPushButton::clicked, this, &TfrmGameSelect::btOKClick);
    connect(btCancel, &QPushButton::clicked, this, &TfrmGameSelect::btCancelClick);
    connect(btHelp, &QPushButton::clicked, this, [this] { emit helpRequested(HelpTopic); });

    // The fixed size is only known once the layout has run.
    adjustSize();
    centreOverMainWindow(*this, mainWindow);
}

void TfrmGameSelect::FormActivate()
{
    showCurrentNumber();
    Cancelled = false;
    emit soundRequested(QStringLiteral("Select.wav"));
}

void TfrmGameSelect::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // Spontaneous shows come from the window system (a restore from the
    // task bar) and must not throw away what the player has typed.
    if (!event->spontaneous())
        FormActivate();
}

void TfrmGameSelect::showCurrentNumber()
{
    edGameNumber->setText(QString::number(m_currentGameNumber));
    edGameNumber->selectAll();
    edGameNumber->setFocus();
}

void TfrmGameSelect::btOKClick()
{
    const std::int32_t number = parseGameNumber(edGameNumber->text());
    if (number <= 0) {
        showMessage(m_runner, QMessageBox::Warning, Caption, QStringLiteral("That`s not a valid Game number!"),
                    QMessageBox::Retry, this);
        showCurrentNumber();
        return;
    }
    m_chosenNumber = number;
    accept();
}

void TfrmGameSelect::btCancelClick()
{
    reject();
}

void TfrmGameSelect::reject()
{
    Cancelled = true;
    QDialog::reject();
}

} // namespace vespin
