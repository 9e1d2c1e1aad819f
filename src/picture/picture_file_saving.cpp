#include "picture/picture_file_saving.h"

#include <QFileInfo>
#include <QSaveFile>

namespace tonobild {

QByteArray pictureFormatForName(const QString& path)
{
    const QByteArray suffix = QFileInfo(path).suffix().toLower().toLatin1();
    if (suffix == "png" || suffix == "jpg" || suffix == "jpeg")
        return suffix;
    return "bmp";
}

QString writeWhole(QFileDevice& file, const QByteArray& bytes)
{
    qint64 done = 0;
    while (done < bytes.size()) {
        const qint64 written = file.write(bytes.constData() + done, bytes.size() - done);
        if (written <= 0)
            return file.errorString();
        done += written;
    }
    return file.flush() ? QString() : file.errorString();
}

QString saveWholeFile(const QString& path, const std::function<QString(QFileDevice&)>& write)
{
    if (path.isEmpty())
        return QStringLiteral("no file name is given");
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    if (const QString problem = write(file); !problem.isEmpty()) {
        file.cancelWriting();
        return problem;
    }
    if (!file.commit())
        return file.errorString();
    return {};
}

} // namespace tonobild
