#include "ContextHelp.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWhatsThis>
#include <QWidget>

namespace vespin {

ContextHelp::ContextHelp(QWidget &dialog) : QObject(&dialog), m_dialog(dialog)
{
    dialog.setWindowFlag(Qt::WindowContextHelpButtonHint, true);
    // Watched at the application, where an event still has the control it
    // was meant for: on its way up to the dialog it would lose it.
    qApp->installEventFilter(this);
}

int ContextHelp::topicOf(const QWidget *control)
{
    for (const QWidget *w = control; w; w = w->isWindow() ? nullptr : w->parentWidget()) {
        const QVariant topic = w->property("helpTopic");
        if (topic.isValid())
            return topic.toInt();
    }
    return 0;
}

bool ContextHelp::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::WhatsThis && type != QEvent::QueryWhatsThis)
        return false;
    auto *control = qobject_cast<QWidget *>(watched);
    if (!control || control->window() != &m_dialog)
        return false;
    if (type == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() != Qt::Key_F1 || (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
            return false;
    }
    const int topic = topicOf(control);
    if (topic == 0)
        return false;
    event->accept();
    if (type == QEvent::QueryWhatsThis) // the pointer shows that help is there
        return true;
    if (type == QEvent::WhatsThis)
        QWhatsThis::leaveWhatsThisMode();
    emit requested(topic, control->mapToGlobal(QPoint(0, 0)));
    return true;
}

} // namespace vespin
