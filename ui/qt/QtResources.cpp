#include "ui/qt/QtResources.h"

#include <QCoreApplication>
#include <QFile>
#include <map>
#include <memory>

namespace {

std::map<int, std::unique_ptr<QIcon>>& IconCache() {
    static std::map<int, std::unique_ptr<QIcon>> cache;
    return cache;
}

void ForgetIcons() {
    IconCache().clear();
}

} // namespace

QPixmap LoadBitmapResource(int id) {
    return QPixmap(QStringLiteral(":/res/bitmap%1.png").arg(id));
}

HICON LoadIconResource(int id) {
    auto& cache = IconCache();
    if (auto found = cache.find(id); found != cache.end())
        return reinterpret_cast<HICON>(found->second.get());
    const QString path = QStringLiteral(":/res/icon%1.png").arg(id);
    if (!QFile::exists(path))
        return nullptr;
    auto icon = std::make_unique<QIcon>(path);
    for (const char* size : {"48", "256"}) {
        const QString larger = QStringLiteral(":/res/icon%1.png").arg(QLatin1String(size));
        if (QFile::exists(larger))
            icon->addFile(larger);
    }
    // Icons hold pixmaps, which must go before the application object does.
    if (cache.empty())
        qAddPostRoutine(ForgetIcons);
    return reinterpret_cast<HICON>(cache.emplace(id, std::move(icon)).first->second.get());
}

const QIcon* FromIconHandle(HICON icon) {
    return reinterpret_cast<const QIcon*>(icon);
}
