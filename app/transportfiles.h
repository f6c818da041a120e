#pragma once

#include <parametermap.h>
#include <transportverilog.h>

#include <QCommandLineParser>
#include <QString>
#include <QVector>

// The transport modules of a stored core for a converter's mode, shared by `transport` and
// `generate --with-transport`.
namespace HostProgram {

// --m, --s, --np (required when the set has no link record beside it), --n, --cs, --cf.
void addTransportModeOptions(QCommandLineParser &parser);

// The layout of the converter's mode over the set's L and F; the set's "file" names the
// modules. False with the reason in *error.
bool transportMapOf(const IPJESD204B::LinkMode &mode, const IPSERDESIP::ParameterMap &params,
                    IPJESD204B::TransportMap *map, QString *error);

// The modules of the set's directions, L, F and PCS width from the set, the mode from its link
// record and the options over it. False with the reason (bad usage) in *error.
bool transportFilesOf(const QCommandLineParser &parser, const QString &setPath,
                      const IPSERDESIP::ParameterMap &params,
                      QVector<IPJESD204B::TransportFile> *files, QString *error);

// DIR/<file>/transport.
QString transportFolder(const QString &workdir, const IPSERDESIP::ParameterMap &params);

// Writes the files into folder through the current generation scope's batch; the caller
// commits.
bool stageTransportFiles(const QString &folder, const QVector<IPJESD204B::TransportFile> &files,
                         QString *error);

} // namespace HostProgram
