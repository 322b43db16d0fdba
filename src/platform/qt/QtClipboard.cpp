#include "platform/qt/QtClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
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
