#include "TAboutBox.h"

#include "widgets/DialogPlacement.h"
#include "widgets/VectorPicture.h"

#include <QDesktopServices>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QShowEvent>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>

namespace vespin {

QString operatingSystemText(const OperatingSystem &os)
{
    const QString text = QStringLiteral("%1 %2.%3 (Build %4").arg(os.name).arg(os.major).arg(os.minor).arg(os.build);
    return os.servicePack.isEmpty() ? text + QLatin1Char(')') : text + QStringLiteral(": %1)").arg(os.servicePack);
}

QString memoryText(std::uint64_t bytes, const QLocale &locale)
{
    return locale.toString(qulonglong(bytes / 1024)) + QStringLiteral(" KB");
}

namespace {

const QString Title = QStringLiteral("Vespintide");
// The program's picture stands at (12, 10), 56 pixels square.
constexpr QRect PictureArea(12, 10, 56, 56);
constexpr int PictureBottom = PictureArea.bottom() + 1 + 4;

// Two cards fanned, a heart over a spade: the program's picture.
QPixmap programPicture(int size, qreal ratio)
{
    return vectorPicture(size, ratio, [](QPainter &p) {
        auto card = [&](qreal angle, QColor ink, const std::function<void(QPainterPath &)> &pip) {
            p.save();
            p.translate(16, 28);
            p.rotate(angle);
            p.translate(-16, -28);
            p.setPen(QPen(QColor(0x40, 0x40, 0x48), 0.9));
            p.setBrush(Qt::white);
            p.drawRoundedRect(QRectF(8.5, 3, 15, 21), 2, 2);
            QPainterPath shape;
            pip(shape);
            p.setPen(Qt::NoPen);
            p.setBrush(ink);
            p.drawPath(shape);
            p.restore();
        };
        card(-16, QColor(0x20, 0x20, 0x28), [](QPainterPath &s) {
            s.moveTo(16, 7.5);
            s.cubicTo(19, 11, 21.5, 12.5, 21.5, 15);
            s.cubicTo(21.5, 17.5, 18.5, 18.5, 16.6, 16.6);
            s.lineTo(17.6, 20.5);
            s.lineTo(14.4, 20.5);
            s.lineTo(15.4, 16.6);
            s.cubicTo(13.5, 18.5, 10.5, 17.5, 10.5, 15);
            s.cubicTo(10.5, 12.5, 13, 11, 16, 7.5);
        });
        card(14, QColor(0xc8, 0x1e, 0x2a), [](QPainterPath &s) {
            s.moveTo(16, 19.5);
            s.cubicTo(12, 16, 10, 14, 10, 11.5);
            s.cubicTo(10, 9, 13.5, 8, 16, 10.8);
            s.cubicTo(18.5, 8, 22, 9, 22, 11.5);
            s.cubicTo(22, 14, 20, 16, 16, 19.5);
        });
    });
}

// The title three times over, for a raised look: a black shadow, a white
// highlight and the teal face, each one pixel apart.
class TitleHeading final : public QWidget {
public:
    explicit TitleHeading(QWidget *parent) : QWidget(parent)
    {
        m_font = QFont(QStringLiteral("Times New Roman"));
        m_font.setStyleHint(QFont::Serif);
        m_font.setFamilies({QStringLiteral("Times New Roman"), QStringLiteral("DejaVu Serif"), QStringLiteral("serif")});
        m_font.setPixelSize(27);
        m_font.setBold(true);
        const QFontMetrics metrics(m_font);
        // The faces sit at (81, 13), (79, 15) and (80, 14) of the box.
        // Tall enough for the picture in front of it as well.
        setFixedSize(81 + metrics.horizontalAdvance(Title) + 4, std::max(15 + metrics.height(), PictureBottom));
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::TextAntialiasing);
        p.setFont(m_font);
        const auto draw = [&](QPoint at, QColor colour) {
            p.setPen(colour);
            p.drawText(QRect(at, QSize(width() - at.x(), height() - at.y())), Qt::AlignLeft | Qt::AlignTop, Title);
        };
        draw({81, 13}, Qt::black);
        draw({79, 15}, Qt::white);
        draw({80, 14}, QColor(0, 128, 128));
    }

private:
    QFont m_font;
};

} // namespace

TAboutBox::TAboutBox(AboutFacts facts, QWidget *mainWindow)
    : QDialog(mainWindow, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_facts(std::move(facts))
{
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("About Vespintide"));

    // The heading is placed by its own coordinates, from the box's corner,
    // with the picture in front of it.
    auto *heading = new TitleHeading(this);
    auto *icon = new QLabel(heading);
    icon->setObjectName(QStringLiteral("ProgramIcon"));
    icon->setPixmap(programPicture(PictureArea.width(), devicePixelRatioF()));
    icon->setGeometry(PictureArea);

    Version = new QLabel(QStringLiteral("Version 1.01"), this);
    Version->setObjectName(QStringLiteral("Version"));
    QFont bold = Version->font();
    bold.setBold(true);
    Version->setFont(bold);

    Comments = new QLabel(QStringLiteral("A patience of eight columns, built down by suit."), this);
    Comments->setObjectName(QStringLiteral("Comments"));

    URL = new QLabel(QString::fromLatin1(HomePage), this);
    URL->setObjectName(QStringLiteral("URL"));
    QFont underlined = URL->font();
    underlined.setUnderline(true);
    URL->setFont(underlined);
    QPalette navy = URL->palette();
    navy.setColor(QPalette::WindowText, QColor(0, 0, 128));
    URL->setPalette(navy);
    URL->setCursor(Qt::PointingHandCursor);
    URL->installEventFilter(this);

    auto *licensed = new QLabel(QStringLiteral("This product is licensed to:"), this);
    UserName = new QLabel(this);
    UserName->setObjectName(QStringLiteral("UserName"));
    UserName->setFont(bold);

    auto *line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);

    OSVersion = new QLabel(this);
    OSVersion->setObjectName(QStringLiteral("OSVersion"));
    auto *memoryCaption = new QLabel(QStringLiteral("Memory Available to Linux:"), this);
    PhysMem = new QLabel(this);
    PhysMem->setObjectName(QStringLiteral("PhysMem"));
    PhysMem->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);

    auto *text = new QVBoxLayout;
    text->setContentsMargins(80 - 12, 4, 0, 0);
    text->setSpacing(3);
    text->addWidget(Version);
    text->addWidget(Comments);
    text->addWidget(URL, 0, Qt::AlignLeft);
    text->addSpacing(10);
    text->addWidget(licensed);
    text->addWidget(UserName);

    auto *memory = new QHBoxLayout;
    memory->addWidget(memoryCaption);
    memory->addStretch();
    memory->addWidget(PhysMem);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKButton);
    buttons->addStretch();

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 12);
    layout->setSpacing(0);
    layout->addWidget(heading);
    auto *body = new QVBoxLayout;
    body->setContentsMargins(12, 0, 16, 0);
    body->setSpacing(6);
    body->addLayout(text);
    body->addSpacing(4);
    body->addWidget(line);
    body->addWidget(OSVersion);
    body->addLayout(memory);
    body->addSpacing(8);
    body->addLayout(buttons);
    layout->addLayout(body);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    ShowSystemInfo();
    adjustSize();
    centreOverMainWindow(*this, mainWindow);
}

void TAboutBox::ShowSystemInfo()
{
    ShowOSVersion();
    PhysMem->setText(memoryText(m_facts.memoryBytes, m_facts.locale));
}

void TAboutBox::ShowOSVersion()
{
    OSVersion->setText(operatingSystemText(m_facts.os));
}

void TAboutBox::FormActivate()
{
    UserName->setText(m_facts.userFullName.isEmpty() ? m_facts.playerName : m_facts.userFullName);
    OKButton->setFocus();
}

void TAboutBox::URLClick()
{
    QDesktopServices::openUrl(QUrl(URL->text()));
}

bool TAboutBox::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == URL && event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        URLClick();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TAboutBox::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormActivate();
}

} // namespace vespin
