#include "TfrmTipOfTheDay.h"

#include "Tips.h"
#include "widgets/DialogPlacement.h"
#include "widgets/VectorPicture.h"

#include <QCheckBox>
#include <QFile>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainterPath>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include <algorithm>

namespace vespin {

namespace {

const QColor PanelColour(255, 255, 224);
constexpr int TextWidth = 217;
constexpr int TextHeight = 73;

// A light bulb with a glow, on the 32-unit grid of the dialogs' pictures.
QPixmap bulbPicture(int size, qreal ratio)
{
    return vectorPicture(size, ratio, [](QPainter &p) {
        QRadialGradient glow(16, 12, 14);
        glow.setColorAt(0, QColor(255, 236, 120, 170));
        glow.setColorAt(1, QColor(255, 236, 120, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(glow);
        p.drawEllipse(QPointF(16, 12), 14, 14);

        QPainterPath glass;
        glass.moveTo(12, 21);
        glass.cubicTo(12, 17.5, 7.5, 15.5, 7.5, 11);
        glass.cubicTo(7.5, 6, 11.5, 2.5, 16, 2.5);
        glass.cubicTo(20.5, 2.5, 24.5, 6, 24.5, 11);
        glass.cubicTo(24.5, 15.5, 20, 17.5, 20, 21);
        glass.closeSubpath();
        QLinearGradient yellow(8, 3, 24, 20);
        yellow.setColorAt(0, QColor(0xff, 0xf7, 0xc2));
        yellow.setColorAt(1, QColor(0xf5, 0xc5, 0x18));
        p.setPen(QPen(QColor(0x8a, 0x6d, 0x10), 1.1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(yellow);
        p.drawPath(glass);

        // The filament.
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(0xc0, 0x50, 0x10), 0.9, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        QPainterPath filament;
        filament.moveTo(14, 20.5);
        filament.lineTo(14, 14);
        filament.lineTo(15, 12);
        filament.lineTo(16, 14);
        filament.lineTo(17, 12);
        filament.lineTo(18, 14);
        filament.lineTo(18, 20.5);
        p.drawPath(filament);

        // The screw base.
        p.setPen(QPen(QColor(0x55, 0x55, 0x5a), 0.8));
        QLinearGradient metal(12, 0, 20, 0);
        metal.setColorAt(0, QColor(0xb8, 0xbc, 0xc4));
        metal.setColorAt(0.5, QColor(0xf0, 0xf2, 0xf5));
        metal.setColorAt(1, QColor(0x90, 0x94, 0x9c));
        p.setBrush(metal);
        for (int i = 0; i < 3; ++i)
            p.drawRoundedRect(QRectF(12, 21 + i * 2.3, 8, 2.3), 0.8, 0.8);
        p.setBrush(QColor(0x55, 0x55, 0x5a));
        p.drawRoundedRect(QRectF(14, 27.9, 4, 1.8), 0.8, 0.8);

        // A glint on the glass.
        p.setPen(QPen(QColor(255, 255, 255, 220), 1.3, Qt::SolidLine, Qt::RoundCap));
        p.drawArc(QRectF(10.5, 5, 8, 8), 100 * 16, 70 * 16);
    });
}

} // namespace

TfrmTipOfTheDay::TfrmTipOfTheDay(QString tipsFile, int tipNumber, bool showTips, QWidget *mainWindow)
    : QDialog(mainWindow, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_tipsFile(std::move(tipsFile)), m_tipNumber(tipNumber)
{
    setObjectName(QStringLiteral("frmTipOfTheDay"));
    setWindowTitle(QStringLiteral("Tip of the day"));

    auto *panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("pnTip"));
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Sunken);
    panel->setAutoFillBackground(true);
    QPalette yellow = panel->palette();
    yellow.setColor(QPalette::Window, PanelColour);
    yellow.setColor(QPalette::WindowText, Qt::black);
    panel->setPalette(yellow);

    auto *bulb = new QLabel(panel);
    bulb->setObjectName(QStringLiteral("imBulb"));
    bulb->setPixmap(bulbPicture(40, devicePixelRatioF()));
    bulb->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    lbTitle = new QLabel(QStringLiteral("Oops..."), panel);
    lbTitle->setObjectName(QStringLiteral("lbTitle"));
    QFont bold = lbTitle->font();
    bold.setBold(true);
    lbTitle->setFont(bold);

    lbText = new QLabel(QStringLiteral("Sorry, no tips are available. You can disable this message by unchecking "
                                       "\"Show Tips at Startup\" at the bottom of this dialog. Alternatively, "
                                       "re-install this program."),
                        panel);
    lbText->setObjectName(QStringLiteral("lbText"));
    lbText->setWordWrap(true);
    lbText->setTextFormat(Qt::PlainText);
    lbText->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lbText->setFixedWidth(TextWidth);
    lbText->setMinimumHeight(TextHeight);

    auto *panelLayout = new QGridLayout(panel);
    panelLayout->setContentsMargins(10, 10, 12, 10);
    panelLayout->setHorizontalSpacing(10);
    panelLayout->setVerticalSpacing(6);
    panelLayout->addWidget(bulb, 0, 0, 2, 1);
    panelLayout->addWidget(lbTitle, 0, 1);
    panelLayout->addWidget(lbText, 1, 1);

    btClose = new QPushButton(QStringLiteral("Close"), this);
    btClose->setObjectName(QStringLiteral("btClose"));
    btClose->setDefault(true);
    btNext = new QPushButton(QStringLiteral("Next Tip"), this);
    btNext->setObjectName(QStringLiteral("btNext"));
    btNext->setAutoDefault(false);
    btPrevious = new QPushButton(QStringLiteral("Previous"), this);
    btPrevious->setObjectName(QStringLiteral("btPrevious"));
    btPrevious->setAutoDefault(false);
    // Escape reaches reject(), Enter the default button: both close.
    connect(btClose, &QPushButton::clicked, this, &QDialog::accept);
    connect(btNext, &QPushButton::clicked, this, &TfrmTipOfTheDay::bClick);
    connect(btPrevious, &QPushButton::clicked, this, &TfrmTipOfTheDay::bClick);

    cbShowTips = new QCheckBox(QStringLiteral("Show Tips at Startup"), this);
    cbShowTips->setObjectName(QStringLiteral("cbShowTips"));
    cbShowTips->setChecked(showTips);

    auto *buttons = new QVBoxLayout;
    buttons->addWidget(btClose);
    buttons->addWidget(btNext);
    buttons->addWidget(btPrevious);
    buttons->addStretch();

    auto *layout = new QGridLayout(this);
    layout->setContentsMargins(12, 12, 12, 10);
    layout->setHorizontalSpacing(12);
    layout->addWidget(panel, 0, 0);
    layout->addLayout(buttons, 0, 1);
    layout->addWidget(cbShowTips, 1, 0, 1, 2);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    adjustSize();
    centreOverMainWindow(*this, mainWindow);
}

void TfrmTipOfTheDay::FormActivate()
{
    if (m_activated)
        return;
    m_activated = true;
    QFile file(m_tipsFile);
    if (file.open(QIODevice::ReadOnly))
        m_lines = splitTipLines(file.readAll());
    // The text area is as tall as the longest tip needs with the desktop's
    // font, so that no tip is cut off and the dialog keeps its size while
    // the player steps through them.
    int height = TextHeight;
    for (const QString &line : std::as_const(m_lines)) {
        const QRect needed = lbText->fontMetrics().boundingRect(QRect(0, 0, TextWidth, 10000), Qt::TextWordWrap,
                                                                formatTip(line).text);
        height = std::max(height, needed.height());
    }
    lbText->setFixedHeight(height);
    adjustSize();
    centreOverMainWindow(*this, parentWidget());
    if (stepTip(m_lines, m_tipNumber, true)) {
        ShowTip(true);
    } else {
        btNext->setEnabled(false);
        btPrevious->setEnabled(false);
    }
    btClose->setFocus();
}

void TfrmTipOfTheDay::bClick()
{
    ShowTip(sender() == btNext);
}

void TfrmTipOfTheDay::ShowTip(bool forward)
{
    const std::optional<int> number = stepTip(m_lines, m_tipNumber, forward);
    if (!number)
        return;
    m_tipNumber = *number;
    const Tip tip = formatTip(m_lines.at(m_tipNumber));
    lbTitle->setText(tip.title);
    lbText->setText(tip.text);
}

bool TfrmTipOfTheDay::showTips() const
{
    return cbShowTips->isChecked();
}

void TfrmTipOfTheDay::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormActivate();
}

} // namespace vespin
