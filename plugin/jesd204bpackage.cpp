#include "jesd204bpackage.h"

#include "jesd204b.h"
#include "parameterchecker.h"

#include <memory>

namespace IPJESD204B {

jesd204bpackage::jesd204bpackage() = default;

jesd204bpackage::~jesd204bpackage() = default;

QList<IPSERDESIP::BaseProtocol *> jesd204bpackage::protocols()
{
    QList<IPSERDESIP::BaseProtocol *> list;
    auto protocol = std::make_unique<jesd204b>(directory());
    if (!protocol->load())
        return list;
    // The value rules travel with the protocol as its child and die with it.
    new ParameterChecker(protocol.get());
    list.append(protocol.release()); // the caller owns it from here on
    return list;
}

} // namespace IPJESD204B
