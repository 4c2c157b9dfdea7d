#include "picture/artworkicon.h"

#include "picture/picture.h"
#include "picture/rasterpicture.h"

#include <QIconEngine>
#include <QPainter>
#include <QPixmap>

namespace {

class ArtworkIconEngine final : public QIconEngine
{
public:
    ArtworkIconEngine(QString path, QList<QSize> sizes)
        : m_path(std::move(path))
        , m_sizes(std::move(sizes))
    {
    }

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode, QIcon::State) override
    {
        svgPicture(m_path, rect.size()).valueOr(Picture()).draw(painter, rect);
    }

    // `size` in device pixels: QIcon asks for the pixels a pixel ratio needs and sets the ratio.
    QPixmap pixmap(const QSize &size, QIcon::Mode, QIcon::State) override
    {
        if (size.isEmpty()) {
            return {};
        }
        return QPixmap::fromImage(svgRasterCopy(m_path, size));
    }

    QSize actualSize(const QSize &size, QIcon::Mode, QIcon::State) override { return size; }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override { return m_sizes; }

    QIconEngine *clone() const override { return new ArtworkIconEngine(m_path, m_sizes); }

    QString key() const override { return QStringLiteral("ArtworkIconEngine"); }

private:
    QString m_path;
    QList<QSize> m_sizes;
};

} // namespace

QIcon artworkIcon(const QString &path, const QList<QSize> &sizes)
{
    return QIcon(new ArtworkIconEngine(path, sizes));
}
