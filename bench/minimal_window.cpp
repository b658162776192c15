#include <QApplication>
#include <QMainWindow>
#include <QPainter>
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

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Minimal Window"));
    window.setCentralWidget(new GreenArea);
    window.resize(640, 450);
    window.show();
    return app.exec();
}
