#include "commands.h"
#include "commandsupport.h"
#include "corefileoutput.h"

#include <services/safefile.h>

#include <QDir>
#include <QTextStream>

namespace HostProgram {

int runTemplate(const QStringList &arguments)
{
    CommandLine command(
        QStringLiteral("template"),
        QStringLiteral("Writes the instantiation template (<module>_inst.v) and the timing "
                       "constraints (<module>.sdc) of a parameter set's core into "
                       "DIR/<file>/temp/jesd204b. With a link record beside the set "
                       "(SET.link.json) the template instantiates the transport modules of its "
                       "mode beside the core."));
    StoredCore core;
    int exitCode = Success;
    if (!admitStoredCore(command, arguments, &core, &exitCode))
        return exitCode;
    QVector<HostFile> files;
    QString reason;
    if (!coreTemplateFiles(command.parameterFile(), core.params, &files, &reason))
        return command.fail(BadUsage, reason);
    const QString folder = coreFolder(core.workdir, core.params);
    HostFiles::WriteBatch batch;
    {
        const HostFiles::GenerationScope scope(batch, core.workdir);
        if (!stageHostFiles(folder, files))
            return command.fail(JobFailed, QStringLiteral("cannot write into ") + folder);
    }
    if (!batch.commit(&reason))
        return command.fail(JobFailed, QStringLiteral("cannot write: ") + reason);
    QTextStream out(stdout);
    for (const HostFile &file : files)
        out << QDir(folder).filePath(file.name) << '\n';
    return Success;
}

} // namespace HostProgram
