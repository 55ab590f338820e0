#include "pictures/PictureFiles.h"

#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QCoreApplication>
#include <QImageWriter>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QSvgGenerator>

#include "messages/MessageText.h"
#include "platform/AtomicFile.h"

QImage ViewFileImage(const Canvas& canvas) {
  // The canvas stores blue, green, red: Qt reads it as it is and turns it
  // into the RGB image the files are written from.
  return QImage(canvas.Bytes().data(), canvas.Width(), canvas.Height(), canvas.Width() * 3, QImage::Format_BGR888)
      .convertToFormat(QImage::Format_RGB888);
}

QImage PictureForFile(const QImage& picture, const Canvas* legend) {
  if (!legend) return picture;
  QImage both(picture.width(), picture.height() + legend->Height(), QImage::Format_RGB888);
  both.fill(Qt::white);
  QPainter p(&both);
  p.drawImage(0, 0, picture);
  p.drawImage(0, picture.height(), ViewFileImage(*legend));
  p.end();
  return both;
}

// The file's reason in the user's language.
static bool WriteWhole(const std::string& name, const QByteArray& bytes, std::string& error) {
  UserMessage why;
  if (WriteFileAtomically(name, bytes.toStdString(), why)) return true;
  error = MessageTextUtf8(why);
  return false;
}

bool WritePngPicture(const std::string& name, const Canvas& view, const Canvas* legend, std::string& error) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, "png");
  if (!writer.write(PictureForFile(ViewFileImage(view), legend))) {
    error = writer.errorString().toStdString();
    return false;
  }
  return WriteWhole(name, bytes, error);
}

bool WriteSvgPicture(const std::string& name, const Canvas& picture, const std::vector<DrawnLine>& lines,
                     const Canvas* legend, std::string& error) {
  const QImage image = PictureForFile(ViewFileImage(picture), legend);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QSvgGenerator svg;
  svg.setOutputDevice(&buffer);
  svg.setSize(image.size());
  svg.setViewBox(QRect(QPoint(0, 0), image.size()));
  svg.setTitle(QStringLiteral("Quorlen"));
  QPainter p;
  if (!p.begin(&svg)) {
    error = QCoreApplication::translate("PictureFiles", "no se pudo generar el SVG").toStdString();
    return false;
  }
  p.drawImage(0, 0, image);
  for (const DrawnLine& l : lines) {
    const uint32_t c = l.colour;
    QPen pen(QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF), 1);
    pen.setCapStyle(Qt::FlatCap);
    p.setPen(pen);
    // Through the pixel centres, as the line's pixels are drawn.
    QPainterPath path(QPointF(l.x0 + 0.5, l.y0 + 0.5));
    path.lineTo(l.x1 + 0.5, l.y1 + 0.5);
    p.drawPath(path);
  }
  p.end();
  return WriteWhole(name, bytes, error);
}
