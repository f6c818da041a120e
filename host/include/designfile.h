#pragma once

#include "hostexport.h"

#include <QString>

namespace IPSERDESIP {

class Message;

// A design: the other cores of a project as the SERDES model should see them (their lanes,
// PLLs, reference clocks, protocol instances), global data and PLL-table overrides. Stored
// as JSON.
class IPSERDESHOST_EXPORT DesignFile
{
public:
    // Loads the design into serdes::instance(), replacing what the model held. A malformed
    // design loads nothing and explains itself in *error (file and entry named).
    static bool load(const QString &path, QString *error);
    // Adds an accepted core's resource report to the design file as an instance and writes
    // the file back atomically. The model's global data (what the accepted dialog published:
    // quad bias, DRP record) is written into the design's global data too; the keys the core
    // changed or added are recorded in its instance entry, and serdes::removeInstance gives
    // them back when the core is edited.
    static bool addInstance(const QString &path, const Message &report, QString *error);
};

} // namespace IPSERDESIP
