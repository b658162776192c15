#include "TestServices.h"

#include <QAbstractButton>
#include <QDialog>
#include <QDirIterator>
#include <QFile>

namespace vespin::test {

int ScriptedModalRunner::run(QDialog &dialog)
{
    ShownDialog shown;
    shown.className = QString::fromLatin1(dialog.metaObject()->className());
    shown.title = dialog.windowTitle();
    if (auto *box = qobject_cast<QMessageBox *>(&dialog)) {
        shown.text = box->text();
        for (QAbstractButton *button : box->buttons())
            shown.buttons.append(button->text());
    }
    m_shown.append(shown);
    if (showDialogs)
        dialog.show();
    int result;
    if (m_script.isEmpty()
        || (!m_script.first().className.isEmpty() && m_script.first().className != shown.className)) {
        dialog.reject();
        result = dialog.result();
    } else {
        result = m_script.takeFirst().answer(dialog);
    }
    dialog.hide();
    return result;
}

void ScriptedModalRunner::press(QMessageBox::StandardButton button)
{
    answerWith([button](QDialog &dialog) {
        auto *box = qobject_cast<QMessageBox *>(&dialog);
        if (box && box->button(button))
            box->button(button)->click();
        return dialog.result();
    });
}

QString TestServices::settingsFile() const
{
    return QDir(settings.directory()).absoluteFilePath(QStringLiteral("Vespin.ini"));
}

void TestServices::writeSettings(const QByteArray &contents)
{
    QDir().mkpath(settings.directory());
    QFile file(settingsFile());
    if (file.open(QIODevice::WriteOnly))
        file.write(contents);
}

QByteArray TestServices::readSettings() const
{
    QFile file(settingsFile());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList filesUnder(const QString &directory)
{
    QStringList files;
    QDirIterator it(directory, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext())
        files.append(QDir(directory).relativeFilePath(it.next()));
    return files;
}

} // namespace vespin::test
