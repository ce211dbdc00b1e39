#include "ProgramIcon.h"

#include <QCoreApplication>
#include <QIconEngine>
#include <QList>
#include <QPainter>

#include <utility>

namespace {

struct TIconFile {
    QString Path;
    QSize Size;
};

// QIcon::addFile decodes the file at once to learn its size, so an icon of three sizes costs three
// PNG decodes at start-up even where no one ever draws it. This engine knows the sizes up front
// and hands everything else to an ordinary icon filled on first use.
class TLazyIconEngine : public QIconEngine {
public:
    explicit TLazyIconEngine(QList<TIconFile> files) : files_(std::move(files)) {}

    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return Loaded().actualSize(size, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return Loaded().pixmap(size, mode, state);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override
    {
        return Loaded().pixmap(size, scale, mode, state);
    }
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        Loaded().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override
    {
        QList<QSize> sizes;
        for (const TIconFile& file : files_)
            sizes.append(file.Size);
        return sizes;
    }
    bool isNull() override { return files_.isEmpty(); }
    QString key() const override { return QStringLiteral("TLazyIconEngine"); }
    QIconEngine* clone() const override { return new TLazyIconEngine(*this); }

private:
    QIcon& Loaded()
    {
        if (loaded_.isNull())
            for (const TIconFile& file : files_)
                loaded_.addFile(file.Path, file.Size);
        return loaded_;
    }

    QList<TIconFile> files_;
    QIcon loaded_;
};

QIcon& SharedIcon()
{
    static QIcon icon;
    return icon;
}

} // namespace

QIcon ProgramIcon()
{
    QIcon& icon = SharedIcon();
    if (icon.isNull()) {
        QList<TIconFile> files;
        for (const int size : {16, 24, 32, 48, 128, 256})
            files.append({QStringLiteral(":/icons/velorin-%1.png").arg(size), QSize(size, size)});
        icon = QIcon(new TLazyIconEngine(std::move(files)));
        // Decoded pixmaps go with the application rather than in static destruction after it.
        qAddPostRoutine([] { SharedIcon() = QIcon(); });
    }
    return icon;
}
