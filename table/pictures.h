#pragma once

#include <QPixmap>
#include <QSize>
#include <QString>

class QCursor;
class QIcon;

// The program's pictures, all SVG, rendered on demand at the device's own resolution.
namespace pictures
{

QString face(int pips);
inline const QString kDividerVertical = QStringLiteral(":/pictures/divider-vertical.svg");
inline const QString kDividerHorizontal = QStringLiteral(":/pictures/divider-horizontal.svg");
inline const QString kMarkerGreen = QStringLiteral(":/pictures/marker-green.svg");
inline const QString kMarkerCyan = QStringLiteral(":/pictures/marker-cyan.svg");
inline const QString kIcon = QStringLiteral(":/pictures/icon.svg");
inline const QString kLogo = QStringLiteral(":/pictures/logo.svg");
inline const QString kHandCursor = QStringLiteral(":/pictures/hand-cursor.svg");
inline const QString kMessageInformation = QStringLiteral(":/pictures/message-information.svg");
inline const QString kMessageWarning = QStringLiteral(":/pictures/message-warning.svg");
inline const QString kMessageQuestion = QStringLiteral(":/pictures/message-question.svg");

// Every control picture is designed on a 24 pixel square.
constexpr int kDesignPixels = 24;

QPixmap render(const QString& source, QSize logicalSize, qreal devicePixelRatio);
// An icon drawn from one of the pictures at whatever size is asked.
QIcon icon(const QString& source);
QCursor handCursor(qreal devicePixelRatio);

} // namespace pictures
