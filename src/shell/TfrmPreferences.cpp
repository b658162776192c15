#include "TfrmPreferences.h"

#include "Services.h"
#include "game/ColourTable.h"
#include "interaction/CardLibrary.h"
#include "persistence/SettingsFile.h"
#include "persistence/SettingsKeys.h"
#include "widgets/ContextHelp.h"
#include "widgets/DialogPlacement.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QShortcut>
#include <QShowEvent>
#include <QTabWidget>
#include <QVBoxLayout>

#include <cmath>

namespace vespin {

namespace {

const QString Caption = QStringLiteral("Vespintide Preferences");
constexpr int FirstBack = 1;
constexpr int LastBack = VESPIN_BACK_COUNT;
const PreferenceValues Defaults;

QCheckBox *checkBox(const QString &name, const QString &text, int helpTopic, QWidget *page)
{
    auto *box = new QCheckBox(text, page);
    box->setObjectName(name);
    box->setProperty("helpTopic", helpTopic);
    page->layout()->addWidget(box);
    return box;
}

QWidget *checkBoxPage(const QString &name, QTabWidget *pages, const QString &title)
{
    auto *page = new QWidget;
    page->setObjectName(name);
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(16, 14, 16, 14);
    layout->setSpacing(8);
    pages->addTab(page, title);
    return page;
}

QPushButton *button(const QString &name, const QString &text, QWidget *parent)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(name);
    return b;
}

} // namespace

CardBackPicture::CardBackPicture(QWidget *parent)
    : QWidget(parent), m_surface(std::make_unique<VespinSurface>())
{
    // Transparent where no back lies, so the page shows around the card.
    m_surface->background = 0;
    m_surface->owner = this;
    m_surface->devicePixelRatio = 1.0;
    setFixedSize(sizeHint());
}

CardBackPicture::~CardBackPicture() = default;

QSize CardBackPicture::sizeHint() const
{
    return {VESPIN_CARD_WIDTH + 2 * Margin, VESPIN_CARD_HEIGHT + 2 * Margin};
}

void CardBackPicture::paintAfresh()
{
    const qreal ratio = devicePixelRatioF();
    const QSize device(int(std::ceil(width() * ratio)), int(std::ceil(height() * ratio)));
    if (m_image.size() != device || m_image.devicePixelRatio() != ratio) {
        m_image = QImage(device, QImage::Format_ARGB32_Premultiplied);
        m_image.setDevicePixelRatio(ratio);
        m_surface->bits = m_image.bits();
        m_surface->width = m_image.width();
        m_surface->height = m_image.height();
        m_surface->bytesPerLine = int(m_image.bytesPerLine());
        m_surface->devicePixelRatio = ratio;
    }
    m_image.fill(Qt::transparent);
    m_surface->itemCount = 0;
    if (m_paint)
        m_paint();
}

void CardBackPicture::refresh()
{
    paintAfresh();
    update();
}

void CardBackPicture::paintEvent(QPaintEvent *)
{
    // Every repaint draws the back afresh through the card library.
    paintAfresh();
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), m_image);
}

TfrmPreferences::TfrmPreferences(ModalRunner &runner, PreferencesLink link, QWidget *mainWindow)
    : QDialog(mainWindow, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_runner(runner),
      m_link(std::move(link))
{
    setObjectName(QStringLiteral("frmPreferences"));
    setWindowTitle(Caption);

    PageControl = new QTabWidget(this);
    PageControl->setObjectName(QStringLiteral("PageControl"));

    tsGeneral = checkBoxPage(QStringLiteral("tsGeneral"), PageControl, QStringLiteral("General"));
    cbSound = checkBox(QStringLiteral("cbSound"), QStringLiteral("Enable So&und"), 129, tsGeneral);
    cbPrompts = checkBox(QStringLiteral("cbPrompts"), QStringLiteral("Show &Prompts"), 130, tsGeneral);
    cbTips = checkBox(QStringLiteral("cbTips"), QStringLiteral("Show &Tips at Startup"), 131, tsGeneral);
    cbShowNameBox =
        checkBox(QStringLiteral("cbShowNameBox"), QStringLiteral("Enter Player &Name at Startup"), 132, tsGeneral);
    cbAutoSave = checkBox(QStringLiteral("cbAutoSave"), QStringLiteral("Enable Auto&Saving"), 133, tsGeneral);
    static_cast<QVBoxLayout *>(tsGeneral->layout())->addStretch();

    tsAdvanced = checkBoxPage(QStringLiteral("tsAdvanced"), PageControl, QStringLiteral("Advanced"));
    cbPause = checkBox(QStringLiteral("cbPause"), QStringLiteral("&Pause Game when Minimized"), 134, tsAdvanced);
    cbToolHint = checkBox(QStringLiteral("cbToolHint"), QStringLiteral("Show &Hints in Toolbar"), 135, tsAdvanced);
    cbToolBarBMP = checkBox(QStringLiteral("cbToolBarBMP"), QStringLiteral("Textured Toolbar"), 138, tsAdvanced);
    cbSlowAnim = checkBox(QStringLiteral("cbSlowAnim"), QStringLiteral("Slow Animation on Finish"), 136, tsAdvanced);
    static_cast<QVBoxLayout *>(tsAdvanced->layout())->addStretch();

    tsBackground = new QWidget;
    tsBackground->setObjectName(QStringLiteral("tsBackground"));
    auto *colourGroup = new QGroupBox(QStringLiteral("Select Color: "), tsBackground);
    colourGroup->setObjectName(QStringLiteral("GroupBox1"));
    // Everything in the group is about the one choice.
    colourGroup->setProperty("helpTopic", 137);
    auto *prompt = new QLabel(QStringLiteral("Select background color "), colourGroup);
    ComboBox = new QComboBox(colourGroup);
    ComboBox->setObjectName(QStringLiteral("ComboBox"));
    ComboBox->setProperty("helpTopic", 137);
    for (int index = 0; index < ColourCount; ++index)
        ComboBox->addItem(colourName(index));
    ComboBox->setMaxVisibleItems(ColourCount);
    prompt->setBuddy(ComboBox);
    auto *sampleLabel = new QLabel(QStringLiteral("Sample: "), colourGroup);
    shSample = new QFrame(colourGroup);
    shSample->setObjectName(QStringLiteral("shSample"));
    shSample->setFrameStyle(QFrame::Box | QFrame::Plain);
    shSample->setAutoFillBackground(true);
    shSample->setFixedSize(120, 40);
    auto *colourGrid = new QGridLayout(colourGroup);
    colourGrid->setContentsMargins(14, 12, 14, 14);
    colourGrid->setHorizontalSpacing(10);
    colourGrid->setVerticalSpacing(10);
    colourGrid->addWidget(prompt, 0, 0, Qt::AlignVCenter);
    colourGrid->addWidget(ComboBox, 0, 1);
    colourGrid->addWidget(sampleLabel, 1, 0, Qt::AlignVCenter);
    colourGrid->addWidget(shSample, 1, 1, Qt::AlignLeft);
    colourGrid->setColumnStretch(1, 1);
    auto *backgroundLayout = new QVBoxLayout(tsBackground);
    backgroundLayout->setContentsMargins(12, 12, 12, 12);
    backgroundLayout->addWidget(colourGroup);
    backgroundLayout->addStretch();
    PageControl->addTab(tsBackground, QStringLiteral("Background"));

    tsCardBack = new QWidget;
    tsCardBack->setObjectName(QStringLiteral("tsCardBack"));
    tsCardBack->setProperty("helpTopic", 139);
    lblCardBack = new QLabel(QStringLiteral("Select Card Back"), tsCardBack);
    lblCardBack->setObjectName(QStringLiteral("lblCardBack"));
    lblCardBack->setAlignment(Qt::AlignHCenter);
    imgCardBack = new CardBackPicture(tsCardBack);
    imgCardBack->setObjectName(QStringLiteral("imgCardBack"));
    imgCardBack->setPainter([this] { FormPaint(); });
    btPrevious = button(QStringLiteral("btPrevious"), QStringLiteral("< &Previous"), tsCardBack);
    btNext = button(QStringLiteral("btNext"), QStringLiteral("&Next >"), tsCardBack);
    auto *backRow = new QHBoxLayout;
    backRow->setSpacing(12);
    backRow->addStretch();
    backRow->addWidget(btPrevious, 0, Qt::AlignVCenter);
    backRow->addWidget(imgCardBack);
    backRow->addWidget(btNext, 0, Qt::AlignVCenter);
    backRow->addStretch();
    auto *cardBackLayout = new QVBoxLayout(tsCardBack);
    cardBackLayout->setContentsMargins(12, 12, 12, 8);
    cardBackLayout->setSpacing(4);
    cardBackLayout->addWidget(lblCardBack);
    cardBackLayout->addLayout(backRow);
    cardBackLayout->addStretch();
    PageControl->addTab(tsCardBack, QStringLiteral("Card Back"));
    tsCardBack->installEventFilter(this);

    btOK = button(QStringLiteral("btOK"), QStringLiteral("&OK"), this);
    btOK->setDefault(true);
    btOK->setProperty("helpTopic", 125);
    btCancel = button(QStringLiteral("btCancel"), QStringLiteral("&Cancel"), this);
    btCancel->setProperty("helpTopic", 126);
    btApply = button(QStringLiteral("btApply"), QStringLiteral("&Apply"), this);
    btApply->setProperty("helpTopic", 127);
    btApply->setEnabled(false);
    btReset = button(QStringLiteral("btReset"), QStringLiteral("&Reset All Options"), this);
    btReset->setProperty("helpTopic", 140);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(btReset);
    buttons->addStretch();
    buttons->addWidget(btOK);
    buttons->addWidget(btCancel);
    buttons->addWidget(btApply);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->setSpacing(10);
    layout->addWidget(PageControl);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    for (QCheckBox *box : {cbSound, cbPrompts, cbTips, cbShowNameBox, cbAutoSave, cbPause, cbToolHint,
                           cbToolBarBMP, cbSlowAnim})
        connect(box, &QCheckBox::clicked, this, &TfrmPreferences::EnableApply);
    // Only the player's own choice counts as a change, not the filling in.
    connect(ComboBox, &QComboBox::activated, this, &TfrmPreferences::ComboBoxChange);
    connect(btNext, &QPushButton::clicked, this, &TfrmPreferences::btNextClick);
    connect(btPrevious, &QPushButton::clicked, this, &TfrmPreferences::btPreviousClick);
    connect(btReset, &QPushButton::clicked, this, &TfrmPreferences::btResetClick);
    connect(PageControl, &QTabWidget::currentChanged, this, &TfrmPreferences::PageControlChange);
    // The pages turn with Ctrl+Tab from anywhere in the dialog, not only
    // while the focus is on a page: the buttons below are outside them.
    const auto turnPage = [this](int step) {
        PageControl->setCurrentIndex((PageControl->currentIndex() + step + PageControl->count()) % PageControl->count());
    };
    for (const QKeySequence &key : {QKeySequence(Qt::CTRL | Qt::Key_Tab), QKeySequence(Qt::CTRL | Qt::Key_PageDown)})
        connect(new QShortcut(key, this), &QShortcut::activated, this, [turnPage] { turnPage(1); });
    // Shift+Tab comes as Backtab from the keyboard.
    for (const QKeySequence &key : {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab),
                                    QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab), QKeySequence(Qt::CTRL | Qt::Key_PageUp)})
        connect(new QShortcut(key, this), &QShortcut::activated, this, [turnPage] { turnPage(-1); });
    connect(btOK, &QPushButton::clicked, this, [this] {
        ApplyChanges();
        accept();
    });
    connect(btApply, &QPushButton::clicked, this, &TfrmPreferences::ApplyChanges);
    connect(btCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto *help = new ContextHelp(*this);
    connect(help, &ContextHelp::requested, this, &TfrmPreferences::contextHelpRequested);

    adjustSize();
    centreOverMainWindow(*this, mainWindow);
}

void TfrmPreferences::selectPage(Page page)
{
    PageControl->setCurrentIndex(page);
}

void TfrmPreferences::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // A restore from the task bar keeps what the player has changed so far.
    if (!event->spontaneous())
        FormActivate();
}

bool TfrmPreferences::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == tsCardBack && event->type() == QEvent::Show)
        tsCardBackEnter();
    return QDialog::eventFilter(watched, event);
}

void TfrmPreferences::FormActivate()
{
    const PreferenceValues &current = m_link.current;

    // A stored colour index outside 0..15 reads as Green, the key's default,
    // so the list always has the entry to select; the table itself shows
    // Green for such a value too.
    const int colour = read(SettingsFile(m_link.settingsPath), keys::BackGroundColor);
    ComboBox->setCurrentIndex(colour);
    setSample(colour);

    // Without a sound device the box stays off, whatever it was told.
    cbSound->setChecked(m_link.soundAvailable && current.Sound);
    cbSound->setEnabled(m_link.soundAvailable);
    cbTips->setChecked(current.ShowTips);
    cbAutoSave->setChecked(current.AutoSave);
    cbToolHint->setChecked(current.ToolHint);
    cbSlowAnim->setChecked(current.SlowAnim);
    cbPause->setChecked(current.Pause);
    cbPrompts->setChecked(current.Prompts);
    cbShowNameBox->setChecked(current.ShowNameBox);
    cbToolBarBMP->setChecked(current.TexturedToolbar);

    btApply->setEnabled(false);

    // A back the library does not have reads as back 1, as the settings key
    // already reads a stored one; the Previous and Next buttons then start
    // from a back that exists.
    m_chosenBack = current.CardBack >= FirstBack && current.CardBack <= LastBack ? current.CardBack : FirstBack;
    btPrevious->setEnabled(m_chosenBack != FirstBack);
    btNext->setEnabled(m_chosenBack != LastBack);
    drawChosenBack();

    btOK->setFocus();
    DefaultCheck();
}

void TfrmPreferences::setSample(int index)
{
    m_sample = tableColour(index);
    QPalette palette = shSample->palette();
    palette.setColor(QPalette::Window, m_sample);
    shSample->setPalette(palette);
}

void TfrmPreferences::EnableApply()
{
    btApply->setEnabled(true);
    DefaultCheck();
}

void TfrmPreferences::DefaultCheck()
{
    // A Sound box held off for want of a device counts as at its default.
    const bool atDefaults = (cbSound->isChecked() || !cbSound->isEnabled())
        && cbPrompts->isChecked() == Defaults.Prompts
        && cbTips->isChecked() == Defaults.ShowTips
        && cbPause->isChecked() == Defaults.Pause
        && cbAutoSave->isChecked() == Defaults.AutoSave
        && m_sample == tableColour(Defaults.BackGroundColor)
        && m_chosenBack == Defaults.CardBack
        && cbToolHint->isChecked() == Defaults.ToolHint
        && cbToolBarBMP->isChecked() == Defaults.TexturedToolbar
        && cbSlowAnim->isChecked() == Defaults.SlowAnim
        && cbShowNameBox->isChecked() == Defaults.ShowNameBox;
    btReset->setEnabled(!atDefaults);
}

void TfrmPreferences::btResetClick()
{
    if (cbSound->isEnabled())
        cbSound->setChecked(Defaults.Sound);
    cbPrompts->setChecked(Defaults.Prompts);
    cbTips->setChecked(Defaults.ShowTips);
    cbPause->setChecked(Defaults.Pause);
    cbAutoSave->setChecked(Defaults.AutoSave);
    cbSlowAnim->setChecked(Defaults.SlowAnim);
    cbToolBarBMP->setChecked(Defaults.TexturedToolbar);
    cbToolHint->setChecked(Defaults.ToolHint);
    cbShowNameBox->setChecked(Defaults.ShowNameBox);
    m_chosenBack = Defaults.CardBack;
    btPrevious->setEnabled(false);
    btNext->setEnabled(true);
    drawChosenBack();
    ComboBox->setCurrentIndex(Defaults.BackGroundColor);
    setSample(Defaults.BackGroundColor);
    btApply->setEnabled(true);
    // The button goes grey under the pointer; the focus moves on to OK.
    if (btReset->hasFocus())
        btOK->setFocus();
    btReset->setEnabled(false);
}

void TfrmPreferences::ComboBoxChange()
{
    setSample(ComboBox->currentIndex());
    EnableApply();
}

void TfrmPreferences::btNextClick()
{
    if (m_chosenBack < LastBack + 1)
        ++m_chosenBack;
    if (!btPrevious->isEnabled())
        btPrevious->setEnabled(true);
    if (m_chosenBack == LastBack)
        btNext->setEnabled(false);
    drawChosenBack();
    EnableApply();
}

void TfrmPreferences::btPreviousClick()
{
    if (m_chosenBack > FirstBack - 1)
        --m_chosenBack;
    if (!btNext->isEnabled())
        btNext->setEnabled(true);
    if (m_chosenBack == FirstBack)
        btPrevious->setEnabled(false);
    drawChosenBack();
    EnableApply();
}

void TfrmPreferences::tsCardBackEnter()
{
    drawChosenBack();
}

void TfrmPreferences::PageControlChange()
{
    if (PageControl->currentWidget() == tsCardBack)
        drawChosenBack();
}

void TfrmPreferences::drawChosenBack()
{
    imgCardBack->refresh();
}

void TfrmPreferences::FormPaint()
{
    if (m_link.cards && m_link.cards->DrawBack)
        m_link.cards->DrawBack(imgCardBack->handle(), m_chosenBack, CardBackPicture::Margin, CardBackPicture::Margin);
}

PreferenceValues TfrmPreferences::chosen() const
{
    PreferenceValues v;
    v.Sound = cbSound->isChecked();
    v.Prompts = cbPrompts->isChecked();
    v.ShowTips = cbTips->isChecked();
    v.AutoSave = cbAutoSave->isChecked();
    v.Pause = cbPause->isChecked();
    v.ToolHint = cbToolHint->isChecked();
    v.TexturedToolbar = cbToolBarBMP->isChecked();
    v.SlowAnim = cbSlowAnim->isChecked();
    v.ShowNameBox = cbShowNameBox->isChecked();
    v.BackGroundColor = ComboBox->currentIndex();
    v.CardBack = m_chosenBack;
    return v;
}

void TfrmPreferences::ApplyChanges()
{
    const PreferenceValues v = chosen();

    // All eleven reach the file in one replacement of it. A write that fails
    // is reported by the owner; the options still hold for this run.
    if (m_link.changeSettings) {
        m_link.changeSettings([&v](SettingsFile &file) {
            file.beginBatch();
            write(file, keys::Prompts, v.Prompts);
            write(file, keys::Sound, v.Sound);
            write(file, keys::ShowTips, v.ShowTips);
            write(file, keys::AutoSaveOption, v.AutoSave);
            write(file, keys::Pause, v.Pause);
            write(file, keys::ToolHint, v.ToolHint);
            write(file, keys::TexturedToolbar, v.TexturedToolbar);
            write(file, keys::SlowAnim, v.SlowAnim);
            write(file, keys::BackGroundColor, v.BackGroundColor);
            write(file, keys::CardBack, v.CardBack);
            write(file, keys::ShowNameBox, v.ShowNameBox);
            file.commitBatch();
        });
    }

    // The program takes the back and the colour over now as well; only the
    // next deal shows them.
    if (m_link.apply)
        m_link.apply(v);

    const bool colourChanged = m_sample != tableColour(m_link.current.BackGroundColor);
    const bool backChanged = m_chosenBack != m_link.current.CardBack;
    QString waiting;
    if (colourChanged && !backChanged)
        waiting = QStringLiteral("The back color change will take effect on the next hand...");
    else if (backChanged && !colourChanged)
        waiting = QStringLiteral("The card back change will take effect on the next hand...");
    else if (backChanged && colourChanged)
        waiting = QStringLiteral(
            "The card back change and the back color change will take effect on the next hand...");
    if (!waiting.isEmpty())
        showMessage(m_runner, QMessageBox::Information, Caption, waiting, QMessageBox::Ok, this);
    btApply->setEnabled(false);

    m_link.current = v;

    // The main window repaints under the dialog before it goes on.
    QCoreApplication::processEvents();
}

} // namespace vespin
