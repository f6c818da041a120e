#pragma once

#include <parametermap.h>

#include <QString>
#include <QStringList>
#include <QVector>

// The host's files around a generated core (instantiation template, timing constraints), as
// `template` and `generate --with-template` write them beside the core, and the start that
// `template` and `transport` share.
namespace HostProgram {

class CommandLine;

struct HostFile
{
    QString name; // below the core's folder
    QString text;
};

// <module>_inst.v and <module>.sdc of a parameter set. With a link record beside the set the
// template instantiates the transport modules of the record's mode too. False with *error when
// the record cannot be read.
bool coreTemplateFiles(const QString &setPath, const IPSERDESIP::ParameterMap &params,
                       QVector<HostFile> *files, QString *error);

// The core's folder below the working directory, <workdir>/<file>/temp/jesd204b.
QString coreFolder(const QString &workdir, const IPSERDESIP::ParameterMap &params);

// Stages the files in the current generation scope's batch, which the caller commits.
bool stageHostFiles(const QString &folder, const QVector<HostFile> &files);

// A stored set admitted for writing files around its core, and where they go.
struct StoredCore
{
    IPSERDESIP::ParameterMap params;
    QString workdir; // absolute and clean
};

// Adds --workdir, parses, reads the set, loads the plug-in and admits the set under every rule
// generation applies. False with *exitCode set when the command ends here.
bool admitStoredCore(CommandLine &command, const QStringList &arguments, StoredCore *core,
                     int *exitCode);

} // namespace HostProgram
