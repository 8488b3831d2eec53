#include "settings/firstrun.h"
#include "support/testcontext.h"

#include <QFile>
#include <QSignalSpy>
#include <QTest>

class tst_FirstRun : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void freshStoreGetsTheTwelveValuesInOrder()
    {
        TestContext t;
        QVERIFY(FirstRun::isFirstRun(t.settings()));
        QSignalSpy saved(&t.settings(), &SettingsStore::saved);
        FirstRun::writeDefaults(t.settings());
        QStringList written;
        for (const QList<QVariant> &args : saved)
            written << args.at(0).toString() + u'/' + args.at(1).toString() + u'='
                    + args.at(2).toString();
        QCOMPARE(written,
            QStringList({
                "Settings/FirstTime=FirstTime",
                "LoadCustomizeBrisvaneDialogonStartup/DialogonStartup=True",
                "CustomizeBrisvaneDialogonStartup/Startup=1",
                "ShowCloseMailProgramMessage/CloseMailProgramMessage=True",
                "CloseMailProgramMessage/MailProgramMessage=True",
                "CloseMailProgramMessageDialog/MailProgramMessageDialog=1",
                "ShowDeleteMessageConfirmation/DeleteMessageConfirmation=True",
                "DeleteMessageConfirmation/MessageConfirmation=True",
                "DeleteMessageConfirmationDialog/MessageConfirmationDialog=1",
                "ShowCustomizeBrisvaneReminder/Reminder=True",
                "CustomizeBrisvaneReminder/Reminder=True",
                "BrisvaneDialogReminder/Reminder=1",
            }));
    }

    void secondStartIsNotAFirstRun()
    {
        TestContext t;
        FirstRun::writeDefaults(t.settings());
        t.reopen();
        QVERIFY(!FirstRun::isFirstRun(t.settings()));
        // Anything but the literal marker is still a first run.
        t.settings().save(Keys::FirstTime, QStringLiteral("firsttime"));
        QVERIFY(FirstRun::isFirstRun(t.settings()));
    }
};

QTEST_GUILESS_MAIN(tst_FirstRun)
#include "tst_firstrun.moc"
