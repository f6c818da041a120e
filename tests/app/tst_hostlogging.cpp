#include "hostrun.h"
#include "testpaths.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

namespace {

const QStringList allCategories{"ipcore.plugins", "ipcore.serdes", "ipcore.solver",
                                "ipcore.design"};

// The categories that printed at least one line, and any line that belongs to none of them.
QSet<QString> printedCategories(const QByteArray &err, QStringList *strays)
{
    QSet<QString> printed;
    const QRegularExpression line(QStringLiteral("^(ipcore\\.[a-z]+): \\S"));
    for (const QString &text : QString::fromUtf8(err).split('\n', Qt::SkipEmptyParts)) {
        const QRegularExpressionMatch match = line.match(text);
        if (match.hasMatch() && allCategories.contains(match.captured(1)))
            printed << match.captured(1);
        else
            *strays << text;
    }
    return printed;
}

// Sets an environment variable for the programs this test starts, and restores it.
class ScopedEnv
{
public:
    ScopedEnv(const char *name, const QByteArray &value)
        : m_name(name), m_had(qEnvironmentVariableIsSet(name)), m_old(qgetenv(name))
    {
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, value);
    }
    ~ScopedEnv()
    {
        if (m_had)
            qputenv(m_name, m_old);
        else
            qunsetenv(m_name);
    }

private:
    const char *m_name;
    bool m_had;
    QByteArray m_old;
};

} // namespace

class HostLoggingTest : public QObject
{
    Q_OBJECT

private slots:
    void version()
    {
        QFile description(TestPaths::sourceDir() + "/data/jesd204b.ipspec");
        QVERIFY(description.open(QIODevice::ReadOnly));
        const QJsonObject core =
            QJsonDocument::fromJson(description.readAll()).object()["ipcore"].toObject();

        const TestSupport::HostRun host = TestSupport::runHost({"--version"});
        QCOMPARE(host.exitCode, 0);
        QVERIFY2(host.err.isEmpty(), host.err.constData());
        const QStringList expected{
            QStringLiteral("ipcore-host %1").arg(JESD_PROJECT_VERSION),
            QStringLiteral("core %1 %2 (%3)")
                .arg(core["id"].toString(), core["version"].toString(), core["name"].toString())};
        QCOMPARE(host.outLines(), expected);

        const TestSupport::HostRun extra = TestSupport::runHost({"--version", "list"});
        QCOMPARE(extra.exitCode, 2);
        QVERIFY(extra.out.isEmpty());
    }

    void categories_data()
    {
        QTest::addColumn<bool>("verbose");
        QTest::addColumn<QByteArray>("rules"); // QT_LOGGING_RULES; null: unset
        QTest::addColumn<QStringList>("printed");
        const QByteArray unset;
        // clang-format off
        QTest::newRow("quiet by default") << false << unset << QStringList{};
        QTest::newRow("--verbose") << true << unset << allCategories;
        QTest::newRow("one category by its rule") << false << QByteArray("ipcore.solver.debug=true") << QStringList{"ipcore.solver"};
        QTest::newRow("all by a wildcard rule") << false << QByteArray("ipcore.*.debug=true") << allCategories;
        QTest::newRow("rules override --verbose") << true << QByteArray("ipcore.serdes.debug=false;ipcore.plugins.debug=false") << QStringList{"ipcore.solver", "ipcore.design"};
        // clang-format on
    }

    void categories()
    {
        QFETCH(bool, verbose);
        QFETCH(QByteArray, rules);
        QFETCH(QStringList, printed);
        const ScopedEnv env("QT_LOGGING_RULES", rules);
        const QString examples = TestPaths::examplesDir();
        // The design holds the PLL the set needs at another rate: every part has work to report.
        QStringList arguments{"check", examples + "/rx_2lane.json", "--design",
                              examples + "/designs/jesd_rx_q0.json"};
        if (verbose)
            arguments << "--verbose";

        const TestSupport::HostRun host = TestSupport::runHost(arguments);
        QCOMPARE(host.exitCode, 1);
        QStringList strays;
        const QSet<QString> got = printedCategories(host.err, &strays);
        QVERIFY2(strays.isEmpty(), qPrintable(strays.join('\n')));
        QCOMPARE(got, QSet<QString>(printed.begin(), printed.end()));
        // Logging goes to standard error only.
        QVERIFY(!host.out.contains("ipcore."));
    }

    void loaderSaysWhyItRefusesAFile()
    {
        QTemporaryDir dir;
        QFile junk(dir.filePath("libjunk.so"));
        QVERIFY(junk.open(QIODevice::WriteOnly) && junk.write("not a shared object") > 0);
        junk.close();
        const ScopedEnv env("QT_LOGGING_RULES", QByteArray());

        const TestSupport::HostRun host =
            TestSupport::runHost({"list", "--verbose", "--plugin-dir", dir.path()});
        QCOMPARE(host.exitCode, 1);
        const QStringList lines = host.errLines();
        const QString refused = QStringLiteral("ipcore.plugins: refused %1: ").arg(junk.fileName());
        QVERIFY2(std::any_of(lines.begin(), lines.end(),
                             [&](const QString &line) {
                                 return line.startsWith(refused) && line.size() > refused.size();
                             }),
                 host.err.constData());
    }
};

QTEST_GUILESS_MAIN(HostLoggingTest)
#include "tst_hostlogging.moc"
