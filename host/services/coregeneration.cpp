#include <services/coregeneration.h>

#include "baseprotocol.h"
#include "idecore.h"
#include "serdes.h"
#include <services/parametercheck.h>
#include <services/safefile.h>

namespace IPCore {

namespace {

// The sink's messages during one generation; the first one is the cause of a failure.
class Reports
{
public:
    Reports()
    {
        current() = &m_texts;
        Core::MessageSink::setHandler(
            [](const QString &, const QString &text, QWidget *) { current()->append(text); });
    }
    ~Reports()
    {
        Core::MessageSink::setHandler(nullptr);
        current() = nullptr;
    }
    Reports(const Reports &) = delete;
    Reports &operator=(const Reports &) = delete;

    QString first() const { return m_texts.value(0); }

private:
    static QStringList *&current()
    {
        static QStringList *texts = nullptr;
        return texts;
    }
    QStringList m_texts;
};

QString ruleProblem(IPSERDESIP::BaseProtocol &protocol, const CoreRequest &request)
{
    const auto *check = IPSERDESIP::parameterCheckOf(&protocol);
    if (!check)
        return {};
    return check->parameterProblem(request.params, request.device,
                                   request.valueRules ? IPSERDESIP::ParameterCheck::Rules::All
                                                      : IPSERDESIP::ParameterCheck::Rules::Safety);
}

} // namespace

CoreOutcome generateCore(IPSERDESIP::BaseProtocol &protocol, const CoreRequest &request,
                         HostFiles::WriteBatch &batch, GeneratedCore *core, QString *error)
{
    *error = ruleProblem(protocol, request);
    if (!error->isEmpty())
        return CoreOutcome::Refused;
    if (request.params.isEmpty()) {
        *error = QStringLiteral("the parameter set is empty; nothing was generated");
        return CoreOutcome::Failed;
    }
    IPSERDESIP::serdes::instance()->setWorkingDir(request.workdir);
    if (!request.device.isNull())
        protocol.setDevice(request.device);
    bool generated = false;
    QString firstReport;
    {
        const HostFiles::GenerationScope scope(batch, request.workdir);
        const Reports reports;
        QStringList reserved;
        generated = protocol.generate(request.params, core->iniLines, reserved, core->moduleOptions,
                                      core->message, request.synthesis);
        firstReport = reports.first();
    }
    if (!generated || !firstReport.isEmpty()) {
        *error = !firstReport.isEmpty() ? firstReport
                 : !core->message.isEmpty()
                     ? core->message
                     : QStringLiteral("generation into %1 failed").arg(request.workdir);
        return CoreOutcome::Failed;
    }
    if (request.commit && !batch.commit(error)) {
        *error = QStringLiteral("cannot write: ") + *error;
        return CoreOutcome::Failed;
    }
    return CoreOutcome::Generated;
}

IPSERDESIP::ParameterMap configureCore(IPSERDESIP::BaseProtocol &protocol,
                                       const DialogRequest &request, HostFiles::WriteBatch &batch)
{
    const HostFiles::GenerationScope scope(batch, request.projectDir);
    return request.edit ? protocol.edit(request.stored)
                        : protocol.create(request.name, request.device);
}

} // namespace IPCore
