#include "commands.h"
#include "commandsupport.h"
#include "parametergate.h"
#include "pluginloader.h"
#include "transportfiles.h"

#include <safefile.h>

#include <QCommandLineParser>
#include <QDir>
#include <QTextStream>

namespace HostProgram {

int runTransport(const QStringList &arguments)
{
    CommandLine command(
        QStringLiteral("transport"),
        QStringLiteral("Writes the transport modules of a core's directions for a converter's "
                       "mode: samples to the core's lane words (tx) and lane words to samples "
                       "(rx), to DIR/<file>/transport."));
    QCommandLineParser &parser = command.parser();
    addTransportModeOptions(parser);
    parser.addOption({QStringLiteral("workdir"),
                      QStringLiteral("Working directory (default: the current directory)."),
                      QStringLiteral("DIR")});
    IPSERDESIP::ParameterMap params;
    int exitCode = Success;
    if (!command.parseWithParameterFile(arguments, &params, &exitCode))
        return exitCode;
    // The set passes the rules every generated file passes.
    PluginSet plugins;
    IPSERDESIP::BaseProtocol *protocol = loadJesd204b(command, &plugins, &exitCode);
    if (!protocol || !checkParameterSet(command, protocol, params, {},
                                        IPSERDESIP::ParameterCheck::Rules::All, &exitCode))
        return exitCode;
    QVector<IPJESD204B::TransportFile> files;
    QString error;
    if (!transportFilesOf(parser, command.parameterFile(), params, &files, &error))
        return command.fail(BadUsage, error);
    const QString workdir = QDir::cleanPath(QDir::current().absoluteFilePath(
        parser.isSet(QStringLiteral("workdir")) ? parser.value(QStringLiteral("workdir"))
                                                : QStringLiteral(".")));
    const QString folder = transportFolder(workdir, params);
    // All files committed together by the host's writer, below the working directory.
    HostFiles::WriteBatch batch;
    {
        const HostFiles::GenerationScope scope(batch, workdir);
        if (!stageTransportFiles(folder, files, &error) || !batch.commit(&error))
            return command.fail(JobFailed, QStringLiteral("cannot write: ") + error);
    }
    QTextStream out(stdout);
    for (const IPJESD204B::TransportFile &file : files)
        out << QDir(folder).filePath(file.name) << '\n';
    return Success;
}

} // namespace HostProgram
