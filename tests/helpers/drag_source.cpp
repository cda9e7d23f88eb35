// A second program for the drag-and-drop test: a small window at X,Y that starts
// a drag when the mouse is pressed on it, carrying the files given as a
// text/uri-list, or with --bitmap a 30 x 20 red picture. Prints "ready" once its
// window is up and "dropped" or "cancelled" when the drag ends, and exits soon after.
//
//   tuvo-drag-source X Y (--bitmap | FILE...)
#include <QApplication>
#include <QDrag>
#include <QImage>
#include <QMimeData>
#include <QTimer>
#include <QUrl>
#include <QWidget>

#include <cstdio>

namespace {

class DragSource : public QWidget {
public:
    explicit DragSource(QMimeData *data)
        : data_(data)
    {
    }

protected:
    void mousePressEvent(QMouseEvent *) override
    {
        auto *drag = new QDrag(this);
        drag->setMimeData(data_);
        const Qt::DropAction action = drag->exec(Qt::CopyAction);
        std::printf("%s\n", action == Qt::IgnoreAction ? "cancelled" : "dropped");
        std::fflush(stdout);
        // The drop target fetches the data after the drag has ended here: stay a
        // while to answer, as a file manager would.
        QTimer::singleShot(3000, &QCoreApplication::quit);
    }

private:
    QMimeData *data_;
};

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    if (args.size() < 3)
        return 2;
    auto *data = new QMimeData;
    if (args[2] == QLatin1String("--bitmap")) {
        QImage picture(30, 20, QImage::Format_RGB32);
        picture.fill(Qt::red);
        data->setImageData(picture);
    } else {
        QList<QUrl> urls;
        for (const QString &file : args.mid(2))
            urls << QUrl::fromLocalFile(file);
        data->setUrls(urls);
    }
    DragSource source(data);
    source.setWindowFlags(Qt::FramelessWindowHint);
    source.setGeometry(args[0].toInt(), args[1].toInt(), 100, 100);
    source.show();
    QTimer::singleShot(500, [] {
        std::printf("ready\n");
        std::fflush(stdout);
    });
    return app.exec();
}
