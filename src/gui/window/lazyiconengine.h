#pragma once

#include <QIconEngine>
#include <QList>
#include <QPixmap>

// A picture drawn at several sizes, each read from its own file the first time it is drawn at
// that size. Qt's own engine decodes every file as it is added, and decoding the toolbar's
// twenty pictures held back the window's first appearance for sizes most screens never use.
class LazyIconEngine : public QIconEngine
{
public:
    // The file of the picture drawn size by size pixels.
    void addFile(const QString &fileName, const QSize &size, QIcon::Mode mode, QIcon::State state) override;
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override;
    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override;
    QSize actualSize(const QSize &size, QIcon::Mode mode, QIcon::State state) override;
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override;
    QIconEngine *clone() const override;
    QString key() const override;

private:
    struct Picture
    {
        QSize size;
        QString fileName;
        QPixmap pixmap;
    };

    // The smallest picture at least as large as size, or else the largest.
    Picture *bestFor(const QSize &size);

    QList<Picture> m_pictures;
};
