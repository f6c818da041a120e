#pragma once

#include "hostexport.h"

#include <QByteArray>
#include <QString>

namespace IPSERDESIP {

// Every file the host or a plug-in reads as input (parameter sets, designs, description files)
// is a regular file no larger than this; anything else is refused before a byte is read.
constexpr qint64 MaxInputFileBytes = 16 * 1024 * 1024;

// Reads a whole input file. Refuses, with *error saying why (without the path), what does not
// exist, is not a regular file (a directory, a device, a pipe) or is larger than
// MaxInputFileBytes. The size is taken from the opened file, so a file swapped after the
// check is still bounded.
IPSERDESHOST_EXPORT bool readInputFile(const QString &path, QByteArray *contents, QString *error);

} // namespace IPSERDESIP
