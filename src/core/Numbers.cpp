#include "core/Numbers.h"

#include <QLocale>
#include <cmath>
#include <limits>

bool TryStrToInt(const QString& text, int* value) {
    const QString t = text.trimmed();
    bool ok = false;
    if (t.startsWith(u'$') || t.startsWith(u"0x", Qt::CaseInsensitive)) {
        const QString digits = t.mid(t.startsWith(u'$') ? 1 : 2);
        if (digits.isEmpty() || digits.startsWith(u'+') || digits.startsWith(u'-'))
            return false;
        const uint u = digits.toUInt(&ok, 16);
        if (ok)
            *value = static_cast<int>(u);
        return ok;
    }
    const int v = t.toInt(&ok, 10);
    if (ok)
        *value = v;
    return ok;
}

bool TryStrToFloat(const QString& text, double* value) {
    bool ok = false;
    const double v = QLocale().toDouble(text.trimmed(), &ok);
    if (ok && std::isfinite(v)) {
        *value = v;
        return true;
    }
    return false;
}

QString WithLocaleDecimalMark(const QString& text, bool everyMark) {
    const QString mark = QLocale().decimalPoint();
    QString result = text;
    for (const QChar c : {QChar(u'.'), QChar(u',')}) {
        if (everyMark) {
            result.replace(c, mark);
        } else if (const qsizetype at = result.indexOf(c); at >= 0) {
            result.replace(at, 1, mark);
        }
    }
    return result;
}

double RoundHalfEven(double value) {
    // nearbyint rounds in the current mode, which is to-nearest-even unless changed.
    return std::nearbyint(value);
}

namespace {

template <typename T>
T Clamped(double value) {
    if (!(value > double(std::numeric_limits<T>::min())))
        return std::numeric_limits<T>::min();
    if (!(value < double(std::numeric_limits<T>::max())))
        return std::numeric_limits<T>::max();
    return static_cast<T>(value);
}

} // namespace

uint32_t RoundToU32(double value) {
    return Clamped<uint32_t>(RoundHalfEven(value));
}

int32_t RoundToI32(double value) {
    return Clamped<int32_t>(RoundHalfEven(value));
}
