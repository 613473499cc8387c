#include "core/Product.h"

#include <QSysInfo>

QString BuildBits() {
    return QString::number(QSysInfo::WordSize);
}

QString ProductTitle() {
    return QStringLiteral("%1 %2  [%3-bit]")
        .arg(QString::fromUtf16(ProductName), QString::fromUtf16(ProductVersion), BuildBits());
}
