#include "desktop/windows/SystemClock.h"

#include <QDateTime>

namespace wexal::desktop {

LocalDateTime SystemClock::Now() const {
    const QDateTime now = QDateTime::currentDateTime();
    const QDate date = now.date();
    const QTime time = now.time();
    return {date.year(), date.month(), date.day(), time.hour(), time.minute(), time.second()};
}

}  // namespace wexal::desktop
