// Arbitrary bytes as a core description file: the host's reader, its common-info check and
// device support, and the protocol's load with every identity accessor after it.
#include "fuzzsupport.h"

#include "jesd204b.h"

#include <devicedb.h>
#include <idecore.h>
#include <ipcore.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = FuzzSupport::inputFile(QStringLiteral("jesd204b.ipspec"), data, size);
    const IPSERDESIP::ParameterMap info = IPCore::processIPInfoSpec(path);
    IPCore::checkCommonInfo(info);

    IPJESD204B::jesd204b protocol(FuzzSupport::scratchDir().path());
    if (!protocol.load())
        return 0;
    protocol.version();
    protocol.id();
    protocol.name();
    protocol.category();
    protocol.summary();
    for (const DEV::DeviceArg &device : Core::IdeCore::deviceDataBase()->devices())
        protocol.isSupported(device);
    protocol.isSupported(DEV::DeviceArg());
    return 0;
}
