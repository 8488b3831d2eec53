#pragma once

#include <QDateTime>
#include <QObject>

#include <optional>

class AppContext;
class UsageStore;

// The optional monthly limit, in hours online or megabytes through the line (in and out,
// 1 MB = 1,000,000 bytes): at 80 % and at 100 % of it a desktop notification, each once per
// calendar month (local time). Which months had theirs is kept in the settings, so a restart
// does not repeat them.
class UsageLimit : public QObject
{
    Q_OBJECT

public:
    enum class Unit { Hours, Megabytes };
    struct Limit {
        int amount = 0;
        Unit unit = Unit::Hours;
    };

    UsageLimit(AppContext &context, const UsageStore &store, QObject *parent = nullptr);

    // The limit in the settings; nullopt when there is none.
    std::optional<Limit> limit() const;
    // How much of the limit the month of `now` has used (1.0 is all of it).
    std::optional<double> used(const QDateTime &now) const;
    // "8:00 of 10 hours", "412 of 500 MB".
    QString usedText(const QDateTime &now) const;
    // Sends the notices that are due.
    void check(const QDateTime &now);

private:
    AppContext &m_context;
    const UsageStore &m_store;
};
