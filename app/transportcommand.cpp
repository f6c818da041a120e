#include "commands.h"
#include "commandsupport.h"
#include "corefileoutput.h"
#include "transportfiles.h"

#include <services/safefile.h>

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
    addTransportModeOptions(command.parser());
    StoredCore core;
    int exitCode = Success;
    if (!admitStoredCore(command, arguments, &core, &exitCode))
        return exitCode;
    QVector<IPJESD204B::TransportFile> files;
    QString error;
    if (!transportFilesOf(command.parser(), command.parameterFile(), core.params, &files, &error))
        return command.fail(BadUsage, error);
    const QString folder = transportFolder(core.workdir, core.params);
    // All files committed together by the host's writer, below the working directory.
    HostFiles::WriteBatch batch;
    {
        const HostFiles::GenerationScope scope(batch, core.workdir);
        if (!stageTransportFiles(folder, files, &error) || !batch.commit(&error))
            return command.fail(JobFailed, QStringLiteral("cannot write: ") + error);
    }
    QTextStream out(stdout);
    for (const IPJESD204B::TransportFile &file : files)
        out << QDir(folder).filePath(file.name) << '\n';
    return Success;
}

} // namespace HostProgram
