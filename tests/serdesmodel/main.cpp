#include "serdesmodeltests.h"

#include <QCoreApplication>
#include <QtTest>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    int status = 0;
    {
        SerdesModelTest test;
        status |= QTest::qExec(&test, argc, argv);
    }
    {
        DesignFileTest test;
        status |= QTest::qExec(&test, argc, argv);
    }
    return status;
}
