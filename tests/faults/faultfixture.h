#pragma once

#include "protocol/jesd204b.h"

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>

// What the fault tests share: a loaded protocol, the example sets, generation into a working
// directory, the three output files read back, and the messages the host's sink received.
namespace Faults {

using ParameterSet = QMap<QString, QVariant>;

const QStringList &outputNames();

// An example parameter set by file name ("tx_2lane.json"), as the host program reads it.
ParameterSet exampleSet(const QString &name);

std::unique_ptr<IPJESD204B::jesd204b> loadedProtocol();

struct Result
{
    bool ok = false;
    QStringList ini;
    QStringList moduleOptions;
    QStringList reports; // "title: text" of every sink message during the call
};

// Generates the set with the working directory set to workDir.
Result generate(IPJESD204B::jesd204b &protocol, const ParameterSet &params, const QString &workDir);

// The generation directory of a set below workDir.
QString generationDir(const QString &workDir, const ParameterSet &params);

// The three output files' bytes; an entry that is missing or not a file reads as a marker.
QList<QByteArray> outputs(const QString &dir);

QByteArray fileBytes(const QString &path);
void writeBytes(const QString &path, const QByteArray &bytes);

// Everything below dir, relative, sorted: leftovers show up here.
QStringList tree(const QString &dir);

} // namespace Faults
