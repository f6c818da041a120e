#include "baseprotocol.h"
#include "devicedb.h"
#include "pinfigure.h"
#include "protocolpackage.h"
#include "serdes.h"

namespace DEV {

DeviceArg::DeviceArg(const QString &id, const QString &device, int quadCount)
    : m_id(id), m_device(device), m_quadCount(quadCount)
{}

bool DeviceArg::operator==(const DeviceArg &other) const
{
    return m_id == other.m_id && m_device == other.m_device && m_quadCount == other.m_quadCount;
}

} // namespace DEV

namespace Utils {

PinFigure::PinFigure(const QString &label, int side, bool bus, Qt::Alignment alignment)
    : m_label(label), m_side(side), m_bus(bus), m_alignment(alignment)
{}

bool PinFigure::operator==(const PinFigure &other) const
{
    return m_label == other.m_label && m_side == other.m_side && m_bus == other.m_bus &&
           m_alignment == other.m_alignment;
}

} // namespace Utils

namespace IPSERDESIP {

ProtocolPackage::ProtocolPackage() = default;
ProtocolPackage::~ProtocolPackage() = default;

BaseProtocol::BaseProtocol() = default;
BaseProtocol::~BaseProtocol() = default;

Instance::Instance(const QString &name) : m_name(name) {}
Instance::~Instance() = default;

LANE::LANE(const QString &name) : Instance(name) {}

PLL::PLL(const QString &name) : Instance(name) {}

void REF_SOURCE::setFrequency(const QString &text)
{
    m_frequencyText = text;
    bool ok = false;
    const double value = text.toDouble(&ok);
    m_frequency = ok ? value : 0.0;
}

} // namespace IPSERDESIP
