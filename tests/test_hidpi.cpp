#include "about/formbrimvale.h"
#include "support/tablefixture.h"
#include "table/pictures.h"

#include <QApplication>
#include <QPainter>
#include <QSvgRenderer>
#include <QTest>

// At 200 % the table keeps its layout in device-independent pixels and every picture is drawn
// at the physical resolution: a face on the screen is the same image as the face's SVG drawn
// directly at twice the size, not a small bitmap blown up.
class HiDpi : public QObject
{
    Q_OBJECT
private slots:
    void layoutKeepsItsDeviceIndependentSize();
    void tablePicturesAreDrawnAtThePhysicalResolution();
    void iconsLogoAndCursorAreDrawnAtThePhysicalResolution();
};

namespace
{

constexpr qreal kScale = 2.0;
const QColor kCloth(0, 128, 0);
// Rendering the same SVG at the same size may round a channel differently, never more.
constexpr int kRoundingSlack = 1;

QImage argb(const QImage& image)
{
    return image.convertToFormat(QImage::Format_ARGB32);
}

// The widget's place in the grab of its window, in physical pixels.
QRect physicalRect(const QWidget& widget, const QWidget& window)
{
    return {widget.mapTo(&window, QPoint(0, 0)) * kScale, widget.size() * kScale};
}

// SVGs drawn directly, each at its own physical place and size, onto a background.
QImage drawnDirectly(QSize size, const QColor& background,
                     const std::vector<std::pair<QString, QRect>>& layers)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(background);
    QPainter painter(&image);
    for (const auto& [source, place] : layers) {
        QImage part(place.size(), QImage::Format_ARGB32_Premultiplied);
        part.fill(Qt::transparent);
        QPainter partPainter(&part);
        QSvgRenderer(source).render(&partPainter);
        partPainter.end();
        painter.drawImage(place.topLeft(), part);
    }
    painter.end();
    return argb(image);
}

// The largest difference of any channel between two images of the same size.
int largestDifference(const QImage& a, const QImage& b)
{
    if (a.size() != b.size())
        return 255;
    int largest = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            largest =
                std::max({largest, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                          std::abs(qBlue(p) - qBlue(q)), std::abs(qAlpha(p) - qAlpha(q))});
        }
    }
    return largest;
}

// A picture of the table against its SVG, with the picture that lies over it (a divider).
void checkDrawnLikeItsSvg(const QImage& screen, const Form1& form, const Picture* picture,
                          const Picture* over = nullptr)
{
    const QRect rect = physicalRect(*picture, form);
    std::vector<std::pair<QString, QRect>> layers{{picture->picture(), QRect({0, 0}, rect.size())}};
    if (over)
        layers.emplace_back(over->picture(), physicalRect(*over, form).translated(-rect.topLeft()));
    QVERIFY2(largestDifference(screen.copy(rect), drawnDirectly(rect.size(), kCloth, layers)) <=
                 kRoundingSlack,
             qPrintable(picture->picture()));
}

} // namespace

void HiDpi::layoutKeepsItsDeviceIndependentSize()
{
    Table table;
    QCOMPARE(table.form.devicePixelRatioF(), kScale);
    const Picture* half = table.form.Image2(0);
    QCOMPARE(half->geometry(),
             twips::toPixels(QRectF(half->Left(), half->Top(), half->Width(), half->Height())));
}

void HiDpi::tablePicturesAreDrawnAtThePhysicalResolution()
{
    Table table;
    Form1& form = table.form;
    // Seat 4 holds the 6/6 and opens, nobody else holds a six: at the player's first turn one
    // tile lies on the table and both markers wait beside it.
    table.deal(allTilesInOrder());
    while (form.Timer1->isArmed())
        form.Timer1_Timer();
    QVERIFY(form.humanTurn);
    const QImage screen = argb(form.grab().toImage());

    // The opening's upper half with the seam's divider over its lower edge; a tile of the hand,
    // stretched to its control; the two markers.
    QCOMPARE(physicalRect(*form.Image3(1), form).size(),
             QSize(pictures::kDesignPixels, pictures::kDesignPixels) * kScale);
    checkDrawnLikeItsSvg(screen, form, form.Image3(1), form.Image3(3));
    checkDrawnLikeItsSvg(screen, form, form.Image2(0), form.Image5(1));
    checkDrawnLikeItsSvg(screen, form, form.Image4(0));
    checkDrawnLikeItsSvg(screen, form, form.Image4(1));

    // The face's border is two whole physical pixels of pure black, then pure white, with no
    // grey between them, along the middle of its left and top edges.
    const QRect half = physicalRect(*form.Image3(1), form);
    for (int d = 0; d <= 2; ++d) {
        const QRgb expected = d < 2 ? qRgb(0, 0, 0) : qRgb(255, 255, 255);
        QCOMPARE(screen.pixel(half.left() + d, half.top() + half.height() / 2), expected);
        QCOMPARE(screen.pixel(half.left() + half.width() / 2, half.top() + d), expected);
    }
}

void HiDpi::iconsLogoAndCursorAreDrawnAtThePhysicalResolution()
{
    Table table;
    auto check = [](const QPixmap& pixmap, const QString& source) {
        QCOMPARE(pixmap.devicePixelRatio(), kScale);
        QVERIFY2(largestDifference(argb(pixmap.toImage()),
                                   drawnDirectly(pixmap.size(), Qt::transparent,
                                                 {{source, QRect({0, 0}, pixmap.size())}})) <=
                     kRoundingSlack,
                 qPrintable(source));
    };
    const QPixmap icon = table.form.windowIcon().pixmap(QSize(32, 32), kScale);
    QCOMPARE(icon.size(), QSize(32, 32) * kScale);
    check(icon, pictures::kIcon);

    // A marker with no tile chosen: the exclamation box.
    table.deal(doubleSixAtSeat(1));
    Table::click(table.form.Image4(0));
    QCOMPARE(table.watch.messages.size(), std::size_t(1));
    QCOMPARE(table.watch.messages.front().icon, QMessageBox::Warning);
    check(table.watch.messages.front().iconPixmap, pictures::kMessageWarning);

    FormBrimvale about(&table.form, table.documents);
    about.show();
    const QRect logo = physicalRect(*about.imgLogo, about);
    QVERIFY(largestDifference(argb(about.grab().toImage()).copy(logo),
                              drawnDirectly(logo.size(), Qt::black,
                                            {{pictures::kLogo, QRect({0, 0}, logo.size())}})) <=
            kRoundingSlack);
    check(about.lblURL->cursor().pixmap(), pictures::kHandCursor);
}

int main(int argc, char* argv[])
{
    // Set before the application exists, so that every screen comes up at 200 %.
    qputenv("QT_SCALE_FACTOR", QByteArray::number(kScale));
    QApplication app(argc, argv);
    HiDpi test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_hidpi.moc"
