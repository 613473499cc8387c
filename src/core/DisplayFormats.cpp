#include "core/DisplayFormats.h"

#include <QLocale>

QString IntToStrGrouped(qint64 value, QChar separator) {
    // Grouping works on the digits only; a minus sign goes in front afterwards, so that a negative
    // number never shows a separator between the sign and its first digit.
    const quint64 magnitude = value < 0 ? 0 - static_cast<quint64>(value) : quint64(value);
    QString digits = QString::number(magnitude);
    const qsizetype groups = digits.size() / 3;
    for (qsizetype i = 0; i < groups; ++i)
        digits.insert(digits.size() - (i + 1) * 3 - i, separator);
    digits = digits.trimmed();
    return value < 0 ? u'-' + digits : digits;
}

QString GetFileSizeString(qint64 bytes) {
    // The magnitude of the most negative count does not fit a qint64; as unsigned it does.
    const quint64 magnitude = bytes < 0 ? 0 - static_cast<quint64>(bytes) : quint64(bytes);
    QString text;
    if (magnitude < 1024) {
        text = QStringLiteral("%1 bytes").arg(magnitude, 2, 10, QLatin1Char(' '));
    } else {
        static constexpr struct {
            quint64 Limit;
            double Divisor;
            const char16_t* Unit;
        } units[] = {{1024ull * 1024, 1024.0, u" KB"},
                     {1024ull * 1024 * 1024, 1024.0 * 1024, u" MB"},
                     {~0ull, 1024.0 * 1024 * 1024, u" GB"}};
        for (const auto& unit : units) {
            if (magnitude < unit.Limit || unit.Limit == ~0ull) {
                text = QString::number(double(magnitude) / unit.Divisor, 'f', 2) +
                       QString::fromUtf16(unit.Unit);
                break;
            }
        }
    }
    return bytes < 0 ? u'-' + text : text;
}

QString MsToTimeStr(qint64 ms, bool withoutMs) {
    if (ms <= 0)
        return withoutMs ? QStringLiteral("00:00:00") : QStringLiteral("00:00:00.000");
    const qint64 m = ms;
    const qint64 seconds = withoutMs ? (m + 500) / 1000 : m / 1000;
    const auto two = [](qint64 v) { return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0')); };
    QString text = two(seconds / 3600) + u':' + two(seconds / 60 % 60) + u':' + two(seconds % 60);
    if (!withoutMs)
        text += u'.' + QStringLiteral("%1").arg(m % 1000, 3, 10, QLatin1Char('0'));
    return text;
}

QString GroupedNumber(qint64 value) {
    return IntToStrGrouped(value, u' ');
}

QString LocaleDecimalText(double value, int decimals) {
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(value, 'f', decimals);
}
