#include "settings/settingsstore.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc < 3)
        return 2;
    SettingsStore store(QString::fromLocal8Bit(argv[1]));
    const int count = QByteArray(argv[2]).toInt();
    for (int i = 0; i < count; ++i) {
        const QString n = QString::number(i);
        store.SaveSetting(QStringLiteral("Burst%1").arg(i % 7), QStringLiteral("Key") + n,
            QStringLiteral("value %1 with = and ; and \"quotes\"").arg(i));
        std::printf("%d\n", i);
        std::fflush(stdout);
    }
    return 0;
}
