#pragma once

#include <QObject>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

class QWidget;

// The reference host's IP core, file, device and IDE services.
class HostServicesTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    // Description files and the checks built on them.
    void processIPInfoSpec_data();
    void processIPInfoSpec();
    void checkCommonInfo_data();
    void checkCommonInfo();
    void isSupported_data();
    void isSupported();

    // Directories, files and the message sink.
    void makeDirs();
    void makeDirsReportsFailure();
    void generateFileWritesUtf8Lines_data();
    void generateFileWritesUtf8Lines();
    void generateFileFailureKeepsPreviousFile_data();
    void generateFileFailureKeepsPreviousFile();
    void generateFileFailureShowsBoxOnParent();

    // Device database, view manager, global data.
    void deviceDatabaseGroups_data();
    void deviceDatabaseGroups();
    void deviceDatabaseLookups();
    void dialogParentIsGuarded();
    void globalResetEnableLine_data();
    void globalResetEnableLine();

public:
    // What the sink received while the capturing handler was installed.
    static QStringList reports;

private:
    QString writeFile(const QString &name, const QByteArray &content) const;

    std::unique_ptr<QTemporaryDir> m_dir; // fresh for every test
};
