// The floor that the toolkit itself sets: a plain Qt program of the table's shape, a fixed
// 592 by 480 window with a two-menu bar, 150 labels (30 of them with small painted pictures)
// and two buttons, which quits as soon as its window has been painted for the first time.

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLayout>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QTimer>

namespace
{

constexpr int kWidth = 592;
constexpr int kHeight = 480;
constexpr int kLabels = 150;
constexpr int kPictured = 30;
constexpr int kColumns = 10;
constexpr int kCellWidth = 56;
constexpr int kCellHeight = 28;
constexpr int kPicturePixels = 24;
constexpr int kMargin = 8;
constexpr QSize kButtonSize(120, 32);

QPixmap paintedPicture(int n)
{
    QPixmap picture(kPicturePixels, kPicturePixels);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::black);
    painter.drawRect(0, 0, kPicturePixels - 1, kPicturePixels - 1);
    painter.setBrush(Qt::black);
    for (int pip = 0; pip < n % 7; ++pip)
        painter.drawEllipse(QPointF(4 + 3 * pip, 4 + 2.5 * pip), 2, 2);
    return picture;
}

class Window : public QMainWindow
{
public:
    Window()
    {
        setWindowTitle(QStringLiteral("Base"));
        auto* client = new QWidget(this);
        client->setFixedSize(kWidth, kHeight);
        setCentralWidget(client);
        for (int i = 0; i < kLabels; ++i) {
            auto* label = new QLabel(client);
            label->setGeometry(kMargin + (i % kColumns) * kCellWidth,
                               kMargin + (i / kColumns) * kCellHeight, kCellWidth, kCellHeight);
            if (i < kPictured)
                label->setPixmap(paintedPicture(i));
            else
                label->setText(QStringLiteral("Texto %1").arg(i));
        }
        for (int i = 0; i < 2; ++i) {
            auto* button = new QPushButton(
                i == 0 ? QStringLiteral("Empezar") : QStringLiteral("Pasar"), client);
            button->setGeometry(QRect(QPoint(kMargin + i * (kButtonSize.width() + kMargin),
                                             kHeight - kMargin - kButtonSize.height()),
                                      kButtonSize));
        }
        for (const QString& title : {QStringLiteral("Juego"), QStringLiteral("Ayuda")}) {
            QMenu* menu = menuBar()->addMenu(title);
            menu->addAction(title + QStringLiteral(" 1"));
            menu->addAction(title + QStringLiteral(" 2"));
        }
        layout()->setSizeConstraint(QLayout::SetFixedSize);
    }

protected:
    void paintEvent(QPaintEvent* event) override
    {
        QMainWindow::paintEvent(event);
        // The painted frame reaches the screen before the event loop turns again.
        if (!quitting_) {
            quitting_ = true;
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
    }

private:
    bool quitting_ = false;
};

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    Window window;
    window.show();
    return QApplication::exec();
}
