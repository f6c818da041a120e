#include <QApplication>
#include <QObject>
#include <QTest>

#include <memory>

std::unique_ptr<QObject> createSetupTest();
std::unique_ptr<QObject> createParametersTest();

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    int failed = 0;
    for (auto create : {createSetupTest, createParametersTest}) {
        const std::unique_ptr<QObject> test = create();
        failed += QTest::qExec(test.get(), argc, argv);
    }
    return failed;
}
