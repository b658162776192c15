#include <QAction>
#include <QApplication>
#include <QIcon>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPixmap>
#include <QStatusBar>
#include <QToolBar>
#include <QWidget>

namespace {

class GreenArea : public QWidget {
protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), QColor(0, 128, 0));
    }
};

// A button picture drawn in memory: a picture file would bring in the image
// plugins, which no window of this kind needs.
QIcon square(QColor colour)
{
    QPixmap picture(16, 16);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(colour);
    painter.drawRoundedRect(QRectF(1.5, 1.5, 13, 13), 3, 3);
    return QIcon(picture);
}

} // namespace

// usage: minimal_window [--bare]
// The yardstick for the game's start-up and memory: what every window of its
// kind pays for, a menu bar with four menus, a tool bar with a few buttons,
// a status bar with text and a painted central area. With --bare only the
// painted area, for reference.
int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Minimal Window"));
    window.setCentralWidget(new GreenArea);
    if (!QApplication::arguments().contains(QStringLiteral("--bare"))) {
        QToolBar *toolbar = window.addToolBar(QStringLiteral("Toolbar"));
        const QColor colours[] = {Qt::red, Qt::blue, Qt::darkYellow, Qt::darkCyan, Qt::magenta};
        int n = 0;
        for (const char *title : {"&Game", "&Options", "&View", "&Help"}) {
            QMenu *menu = window.menuBar()->addMenu(QString::fromLatin1(title));
            for (int entry = 1; entry <= 3; ++entry) {
                QAction *action = menu->addAction(QStringLiteral("Entry %1").arg(entry));
                action->setStatusTip(QStringLiteral("What entry %1 does").arg(entry));
                if (entry == 1) {
                    action->setIcon(square(colours[n++ % 5]));
                    toolbar->addAction(action);
                }
            }
        }
        toolbar->addAction(square(colours[4]), QStringLiteral("More"));
        window.statusBar()->showMessage(QStringLiteral("Minimal Window"));
    }
    window.resize(640, 450);
    window.show();
    return app.exec();
}
