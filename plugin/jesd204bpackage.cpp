#include "jesd204bpackage.h"

#include "jesd204b.h"
#include "parameterchecker.h"

#include <services/packagestatus.h>

#include <memory>

namespace IPJESD204B {

namespace {

// Why the package's last call offered no protocol. A child of the package, so that the
// package's own class and interfaces stay as the host framework knows them.
class LoadReport : public QObject, public IPSERDESIP::PackageStatus
{
    Q_OBJECT
    Q_INTERFACES(IPSERDESIP::PackageStatus)

public:
    explicit LoadReport(QObject *package) : QObject(package) {}

    QString unavailableReason() const override { return m_reason; }
    void setReason(const QString &reason) { m_reason = reason; }

private:
    QString m_reason;
};

void report(QObject *package, const QString &reason)
{
    auto *status = package->findChild<LoadReport *>(QString(), Qt::FindDirectChildrenOnly);
    if (!status && !reason.isEmpty())
        status = new LoadReport(package);
    if (status)
        status->setReason(reason);
}

} // namespace

jesd204bpackage::jesd204bpackage() = default;

jesd204bpackage::~jesd204bpackage() = default;

QList<IPSERDESIP::BaseProtocol *> jesd204bpackage::protocols()
{
    QList<IPSERDESIP::BaseProtocol *> list;
    auto protocol = std::make_unique<jesd204b>(directory());
    if (!protocol->load()) {
        report(this, protocol->loadProblem());
        return list;
    }
    report(this, QString());
    // The value rules travel with the protocol as its child and die with it.
    new ParameterChecker(protocol.get());
    list.append(protocol.release()); // the caller owns it from here on
    return list;
}

} // namespace IPJESD204B

#include "jesd204bpackage.moc"
