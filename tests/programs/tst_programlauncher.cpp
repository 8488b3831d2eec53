#include "programs/programlauncher.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// The real launcher: detached processes, a whole-path command line, and not-found told apart.
class tst_ProgramLauncher : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void startsCommandLinesAndPathsWithBlanks()
    {
        QTemporaryDir dir;
        const QString marker = dir.filePath(QStringLiteral("ran"));
        const QString script = dir.filePath(QStringLiteral("my tool.sh"));
        QFile file(script);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QStringLiteral("#!/bin/sh\ntouch '%1'\n").arg(marker).toUtf8());
        file.close();
        file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
        ProcessProgramLauncher launcher;
        QCOMPARE(launcher.start(script), ProgramLauncher::Result::Started);
        QTRY_VERIFY(QFile::exists(marker));
        QCOMPARE(launcher.start(QStringLiteral("touch \"%1.2\"").arg(marker)),
            ProgramLauncher::Result::Started);
        QTRY_VERIFY(QFile::exists(marker + QStringLiteral(".2")));
    }

    void watchedProgramsReportTheirEndOnce()
    {
        ProcessProgramLauncher launcher;
        int ended = 0;
        launcher.startAndWatch(QStringLiteral("sh -c \"exit 3\""), [&] { ++ended; });
        QCOMPARE(ended, 0);
        QTRY_COMPARE(ended, 1);
        int missing = 0;
        launcher.startAndWatch(QStringLiteral("/nonexistent/mail-program"), [&] { ++missing; });
        QCOMPARE(missing, 0); // from the event loop, never inside the call
        QTRY_COMPARE(missing, 1);
        QTest::qWait(50);
        QCOMPARE(ended + missing, 2);
    }

    void missingProgramsAreNotFound()
    {
        ProcessProgramLauncher launcher;
        QCOMPARE(launcher.start(QStringLiteral("/nonexistent/dir/tool --flag")),
            ProgramLauncher::Result::NotFound);
        QCOMPARE(launcher.start(QStringLiteral("no-such-program-anywhere-here")),
            ProgramLauncher::Result::NotFound);
        QCOMPARE(launcher.start(QStringLiteral("   ")), ProgramLauncher::Result::Failed);
        QVERIFY(
            ProgramLauncher::notFoundText(QStringLiteral("/x/y")).contains(QStringLiteral("/x/y")));
    }
};

QTEST_GUILESS_MAIN(tst_ProgramLauncher)
#include "tst_programlauncher.moc"
