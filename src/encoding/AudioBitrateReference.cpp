#include "encoding/AudioBitrateReference.h"

#include "encoding/ArgumentBuilder.h"

#include <QSaveFile>
#include <QStringList>

const std::array<TAudioBitrateEntry, 36>& AudioBitrateReference() {
    static const std::array<TAudioBitrateEntry, 36> table = [] {
        static const char16_t* const labels[] = {u" MP3: ", u" MP2: ", u" AC3: ",
                                                 u" AAC: ", u"WMA1: ", u"WMA2: "};
        std::array<TAudioBitrateEntry, 36> entries{};
        for (size_t i = 0; i < entries.size(); ++i) {
            const TAudioBitrateLimit& limit = AudioBitrateLimits[i];
            TAudioBitrateEntry& e = entries[i];
            e.SamplingRate = limit.SamplingRate;
            e.Label = QString::fromUtf16(labels[i % 6]);
            e.Lowest = limit.Lowest;
            e.Highest = limit.Highest;
            for (size_t k = 0; k < StandardAudioBitrates.size(); ++k)
                e.Valid[k] =
                    e.Lowest <= StandardAudioBitrates[k] && StandardAudioBitrates[k] <= e.Highest;
        }
        return entries;
    }();
    return table;
}

QString AudioBitrateReferenceText() {
    QStringList lines;
    const auto& table = AudioBitrateReference();
    for (size_t block = 0; block < 6; ++block) {
        if (block > 0)
            lines.append(QString());
        lines.append(QStringLiteral("Sampling rate: %1").arg(table[block * 6].SamplingRate));
        for (size_t row = 0; row < 6; ++row) {
            const TAudioBitrateEntry& e = table[block * 6 + row];
            QString line = e.Label;
            for (size_t k = 0; k < StandardAudioBitrates.size(); ++k)
                line += QStringLiteral("%1").arg(
                    e.Valid[k] ? QString::number(StandardAudioBitrates[k]) : QStringLiteral("-"),
                    4);
            lines.append(line);
        }
    }
    return lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
}

bool WriteAudioBitrateReference(const QString& fileName, QString* error) {
    QSaveFile file(fileName);
    const QByteArray bytes = AudioBitrateReferenceText().toUtf8();
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    if (error != nullptr)
        *error = file.errorString();
    return false;
}
