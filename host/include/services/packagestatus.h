#pragma once

#include <services/offeredinterface.h>

#include <QObject>
#include <QString>

namespace IPSERDESIP {

// Offered by a protocol package (itself or through a child) that can say why its last
// protocols() call offered no protocol. The host asks through unavailableReasonOf; a package
// without it offers nothing without a reason.
class PackageStatus
{
public:
    virtual ~PackageStatus() = default;

    // One line naming the file or value that kept the protocols back; empty when the last
    // call offered them.
    virtual QString unavailableReason() const = 0;
};

} // namespace IPSERDESIP

Q_DECLARE_INTERFACE(IPSERDESIP::PackageStatus, "org.ipcorehost.PackageStatus/1.0")

namespace IPSERDESIP {

// Why the package offered nothing; empty when it offers no PackageStatus or has no reason.
inline QString unavailableReasonOf(const QObject *package)
{
    const PackageStatus *status = offeredInterface<PackageStatus>(package);
    return status ? status->unavailableReason() : QString();
}

} // namespace IPSERDESIP
