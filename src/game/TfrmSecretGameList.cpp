#include "TfrmSecretGameList.h"
#include "widgets/DialogPlacement.h"

#include "widgets/VectorPicture.h"

#include "shell/Services.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QShowEvent>

namespace vespin {

namespace {

const QString Caption = QStringLiteral("The Ghosts Secret Game List");

// Drawn on a 32-unit square and scaled, so it stays crisp at any pixel ratio.
QPixmap ghostPicture(int size, qreal ratio)
{
    return vectorPicture(size, ratio, [](QPainter &p) {
        // A soft shadow on the "floor" makes it float.
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0, 40));
        p.drawEllipse(QRectF(8, 28.5, 16, 2.5));

        // Dome, sides, and a hem of three scallops; the left arm waves.
        QPainterPath body;
        body.moveTo(6, 26);
        body.lineTo(6, 14);
        body.cubicTo(6, 7, 10.5, 2.5, 16, 2.5);
        body.cubicTo(21.5, 2.5, 26, 7, 26, 14);
        body.lineTo(26, 26);
        body.quadTo(23.5, 23, 21, 26);
        body.quadTo(18.5, 29, 16, 26);
        body.quadTo(13.5, 23, 11, 26);
        body.quadTo(8.5, 29, 6, 26);
        body.closeSubpath();

        QPainterPath arm;
        arm.moveTo(6.5, 15);
        arm.cubicTo(3.5, 14, 2, 11.5, 2.5, 9.5);
        arm.cubicTo(4, 10.5, 5.5, 11.5, 6.5, 12);
        arm.closeSubpath();

        const QPainterPath ghost = body.united(arm);
        QLinearGradient sheet(0, 2, 0, 28);
        sheet.setColorAt(0, QColor(0xff, 0xff, 0xff));
        sheet.setColorAt(1, QColor(0xdd, 0xe6, 0xf4));
        p.setBrush(sheet);
        p.setPen(QPen(QColor(0x3a, 0x46, 0x5c), 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPath(ghost);

        // Eyes looking up at the player, with a glint each.
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x26, 0x2c, 0x3a));
        p.drawEllipse(QRectF(10.5, 10, 3.6, 5));
        p.drawEllipse(QRectF(18, 10, 3.6, 5));
        p.setBrush(Qt::white);
        p.drawEllipse(QRectF(11.6, 10.8, 1.3, 1.5));
        p.drawEllipse(QRectF(19.1, 10.8, 1.3, 1.5));

        // Rosy cheeks and a small "boo".
        p.setBrush(QColor(0xf4, 0x8f, 0xa3, 150));
        p.drawEllipse(QRectF(7.8, 15.5, 3.2, 2));
        p.drawEllipse(QRectF(21, 15.5, 3.2, 2));
        p.setBrush(QColor(0x7a, 0x2a, 0x3a));
        p.drawEllipse(QRectF(14.6, 16.5, 2.8, 3.2));
    });
}

} // namespace

const std::array<std::int32_t, 109> &TfrmSecretGameList::secretGames()
{
    // The order is the list's own, including the one place where it does
    // not ascend; the ghosts' pick is found by position.
    static const std::array<std::int32_t, 109> games{
        48,         67,         1994,       5555,       7783148,    32541174,   81192381,   199531776,
        201189130,  201941620,  220029278,  225778971,  296609146,  304105177,  317040843,  350007682,
        352389037,  361232245,  396233353,  428616939,  429414017,  476953903,  504963343,  508178877,
        509668357,  533241578,  545362393,  566304362,  571514265,  595660142,  620185326,  626539585,
        631972451,  638010098,  638628275,  650612385,  661150478,  682351601,  694210033,  702408560,
        706588328,  730296269,  732281573,  755579230,  759083340,  782275173,  832745795,  849591574,
        860217814,  899831842,  949819725,  964713976,  982741761,  1004393187, 1052735772, 1065988887,
        1072759051, 1080179516, 1081483134, 1096314300, 1107943102, 1115185719, 1117253357, 1119288870,
        1125086284, 1127193630, 1131466855, 1158120172, 1184793558, 1190053240, 1206660986, 1258823360,
        1263982320, 1268723207, 1280518656, 1347971332, 1354579435, 1402198545, 1405536432, 1405929254,
        1406429455, 1453419146, 1561766504, 1583828836, 1599606542, 1600830959, 1600975343, 1641717006,
        1700701212, 1707644967, 1738303839, 1750851563, 1772600489, 1783634621, 1823231809, 1833757320,
        1938797553, 1864927923, 1951639451, 1953808129, 2016244036, 2024171042, 2063619899, 2072152619,
        2123637039, 2131326323, 2134494877, 2139495835, 2146581175,
    };
    return games;
}

TfrmSecretGameList::TfrmSecretGameList(ModalRunner &runner, QWidget *centreOver)
    : QDialog(centreOver), m_runner(runner)
{
    setObjectName(QStringLiteral("frmSecretGameList"));
    setWindowTitle(Caption);

    auto *ghost = new QLabel(this);
    ghost->setObjectName(QStringLiteral("imGhost"));
    ghost->setPixmap(ghostPicture(48, devicePixelRatioF()));
    ghost->setToolTip(QStringLiteral("I scared you, didn't I?"));
    ghost->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    auto *message = new QLabel(
        QStringLiteral("Congratulations, you've found the Ghosts secret list of winable games! Please select one:"),
        this);
    message->setWordWrap(true);
    // Word wrap alone would let the label squeeze itself into a tall column.
    message->setFixedWidth(330);

    ComboBox = new QComboBox(this);
    ComboBox->setObjectName(QStringLiteral("ComboBox"));
    ComboBox->setEditable(false);
    for (const std::int32_t game : secretGames())
        ComboBox->addItem(QString::number(game));
    ComboBox->setMaxVisibleItems(12);
    message->setBuddy(ComboBox);

    btPlay = new QPushButton(QStringLiteral("&Play"), this);
    btPlay->setObjectName(QStringLiteral("btPlay"));
    btPlay->setDefault(true);
    btCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    btCancel->setObjectName(QStringLiteral("btCancel"));
    btPick = new QPushButton(QStringLiteral("&Ghosts Pick"), this);
    btPick->setObjectName(QStringLiteral("btPick"));
    btPick->setEnabled(false);
    btCancel->setAutoDefault(false);
    btPick->setAutoDefault(false);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(btPick);
    buttons->addStretch();
    buttons->addWidget(btPlay);
    buttons->addWidget(btCancel);

    auto *layout = new QGridLayout(this);
    layout->setContentsMargins(16, 16, 16, 12);
    layout->setHorizontalSpacing(14);
    layout->addWidget(ghost, 0, 0, 2, 1);
    layout->addWidget(message, 0, 1);
    layout->addWidget(ComboBox, 1, 1);
    layout->setRowMinimumHeight(2, 8);
    layout->addLayout(buttons, 3, 0, 1, 2);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(ComboBox, &QComboBox::currentIndexChanged, this,
            [this](int index) { btPick->setEnabled(index != GhostsPickIndex); });
    connect(btPick, &QPushButton::clicked, this, &TfrmSecretGameList::btPickClick);
    connect(btPlay, &QPushButton::clicked, this, &TfrmSecretGameList::btPlayClick);
    connect(btCancel, &QPushButton::clicked, this, &QDialog::reject);

    adjustSize();
    centreOverMainWindow(*this, centreOver);
}

void TfrmSecretGameList::FormActivate()
{
    emit soundRequested(QStringLiteral("Ghost.wav"));
    ComboBox->setCurrentIndex(GhostsPickIndex);
}

void TfrmSecretGameList::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // A restore from the task bar is no new visit and keeps the selection.
    if (!event->spontaneous())
        FormActivate();
}

void TfrmSecretGameList::btPickClick()
{
    ComboBox->setCurrentIndex(GhostsPickIndex);
    showMessage(m_runner, QMessageBox::Information, Caption,
                QStringLiteral("This game, number ") + ComboBox->currentText()
                    + QStringLiteral(", has been solved within 25 seconds by the ghost... ehhh... the author..."),
                QMessageBox::Ok, this);
    btPick->setEnabled(false);
}

void TfrmSecretGameList::btPlayClick()
{
    const int index = ComboBox->currentIndex();
    if (index < 0)
        return;
    m_chosenNumber = secretGames()[std::size_t(index)];
    accept();
}

} // namespace vespin
