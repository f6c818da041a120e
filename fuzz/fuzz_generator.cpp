// An arbitrary option list through the SERDES generator, over an empty model or one of the
// example designs (the first byte chooses).
#include "fuzzsupport.h"

#include <design/designfile.h>
#include <devicedb.h>
#include <generator.h>
#include <idecore.h>
#include <serdes.h>

#include <QDir>
#include <QFileInfoList>

namespace {

const QFileInfoList &designs()
{
    static const QFileInfoList files =
        QDir(QStringLiteral(JESD_SOURCE_DIR "/examples/designs"))
            .entryInfoList({QStringLiteral("*.json")}, QDir::Files, QDir::Name);
    return files;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    using IPSERDESIP::serdes;
    serdes *const model = serdes::instance();
    model->reset();
    const QList<DEV::DeviceArg> devices = Core::IdeCore::deviceDataBase()->devices();
    const int choice = data[0];
    if (!devices.isEmpty())
        model->setDevice(devices.at(choice % devices.size()));
    const int design = (choice >> 4) % (designs().size() + 1);
    QString error;
    if (design > 0)
        IPSERDESIP::DesignFile::load(designs().at(design - 1).absoluteFilePath(), &error);

    const QStringList options =
        QString::fromUtf8(FuzzSupport::bytes(data + 1, size - 1)).split(QLatin1Char('\n'));
    IPSERDESIP::generator generator;
    if (generator.generate(options, QString(), {}))
        generator.solvedSettings();
    else
        generator.getErrStringList();
    return 0;
}
