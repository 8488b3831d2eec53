#include "usage/usagelimit.h"

#include "alerts/desktopnotices.h"
#include "alerts/notifier.h"
#include "settings/settingsmodel.h"
#include "shell/appcontext.h"
#include "usage/usagereport.h"

#include <QLocale>
#include <QUrl>

namespace {
constexpr double kWarnAt = 0.8;
const QString kTag = QStringLiteral("usage-limit");
const QString kMegabytes = QStringLiteral("megabytes");
} // namespace

UsageLimit::UsageLimit(AppContext &context, const UsageStore &store, QObject *parent)
    : QObject(parent)
    , m_context(context)
    , m_store(store)
{ }

std::optional<UsageLimit::Limit> UsageLimit::limit() const
{
    const SettingsModel &settings = m_context.model();
    const int amount = settings.count(Keys::UsageLimitAmount);
    if (amount <= 0)
        return std::nullopt;
    const bool megabytes
        = settings.text(Keys::UsageLimitUnit).compare(kMegabytes, Qt::CaseInsensitive) == 0;
    return Limit{amount, megabytes ? Unit::Megabytes : Unit::Hours};
}

std::optional<double> UsageLimit::used(const QDateTime &now) const
{
    const std::optional<Limit> set = limit();
    if (!set)
        return std::nullopt;
    const UsageReport::Range month = UsageReport::monthOf(now.toLocalTime().date());
    const UsageTotals totals = m_store.totals(month.from, month.to);
    if (set->unit == Unit::Megabytes)
        return double(totals.bytesIn + totals.bytesOut) / (double(set->amount) * 1e6);
    return double(totals.seconds) / (double(set->amount) * 3600);
}

QString UsageLimit::usedText(const QDateTime &now) const
{
    const std::optional<Limit> set = limit();
    const std::optional<double> part = used(now);
    if (!set || !part)
        return {};
    if (set->unit == Unit::Megabytes)
        return QStringLiteral("%1 of %2 MB")
            .arg(QLocale().toString(*part * set->amount, 'f', 1))
            .arg(set->amount);
    const qint64 seconds = qRound64(*part * set->amount * 3600);
    return QStringLiteral("%1:%2 of %3 hours")
        .arg(seconds / 3600)
        .arg((seconds / 60) % 60, 2, 10, QLatin1Char('0'))
        .arg(set->amount);
}

void UsageLimit::check(const QDateTime &now)
{
    const std::optional<double> part = used(now);
    if (!part || *part < kWarnAt)
        return;
    const bool reached = *part >= 1.0;
    const SettingKey &noticed = reached ? Keys::UsageLimitNoticed100 : Keys::UsageLimitNoticed80;
    const QString month = now.toLocalTime().toString(QStringLiteral("yyyy-MM"));
    SettingsModel &settings = m_context.model();
    if (settings.text(noticed) == month)
        return;
    settings.setText(noticed, month);
    // 100 % reached at once (a long line, a limit lowered) stands for the 80 % notice too.
    if (reached)
        settings.setText(Keys::UsageLimitNoticed80, month);
    if (!DesktopNotices::enabled(m_context))
        return;
    const QString summary = reached ? QStringLiteral("Monthly limit reached")
                                    : QStringLiteral("80 % of the monthly limit used");
    const QString icon
        = QUrl::fromLocalFile(m_context.paths().resource(QStringLiteral("net10a.ico"))).toString();
    m_context.notifier().notify(
        {kTag, summary, QStringLiteral("Time and data online this month: ") + usedText(now), icon,
            QStringLiteral("network"),
            reached ? Notifier::Urgency::Critical : Notifier::Urgency::Normal, {}});
}
