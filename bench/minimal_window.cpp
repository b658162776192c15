#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QPainter>
#include <QStatusBar>
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

} // namespace

// usage: minimal_window [--text]
// With --text the window has a menu bar and a status line as well: the
// least that brings in the fonts, for telling their share of a start-up.
int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Minimal Window"));
    window.setCentralWidget(new GreenArea);
    if (QApplication::arguments().contains(QStringLiteral("--text"))) {
        for (const char *title : {"&Game", "&Options", "&View", "&Help"})
            window.menuBar()->addMenu(QString::fromLatin1(title));
        window.statusBar()->showMessage(QStringLiteral("Minimal Window"));
    }
    window.resize(640, 450);
    window.show();
    return app.exec();
}
