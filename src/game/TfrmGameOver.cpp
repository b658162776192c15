#include "TfrmGameOver.h"

#include "widgets/VectorPicture.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include <cmath>
#include <numbers>

namespace vespin {

namespace {

// A gold cup on a plinth, drawn on a 32-unit square and scaled, so it stays
// crisp at any pixel ratio.
QPixmap trophyPicture(int size, qreal ratio)
{
    return vectorPicture(size, ratio, [](QPainter &p) {
        const QPen outline(QColor(0x6b, 0x45, 0x10), 1.1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);

        // Handles first, so the cup covers their inner ends.
        p.setPen(QPen(QColor(0x6b, 0x45, 0x10), 3.6, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(3, 5.5, 9, 10), 90 * 16, 180 * 16);
        p.drawArc(QRectF(20, 5.5, 9, 10), -90 * 16, 180 * 16);
        p.setPen(QPen(QColor(0xf2, 0xb1, 0x2a), 1.8, Qt::SolidLine, Qt::RoundCap));
        p.drawArc(QRectF(3, 5.5, 9, 10), 90 * 16, 180 * 16);
        p.drawArc(QRectF(20, 5.5, 9, 10), -90 * 16, 180 * 16);

        QPainterPath cup;
        cup.moveTo(7.5, 4);
        cup.lineTo(24.5, 4);
        cup.cubicTo(24.5, 13, 21.5, 18, 17.5, 19.5);
        cup.lineTo(17.5, 23);
        cup.lineTo(14.5, 23);
        cup.lineTo(14.5, 19.5);
        cup.cubicTo(10.5, 18, 7.5, 13, 7.5, 4);
        cup.closeSubpath();
        QLinearGradient gold(7.5, 0, 24.5, 0);
        gold.setColorAt(0, QColor(0xff, 0xe3, 0x7a));
        gold.setColorAt(0.45, QColor(0xf2, 0xb1, 0x2a));
        gold.setColorAt(1, QColor(0xc9, 0x82, 0x1a));
        p.setPen(outline);
        p.setBrush(gold);
        p.drawPath(cup);

        // The plinth, in dark wood with a gold plate.
        p.setBrush(QColor(0x8a, 0x5a, 0x34));
        p.drawRoundedRect(QRectF(10, 23, 12, 3), 1, 1);
        p.drawRoundedRect(QRectF(8, 26, 16, 4.5), 1, 1);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0xff, 0xe3, 0x7a));
        p.drawRect(QRectF(12.5, 27.3, 7, 1.9));

        // A star on the cup and a glint on its rim.
        QPainterPath star;
        for (int i = 0; i < 10; ++i) {
            const qreal radius = i % 2 ? 1.5 : 3.6;
            const qreal angle = -std::numbers::pi / 2 + i * std::numbers::pi / 5;
            const QPointF point(16 + radius * std::cos(angle), 10.8 + radius * std::sin(angle));
            i ? star.lineTo(point) : star.moveTo(point);
        }
        star.closeSubpath();
        p.setBrush(QColor(0xff, 0xf6, 0xd0));
        p.setPen(QPen(QColor(0xb0, 0x74, 0x18), 0.6));
        p.drawPath(star);
        p.setPen(QPen(QColor(255, 255, 255, 200), 1.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(10, 6.5), QPointF(10.6, 10.5));
    });
}

} // namespace

TfrmGameOver::TfrmGameOver(QWidget *mainWindow)
    : QDialog(mainWindow, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("frmGameOver"));
    setWindowTitle(QStringLiteral("Game Over"));

    auto *trophy = new QLabel(this);
    trophy->setObjectName(QStringLiteral("imTrophy"));
    trophy->setPixmap(trophyPicture(48, devicePixelRatioF()));
    trophy->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    auto *congratulations = new QLabel(QStringLiteral("Congratulations, you win!"), this);
    QFont bold = congratulations->font();
    bold.setBold(true);
    congratulations->setFont(bold);
    auto *question = new QLabel(QStringLiteral("Do you want to play again?"), this);

    cbSelectGame = new QCheckBox(QStringLiteral("&Select Game"), this);
    cbSelectGame->setObjectName(QStringLiteral("cbSelectGame"));
    cbReplayGame = new QCheckBox(QStringLiteral("&Replay Game"), this);
    cbReplayGame->setObjectName(QStringLiteral("cbReplayGame"));
    // Either, or neither (a fresh deal): a button group's exclusivity would
    // not let the player take a tick back.
    connect(cbSelectGame, &QCheckBox::toggled, this, [this](bool checked) {
        if (checked)
            cbReplayGame->setChecked(false);
    });
    connect(cbReplayGame, &QCheckBox::toggled, this, [this](bool checked) {
        if (checked)
            cbSelectGame->setChecked(false);
    });

    btYes = new QPushButton(QStringLiteral("&Yes"), this);
    btYes->setObjectName(QStringLiteral("btYes"));
    btYes->setDefault(true);
    btNo = new QPushButton(QStringLiteral("&No"), this);
    btNo->setObjectName(QStringLiteral("btNo"));
    connect(btYes, &QPushButton::clicked, this, &QDialog::accept);
    connect(btNo, &QPushButton::clicked, this, &TfrmGameOver::reject);

    auto *text = new QVBoxLayout;
    text->setSpacing(4);
    text->addWidget(congratulations);
    text->addWidget(question);
    text->addSpacing(8);
    text->addWidget(cbSelectGame);
    text->addWidget(cbReplayGame);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btYes);
    buttons->addWidget(btNo);
    buttons->addStretch();

    auto *layout = new QGridLayout(this);
    layout->setContentsMargins(16, 16, 16, 12);
    layout->setHorizontalSpacing(14);
    layout->addWidget(trophy, 0, 0);
    layout->addLayout(text, 0, 1);
    layout->setRowMinimumHeight(1, 10);
    layout->addLayout(buttons, 2, 0, 1, 2);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    adjustSize();
    if (mainWindow) {
        const QPoint main = mainWindow->frameGeometry().topLeft();
        move(main.x() + 380, main.y() + 200);
    }
}

void TfrmGameOver::FormActivate()
{
    btYes->setFocus();
    Declined = false;
}

void TfrmGameOver::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormActivate();
}

void TfrmGameOver::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TfrmGameOver::reject()
{
    Declined = true;
    QDialog::reject();
}

TfrmGameOver::Next TfrmGameOver::next() const
{
    if (Declined)
        return Next::Nothing;
    if (cbSelectGame->isChecked())
        return Next::SelectGame;
    if (cbReplayGame->isChecked())
        return Next::Replay;
    return Next::NewGame;
}

} // namespace vespin
