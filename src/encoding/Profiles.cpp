#include "encoding/Profiles.h"

#include "core/AppParams.h"
#include "core/IniFile.h"
#include "core/Numbers.h"
#include "localisation/AppStrings.h"
#include "platform/Platform.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <algorithm>
#include <numeric>

namespace {

const QString Main = QStringLiteral("MAIN");
const QString Avi = QStringLiteral("AVI");
const QString Mpg = QStringLiteral("MPG");
const QString Audio = QStringLiteral("AUDIO");
const QString Advanced = QStringLiteral("ADVANCED");

bool IsInteger(const QString& text) {
    int ignored = 0;
    return TryStrToInt(text, &ignored);
}

// An integer text as it stands, anything else empty (Auto).
QString IntegerOrEmpty(const QString& text) {
    return IsInteger(text) ? text.trimmed() : QString();
}

// A list index outside the list selects nothing, as a list control does.
int ListIndex(int value, int count) {
    return value >= 0 && value < count ? value : -1;
}

// Reading of the text keys: the value a key has before loading is its default.
struct TReader {
    const TIniFile& Ini;
    const TAppStrings& Strings;

    bool Bool(const QString& section, const QString& key, bool current) const {
        return Ini.ReadBool(section, key, current);
    }
    int Int(const QString& section, const QString& key, int current) const {
        return Ini.ReadInteger(section, key, current);
    }
    // Bitrates, sampling rates and thread counts: an integer, or Auto.
    QString IntegerText(const QString& section, const QString& key, const QString& current) const {
        const QString text = Ini.ReadString(section, key, current);
        return IsInteger(text) ? text : Strings.Main.Auto;
    }
    // Frame rates and aspects: empty is Auto, anything else as it stands.
    QString FreeText(const QString& section, const QString& key, const QString& current) const {
        const QString text = Ini.ReadString(section, key, current);
        return text.isEmpty() ? Strings.Main.Auto : text;
    }
};

QString AutoAsEmpty(const QString& text, const TAppStrings& strings) {
    return text == strings.Main.Auto ? QString() : text;
}

std::optional<quint32> HexNumber(QString text) {
    text.remove(QStringLiteral("0x"), Qt::CaseInsensitive).remove(u' ');
    if (!text.startsWith(u'$'))
        text.prepend(u'$');
    const QString digits = text.mid(1);
    bool ok = false;
    const quint32 value = digits.toUInt(&ok, 16);
    if (!ok || digits.isEmpty() || digits.startsWith(u'+') || digits.startsWith(u'-'))
        return std::nullopt;
    return value;
}

TRgb FromBgr(quint32 value) {
    return {int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF)};
}

} // namespace

bool SaveProfile(const TEncoderSettings& s, const QString& presetFile, const TAppStrings& strings,
                 QString* error) {
    TIniFile ini(presetFile);
    ini.WriteString(Main, QStringLiteral("AppName"), QString::fromUtf16(ProductName));
    ini.WriteString(Main, QStringLiteral("AppVer"), QString::fromUtf16(ProductVersion));
    ini.WriteString(Main, QStringLiteral("OutputFormat"),
                    s.IsMpg() ? QStringLiteral("MPG") : QStringLiteral("AVI"));

    ini.WriteString(Avi, QStringLiteral("VideoCodec"),
                    GetVideoCodecIniName(s.Avi.VideoCodec, QStringLiteral("XVID")));
    ini.WriteString(Avi, QStringLiteral("VideoBitrate"), IntegerOrEmpty(s.Avi.VideoBitrate));
    ini.WriteString(Avi, QStringLiteral("VideoFPS"), AutoAsEmpty(s.Avi.VideoFPS, strings));
    ini.WriteString(Avi, QStringLiteral("VideoAspect"),
                    AutoAsEmpty(s.Avi.VideoAspect.trimmed(), strings));
    ini.WriteBool(Avi, QStringLiteral("Video2Pass"), s.Avi.Video2Pass);
    ini.WriteBool(Avi, QStringLiteral("DoNotCopyVideo"), s.Avi.DoNotCopyVideo);
    ini.WriteString(Avi, QStringLiteral("EncoderThreads"), IntegerOrEmpty(s.Avi.EncoderThreads));

    ini.WriteInteger(Mpg, QStringLiteral("VideoFormat"), s.Mpg.VideoFormat);
    ini.WriteInteger(Mpg, QStringLiteral("MPEGVersion"), s.Mpg.MPEGVersion);
    ini.WriteString(Mpg, QStringLiteral("VideoBitrate"), IntegerOrEmpty(s.Mpg.VideoBitrate));
    ini.WriteString(Mpg, QStringLiteral("VideoFPS"), AutoAsEmpty(s.Mpg.VideoFPS, strings));
    ini.WriteBool(Mpg, QStringLiteral("Video2Pass"), s.Mpg.Video2Pass);
    ini.WriteBool(Mpg, QStringLiteral("DoNotCopyVideo"), s.Mpg.DoNotCopyVideo);

    ini.WriteString(Audio, QStringLiteral("AudioCodec"),
                    GetAudioCodecIniName(s.Audio.AudioCodec, QStringLiteral("MP3")));
    ini.WriteString(Audio, QStringLiteral("AudioBitrate"), IntegerOrEmpty(s.Audio.AudioBitrate));
    ini.WriteString(Audio, QStringLiteral("AudioSampling"), IntegerOrEmpty(s.Audio.AudioSampling));
    ini.WriteInteger(Audio, QStringLiteral("AudioChannels"), s.Audio.AudioChannels);
    ini.WriteBool(Audio, QStringLiteral("DoNotCopyAudio"), s.Audio.DoNotCopyAudio);
    ini.WriteInteger(Audio, QStringLiteral("Volume"), s.Audio.Volume);

    const TAdvancedSettings& a = s.Advanced;
    ini.WriteInteger(Advanced, QStringLiteral("Resolution"), a.Resolution);
    ini.WriteInteger(Advanced, QStringLiteral("ResWidth"), a.ResWidth);
    ini.WriteInteger(Advanced, QStringLiteral("ResHeight"), a.ResHeight);
    ini.WriteBool(Advanced, QStringLiteral("ForceVideoTag"), a.ForceVideoTag);
    ini.WriteString(Advanced, QStringLiteral("VideoTag"), a.VideoTag);
    ini.WriteInteger(Advanced, QStringLiteral("CropTop"), a.CropTop);
    ini.WriteInteger(Advanced, QStringLiteral("CropBottom"), a.CropBottom);
    ini.WriteInteger(Advanced, QStringLiteral("CropLeft"), a.CropLeft);
    ini.WriteInteger(Advanced, QStringLiteral("CropRight"), a.CropRight);
    QString params;
    for (const QString& line : a.AdditionalParams)
        params += u' ' + line;
    ini.WriteString(Advanced, QStringLiteral("AdditionalParams"),
                    params.trimmed().replace(u'"', QStringLiteral("&quot;")));
    ini.WriteInteger(Advanced, QStringLiteral("Interlacing"), a.Interlacing);
    ini.WriteBool(Advanced, QStringLiteral("ConvertColors"), a.ConvertColors);
    ini.WriteInteger(Advanced, QStringLiteral("ConvertColorsValue"), a.ConvertColorsValue);
    ini.WriteBool(Advanced, QStringLiteral("Brightness"), a.Brightness);
    ini.WriteInteger(Advanced, QStringLiteral("BrightnessValue"), a.BrightnessValue);
    ini.WriteBool(Advanced, QStringLiteral("Saturation"), a.Saturation);
    ini.WriteInteger(Advanced, QStringLiteral("SaturationValue"), a.SaturationValue);
    ini.WriteBool(Advanced, QStringLiteral("FlipHorizontal"), a.FlipHorizontal);
    ini.WriteBool(Advanced, QStringLiteral("FlipVertical"), a.FlipVertical);
    ini.WriteBool(Advanced, QStringLiteral("Negative"), a.Negative);
    ini.WriteBool(Advanced, QStringLiteral("Rotate"), a.Rotate);
    int rotate = 180;
    if (!TryStrToInt(a.RotateValue.trimmed(), &rotate))
        rotate = 180;
    ini.WriteInteger(Advanced, QStringLiteral("RotateValue"), rotate);
    return ini.Save(error);
}

void LoadProfile(TEncoderSettings& s, const QString& presetFile, const TProfileContext& context) {
    if (!Platform::IsRegularFile(presetFile))
        return;
    const TIniFile ini(presetFile);
    const TReader r{ini, context.Strings};
    const TAppStrings& strings = context.Strings;

    const QString format =
        ini.ReadString(Main, QStringLiteral("OutputFormat"),
                       s.IsMpg() ? QStringLiteral("MPG") : QStringLiteral("AVI"));
    s.OutputFormat = format.toUpper() == u"MPG" ? TOutputFormat::MPG : TOutputFormat::AVI;

    const QString videoCodec =
        ini.ReadString(Avi, QStringLiteral("VideoCodec"), QStringLiteral("XVID"));
    int codec = 0;
    if (!TryStrToInt(videoCodec, &codec))
        codec = GetVideoCodecIndexByName(videoCodec, context.DefaultVideoCodecIndex, strings);
    s.Avi.VideoCodec =
        codec >= 0 && codec < VideoCodecCount ? codec : context.DefaultVideoCodecIndex;
    s.Avi.VideoBitrate = r.IntegerText(Avi, QStringLiteral("VideoBitrate"), s.Avi.VideoBitrate);
    s.Avi.VideoFPS = r.FreeText(Avi, QStringLiteral("VideoFPS"), s.Avi.VideoFPS);
    s.Avi.VideoAspect = r.FreeText(Avi, QStringLiteral("VideoAspect"), s.Avi.VideoAspect);
    s.Avi.Video2Pass = r.Bool(Avi, QStringLiteral("Video2Pass"), s.Avi.Video2Pass);
    s.Avi.DoNotCopyVideo = r.Bool(Avi, QStringLiteral("DoNotCopyVideo"), s.Avi.DoNotCopyVideo);
    s.Avi.EncoderThreads =
        r.IntegerText(Avi, QStringLiteral("EncoderThreads"), s.Avi.EncoderThreads);

    const QString audioCodec =
        ini.ReadString(Audio, QStringLiteral("AudioCodec"), QStringLiteral("AUTO"));
    if (!TryStrToInt(audioCodec, &codec))
        codec = GetAudioCodecIndexByName(audioCodec, acAuto, strings);
    s.Audio.AudioCodec = codec >= 0 && codec < AudioCodecCount ? codec : acAuto;
    s.Audio.AudioBitrate =
        r.IntegerText(Audio, QStringLiteral("AudioBitrate"), s.Audio.AudioBitrate);
    s.Audio.AudioSampling =
        r.IntegerText(Audio, QStringLiteral("AudioSampling"), s.Audio.AudioSampling);
    s.Audio.AudioChannels =
        ListIndex(r.Int(Audio, QStringLiteral("AudioChannels"), s.Audio.AudioChannels), 4);
    s.Audio.DoNotCopyAudio =
        r.Bool(Audio, QStringLiteral("DoNotCopyAudio"), s.Audio.DoNotCopyAudio);
    // The file allows 0..300; the volume bar itself starts at 1.
    s.Audio.Volume = std::clamp(
        std::clamp(r.Int(Audio, QStringLiteral("Volume"), s.Audio.Volume), 0, 300), 1, 300);

    s.Mpg.VideoFormat = ListIndex(r.Int(Mpg, QStringLiteral("VideoFormat"), s.Mpg.VideoFormat), 3);
    s.Mpg.MPEGVersion = ListIndex(r.Int(Mpg, QStringLiteral("MPEGVersion"), s.Mpg.MPEGVersion), 2);
    s.Mpg.VideoBitrate = r.IntegerText(Mpg, QStringLiteral("VideoBitrate"), s.Mpg.VideoBitrate);
    s.Mpg.VideoFPS = r.FreeText(Mpg, QStringLiteral("VideoFPS"), s.Mpg.VideoFPS);
    s.Mpg.Video2Pass = r.Bool(Mpg, QStringLiteral("Video2Pass"), s.Mpg.Video2Pass);
    s.Mpg.DoNotCopyVideo = r.Bool(Mpg, QStringLiteral("DoNotCopyVideo"), s.Mpg.DoNotCopyVideo);

    TAdvancedSettings& a = s.Advanced;
    a.Resolution = ListIndex(r.Int(Advanced, QStringLiteral("Resolution"), a.Resolution),
                             context.ResolutionItemCount);
    a.ResWidth = std::clamp(r.Int(Advanced, QStringLiteral("ResWidth"), a.ResWidth), 2, 30000);
    a.ResHeight = std::clamp(r.Int(Advanced, QStringLiteral("ResHeight"), a.ResHeight), 2, 30000);
    a.ForceVideoTag = r.Bool(Advanced, QStringLiteral("ForceVideoTag"), a.ForceVideoTag);
    a.VideoTag = ini.ReadString(Advanced, QStringLiteral("VideoTag"), a.VideoTag);
    for (const auto& [key, field] : {std::pair{u"CropTop", &a.CropTop},
                                     {u"CropBottom", &a.CropBottom},
                                     {u"CropLeft", &a.CropLeft},
                                     {u"CropRight", &a.CropRight}})
        *field = std::clamp(r.Int(Advanced, QString::fromUtf16(key), *field), 0, 5000);
    if (ini.ValueExists(Advanced, QStringLiteral("AdditionalParams"))) {
        QString params = ini.ReadString(Advanced, QStringLiteral("AdditionalParams"), QString());
        params.replace(QStringLiteral("&quot;"), QStringLiteral("\""));
        a.AdditionalParams = params.isEmpty() ? QStringList() : QStringList{params};
    }
    const int interlacing = r.Int(Advanced, QStringLiteral("Interlacing"), a.Interlacing);
    a.Interlacing = interlacing >= 0 && interlacing <= 2 ? interlacing : 0;
    a.Saturation = r.Bool(Advanced, QStringLiteral("Saturation"), a.Saturation);
    const int saturation = r.Int(Advanced, QStringLiteral("SaturationValue"), a.SaturationValue);
    a.SaturationValue = saturation >= 1 && saturation <= 30 ? saturation : 10;
    a.Brightness = r.Bool(Advanced, QStringLiteral("Brightness"), a.Brightness);
    const int brightness = r.Int(Advanced, QStringLiteral("BrightnessValue"), a.BrightnessValue);
    a.BrightnessValue = brightness >= -20 && brightness <= 20 ? brightness : 0;
    int rotate = 180;
    if (!TryStrToInt(a.RotateValue.trimmed(), &rotate))
        rotate = 180;
    a.RotateValue = QString::number(r.Int(Advanced, QStringLiteral("RotateValue"), rotate));
    a.ConvertColors = r.Bool(Advanced, QStringLiteral("ConvertColors"), a.ConvertColors);
    const int colors = r.Int(Advanced, QStringLiteral("ConvertColorsValue"), a.ConvertColorsValue);
    a.ConvertColorsValue = colors >= 0 && colors <= 1 ? colors : 0;
    a.FlipHorizontal = r.Bool(Advanced, QStringLiteral("FlipHorizontal"), a.FlipHorizontal);
    a.FlipVertical = r.Bool(Advanced, QStringLiteral("FlipVertical"), a.FlipVertical);
    a.Negative = r.Bool(Advanced, QStringLiteral("Negative"), a.Negative);
    a.Rotate = r.Bool(Advanced, QStringLiteral("Rotate"), a.Rotate);
}

std::optional<TRgb> ParseColorText(const QString& source) {
    const QString text = source.trimmed();
    if (text.startsWith(u'#')) {
        QString hex = text.mid(1);
        if (hex.size() == 3)
            hex = QString(2, hex[0]) + QString(2, hex[1]) + QString(2, hex[2]);
        bool ok = false;
        const quint32 value = hex.toUInt(&ok, 16);
        if (hex.size() != 6 || !ok || hex.startsWith(u'+') || hex.startsWith(u'-'))
            return std::nullopt;
        return TRgb{int(value >> 16), int((value >> 8) & 0xFF), int(value & 0xFF)};
    }
    const bool hexLetter = std::any_of(text.cbegin(), text.cend(), [](QChar c) {
        const QChar u = c.toUpper();
        return u >= u'A' && u <= u'F';
    });
    if (text.startsWith(u'$') || hexLetter) {
        const auto value = HexNumber(text);
        return value ? std::optional<TRgb>(FromBgr(*value)) : std::nullopt;
    }
    if (text.contains(u',') || text.contains(u' ')) {
        QString t = text;
        t.remove(u'(').remove(u')').replace(u',', u' ');
        const QStringList parts = t.split(u' ', Qt::SkipEmptyParts);
        if (parts.size() != 3)
            return std::nullopt;
        int c[3] = {};
        for (int i = 0; i < 3; ++i)
            if (!TryStrToInt(parts[i], &c[i]) || c[i] < 0 || c[i] > 255)
                return std::nullopt;
        return TRgb{c[0], c[1], c[2]};
    }
    if (!text.isEmpty() &&
        std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.isDigit(); })) {
        const auto value = HexNumber(text);
        return value ? std::optional<TRgb>(FromBgr(*value)) : std::nullopt;
    }
    return std::nullopt;
}

bool AP_AddProfile(QList<TProfileInfo>& list, const QString& fileName) {
    if (!Platform::IsRegularFile(fileName))
        return false;
    const TIniFile ini(fileName);
    if (ini.ReadString(Main, QStringLiteral("AppVer"), {}).toUpper() !=
            QString::fromUtf16(ProductVersion).toUpper() ||
        ini.ReadString(Main, QStringLiteral("AppName"), {}).toUpper() !=
            QString::fromUtf16(ProductName).toUpper())
        return false;
    TProfileInfo p;
    const QFileInfo file(fileName);
    p.ShortFileName = file.fileName();
    p.FileName = file.filePath();
    p.DisplayName = ini.ReadString(Main, QStringLiteral("DisplayName"), {});
    if (p.DisplayName.isEmpty())
        p.DisplayName = file.completeBaseName();
    for (const QString& marker : {QStringLiteral("[clb="), QStringLiteral("[clf=")})
        if (const qsizetype at = p.DisplayName.indexOf(marker, 0, Qt::CaseInsensitive); at >= 0)
            p.DisplayName.truncate(at);
    QString sortText = ini.ReadString(Main, QStringLiteral("SortIndex"), QStringLiteral("-1"));
    if (const qsizetype dot = sortText.indexOf(u'.'); dot >= 0)
        sortText.replace(dot, 1, QLocale().decimalPoint());
    if (!TryStrToFloat(sortText, &p.SortIndex))
        p.SortIndex = -1;
    p.BgColor =
        ParseColorText(ini.ReadString(Main, QStringLiteral("BgColor"), QStringLiteral("#FFFFFF")))
            .value_or(TRgb{});
    p.FontColor =
        ParseColorText(ini.ReadString(Main, QStringLiteral("FontColor"), QStringLiteral("#FFFFFF")))
            .value_or(TRgb{});
    list.append(p);
    return true;
}

namespace {

void QuickSort(QList<TProfileInfo>& list, qsizetype l, qsizetype r) {
    qsizetype i = l;
    qsizetype j = r;
    const double pivot = list[(l + r) / 2].SortIndex;
    do {
        while (list[i].SortIndex < pivot)
            ++i;
        while (list[j].SortIndex > pivot)
            --j;
        if (i <= j) {
            std::swap(list[i], list[j]);
            ++i;
            --j;
        }
    } while (i <= j);
    if (l < j)
        QuickSort(list, l, j);
    if (i < r)
        QuickSort(list, i, r);
}

} // namespace

void SortProfiles(QList<TProfileInfo>& list) {
    if (!list.isEmpty())
        QuickSort(list, 0, list.size() - 1);
}

QList<TProfileInfo> GetProfiles(const QString& profilesDir, const QString& lastProfileFile,
                                const QString& shippedProfilesDir) {
    // The user's own profiles first: one of theirs hides a shipped profile of the same name.
    QStringList names;
    QStringList paths;
    QStringList folders{profilesDir};
    if (!shippedProfilesDir.isEmpty() &&
        QDir::cleanPath(shippedProfilesDir) != QDir::cleanPath(profilesDir))
        folders.append(shippedProfilesDir);
    for (const QString& folder : folders) {
        const QDir dir(folder);
        for (const QString& name :
             dir.entryList({QStringLiteral("*.ini")}, QDir::Files | QDir::Hidden)) {
            if (names.contains(name))
                continue;
            names.append(name);
            paths.append(dir.filePath(name));
        }
    }
    QList<qsizetype> order(paths.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) {
        return QString::compare(names[a], names[b], Qt::CaseInsensitive) < 0;
    });
    QList<TProfileInfo> list;
    for (const qsizetype i : order)
        if (paths[i] != lastProfileFile)
            AP_AddProfile(list, paths[i]);
    SortProfiles(list);
    return list;
}

QString ProfileItemText(const TProfileInfo& profile) {
    QString text = profile.DisplayName;
    return text.replace(QStringLiteral("\\n"), QStringLiteral("\r\n"))
        .replace(QStringLiteral("\\t"), QStringLiteral("\t"));
}
