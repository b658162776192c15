#include "TestServices.h"
#include "game/ColourTable.h"
#include "interaction/TableSurface.h"
#include "persistence/TfrmPlayerName.h"
#include "persistence/TfrmTopten.h"
#include "shell/TfrmMain.h"
#include "shell/TfrmPreferences.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QHelpEvent>
#include <QPushButton>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>
#include <QtTest>

#include <functional>
#include <map>
#include <memory>

using namespace vespin;

namespace {

const QString PreferencesClass = QStringLiteral("vespin::TfrmPreferences");
const QString ColourMessage = QStringLiteral("The back color change will take effect on the next hand...");
const QString BackMessage = QStringLiteral("The card back change will take effect on the next hand...");
const QString BothMessage =
    QStringLiteral("The card back change and the back color change will take effect on the next hand...");

// A started game in a fresh settings directory; what the start showed is
// forgotten.
struct Game {
    explicit Game(const QByteArray &settings = {}, int audioOutputs = 1)
    {
        services.system.audioOutputs = audioOutputs;
        if (!settings.isEmpty())
            services.writeSettings(settings);
        window = std::make_unique<TfrmMain>(services.services(), QStringLiteral(VESPIN_CARDLIB_PATH));
        window->FormActivate();
        services.modal.takeShown();
    }

    CommandSurface &commands() { return window->commands(); }

    // Runs a command that opens a dialog of the class named; `work` gets the
    // shown dialog and may close it, or it is cancelled afterwards.
    template<typename Dialog>
    void withDialog(QAction *command, const QString &className, const std::function<void(Dialog &)> &work)
    {
        services.modal.answerWhen(className, [work](QDialog &shown) {
            auto &dialog = static_cast<Dialog &>(shown);
            dialog.show();
            work(dialog);
            if (dialog.isVisible())
                dialog.reject();
            return dialog.result();
        });
        command->trigger();
    }

    void withPreferences(QAction *command, const std::function<void(TfrmPreferences &)> &work)
    {
        withDialog<TfrmPreferences>(command, PreferencesClass, work);
    }

    // The texts of the message boxes shown so far.
    QStringList messages() const
    {
        QStringList texts;
        for (const test::ShownDialog &shown : services.modal.shown())
            if (shown.className == QLatin1String("QMessageBox"))
                texts.append(shown.text);
        return texts;
    }

    test::TestServices services;
    std::unique_ptr<TfrmMain> window;
};

void showPageOf(TfrmPreferences &dialog, QWidget *control)
{
    for (int page = 0; page < dialog.PageControl->count(); ++page)
        if (dialog.PageControl->widget(page)->isAncestorOf(control))
            dialog.PageControl->setCurrentIndex(page);
}

// One option changed the way the player does it; `forward` false takes the
// change back.
void changeOption(TfrmPreferences &dialog, const QString &option, bool forward)
{
    if (option == QLatin1String("colour")) {
        showPageOf(dialog, dialog.ComboBox);
        QTest::keyClick(dialog.ComboBox, forward ? Qt::Key_Down : Qt::Key_Up);
    } else if (option == QLatin1String("card back")) {
        showPageOf(dialog, dialog.btNext);
        (forward ? dialog.btNext : dialog.btPrevious)->click();
    } else {
        auto *box = dialog.findChild<QCheckBox *>(option);
        QVERIFY2(box, qPrintable(option));
        showPageOf(dialog, box);
        box->click();
    }
}

QAction *commandNamed(CommandSurface &c, const QString &name)
{
    const std::map<QString, QAction *> commands{
        {QStringLiteral("Preferences"), c.mnuPreferences}, {QStringLiteral("Background Color"), c.mnuBackgroundColor},
        {QStringLiteral("Card Back"), c.mnuCardBack},      {QStringLiteral("Player Name"), c.mnuPlayerName},
        {QStringLiteral("Top Ten"), c.mnuTopTen},
    };
    const auto found = commands.find(name);
    return found == commands.end() ? nullptr : found->second;
}

// Everything the player can set in the dialog.
QVariantList controlStates(const TfrmPreferences &dialog)
{
    QVariantList states;
    for (const QCheckBox *box : {dialog.cbSound, dialog.cbPrompts, dialog.cbTips, dialog.cbShowNameBox,
                                 dialog.cbAutoSave, dialog.cbPause, dialog.cbToolHint, dialog.cbToolBarBMP,
                                 dialog.cbSlowAnim})
        states << box->isChecked() << box->isEnabled();
    states << dialog.ComboBox->currentIndex() << dialog.chosenBack() << dialog.btPrevious->isEnabled()
           << dialog.btNext->isEnabled();
    return states;
}

// Back `back` as the card library draws it on a surface of the picture's
// size, over `background`.
QImage libraryBack(const CardLibrary &cards, int back, QColor background)
{
    QImage image(QSize(VESPIN_CARD_WIDTH, VESPIN_CARD_HEIGHT) + QSize(2, 2) * CardBackPicture::Margin,
                 QImage::Format_ARGB32_Premultiplied);
    image.fill(background);
    auto surface = std::make_unique<VespinSurface>();
    surface->bits = image.bits();
    surface->width = image.width();
    surface->height = image.height();
    surface->bytesPerLine = int(image.bytesPerLine());
    surface->devicePixelRatio = 1.0;
    surface->background = background.rgba();
    cards.DrawBack(surface.get(), back, CardBackPicture::Margin, CardBackPicture::Margin);
    return image;
}

// The largest difference of one colour channel between two pictures; -1 when
// their sizes differ.
int largestDifference(const QImage &a, const QImage &b)
{
    if (a.size() != b.size())
        return -1;
    const QImage x = a.convertToFormat(QImage::Format_ARGB32);
    const QImage y = b.convertToFormat(QImage::Format_ARGB32);
    int largest = 0;
    for (int row = 0; row < x.height(); ++row) {
        for (int column = 0; column < x.width(); ++column) {
            const QRgb p = x.pixel(column, row);
            const QRgb q = y.pixel(column, row);
            largest = std::max({largest, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                                std::abs(qBlue(p) - qBlue(q))});
        }
    }
    return largest;
}

// The tooltip a tool bar button shows when the pointer rests on it; empty
// when none comes.
QString restingTooltip(Game &game)
{
    QToolButton *button = game.commands().button(game.commands().mnuNewGame);
    QHelpEvent rest(QEvent::ToolTip, QPoint(4, 4), button->mapToGlobal(QPoint(4, 4)));
    QApplication::sendEvent(button, &rest);
    return QToolTip::isVisible() ? QToolTip::text() : QString();
}

QStringList optionsLines(const QByteArray &file)
{
    QStringList lines;
    bool inOptions = false;
    for (const QByteArray &line : file.split('\n')) {
        if (line.startsWith('['))
            inOptions = line == "[Options]";
        else if (inOptions && !line.isEmpty())
            lines.append(QString::fromUtf8(line));
    }
    return lines;
}

} // namespace

class TestPreferences : public QObject {
    Q_OBJECT

private slots:
    void commandsOpenTheirPage_data();
    void commandsOpenTheirPage();
    void cardBackPageShowsTheBackInUse_data();
    void cardBackPageShowsTheBackInUse();
    void colourAndBackWaitForTheNextDeal_data();
    void colourAndBackWaitForTheNextDeal();
    void resetFollowsTheDefaults_data();
    void resetFollowsTheDefaults();
    void resetThenCancelChangesNothing();
    void okWritesEveryOptionInOrder();
    void optionsReachTheRunningProgram();
    void withoutSoundDeviceTheSoundBoxStaysOff();
    void helpOnAControl_data();
    void helpOnAControl();
};

void TestPreferences::commandsOpenTheirPage_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("page");
    QTest::newRow("Preferences") << "Preferences" << "tsGeneral";
    QTest::newRow("Background Color") << "Background Color" << "tsBackground";
    QTest::newRow("Card Back") << "Card Back" << "tsCardBack";
}

void TestPreferences::commandsOpenTheirPage()
{
    QFETCH(QString, command);
    QFETCH(QString, page);
    Game game;
    game.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(game.window.get()));
    QAction *action = commandNamed(game.commands(), command);
    QVERIFY(action);
    QString shownPage;
    QPoint centreOffset(99, 99);
    game.withPreferences(action, [&](TfrmPreferences &dialog) {
        shownPage = dialog.PageControl->currentWidget()->objectName();
        centreOffset = dialog.frameGeometry().center() - game.window->frameGeometry().center();
    });
    QCOMPARE(shownPage, page);
    QVERIFY2(std::abs(centreOffset.x()) <= 1 && std::abs(centreOffset.y()) <= 1,
             qPrintable(QStringLiteral("%1, %2").arg(centreOffset.x()).arg(centreOffset.y())));
    QCOMPARE(game.services.modal.shown().size(), 1);
    QCOMPARE(game.services.modal.shown().first().title, QStringLiteral("Vespintide Preferences"));
}

void TestPreferences::cardBackPageShowsTheBackInUse_data()
{
    QTest::addColumn<QByteArray>("settings");
    QTest::addColumn<bool>("byItsTab"); // else opened by the Card Back command
    QTest::addColumn<int>("back");
    QTest::addColumn<QString>("colour");

    QTest::newRow("back 1") << QByteArray("[Options]\nCardBack=1\n") << false << 1 << "Green";
    QTest::newRow("back 3") << QByteArray("[Options]\nCardBack=3\nBackGroundColor=8\n") << false << 3 << "Navy";
    QTest::newRow("back 6") << QByteArray("[Options]\nCardBack=6\n") << false << 6 << "Green";
    QTest::newRow("back 4, reached by its tab") << QByteArray("[Options]\nCardBack=4\n") << true << 4 << "Green";
    QTest::newRow("stored values out of range show the defaults")
        << QByteArray("[Options]\nCardBack=9\nBackGroundColor=23\n") << false << 1 << "Green";
}

void TestPreferences::cardBackPageShowsTheBackInUse()
{
    QFETCH(QByteArray, settings);
    QFETCH(bool, byItsTab);
    QFETCH(int, back);
    QFETCH(QString, colour);
    Game game(settings);
    QImage shown;
    bool onCardBackPage = false;
    bool previousEnabled = false;
    bool nextEnabled = false;
    QString colourShown;
    game.withPreferences(byItsTab ? game.commands().mnuPreferences : game.commands().mnuCardBack,
                         [&](TfrmPreferences &dialog) {
                             if (byItsTab)
                                 dialog.PageControl->setCurrentWidget(dialog.tsCardBack);
                             onCardBackPage = dialog.PageControl->currentWidget() == dialog.tsCardBack;
                             shown = dialog.imgCardBack->grab().toImage();
                             previousEnabled = dialog.btPrevious->isEnabled();
                             nextEnabled = dialog.btNext->isEnabled();
                             colourShown = dialog.ComboBox->currentText();
                         });
    QVERIFY(onCardBackPage);
    QCOMPARE(previousEnabled, back != 1);
    QCOMPARE(nextEnabled, back != 6);
    QCOMPARE(colourShown, colour);

    // The margin around the card shows the page; the card is the library's.
    const QColor page = shown.pixelColor(0, 0);
    // Drawn over a clear surface and then over the page, the card's soft
    // edges may round one step apart from drawing it on the page directly.
    const int difference = largestDifference(shown, libraryBack(game.window->cards(), back, page));
    QVERIFY2(difference >= 0 && difference <= 2, qPrintable(QString::number(difference)));
    const int otherBack = back == 1 ? 2 : 1;
    QVERIFY(largestDifference(shown, libraryBack(game.window->cards(), otherBack, page)) > 16);
}

void TestPreferences::colourAndBackWaitForTheNextDeal_data()
{
    QTest::addColumn<int>("colourSteps"); // down the list from Green
    QTest::addColumn<int>("backSteps");   // Next from back 1
    QTest::addColumn<bool>("applyFirst");
    QTest::addColumn<QStringList>("messages");

    QTest::newRow("colour only, OK") << 1 << 0 << false << QStringList{ColourMessage};
    QTest::newRow("back only, OK") << 0 << 2 << false << QStringList{BackMessage};
    QTest::newRow("both, Apply, then OK") << 3 << 1 << true << QStringList{BothMessage};
    QTest::newRow("colour only, Apply, then OK") << 2 << 0 << true << QStringList{ColourMessage};
    QTest::newRow("nothing changed, OK") << 0 << 0 << false << QStringList();
}

void TestPreferences::colourAndBackWaitForTheNextDeal()
{
    QFETCH(int, colourSteps);
    QFETCH(int, backSteps);
    QFETCH(bool, applyFirst);
    QFETCH(QStringList, messages);
    Game game;
    const QColor green = tableColour(DefaultColourIndex);
    QCOMPARE(game.window->surface()->tableColour(), green);

    QStringList afterApply;
    bool applyEnabledAfterApply = true;
    game.withPreferences(game.commands().mnuBackgroundColor, [&](TfrmPreferences &dialog) {
        for (int step = 0; step < colourSteps; ++step)
            changeOption(dialog, QStringLiteral("colour"), true);
        for (int step = 0; step < backSteps; ++step)
            changeOption(dialog, QStringLiteral("card back"), true);
        if (applyFirst) {
            dialog.btApply->click();
            afterApply = game.messages();
            applyEnabledAfterApply = dialog.btApply->isEnabled();
            QVERIFY(dialog.isVisible());
        }
        dialog.btOK->click();
        QVERIFY(!dialog.isVisible());
    });
    if (applyFirst) {
        QCOMPARE(afterApply, messages);
        QVERIFY(!applyEnabledAfterApply);
    }
    // A second OK after Apply has nothing new to tell.
    QCOMPARE(game.messages(), messages);

    const int colour = DefaultColourIndex + colourSteps;
    QCOMPARE(game.window->options().BackGroundColor, colour);
    QCOMPARE(game.window->options().CardBack, 1 + backSteps);
    game.window->commands().mnuRefresh->trigger();
    QCOMPARE(game.window->surface()->tableColour(), green);
    QCOMPARE(game.window->surface()->backingImage().pixelColor(2, 2), green);

    game.commands().mnuNewGame->trigger();
    QCOMPARE(game.window->surface()->tableColour(), tableColour(colour));
    QCOMPARE(game.window->surface()->backingImage().pixelColor(2, 2), tableColour(colour));
}

void TestPreferences::resetFollowsTheDefaults_data()
{
    QTest::addColumn<QString>("option");
    for (const char *option : {"cbSound", "cbPrompts", "cbTips", "cbShowNameBox", "cbAutoSave", "cbPause",
                               "cbToolHint", "cbToolBarBMP", "cbSlowAnim", "colour", "card back"})
        QTest::newRow(option) << QString::fromLatin1(option);
}

void TestPreferences::resetFollowsTheDefaults()
{
    QFETCH(QString, option);
    Game game;
    game.withPreferences(game.commands().mnuPreferences, [&](TfrmPreferences &dialog) {
        const QVariantList defaults = controlStates(dialog);
        QVERIFY(!dialog.btReset->isEnabled());
        QVERIFY(!dialog.btApply->isEnabled());

        changeOption(dialog, option, true);
        QVERIFY(controlStates(dialog) != defaults);
        QVERIFY(dialog.btReset->isEnabled());
        QVERIFY(dialog.btApply->isEnabled());
        changeOption(dialog, option, false);
        QCOMPARE(controlStates(dialog), defaults);
        QVERIFY(!dialog.btReset->isEnabled());

        changeOption(dialog, option, true);
        dialog.btReset->click();
        QCOMPARE(controlStates(dialog), defaults);
        QVERIFY(!dialog.btReset->isEnabled());
        QVERIFY(dialog.btApply->isEnabled());
    });
}

void TestPreferences::resetThenCancelChangesNothing()
{
    Game game("; every option away from its default\r\n"
              "[Options]\r\nPrompts=1\r\nSound=0\r\nShowTips=0\r\nAutoSave=1\r\nPause=0\r\nToolHint=0\r\n"
              "Textured Toolbar=0\r\nSlowAnim=1\r\nBackGroundColor=2\r\nCardBack=4\r\nShowNameBox=0\r\n"
              "[TopTen]\r\nLastPlayer=Anna\r\n");
    const QByteArray before = game.services.readSettings();
    const Options options = game.window->options();
    QVERIFY(options.Prompts);

    QList<bool> shownChecks;
    bool resetWasEnabled = false;
    game.withPreferences(game.commands().mnuPreferences, [&](TfrmPreferences &dialog) {
        // What the file and the menus say, before anything is changed.
        for (QCheckBox *box : {dialog.cbSound, dialog.cbPrompts, dialog.cbTips, dialog.cbShowNameBox,
                               dialog.cbAutoSave, dialog.cbPause, dialog.cbToolHint, dialog.cbToolBarBMP,
                               dialog.cbSlowAnim})
            shownChecks.append(box->isChecked());
        shownChecks << (dialog.ComboBox->currentIndex() == 2) << (dialog.chosenBack() == 4);
        resetWasEnabled = dialog.btReset->isEnabled();
        dialog.btReset->click();
        QVERIFY(dialog.cbSound->isChecked());
        QCOMPARE(dialog.ComboBox->currentIndex(), DefaultColourIndex);
        dialog.btCancel->click();
    });
    QCOMPARE(shownChecks, (QList<bool>{false, true, false, false, true, false, false, false, true, true, true}));
    QVERIFY(resetWasEnabled);
    QCOMPARE(game.services.readSettings(), before);
    QCOMPARE(game.messages(), QStringList());
    QCOMPARE(game.window->options().Prompts, options.Prompts);
    QCOMPARE(game.window->options().CardBack, 4);
    QCOMPARE(game.window->options().BackGroundColor, 2);
    QVERIFY(!game.commands().mnuSound->isChecked());
}

void TestPreferences::okWritesEveryOptionInOrder()
{
    Game game;
    game.services.writeSettings("[Window]\nHeight=500\n");
    game.withPreferences(game.commands().mnuPreferences, [&](TfrmPreferences &dialog) {
        for (const char *option : {"cbPrompts", "cbTips", "cbSlowAnim", "colour", "card back"})
            changeOption(dialog, QString::fromLatin1(option), true);
        dialog.btOK->click();
    });
    const QByteArray file = game.services.readSettings();
    QVERIFY2(file.startsWith("[Window]\nHeight=500\n"), file.constData());
    QCOMPARE(optionsLines(file), (QStringList{"Prompts=1", "Sound=1", "ShowTips=0", "AutoSave=0", "Pause=1",
                                              "ToolHint=1", "Textured Toolbar=1", "SlowAnim=1", "BackGroundColor=6",
                                              "CardBack=2", "ShowNameBox=1"}));
}

void TestPreferences::optionsReachTheRunningProgram()
{
    Game game;
    CommandSurface &c = game.commands();
    QVERIFY(c.mnuSound->isChecked());
    QVERIFY(c.PopUpTip->isChecked());
    const QImage texturedBar = c.Toolbar->grab().toImage();

    game.withPreferences(c.mnuPreferences, [&](TfrmPreferences &dialog) {
        for (const char *option : {"cbSound", "cbPrompts", "cbTips", "cbShowNameBox", "cbAutoSave", "cbPause",
                                   "cbToolHint", "cbToolBarBMP", "cbSlowAnim"})
            changeOption(dialog, QString::fromLatin1(option), true);
        dialog.btOK->click();
    });
    QVERIFY(!c.mnuSound->isChecked());
    QVERIFY(!c.mnuTip->isChecked());
    QVERIFY(!c.PopUpTip->isChecked());
    QVERIFY(c.mnuAutoSave->isChecked());
    const Options &o = game.window->options();
    QVERIFY(o.Prompts && o.SlowAnim && !o.Pause && !o.ShowNameBox && !o.ToolHint && !o.TexturedToolbar);
    QCOMPARE(restingTooltip(game), QString());
    QVERIFY(c.Toolbar->grab().toImage() != texturedBar);

    // Prompts on and sound off, both at the next deal.
    const int shuffles = game.services.sound.played.count(QStringLiteral("Shuffle.wav"));
    game.services.modal.press(QMessageBox::Yes);
    c.mnuNewGame->trigger();
    QCOMPARE(game.messages().last(), QStringLiteral("Sure you want to quit current game?"));
    QCOMPARE(game.services.sound.played.count(QStringLiteral("Shuffle.wav")), shuffles);

    game.withPreferences(c.mnuPreferences, [&](TfrmPreferences &dialog) {
        changeOption(dialog, QStringLiteral("cbToolHint"), true);
        changeOption(dialog, QStringLiteral("cbToolBarBMP"), true);
        dialog.btOK->click();
    });
    QCOMPARE(restingTooltip(game), QStringLiteral("New Game"));
    QCOMPARE(c.Toolbar->grab().toImage(), texturedBar);
}

void TestPreferences::withoutSoundDeviceTheSoundBoxStaysOff()
{
    Game game({}, 0);
    QVERIFY(!game.commands().mnuSound->isEnabled());
    game.withPreferences(game.commands().mnuPreferences, [&](TfrmPreferences &dialog) {
        QVERIFY(!dialog.cbSound->isEnabled());
        QVERIFY(!dialog.cbSound->isChecked());
        QVERIFY(!dialog.btReset->isEnabled());
        changeOption(dialog, QStringLiteral("cbPrompts"), true);
        QVERIFY(dialog.btReset->isEnabled());
        dialog.btReset->click();
        QVERIFY(!dialog.cbSound->isChecked());
        QVERIFY(!dialog.btReset->isEnabled());
        dialog.btOK->click();
    });
    QVERIFY(optionsLines(game.services.readSettings()).contains(QStringLiteral("Sound=0")));
    QVERIFY(!game.commands().mnuSound->isChecked());
    QVERIFY(!game.commands().mnuSound->isEnabled());
}

void TestPreferences::helpOnAControl_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("control");
    QTest::addColumn<bool>("byHelpButton"); // the title bar's "?", else F1
    QTest::addColumn<int>("topic");         // 0: no help

    QTest::newRow("Preferences, F1 on Pause") << "Preferences" << "cbPause" << false << 134;
    QTest::newRow("Preferences, F1 on the colours") << "Preferences" << "ComboBox" << false << 137;
    QTest::newRow("Preferences, ? on Reset") << "Preferences" << "btReset" << true << 140;
    QTest::newRow("Preferences, ? on the card back page") << "Preferences" << "imgCardBack" << true << 139;
    QTest::newRow("Preferences, F1 on Next, the page's topic") << "Preferences" << "btNext" << false << 139;
    QTest::newRow("Preferences, ? on the tabs") << "Preferences" << "qt_tabwidget_tabbar" << true << 0;
    QTest::newRow("Player Name, F1 in the name") << "Player Name" << "edPlayer" << false << 141;
    QTest::newRow("Player Name, ? on its box") << "Player Name" << "cbShowPlayerName" << true << 142;
    QTest::newRow("Player Name, F1 on OK") << "Player Name" << "BitBtn1" << false << 128;
    QTest::newRow("Top Ten, F1 on OK") << "Top Ten" << "btOK" << false << 128;
    QTest::newRow("Top Ten, ? on Clear Scores") << "Top Ten" << "btClearScores" << true << 143;
    QTest::newRow("Top Ten, F1 on Help") << "Top Ten" << "btHelp" << false << 0;
}

void TestPreferences::helpOnAControl()
{
    QFETCH(QString, command);
    QFETCH(QString, control);
    QFETCH(bool, byHelpButton);
    QFETCH(int, topic);
    Game game;
    QAction *action = commandNamed(game.commands(), command);
    QVERIFY(action);

    QPoint corner;
    bool helpButton = false;
    game.services.modal.answerWith([&](QDialog &dialog) {
        dialog.show();
        helpButton = dialog.windowFlags().testFlag(Qt::WindowContextHelpButtonHint);
        auto *widget = dialog.findChild<QWidget *>(control);
        if (!widget) {
            QTest::qFail("no such control", __FILE__, __LINE__);
            return 0;
        }
        if (auto *preferences = qobject_cast<TfrmPreferences *>(&dialog))
            showPageOf(*preferences, widget);
        corner = widget->mapToGlobal(QPoint(0, 0));
        if (byHelpButton) {
            QHelpEvent click(QEvent::WhatsThis, QPoint(3, 3), widget->mapToGlobal(QPoint(3, 3)));
            QApplication::sendEvent(widget, &click);
        } else {
            widget->setFocus();
            QTest::keyClick(widget, Qt::Key_F1);
        }
        dialog.reject();
        return dialog.result();
    });
    action->trigger();
    QVERIFY(helpButton);

    QList<test::RecordingHelp::Call> popups;
    for (const auto &call : game.services.help.calls)
        if (call.command == HelpCommand::ContextPopup)
            popups.append(call);
    if (topic == 0) {
        QCOMPARE(popups.size(), 0);
        return;
    }
    QCOMPARE(popups.size(), 1);
    QCOMPARE(popups.first().topic, topic);
    QCOMPARE(popups.first().popupAt, corner);
    QVERIFY(popups.first().file.endsWith(QStringLiteral("Vespin.hlp>aux")));
}

QTEST_MAIN(TestPreferences)
#include "tst_preferences.moc"
