#include "mail/mailtransport.h"

#include "mail/mailerror.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>

namespace MailTransport {

namespace {

struct Loaded {
    QString path; // chosen by useModule(), else the usual place
    NewMailStreamFunction factory = nullptr;
};

Loaded &loaded()
{
    static Loaded state;
    return state;
}

QString tr(const char *text)
{
    return QCoreApplication::translate("MailTransport", text);
}

// The module is never unloaded: streams from it may outlive every connection.
NewMailStreamFunction resolve(MailStream::Failure *failure)
{
    const QString path = modulePath();
    QLibrary module(path);
    module.setLoadHints(QLibrary::PreventUnloadHint);
    // For a file that is not there QLibrary tries other names (lib*.so) and tells the last.
    const bool present = QFileInfo::exists(path);
    const auto factory = present
        ? reinterpret_cast<NewMailStreamFunction>(module.resolve(kNewMailStreamSymbol))
        : nullptr;
    if (!factory && failure) {
        const QString reason = present ? module.errorString() : tr("%1 is missing").arg(path);
        *failure = {
            MailError::NetworkError, tr("The mail transport could not be loaded: %1").arg(reason)};
    }
    return factory;
}

} // namespace

QString modulePath()
{
    if (!loaded().path.isEmpty())
        return loaded().path;
    return QDir::cleanPath(QCoreApplication::applicationDirPath()
        + QLatin1String("/" BVANE_MAIL_TRANSPORT_DIR "/" BVANE_MAIL_TRANSPORT_FILE));
}

std::unique_ptr<MailStream> newStream(MailStream::Failure *failure)
{
    Loaded &state = loaded();
    if (!state.factory)
        state.factory = resolve(failure);
    return std::unique_ptr<MailStream>(state.factory ? state.factory() : nullptr);
}

void useModule(const QString &path)
{
    loaded() = {path, nullptr};
}

} // namespace MailTransport
