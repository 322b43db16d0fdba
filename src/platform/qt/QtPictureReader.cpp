#include "platform/qt/QtPictureReader.h"

#include <cstring>
#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>
#include <QPainter>

namespace {

// Megabytes: a 32-bit picture of 2^27 pixels, the largest the program takes, with room.
constexpr int kAllocationLimitMb = 600;

} // namespace

TQtPictureReader::TQtPictureReader() { QImageReader::setAllocationLimit(kAllocationLimitMb); }

std::optional<TReadPicture> TQtPictureReader::Read(std::span<const uint8_t> data,
                                                   uint64_t maxPixels, std::string& why) {
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data.data()),
                                                     static_cast<qsizetype>(data.size()));
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setAutoTransform(true);
    if (!reader.canRead()) {
        why = "not a picture file of a known format (bitmap, JPEG, PNG, GIF, TIFF, WebP)";
        return std::nullopt;
    }
    const std::string format = reader.format().toUpper().toStdString();
    // The header's size, checked before any pixel is allocated.
    const QSize claimed = reader.size();
    if (claimed.isValid() && (claimed.width() <= 0 || claimed.height() <= 0 ||
                              uint64_t(claimed.width()) * uint64_t(claimed.height()) > maxPixels)) {
        why = format + " picture of " + std::to_string(claimed.width()) + " x " +
              std::to_string(claimed.height()) + " pixels is larger than the " +
              std::to_string(maxPixels / 1000000) + " megapixels allowed";
        return std::nullopt;
    }
    QImage image = reader.read();
    if (image.isNull()) {
        why = format + ": " + reader.errorString().toStdString();
        return std::nullopt;
    }
    if (uint64_t(image.width()) * uint64_t(image.height()) > maxPixels || image.width() > 65535 ||
        image.height() > 65535) {
        why = format + " picture is larger than allowed";
        return std::nullopt;
    }
    // Transparent parts show the paper: composited on white.
    QImage rgb(image.size(), QImage::Format_RGB888);
    if (rgb.isNull()) {
        why = "there is not enough memory for the picture";
        return std::nullopt;
    }
    rgb.fill(Qt::white);
    {
        QPainter painter(&rgb);
        painter.drawImage(0, 0, image);
    }
    TReadPicture out;
    out.Format = format;
    out.DotsPerMeterX = image.dotsPerMeterX();
    out.DotsPerMeterY = image.dotsPerMeterY();
    image = QImage();
    out.Width = rgb.width();
    out.Height = rgb.height();
    const size_t rowBytes = (3 * size_t(out.Width) + 3) / 4 * 4;
    out.Rows.assign(rowBytes * size_t(out.Height), 0);
    for (int y = 0; y < out.Height; ++y) {
        const uchar* from = rgb.constScanLine(y);
        uint8_t* to = out.Rows.data() + size_t(out.Height - 1 - y) * rowBytes;
        for (int x = 0; x < out.Width; ++x) {
            to[3 * x] = from[3 * x + 2];
            to[3 * x + 1] = from[3 * x + 1];
            to[3 * x + 2] = from[3 * x];
        }
    }
    return out;
}
