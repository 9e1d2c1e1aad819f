#include "cli/helper_program.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <unistd.h>
#include <vector>

#include "cli/cli_support.h"

namespace tonobild::cli {

QString helperProgramName(HelperProgram helper)
{
    return helper == HelperProgram::Sound ? QStringLiteral("tonobild-cli-sound") : QStringLiteral("tonobild-cli-pictures");
}

QString helperProgramIn(const QString& programFolder, const QString& installedFolder, const QString& name)
{
    const QDir folder(programFolder);
    const QString installed = QDir::cleanPath(folder.filePath(installedFolder + QLatin1Char('/') + name));
    if (QFileInfo(installed).isExecutable())
        return installed;
    const QString beside = folder.filePath(name);
    return QFileInfo(beside).isExecutable() ? beside : installed;
}

int runInHelperProgram(HelperProgram helper, const QString& command, const QStringList& arguments)
{
    const QString program = helperProgramIn(QCoreApplication::applicationDirPath(),
                                            QStringLiteral(TONOBILD_INSTALLED_HELPER_FOLDER), helperProgramName(helper));
    // The program name stays what the operator typed, so that --help and the
    // messages read as before.
    std::vector<QByteArray> bytes;
    bytes.reserve(static_cast<std::size_t>(arguments.size()) + 1);
    bytes.push_back(QFile::encodeName(arguments.value(0, QStringLiteral("tonobild-cli"))));
    bytes.push_back(QFile::encodeName(command));
    for (qsizetype i = 1; i < arguments.size(); ++i)
        bytes.push_back(QFile::encodeName(arguments.at(i)));
    std::vector<char*> argv;
    for (QByteArray& argument : bytes)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    const QByteArray path = QFile::encodeName(program);
    ::execv(path.constData(), argv.data());
    return fail(QStringLiteral("cannot start %1 for \"%2\": %3")
                    .arg(program, command, QString::fromLocal8Bit(std::strerror(errno))));
}

} // namespace tonobild::cli
