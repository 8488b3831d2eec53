#include "shell/ui/startup.h"

#include "alerts/canberrasoundplayer.h"
#include "alerts/dbusnotifier.h"
#include "alerts/quiethours.h"
#include "clock/realclock.h"
#include "connection/dialupfactory.h"
#include "connection/dialupservice.h"
#include "programs/programlauncher.h"
#include "settings/passwords.h"
#include "settings/qtkeychainbackend.h"
#include "settings/settingsstore.h"
#include "shell/appcontext.h"
#include "shell/systemevents.h"
#include "shell/ui/qtdialogservice.h"
#include "shell/xdgautostart.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QIconEngine>
#include <QImageReader>
#include <QObject>
#include <QPainter>

namespace Startup {

std::unique_ptr<AppContext> makeApplicationContext()
{
    auto clock = std::make_unique<RealClock>();
    // Woken from sleep, the clock catches up first: the program's own followers of the wake
    // then find the timers at their moments.
    auto events = std::make_unique<SystemEvents>(QDBusConnection::systemBus());
    QObject::connect(events.get(), &SystemEvents::resumed, clock.get(), &RealClock::catchUp);
    auto dialogs = std::make_unique<QtDialogService>(*clock);
    auto context = std::make_unique<AppContext>(AppPaths::forApplication(), std::move(clock),
        std::make_unique<SettingsStore>(SettingsStore::defaultFilePath()), std::move(dialogs));
    // Quiet hours stand between the program and the desktop's sounds and notifications.
    context->setNotifier(std::make_unique<QuietNotifier>(context->clock(), context->model(),
        std::make_unique<DBusNotifier>(QDBusConnection::sessionBus())));
    context->setSounds(std::make_unique<QuietSoundPlayer>(context->clock(), context->model(),
        context->notifier(), std::make_unique<CanberraSoundPlayer>()));
    context->setPrograms(std::make_unique<ProcessProgramLauncher>());
    context->setDialUpService(DialUpFactory::create(context->settings(), context->clock()));
    context->setSystemEvents(std::move(events));
    context->setAutostart(std::make_unique<XdgAutostart>(
        XdgAutostart::defaultFolder(), QCoreApplication::applicationFilePath()));
    reportSettingsProblem(*context);
    context->passwords().setKeyring(
        std::make_unique<QtKeychainBackend>(QDBusConnection::sessionBus()));
    context->passwords().start();
    return context;
}

namespace {
// A reader of the PNG file `path` that asks no image plugin: guessing the format would load
// every plugin (JPEG, GIF, ...) to probe the file.
std::unique_ptr<QImageReader> pngReader(const QString &path)
{
    auto reader = std::make_unique<QImageReader>(path, "png");
    reader->setAutoDetectImageFormat(false);
    return reader;
}

// The program's icon, one PNG file per size, read only when a picture is asked for and not
// kept: X asks for every size once, when a window (the tray icon's too) is created, and a tray
// program would otherwise hold all of them, large sizes included, for its whole session.
class FileIconEngine : public QIconEngine
{
public:
    explicit FileIconEngine(QList<std::pair<QSize, QString>> files)
        : m_files(std::move(files))
    { }
    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        const qreal ratio = painter->device()->devicePixelRatio();
        painter->drawPixmap(rect, pixmap(rect.size() * ratio, mode, state));
    }
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        if (m_files.isEmpty())
            return {};
        if (mode != QIcon::Normal) // made by the style from the whole set, as for any icon
            return full().pixmap(size, mode, state);
        QPixmap picture = QPixmap::fromImage(pngReader(best(size).second)->read());
        if (picture.width() > size.width() || picture.height() > size.height())
            picture = picture.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        return picture;
    }
    QSize actualSize(const QSize &size, QIcon::Mode, QIcon::State) override
    {
        if (m_files.isEmpty())
            return {};
        const QSize found = best(size).first;
        return found.width() > size.width() || found.height() > size.height()
            ? found.scaled(size, Qt::KeepAspectRatio)
            : found;
    }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override
    {
        QList<QSize> sizes;
        for (const auto &file : std::as_const(m_files))
            sizes.append(file.first);
        return sizes;
    }
    QIconEngine *clone() const override { return new FileIconEngine(m_files); }
    QString key() const override { return QStringLiteral("FileIconEngine"); }
    bool isNull() override { return m_files.isEmpty(); }

private:
    // The smallest picture at least as large as `size`, else the largest.
    const std::pair<QSize, QString> &best(QSize size) const
    {
        const std::pair<QSize, QString> *found = nullptr;
        const std::pair<QSize, QString> *largest = &m_files.first();
        for (const auto &file : m_files) {
            const QSize &candidate = file.first;
            if (candidate.width() * candidate.height()
                > largest->first.width() * largest->first.height())
                largest = &file;
            if (candidate.width() >= size.width() && candidate.height() >= size.height()
                && (!found
                    || candidate.width() * candidate.height()
                        < found->first.width() * found->first.height()))
                found = &file;
        }
        return found ? *found : *largest;
    }
    QIcon &full()
    {
        if (m_full.isNull())
            for (const auto &file : std::as_const(m_files))
                m_full.addFile(file.second, file.first);
        return m_full;
    }
    QList<std::pair<QSize, QString>> m_files;
    QIcon m_full;
};
} // namespace

QIcon programIcon(const AppPaths &paths)
{
    QList<std::pair<QSize, QString>> files;
    const QDir theme(paths.iconThemeDir());
    for (const QString &size : theme.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString png = theme.filePath(size + QStringLiteral("/apps/bvane.png"));
        if (!QFileInfo(png).isFile())
            continue; // "scalable" holds the SVG only: a reader would warn about no PNG
        const QSize found = pngReader(png)->size(); // the header only
        if (found.isValid())
            files.append({found, png});
    }
    return QIcon(new FileIconEngine(std::move(files)));
}

void reportSettingsProblem(AppContext &context)
{
    SettingsStore &store = context.settings();
    if (!store.problem().isEmpty())
        context.dialogs().message(
            DialogService::Icon::Warning, QStringLiteral("Brisvane"), store.problem());
    // A write that fails later (disk full) is reported once, not at every change.
    auto reported = std::make_shared<bool>(false);
    QObject::connect(
        &store, &SettingsStore::writeFailed, &store, [&context, reported](const QString &message) {
            if (std::exchange(*reported, true))
                return;
            context.dialogs().message(
                DialogService::Icon::Warning, QStringLiteral("Brisvane"), message);
        });
}

} // namespace Startup
