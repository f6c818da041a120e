#pragma once

#include <parametermap.h>

#include <QJsonObject>
#include <QMap>
#include <QString>
#include <QVariant>

namespace HostFiles {
class WriteBatch;
}

// A parameter set stored as a JSON object: strings, booleans, integers and arrays of strings.
// "version", when present, is the string "1.0".
namespace HostProgram {

// Whether the reader refuses a "version" other than "1.0" itself, or hands the set on so the
// core's dialog can judge it (as it does for a stored core it is asked to open).
enum class VersionCheck { Refuse, LeaveToCore };

// Reads the file into *params. On failure *params is left alone and *error holds one line
// naming the file and what is wrong with it.
bool readParameterFile(const QString &path, IPSERDESIP::ParameterMap *params, QString *error,
                       VersionCheck versionCheck = VersionCheck::Refuse);

// The same checks on an object already parsed; *error names the offending key, not a file.
bool parameterSetFromJson(const QJsonObject &object, IPSERDESIP::ParameterMap *params,
                          QString *error, VersionCheck versionCheck = VersionCheck::Refuse);

// The JSON form of a set. Values other than strings, booleans, integers and string lists are
// refused with *error naming the key.
bool parameterSetToJson(const IPSERDESIP::ParameterMap &params, QJsonObject *object,
                        QString *error);

// Writes the set atomically (an existing file stays as it was on failure). With a batch the
// file is only staged there, for the caller to commit with its other files.
bool writeParameterFile(const QString &path, const IPSERDESIP::ParameterMap &params, QString *error,
                        HostFiles::WriteBatch *batch = nullptr);

} // namespace HostProgram
