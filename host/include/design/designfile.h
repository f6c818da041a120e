#pragma once

#include "hostexport.h"

#include <QString>

namespace HostFiles {
class WriteBatch;
}

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
    // the file back atomically. An edited core names the instance it was (replacing: its
    // earlier "file:module"), whose entries it takes over; a core whose module name another
    // instance of the design holds is refused. What the core published in the model's global
    // data since the design was loaded (serdes::writtenKeys: quad bias, DRP record) goes into
    // the design's global data, and the keys are recorded in its instance entry: every core
    // that published a key owns it. A key the core held before and no longer publishes leaves
    // the design when no other instance owns it.
    // The update reads the design again under the design's lock, so that a core another run
    // added in the meantime is judged and kept. With a batch, the lock is held and the new file
    // staged in it, for the caller to commit with its other files; without one it is written
    // at once.
    static bool addInstance(const QString &path, const Message &report, QString *error,
                            const QString &replacing = QString(),
                            HostFiles::WriteBatch *batch = nullptr);
    // How long a run waits for another one that is updating the same design.
    static constexpr int LockTimeoutMs = 10000;
};

} // namespace IPSERDESIP
