#pragma once

#include <protocolpackage.h>

namespace IPJESD204B {

// The plug-in's package: hands the host one loaded JESD204B protocol per call.
class jesd204bpackage : public IPSERDESIP::ProtocolPackage
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "IPJESD204B.jesd204bpackage/1.0")
    Q_INTERFACES(IPSERDESIP::ProtocolPackage)

public:
    jesd204bpackage();
    ~jesd204bpackage() override;

    QList<IPSERDESIP::BaseProtocol *> protocols() override;
};

} // namespace IPJESD204B
