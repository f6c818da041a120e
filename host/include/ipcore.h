#pragma once

#include "hostexport.h"
#include "parametermap.h"

#include <QMap>
#include <QString>
#include <QStringList>
#include <QVariant>

class QWidget;

namespace DEV {
class DeviceArg;
}

// IP core services of the host: description files, device support, directories and files.
namespace IPCore {

// Reads a JSON .ipspec file; nested objects flatten into dotted keys ("ipcore.id"),
// arrays of strings become string lists. Unreadable or malformed files give an empty map.
IPSERDESHOST_EXPORT IPSERDESIP::ParameterMap processIPInfoSpec(const QString &path);
// The same, with *error saying why a file gave an empty map (not read, too large, not JSON).
IPSERDESHOST_EXPORT IPSERDESIP::ParameterMap processIPInfoSpec(const QString &path, QString *error);

// True only when "ipcore.id", "ipcore.name" and "ipcore.version" are non-empty strings.
IPSERDESHOST_EXPORT bool checkCommonInfo(const IPSERDESIP::ParameterMap &info);
// Why checkCommonInfo refuses the map; empty when it accepts it.
IPSERDESHOST_EXPORT QString commonInfoProblem(const IPSERDESIP::ParameterMap &info);

// A device in the unsupported list is refused; an empty supported list admits every device;
// otherwise the device name must be listed. A null device is refused.
IPSERDESHOST_EXPORT bool isSupported(const DEV::DeviceArg &device, const QStringList &unsupported,
                                     const QStringList &supported);

// Creates the directory (and its parents); true when it exists afterwards.
IPSERDESHOST_EXPORT bool makeDirs(const QString &dir, const QString &ipName);

// Writes the lines atomically, each followed by "\n". An empty encoding means UTF-8.
// Failures are reported through Core::MessageSink and leave any previous file untouched.
IPSERDESHOST_EXPORT bool generateFile(const QString &path, const QStringList &lines,
                                      QWidget *parent, const QString &encoding);

} // namespace IPCore
