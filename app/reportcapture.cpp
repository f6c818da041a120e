#include "reportcapture.h"

#include <idecore.h>

namespace HostProgram {

namespace {

QStringList *&target()
{
    static QStringList *texts = nullptr;
    return texts;
}

void collect(const QString & /*title*/, const QString &text, QWidget *)
{
    if (target())
        target()->append(text);
}

} // namespace

ReportCapture::ReportCapture()
{
    target() = &m_texts;
    Core::MessageSink::setHandler(collect);
}

ReportCapture::~ReportCapture()
{
    Core::MessageSink::setHandler(nullptr);
    target() = nullptr;
}

} // namespace HostProgram
