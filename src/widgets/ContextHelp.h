#pragma once

#include <QObject>
#include <QPoint>

class QWidget;

namespace vespin {

// Help on a control of a dialog: the title bar's "?" followed by a click on
// the control, or F1 while the control has the focus. A control's help topic
// is its "helpTopic" property, or that of its nearest parent inside the
// dialog that has one; a control without any gets no help.
class ContextHelp : public QObject {
    Q_OBJECT

public:
    // Gives the dialog its title-bar help button and watches its controls
    // for as long as the dialog lives.
    explicit ContextHelp(QWidget &dialog);

    // The topic of a control, or 0 when neither it nor a parent inside its
    // window names one.
    static int topicOf(const QWidget *control);

signals:
    // at: the control's top-left corner in screen coordinates, where the
    // pop-up belongs.
    void requested(int topic, QPoint at);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget &m_dialog;
};

} // namespace vespin
