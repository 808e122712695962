#include "about/formbrimvale.h"
#include "support/tablefixture.h"
#include "table/pictures.h"

#include <QApplication>
#include <QMessageBox>
#include <QPainter>
#include <QSvgRenderer>
#include <QTest>
#include <QTimer>

// At 200 % the table keeps its layout in device-independent pixels and every picture is drawn
// at the physical resolution: a face on the screen is the same image as the face's SVG drawn
// directly at twice the size, not a small bitmap blown up.
class HiDpi : public QObject
{
    Q_OBJECT
private slots:
    void layoutKeepsItsDeviceIndependentSize();
    void facesAndMarkersAreDrawnAtThePhysicalResolution();
    void faceBordersAreWholePhysicalPixels();
    void messageIconsAreDrawnAtThePhysicalResolution();
    void iconLogoAndCursorAreDrawnAtThePhysicalResolution();
};

namespace
{

constexpr qreal kScale = 2.0;
// The table is 8880 twips wide, 592 pixels at 15 twips to the pixel.
constexpr int kTableWidth = 592;
constexpr int kTableHeight = 480;
const QColor kCloth(0, 128, 0);

QImage grabbed(QWidget& window)
{
    return window.grab().toImage().convertToFormat(QImage::Format_ARGB32);
}

// The widget's place in the grab of its window, in physical pixels.
QRect physicalRect(const QWidget& widget, const QWidget& window)
{
    const QRect logical(widget.mapTo(&window, QPoint(0, 0)), widget.size());
    return {logical.topLeft() * kScale, logical.size() * kScale};
}

// An SVG drawn directly at a physical size onto a background, with an overlay (the divider of
// a tile) drawn at its own physical size and offset, as the window stacks them.
struct Layer {
    QString source;
    QRect physical;
};

QImage drawnDirectly(QSize physicalSize, const QColor& background, const std::vector<Layer>& layers)
{
    QImage image(physicalSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(background);
    QPainter painter(&image);
    for (const Layer& layer : layers) {
        QImage part(layer.physical.size(), QImage::Format_ARGB32_Premultiplied);
        part.fill(Qt::transparent);
        QPainter partPainter(&part);
        QSvgRenderer(layer.source).render(&partPainter);
        partPainter.end();
        painter.drawImage(layer.physical.topLeft(), part);
    }
    painter.end();
    return image.convertToFormat(QImage::Format_ARGB32);
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

// Rendering the same SVG at the same size may round a channel differently, never more.
constexpr int kRoundingSlack = 1;

// The deal in tile order: seat 4 holds the 6/6 and opens, and nobody else holds a six, so the
// player's first turn comes with one tile on the table and both markers beside it.
void dealToThePlayersTurn(Table& table)
{
    table.scriptDeal(allTilesInOrder());
    table.clickStart();
    while (table.form.Timer1->isArmed())
        table.form.Timer1_Timer();
}

} // namespace

void HiDpi::layoutKeepsItsDeviceIndependentSize()
{
    Table table;
    QCOMPARE(table.form.devicePixelRatioF(), kScale);
    QCOMPARE(table.form.centralWidget()->size(), QSize(kTableWidth, kTableHeight));
    QCOMPARE(table.form.width(), kTableWidth);
    QCOMPARE(
        table.form.Image2(0)->geometry(),
        twips::toPixels(QRectF(table.form.Image2(0)->Left(), table.form.Image2(0)->Top(),
                               table.form.Image2(0)->Width(), table.form.Image2(0)->Height())));
    const QImage image = grabbed(table.form);
    QCOMPARE(image.width(), qRound(table.form.width() * kScale));
}

void HiDpi::facesAndMarkersAreDrawnAtThePhysicalResolution()
{
    Table table;
    Form1& form = table.form;
    dealToThePlayersTurn(table);
    QVERIFY(form.humanTurn);
    const QImage screen = grabbed(form);

    // The opening double six: its upper half, with the seam's divider over its lower edge.
    const Picture* upper = form.Image3(1);
    const Picture* seam = form.Image3(3);
    QCOMPARE(upper->picture(), pictures::face(6));
    const QRect upperRect = physicalRect(*upper, form);
    QCOMPARE(upperRect.size(), QSize(pictures::kDesignPixels, pictures::kDesignPixels) * kScale);
    const QImage tableHalf = drawnDirectly(
        upperRect.size(), kCloth,
        {{pictures::face(6), QRect(QPoint(0, 0), upperRect.size())},
         {seam->picture(), physicalRect(*seam, form).translated(-upperRect.topLeft())}});
    QVERIFY(largestDifference(screen.copy(upperRect), tableHalf) <= kRoundingSlack);

    // A tile of the hand: its upper half is stretched to the control, a little larger.
    const Picture* handHalf = form.Image2(0);
    const Picture* handSeam = form.Image5(1);
    const QRect handRect = physicalRect(*handHalf, form);
    const QImage hand = drawnDirectly(
        handRect.size(), kCloth,
        {{handHalf->picture(), QRect(QPoint(0, 0), handRect.size())},
         {handSeam->picture(), physicalRect(*handSeam, form).translated(-handRect.topLeft())}});
    QVERIFY(largestDifference(screen.copy(handRect), hand) <= kRoundingSlack);

    for (int i = 0; i <= 1; ++i) {
        const Picture* marker = form.Image4(i);
        QVERIFY(marker->isVisible());
        const QRect markerRect = physicalRect(*marker, form);
        const QImage drawn = drawnDirectly(markerRect.size(), kCloth,
                                           {{marker->picture(), QRect({0, 0}, markerRect.size())}});
        QVERIFY2(largestDifference(screen.copy(markerRect), drawn) <= kRoundingSlack,
                 qPrintable(QStringLiteral("marker %1").arg(i)));
    }
}

void HiDpi::faceBordersAreWholePhysicalPixels()
{
    Table table;
    dealToThePlayersTurn(table);
    const QImage screen = grabbed(table.form);
    const QRect half = physicalRect(*table.form.Image3(1), table.form);
    const QRgb black = qRgb(0, 0, 0);
    const QRgb white = qRgb(255, 255, 255);
    // Along the middle of the left edge and of the top edge, between the pips: two physical
    // pixels of pure black, then pure white, with no grey between them.
    const int middle = half.height() / 2;
    for (int d = 0; d < 2; ++d) {
        QCOMPARE(screen.pixel(half.left() + d, half.top() + middle), black);
        QCOMPARE(screen.pixel(half.left() + half.width() / 2, half.top() + d), black);
    }
    QCOMPARE(screen.pixel(half.left() + 2, half.top() + middle), white);
    QCOMPARE(screen.pixel(half.left() + half.width() / 2, half.top() + 2), white);
}

void HiDpi::messageIconsAreDrawnAtThePhysicalResolution()
{
    Table table;
    dealToThePlayersTurn(table);
    table.watch.pause(true);
    QPixmap icon;
    QMessageBox::Icon kind = QMessageBox::NoIcon;
    QTimer::singleShot(0, this, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        icon = box->iconPixmap();
        kind = box->icon();
        box->button(QMessageBox::Ok)->click();
    });
    // A marker with no tile chosen: the exclamation box.
    Table::click(table.form.Image4(0));
    QCOMPARE(kind, QMessageBox::Warning);
    QVERIFY(!icon.isNull());
    QCOMPARE(icon.devicePixelRatio(), kScale);
    const QSize physical = icon.size();
    QCOMPARE(physical, (icon.deviceIndependentSize() * kScale).toSize());
    const QImage drawn = drawnDirectly(physical, Qt::transparent,
                                       {{pictures::kMessageWarning, QRect({0, 0}, physical)}});
    QVERIFY(largestDifference(icon.toImage().convertToFormat(QImage::Format_ARGB32), drawn) <=
            kRoundingSlack);
}

void HiDpi::iconLogoAndCursorAreDrawnAtThePhysicalResolution()
{
    Table table;
    const QSize iconSize(32, 32);
    const QPixmap icon = table.form.windowIcon().pixmap(iconSize, kScale);
    QCOMPARE(icon.size(), iconSize * kScale);
    const QImage drawnIcon = drawnDirectly(icon.size(), Qt::transparent,
                                           {{pictures::kIcon, QRect({0, 0}, icon.size())}});
    QVERIFY(largestDifference(icon.toImage().convertToFormat(QImage::Format_ARGB32), drawnIcon) <=
            kRoundingSlack);

    FormBrimvale about(&table.form, table.documents);
    about.show();
    const QImage box = grabbed(about);
    const QRect logo = physicalRect(*about.imgLogo, about);
    const QImage drawnLogo =
        drawnDirectly(logo.size(), Qt::black, {{pictures::kLogo, QRect({0, 0}, logo.size())}});
    QVERIFY(largestDifference(box.copy(logo), drawnLogo) <= kRoundingSlack);

    const QPixmap cursor = about.lblURL->cursor().pixmap();
    QCOMPARE(cursor.devicePixelRatio(), kScale);
    const QImage drawnCursor = drawnDirectly(
        cursor.size(), Qt::transparent, {{pictures::kHandCursor, QRect({0, 0}, cursor.size())}});
    QVERIFY(largestDifference(cursor.toImage().convertToFormat(QImage::Format_ARGB32),
                              drawnCursor) <= kRoundingSlack);
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
