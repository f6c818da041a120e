#pragma once

#include <parametermap.h>

#include <QString>
#include <QVector>

// The host's files around a generated core (instantiation template, timing constraints), as
// `template` and `generate --with-template` write them beside the core.
namespace HostProgram {

struct HostFile
{
    QString name; // below the core's folder
    QString text;
};

// <module>_inst.v and <module>.sdc of a parameter set.
QVector<HostFile> coreTemplateFiles(const IPSERDESIP::ParameterMap &params);

// The core's folder below the working directory, <workdir>/<file>/temp/jesd204b.
QString coreFolder(const QString &workdir, const IPSERDESIP::ParameterMap &params);

// Stages the files in the current generation scope's batch, which the caller commits.
bool stageHostFiles(const QString &folder, const QVector<HostFile> &files);

} // namespace HostProgram
