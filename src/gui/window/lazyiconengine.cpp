#include "lazyiconengine.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

#include <algorithm>

void LazyIconEngine::addFile(const QString &fileName, const QSize &size, QIcon::Mode, QIcon::State)
{
    m_pictures.append({size, fileName, {}});
    std::sort(m_pictures.begin(), m_pictures.end(),
              [](const Picture &a, const Picture &b) { return a.size.width() < b.size.width(); });
}

LazyIconEngine::Picture *LazyIconEngine::bestFor(const QSize &size)
{
    if (m_pictures.isEmpty())
        return nullptr;
    const auto fits = std::find_if(m_pictures.begin(), m_pictures.end(), [&size](const Picture &picture) {
        return picture.size.width() >= size.width() && picture.size.height() >= size.height();
    });
    return fits != m_pictures.end() ? &*fits : &m_pictures.last();
}

QPixmap LazyIconEngine::pixmap(const QSize &size, QIcon::Mode mode, QIcon::State)
{
    Picture *picture = bestFor(size);
    if (!picture)
        return {};
    if (picture->pixmap.isNull())
        picture->pixmap.load(picture->fileName);
    QPixmap shown = picture->pixmap;
    if (shown.size() != size && !shown.isNull())
        shown = shown.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    if (mode == QIcon::Normal)
        return shown;
    // Greyed or selected, as the style draws Qt's own icons in those modes.
    const QStyleOption option;
    return QApplication::style()->generatedIconPixmap(mode, shown, &option);
}

void LazyIconEngine::paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state)
{
    const qreal density = painter->device() ? painter->device()->devicePixelRatio() : qreal(1);
    QPixmap shown = pixmap(rect.size() * density, mode, state);
    shown.setDevicePixelRatio(density);
    painter->drawPixmap(rect, shown);
}

QSize LazyIconEngine::actualSize(const QSize &size, QIcon::Mode, QIcon::State)
{
    return size;
}

QList<QSize> LazyIconEngine::availableSizes(QIcon::Mode, QIcon::State)
{
    QList<QSize> sizes;
    for (const Picture &picture : m_pictures)
        sizes << picture.size;
    return sizes;
}

QIconEngine *LazyIconEngine::clone() const
{
    return new LazyIconEngine(*this);
}

QString LazyIconEngine::key() const
{
    return QStringLiteral("LazyIconEngine");
}
