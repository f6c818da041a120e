#pragma once

#include <services/parametercheck.h>

#include <QObject>

namespace IPJESD204B {

// The JESD204B core's value rules for a stored parameter set. The package hands one out with
// every protocol, as the protocol's child, so the protocol class itself stays a plain
// BaseProtocol.
class ParameterChecker : public QObject, public IPSERDESIP::ParameterCheck
{
    Q_OBJECT
    Q_INTERFACES(IPSERDESIP::ParameterCheck)

public:
    explicit ParameterChecker(QObject *parent = nullptr);

    QString parameterProblem(const IPSERDESIP::ParameterMap &params, const DEV::DeviceArg &device,
                             Rules rules) const override;
};

} // namespace IPJESD204B
