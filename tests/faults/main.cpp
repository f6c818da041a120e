#include <QApplication>
#include <QtTest>

#include <memory>

std::unique_ptr<QObject> makeGenerationFaultsTest();
std::unique_ptr<QObject> makeInputFaultsTest();

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    int failures = 0;
    for (const auto &make : {makeGenerationFaultsTest, makeInputFaultsTest}) {
        const std::unique_ptr<QObject> test = make();
        failures += QTest::qExec(test.get(), argc, argv);
    }
    return failures == 0 ? 0 : 1;
}
