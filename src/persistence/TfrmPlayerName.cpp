#include "TfrmPlayerName.h"

#include "widgets/VectorPicture.h"

#include "widgets/ContextHelp.h"
#include "widgets/DialogPlacement.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QShowEvent>

namespace vespin {

namespace {

constexpr int MaxNameLength = 25;

// A name card with a head and shoulders on it, drawn on a 32-unit square and
// scaled, so it stays crisp at any pixel ratio.
QPixmap nameCardPicture(int size, qreal ratio)
{
    return vectorPicture(size, ratio, [](QPainter &p) {
        const QColor ink(0x2f, 0x3b, 0x52);
        QLinearGradient card(0, 5, 0, 29);
        card.setColorAt(0, QColor(0xfd, 0xf6, 0xdc));
        card.setColorAt(1, QColor(0xf1, 0xdf, 0xa6));
        p.setPen(QPen(ink, 1.1));
        p.setBrush(card);
        p.drawRoundedRect(QRectF(1.5, 6.5, 29, 20), 2.5, 2.5);

        // A clip hole at the top, as on a badge.
        p.setBrush(Qt::white);
        p.drawRoundedRect(QRectF(12.5, 3, 7, 3.5), 1.2, 1.2);

        // The portrait.
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x3f, 0x6f, 0xb5));
        QPainterPath shoulders;
        shoulders.moveTo(4.5, 24);
        shoulders.cubicTo(4.5, 19, 7, 17.5, 9.5, 17.5);
        shoulders.cubicTo(12, 17.5, 14.5, 19, 14.5, 24);
        shoulders.closeSubpath();
        p.drawPath(shoulders);
        p.setBrush(QColor(0xe8, 0xb0, 0x8a));
        p.drawEllipse(QRectF(6.8, 10, 5.4, 6.2));

        // Lines standing for the written name.
        p.setPen(QPen(ink, 1.6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(17.5, 13), QPointF(27, 13));
        p.setPen(QPen(ink.lighter(170), 1.4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(17.5, 17.5), QPointF(25, 17.5));
        p.drawLine(QPointF(17.5, 21.5), QPointF(22.5, 21.5));
    });
}

} // namespace

TfrmPlayerName::TfrmPlayerName(const QString &name, bool showNameBox, QWidget *mainWindow)
    : QDialog(mainWindow, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint),
      m_name(name),
      m_showNameBox(showNameBox)
{
    setObjectName(QStringLiteral("frmPlayerName"));
    setWindowTitle(QStringLiteral("Your Name Please..."));

    auto *icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("Image1"));
    icon->setPixmap(nameCardPicture(48, devicePixelRatioF()));
    icon->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    auto *message = new QLabel(
        QStringLiteral("Please enter your name below. Just in case you make the Top Ten Score Box..."), this);
    message->setWordWrap(true);
    // Word wrap alone would let the label squeeze itself into a tall column.
    message->setFixedWidth(280);

    edPlayer = new QLineEdit(this);
    edPlayer->setObjectName(QStringLiteral("edPlayer"));
    edPlayer->setMaxLength(MaxNameLength);
    edPlayer->setProperty("helpTopic", 141);
    message->setBuddy(edPlayer);

    cbShowPlayerName = new QCheckBox(QStringLiteral("Show this box at startup"), this);
    cbShowPlayerName->setObjectName(QStringLiteral("cbShowPlayerName"));
    cbShowPlayerName->setProperty("helpTopic", 142);

    BitBtn1 = new QPushButton(QStringLiteral("OK"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setDefault(true);
    BitBtn1->setProperty("helpTopic", 128);

    auto *bottom = new QHBoxLayout;
    bottom->addWidget(cbShowPlayerName);
    bottom->addStretch();
    bottom->addWidget(BitBtn1);

    auto *layout = new QGridLayout(this);
    layout->setContentsMargins(16, 16, 16, 12);
    layout->setHorizontalSpacing(14);
    layout->setVerticalSpacing(10);
    layout->addWidget(icon, 0, 0, 2, 1);
    layout->addWidget(message, 0, 1);
    layout->addWidget(edPlayer, 1, 1);
    layout->setRowMinimumHeight(2, 4);
    layout->addLayout(bottom, 3, 0, 1, 2);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    auto *help = new ContextHelp(*this);
    connect(help, &ContextHelp::requested, this, &TfrmPlayerName::contextHelpRequested);

    // Closed before it was ever shown, it must still give back what it got.
    edPlayer->setText(m_name);
    cbShowPlayerName->setChecked(m_showNameBox);

    adjustSize();
    centreOverMainWindow(*this, mainWindow);
}

void TfrmPlayerName::FormActivate()
{
    cbShowPlayerName->setChecked(m_showNameBox);
    edPlayer->setText(m_name);
    edPlayer->selectAll();
    edPlayer->setFocus();
}

void TfrmPlayerName::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // A restore from the task bar must not throw away what has been typed.
    if (!event->spontaneous())
        FormActivate();
}

void TfrmPlayerName::reject()
{
    accept();
}

void TfrmPlayerName::done(int)
{
    // Taken as typed: the Top Ten shows the name exactly so, even empty. A
    // stored name longer than can be typed stays whole unless it is edited.
    if (edPlayer->isModified())
        m_name = edPlayer->text();
    m_showNameBox = cbShowPlayerName->isChecked();
    QDialog::done(QDialog::Accepted);
}

} // namespace vespin
