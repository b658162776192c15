#pragma once

#include "vespin.h"

#include <QColor>
#include <QDialog>
#include <QImage>
#include <QPoint>

#include <functional>
#include <memory>

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QPushButton;
class QTabWidget;

namespace vespin {

class CardLibrary;
class ModalRunner;
class SettingsFile;

// Every option the dialog shows, as the running program holds it.
struct PreferenceValues {
    bool Sound = true;
    bool Prompts = false;
    bool ShowTips = true;
    bool AutoSave = false;
    bool Pause = true;
    bool ToolHint = true;
    bool TexturedToolbar = true;
    bool SlowAnim = false;
    bool ShowNameBox = true;
    int BackGroundColor = 5; // the current background index
    int CardBack = 1;        // the current card back

    bool operator==(const PreferenceValues &) const = default;
};

// What the dialog needs of the running program, and how it hands the
// options back. The main window fills it in.
struct PreferencesLink {
    PreferenceValues current;
    // False when there is no sound device: the Sound entry is off for the run.
    bool soundAvailable = true;
    // Vespin.ini, for the colour stored there.
    QString settingsPath;
    // Draws the backs for the Card Back page.
    const CardLibrary *cards = nullptr;
    // Runs one change of the settings file and reports a failed write;
    // false when the write failed.
    std::function<bool(const std::function<void(SettingsFile &)> &)> changeSettings;
    // Takes the options over into the running program: its menu checks, the
    // tool bar and the options in memory, the back and colour for the next
    // deal included.
    std::function<void(const PreferenceValues &)> apply;
};

// The picture of one card back, drawn by the card library on a small surface
// of its own at the screen's pixel ratio.
class CardBackPicture : public QWidget {
    Q_OBJECT
public:
    static constexpr int Margin = 8;

    explicit CardBackPicture(QWidget *parent = nullptr);
    ~CardBackPicture() override;

    // Called at every repaint to draw the surface afresh; the surface has
    // just been cleared.
    void setPainter(std::function<void()> paint) { m_paint = std::move(paint); }
    VespinSurface *handle() { return m_surface.get(); }
    // Clears the surface and paints it through the painter, then shows it.
    void refresh();

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void paintAfresh();

    std::unique_ptr<VespinSurface> m_surface;
    QImage m_image;
    std::function<void()> m_paint;
};

// The options of the program on four pages. OK and Apply write them all and
// hand them to the running program; the table colour and the card back wait
// for the next deal.
class TfrmPreferences : public QDialog {
    Q_OBJECT

public:
    // The pages, in the order of their tabs.
    enum Page { GeneralPage, AdvancedPage, BackgroundPage, CardBackPage };

    // mainWindow: the window it is centred over; may be null.
    TfrmPreferences(ModalRunner &runner, PreferencesLink link, QWidget *mainWindow);

    void selectPage(Page page);

    // What showing the dialog does, callable without showing it.
    void FormActivate();

    // The back the Card Back page shows.
    int chosenBack() const { return m_chosenBack; }

    QTabWidget *PageControl = nullptr;
    QWidget *tsGeneral = nullptr;
    QWidget *tsAdvanced = nullptr;
    QWidget *tsBackground = nullptr;
    QWidget *tsCardBack = nullptr;
    QCheckBox *cbSound = nullptr;
    QCheckBox *cbPrompts = nullptr;
    QCheckBox *cbTips = nullptr;
    QCheckBox *cbShowNameBox = nullptr;
    QCheckBox *cbAutoSave = nullptr;
    QCheckBox *cbPause = nullptr;
    QCheckBox *cbToolHint = nullptr;
    QCheckBox *cbToolBarBMP = nullptr;
    QCheckBox *cbSlowAnim = nullptr;
    QComboBox *ComboBox = nullptr;
    QFrame *shSample = nullptr;
    QLabel *lblCardBack = nullptr;
    CardBackPicture *imgCardBack = nullptr;
    QPushButton *btPrevious = nullptr;
    QPushButton *btNext = nullptr;
    QPushButton *btOK = nullptr;
    QPushButton *btCancel = nullptr;
    QPushButton *btApply = nullptr;
    QPushButton *btReset = nullptr;

signals:
    // Help on one of the dialog's controls, to be shown at `at` on the screen.
    void contextHelpRequested(int topic, QPoint at);

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void EnableApply();
    void DefaultCheck();
    void btResetClick();
    void ComboBoxChange();
    void btNextClick();
    void btPreviousClick();
    void tsCardBackEnter();
    void PageControlChange();
    void FormPaint();
    void ApplyChanges();
    void drawChosenBack();
    void setSample(int index);
    PreferenceValues chosen() const;

    ModalRunner &m_runner;
    PreferencesLink m_link;
    int m_chosenBack = 1;
    QColor m_sample;
};

} // namespace vespin
