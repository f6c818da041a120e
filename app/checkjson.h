#pragma once

#include <serdes/generatorresult.h>

#include <QJsonObject>
#include <QString>
#include <QStringList>

// The verdict of check as one JSON object, for scripts.
namespace HostProgram {

// "module", "feasible", "lanes" (the proved settings), "reasons" (only when the rate cannot be
// made) and "warnings". storedRefClock is the frequency text the set holds.
QJsonObject checkVerdictJson(const QString &module, const IPSERDESIP::GeneratorResult &result,
                             const QString &storedRefClock, const QStringList &warnings);

} // namespace HostProgram
