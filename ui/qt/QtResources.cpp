#include "ui/qt/QtResources.h"

#include "ui/Resources.h"
#include "ui/qt/QtWindow.h"

#include <QApplication>
#include <QFile>
#include <QIconEngine>
#include <QImageReader>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <algorithm>
#include <map>
#include <memory>
#include <vector>

namespace {

// Every picture of the program is a PNG: told so, the reader neither probes the file nor loads
// the toolkit's image plugins for other formats. False when there is no such file (a reader told
// the format would try to read a missing file regardless, and warn).
bool OpenPng(QFile& file, QImageReader& reader) {
    if (!file.open(QIODevice::ReadOnly))
        return false;
    reader.setDevice(&file);
    reader.setFormat("png");
    reader.setAutoDetectImageFormat(false);
    return true;
}

// A null image when there is no such picture.
QImage ReadPng(const QString& path) {
    QFile file(path);
    QImageReader reader;
    return OpenPng(file, reader) ? reader.read() : QImage();
}

// The size in the picture's header, its pixels not decoded; invalid when there is none.
QSize PngSize(const QString& path) {
    QFile file(path);
    QImageReader reader;
    return OpenPng(file, reader) ? reader.size() : QSize();
}

// The largest size within `bound` with the proportions of `size`, and never larger than `size`.
QSize Fitted(QSize size, const QSize& bound) {
    if (size.width() > bound.width() || size.height() > bound.height())
        size.scale(bound, Qt::KeepAspectRatio);
    return size;
}

// An icon drawn in several sizes, one picture a size. A picture is decoded the first time a size
// needs it: the desktop asks for every size when it shows the window, a platform without window
// icons for none.
class PictureIconEngine : public QIconEngine {
public:
    // Adds the picture at `path` when its header can be read; its pixels stay in the file.
    void AddPicture(const QString& path) {
        const QSize size = PngSize(path);
        if (!size.isValid() || size.isEmpty())
            return;
        // Kept from the smallest to the largest.
        const auto larger = std::find_if(m_pictures.begin(), m_pictures.end(),
                                         [&](const auto& p) { return Area(p.size) > Area(size); });
        m_pictures.insert(larger, Picture{path, size, QPixmap()});
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) override {
        Picture* picture = BestFor(size);
        if (picture == nullptr)
            return {};
        if (picture->pixmap.isNull())
            picture->pixmap = QPixmap::fromImage(ReadPng(picture->path));
        QPixmap shown = picture->pixmap;
        if (shown.isNull())
            return shown;
        const QSize fitted = Fitted(shown.size(), size);
        if (fitted != shown.size())
            shown = shown.scaled(fitted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        if (mode != QIcon::Normal && QApplication::style() != nullptr) {
            // Disabled and selected icons look as the style makes them from the normal one.
            QStyleOption option;
            option.palette = QApplication::palette();
            shown = QApplication::style()->generatedIconPixmap(mode, shown, &option);
        }
        return shown;
    }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override {
        const Picture* picture = BestFor(size);
        return picture != nullptr ? Fitted(picture->size, size) : QSize();
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        const qreal ratio = painter->device()->devicePixelRatio();
        QPixmap shown = pixmap(rect.size() * ratio, mode, state);
        if (shown.isNull())
            return;
        shown.setDevicePixelRatio(ratio);
        const QSize logical = (QSizeF(shown.size()) / ratio).toSize();
        painter->drawPixmap(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, logical, rect),
                            shown);
    }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
        QList<QSize> sizes;
        for (const Picture& picture : m_pictures)
            sizes.push_back(picture.size);
        return sizes;
    }

    bool isNull() override { return m_pictures.empty(); }
    QString key() const override { return QStringLiteral("PictureIconEngine"); }
    QIconEngine* clone() const override { return new PictureIconEngine(*this); }

private:
    struct Picture {
        QString path;
        QSize size;
        QPixmap pixmap; // null until first asked for
    };

    static qint64 Area(const QSize& size) { return qint64(size.width()) * size.height(); }

    // The smallest picture that covers `size`, or else the largest: an icon is scaled down, never
    // up.
    Picture* BestFor(const QSize& size) {
        if (m_pictures.empty() || size.isEmpty())
            return nullptr;
        for (Picture& picture : m_pictures)
            if (picture.size.width() >= size.width() && picture.size.height() >= size.height())
                return &picture;
        return &m_pictures.back();
    }

    std::vector<Picture> m_pictures;
};

std::map<int, std::unique_ptr<QIcon>>& IconCache() {
    static std::map<int, std::unique_ptr<QIcon>> cache;
    return cache;
}

void ForgetIcons() {
    IconCache().clear();
}

} // namespace

QPixmap LoadBitmapResource(int id) {
    return QPixmap::fromImage(ReadPng(QStringLiteral(":/res/bitmap%1.png").arg(id)));
}

HICON LoadIconResource(int id) {
    auto& cache = IconCache();
    if (auto found = cache.find(id); found != cache.end())
        return reinterpret_cast<HICON>(found->second.get());
    auto engine = std::make_unique<PictureIconEngine>();
    for (std::string_view file : IconFiles(id))
        engine->AddPicture(QStringLiteral(":/res/") + ToQString(file));
    if (engine->isNull())
        return nullptr;
    auto icon = std::make_unique<QIcon>(engine.release());
    // Icons hold pixmaps, which must go before the application object does.
    if (cache.empty())
        qAddPostRoutine(ForgetIcons);
    return reinterpret_cast<HICON>(cache.emplace(id, std::move(icon)).first->second.get());
}

const QIcon* FromIconHandle(HICON icon) {
    return reinterpret_cast<const QIcon*>(icon);
}
