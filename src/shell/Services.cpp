#include "Services.h"

#include <QAbstractButton>

namespace vespin {

int ClosingModalRunner::run(QDialog &dialog)
{
    if (!m_refusing)
        return m_inner.run(dialog);
    dialog.reject();
    return dialog.result();
}

QMessageBox::StandardButton showMessage(ModalRunner &runner, QMessageBox::Icon icon, const QString &title,
                                        const QString &text, QMessageBox::StandardButtons buttons, QWidget *parent)
{
    QMessageBox box(icon, title, text, buttons, parent);
    runner.run(box);
    QAbstractButton *clicked = box.clickedButton();
    return clicked ? box.standardButton(clicked) : QMessageBox::NoButton;
}

} // namespace vespin
