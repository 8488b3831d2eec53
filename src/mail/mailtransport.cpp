#include "mail/mailtransport.h"

#include "mail/mailerror.h"

#include <QCoreApplication>
#include <QDir>
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
    QLibrary module(modulePath());
    module.setLoadHints(QLibrary::PreventUnloadHint);
    const auto factory
        = reinterpret_cast<NewMailStreamFunction>(module.resolve(kNewMailStreamSymbol));
    if (!factory && failure) {
        *failure = {MailError::NetworkError,
            tr("The mail transport could not be loaded: %1").arg(module.errorString())};
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
