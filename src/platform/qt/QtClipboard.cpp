#include "platform/qt/QtClipboard.h"

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QMimeData>
#include <QPainter>

#include "platform/qt/QtCanvas.h"

void TQtClipboard::SetData(const std::string& mimeType, const std::vector<uint8_t>& bytes,
                           const TClipboardPicture* picture) {
    auto* data = new QMimeData;
    data->setData(QString::fromStdString(mimeType),
                  QByteArray(reinterpret_cast<const char*>(bytes.data()),
                             static_cast<qsizetype>(bytes.size())));
    if (picture && picture->Paint && picture->Width > 0 && picture->Height > 0) {
        QImage image(picture->Width, picture->Height, QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            TQtCanvas canvas(painter);
            picture->Paint(canvas);
        }
        // Qt offers the image to other programs as image/png (and the platform's formats).
        data->setImageData(image);
    }
    QGuiApplication::clipboard()->setMimeData(data);
}

std::optional<std::vector<uint8_t>> TQtClipboard::Data(const std::string& mimeType) const {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    const QString type = QString::fromStdString(mimeType);
    if (!data || !data->hasFormat(type)) return std::nullopt;
    const QByteArray bytes = data->data(type);
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

std::optional<TClipboardImage> TQtClipboard::Image() const {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (!data) return std::nullopt;
    const auto bytesOf = [data](const QString& type) {
        const QByteArray bytes = data->data(type);
        return TClipboardImage{std::vector<uint8_t>(bytes.begin(), bytes.end()),
                               type.toStdString()};
    };
    // A JPEG stays the JPEG it was; PNG and bitmap bytes are read as they are.
    for (const char* type : {"image/jpeg", "image/png", "image/bmp"}) {
        if (!data->hasFormat(type)) continue;
        TClipboardImage image = bytesOf(type);
        if (!image.Bytes.empty()) return image;
    }
    if (!data->hasImage()) return std::nullopt;
    // Any other picture Qt has (application/x-qt-image, image/gif...) as a PNG: lossless and
    // with its transparency. Stored without compression, as it is read back at once.
    const QImage image = qvariant_cast<QImage>(data->imageData());
    if (image.isNull()) return std::nullopt;
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    writer.setQuality(100);
    if (!writer.write(image)) return std::nullopt;
    return TClipboardImage{std::vector<uint8_t>(png.begin(), png.end()), "image/png"};
}
