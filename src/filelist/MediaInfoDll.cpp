#include "filelist/MediaInfoDll.h"

#include "core/DisplayFormats.h"
#include "core/Numbers.h"
#include "filelist/MediaInfoHelper.h"
#include "platform/Platform.h"

#include <QDataStream>
#include <QFile>
#include <QMutex>
#include <clocale>
#include <cstring>
#include <dlfcn.h>
#include <langinfo.h>

namespace {

// The library's wide-character C interface.
using TMediaInfoNew = void* (*)();
using TMediaInfoDelete = void (*)(void*);
using TMediaInfoOpen = size_t (*)(void*, const wchar_t*);
using TMediaInfoClose = void (*)(void*);
using TMediaInfoInform = const wchar_t* (*)(void*, size_t);
using TMediaInfoGet = const wchar_t* (*)(void*, int, size_t, const wchar_t*, int, int);
using TMediaInfoOption = const wchar_t* (*)(void*, const wchar_t*, const wchar_t*);

struct TMediaInfoLibrary {
    void* Handle = nullptr;
    bool Complete = false; // every entry point was found
    TMediaInfoNew New = nullptr;
    TMediaInfoDelete Delete = nullptr;
    TMediaInfoOpen Open = nullptr;
    TMediaInfoClose Close = nullptr;
    TMediaInfoInform Inform = nullptr;
    TMediaInfoGet Get = nullptr;
    TMediaInfoOption Option = nullptr;
};

TMediaInfoLibrary Library;

enum TStreamKind { skGeneral = 0, skVideo = 1, skAudio = 2, skLast = 6 };
constexpr int InfoText = 1;
constexpr int SearchByName = 0;

template <typename T>
bool Bind(T* target, const char* name) {
    *target = reinterpret_cast<T>(dlsym(Library.Handle, name));
    return *target != nullptr;
}

// The library turns wide file names into bytes with the C library's character conversion,
// which must be UTF-8 for names outside ASCII to reach the file.
void EnsureUtf8CharacterConversion() {
    const char* codeset = nl_langinfo(CODESET);
    if (codeset == nullptr || std::strcmp(codeset, "UTF-8") != 0)
        std::setlocale(LC_CTYPE, "C.UTF-8");
}

QString FromWide(const wchar_t* text) {
    return text == nullptr ? QString() : QString::fromWCharArray(text);
}

QString AnswerKey(int kind, int number, const wchar_t* parameter) {
    return QString::number(kind) + u'/' + QString::number(number) + u'/' +
           QString::fromWCharArray(parameter);
}

// What the reading below asks: the library itself, or the answers it gave before.
class TMediaInfoSource {
public:
    virtual ~TMediaInfoSource() = default;
    virtual QString Get(int kind, int number, const wchar_t* parameter) const = 0;

    // Stores the value in `target` when it is a 32-bit integer; returns whether it was.
    template <typename T>
    bool GetInt(int kind, int number, const wchar_t* parameter, T* target) const {
        int value = 0;
        if (!TryStrToInt(Get(kind, number, parameter), &value))
            return false;
        *target = static_cast<T>(value);
        return true;
    }
    // Stores a decimal value, read with either "." or "," as its mark.
    bool GetFloat(int kind, int number, const wchar_t* parameter, double* target) const {
        return MediaInfoDecimal(Get(kind, number, parameter), target);
    }
};

// One open file of the library; every answer is written down in `answers`.
class TMediaInfoFile : public TMediaInfoSource {
public:
    TMediaInfoFile(const QString& fileName, TMediaInfoAnswers& answers)
        : Handle(Library.New()), Answers(answers) {
        if (Handle != nullptr && Library.Open(Handle, fileName.toStdWString().c_str()) == 0) {
            Library.Close(Handle);
            Library.Delete(Handle);
            Handle = nullptr;
        }
    }
    ~TMediaInfoFile() override {
        if (Handle != nullptr) {
            Library.Close(Handle);
            Library.Delete(Handle);
        }
    }
    TMediaInfoFile(const TMediaInfoFile&) = delete;
    TMediaInfoFile& operator=(const TMediaInfoFile&) = delete;

    bool IsOpen() const { return Handle != nullptr; }
    QString Inform() const { return FromWide(Library.Inform(Handle, 0)); }
    QString Get(int kind, int number, const wchar_t* parameter) const override {
        const QString value =
            FromWide(Library.Get(Handle, kind, size_t(number), parameter, InfoText, SearchByName));
        if (!value.isEmpty())
            Answers.Values.insert(AnswerKey(kind, number, parameter), value);
        return value;
    }

private:
    void* Handle;
    TMediaInfoAnswers& Answers;
};

// The answers of an earlier reading; what was not answered is empty, as the library says.
class TRecordedAnswers : public TMediaInfoSource {
public:
    explicit TRecordedAnswers(const TMediaInfoAnswers& answers) : Answers(answers) {}
    QString Get(int kind, int number, const wchar_t* parameter) const override {
        return Answers.Values.value(AnswerKey(kind, number, parameter));
    }

private:
    const TMediaInfoAnswers& Answers;
};

QString FirstNonEmpty(const QString& first, const QString& second) {
    return first.isEmpty() ? second : first;
}

template <typename TStream>
void ReadStreamSize(const TMediaInfoSource& mi, int kind, int i, TStream& s) {
    mi.GetInt(kind, i, L"StreamSize", &s.StreamSize);
    ParseStreamSizeText(mi.Get(kind, i, L"StreamSize/String"), &s.StreamSizeStr,
                        &s.StreamSizeInPercent);
}

void ReadVideoStream(const TMediaInfoSource& mi, int i, TVideoStreamInfo& v) {
    const QString format = mi.Get(skVideo, i, L"Format");
    const QString version = mi.Get(skVideo, i, L"Format_Version");
    v.CodecID = FirstNonEmpty(mi.Get(skVideo, i, L"CodecID/Hint"), mi.Get(skVideo, i, L"CodecID"));
    v.Codec = version.isEmpty() ? format : format + QStringLiteral(" - ") + version;
    v.Profile = mi.Get(skVideo, i, L"Format_Profile");
    int bitrate = 0;
    if (mi.GetInt(skVideo, i, L"BitRate", &bitrate))
        v.Bitrate = std::max(bitrate / 1000, 0);
    mi.GetInt(skVideo, i, L"Width", &v.Width);
    mi.GetInt(skVideo, i, L"Height", &v.Height);
    mi.GetFloat(skVideo, i, L"DisplayAspectRatio", &v.DAR);
    v.DARStr = WithLocaleDecimalMark(mi.Get(skVideo, i, L"DisplayAspectRatio/String"), false);
    mi.GetFloat(skVideo, i, L"FrameRate", &v.FPS);
    mi.GetInt(skVideo, i, L"FrameCount", &v.Frames);
    if (v.Bitrate > 0 && v.Width > 0 && v.Height > 0 && v.FPS > 0)
        v.BitsPerPixel = v.Bitrate * 1000.0 / (double(v.Width) * v.Height * v.FPS);
    mi.GetFloat(skVideo, i, L"Bits-(Pixel*Frame)", &v.BitsPerPixel);
    v.ScanType = mi.Get(skVideo, i, L"ScanType/String");
    ReadStreamSize(mi, skVideo, i, v);
    v.EncodedLibrary = FirstNonEmpty(mi.Get(skVideo, i, L"Encoded_Application"),
                                     mi.Get(skVideo, i, L"Encoded_Library/String"));
}

void ReadAudioStream(const TMediaInfoSource& mi, int i, TAudioStreamInfoX& a,
                     TVideoFileInfo& info) {
    const QString format = mi.Get(skAudio, i, L"Format");
    const QString version = mi.Get(skAudio, i, L"Format_Version");
    QString hint = mi.Get(skAudio, i, L"CodecID/Hint");
    int ignored = 0;
    if (hint.isEmpty() || TryStrToInt(hint, &ignored))
        hint = mi.Get(skAudio, i, L"CodecID/Info");
    a.CodecID = mi.Get(skAudio, i, L"CodecID");
    if (hint == format)
        hint.clear();
    a.Codec = format;
    if (!version.isEmpty())
        a.Codec += QStringLiteral(" - ") + version;
    if (!hint.isEmpty())
        a.Codec += QStringLiteral(" (") + hint + u')';

    a.DurationMs = 0;
    int duration = 0;
    if (mi.GetInt(skAudio, i, L"Duration", &duration)) {
        if (info.Duration <= 0) {
            info.Duration = duration;
            info.DurationStr = MsToTimeStr(duration, false);
        }
        a.DurationMs = duration;
    }
    a.Profile = mi.Get(skAudio, i, L"Format_Profile");

    a.BitrateMode = mi.Get(skAudio, i, L"BitRate_Mode");
    a.Bitrate = MediaInfoAudioBitrate(mi.Get(skAudio, i, L"BitRate"), a.BitrateMode, a.Bitrate);

    // Both are asked whatever the first says: the questions depend on the answers only.
    int32_t channels = a.Channels;
    mi.GetInt(skAudio, i, L"Channel(s)_Original", &a.Channels);
    mi.GetInt(skAudio, i, L"Channel(s)", &channels);
    if (a.Channels == 0)
        a.Channels = channels;
    a.ChannelsStr = mi.Get(skAudio, i, L"Channel(s)/String");
    mi.GetInt(skAudio, i, L"SamplingRate", &a.SamplingRate);
    mi.GetInt(skAudio, i, L"BitDepth", &a.BitsPerSample);
    mi.GetInt(skAudio, i, L"SamplingCount", &a.Frames);
    mi.GetInt(skAudio, i, L"Video_Delay", &a.VideoDelay);
    a.Language = mi.Get(skAudio, i, L"Language/String");
    ReadStreamSize(mi, skAudio, i, a);
    a.EncodedLibrary = FirstNonEmpty(mi.Get(skAudio, i, L"Encoded_Library"),
                                     mi.Get(skAudio, i, L"Encoded_Library/String"));
}

} // namespace

bool LoadMediaInfoLibrary(const QString& libraryPath) {
    // Analyses on several threads may be the first to ask at the same moment.
    static QMutex mutex;
    const QMutexLocker lock(&mutex);
    if (Library.Handle == nullptr) {
        Library.Handle = dlopen(QFile::encodeName(libraryPath).constData(), RTLD_NOW | RTLD_LOCAL);
        if (Library.Handle == nullptr)
            return false;
        EnsureUtf8CharacterConversion();
        // A library that lacks an entry point is kept loaded but never called.
        Library.Complete =
            Bind(&Library.New, "MediaInfo_New") && Bind(&Library.Delete, "MediaInfo_Delete") &&
            Bind(&Library.Open, "MediaInfo_Open") && Bind(&Library.Close, "MediaInfo_Close") &&
            Bind(&Library.Inform, "MediaInfo_Inform") && Bind(&Library.Get, "MediaInfo_Get") &&
            Bind(&Library.Option, "MediaInfo_Option");
    }
    return Library.Complete;
}

bool MediaInfoDecimal(const QString& text, double* value) {
    return TryStrToFloat(WithLocaleDecimalMark(text, false), value);
}

int32_t MediaInfoAudioBitrate(const QString& bitRate, const QString& mode, int32_t current) {
    // A stream may report two rates separated by "/": their mean is taken.
    int bitrate = 0;
    if (const qsizetype slash = bitRate.indexOf(u'/'); slash >= 0) {
        int first = 0;
        int second = 0;
        if (TryStrToInt(bitRate.left(slash), &first) &&
            TryStrToInt(bitRate.mid(slash + 1), &second))
            bitrate = int((int64_t(first) + second) / 2);
    } else {
        TryStrToInt(bitRate, &bitrate);
    }
    int32_t result = bitrate > 0 ? bitrate / 1000 : current;
    result = std::max(result, 0);
    if (mode.toUpper() == u"CBR" && result % 2 == 1)
        ++result; // 127 999 bit/s constant is 128 kbit/s
    return result;
}

void ParseStreamSizeText(const QString& text, QString* sizeText, uint8_t* percent) {
    QString t = text;
    for (const auto& [from, to] : {std::pair{u"MiB", u"MB"}, {u"KiB", u"KB"}, {u"GiB", u"GB"}}) {
        const qsizetype at = t.indexOf(QStringView(from), 0, Qt::CaseInsensitive);
        if (at >= 0)
            t.replace(at, 3, QStringView(to).toString());
    }
    const qsizetype open = t.indexOf(u'(');
    if (open < 0) {
        *sizeText = t;
        return;
    }
    *sizeText = t.left(open).trimmed();
    int value = 0;
    if (TryStrToInt(t.mid(open + 1).remove(QStringLiteral("%)")), &value))
        *percent = uint8_t(std::clamp(value, 0, 255));
}

namespace {

void ReadStreams(const TMediaInfoSource& mi, TVideoFileInfo& info) {
    int counts[skLast + 1] = {};
    bool known[skLast + 1] = {};
    int total = 0;
    for (int kind = 0; kind <= skLast; ++kind) {
        known[kind] = mi.GetInt(kind, 0, L"StreamCount", &counts[kind]);
        if (known[kind])
            total += counts[kind];
    }
    info.NumberOfDataStreams = uint16_t(total);
    if (known[skVideo])
        info.NumberOfVideoStreams = uint8_t(counts[skVideo]);
    if (known[skAudio])
        info.NumberOfAudioStreams = uint8_t(counts[skAudio]);
    if (info.NumberOfDataStreams > 0)
        --info.NumberOfDataStreams; // the container itself

    if (known[skGeneral] && counts[skGeneral] > 0) {
        info.Format = mi.Get(skGeneral, 0, L"Format");
        info.FormatInfo = mi.Get(skGeneral, 0, L"Format/Info");
        int overall = 0;
        if (mi.GetInt(skGeneral, 0, L"OverallBitRate", &overall))
            info.OverallBitrate = overall / 1000;
        info.EncodedApplication = FirstNonEmpty(mi.Get(skGeneral, 0, L"Encoded_Application"),
                                                mi.Get(skGeneral, 0, L"Encoded_Library"));
    }
    for (int i = 0; i < counts[skVideo] && i < MaxVideoStreams; ++i)
        ReadVideoStream(mi, i, info.VideoStreams[size_t(i)]);
    for (int i = 0; i < counts[skAudio] && i < MaxAudioStreams; ++i)
        ReadAudioStream(mi, i, info.AudioStreams[size_t(i)], info);
}

} // namespace

TMediaInfoAnswers AskMediaInfo(const QString& fileName, const QString& libraryPath) {
    TMediaInfoAnswers answers;
    if (!Platform::IsRegularFile(libraryPath) || GetFileSizeSafe(fileName) == 0 ||
        !LoadMediaInfoLibrary(libraryPath))
        return answers;
    const TMediaInfoFile mi(fileName, answers);
    if (!mi.IsOpen())
        return answers;
    answers.Opened = true;
    Library.Option(nullptr, L"Complete", L"0");
    answers.Inform = mi.Inform();
    TVideoFileInfo scratch; // the answers are what counts here
    ReadStreams(mi, scratch);
    return answers;
}

void ApplyMediaInfoAnswers(const TMediaInfoAnswers& answers, TVideoFileInfo& info) {
    if (answers.Failure != TMediaInfoFailure::None) {
        info.MediaInfoFailure = answers.Failure;
        info.MediaInfoFailureValue = answers.FailureValue;
        return;
    }
    if (!answers.Opened)
        return;
    info.MediaInfoFull = answers.Inform;
    ReadStreams(TRecordedAnswers(answers), info);
}

QByteArray SerializeMediaInfoAnswers(const TMediaInfoAnswers& answers) {
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_0);
    out << answers.Opened << answers.Inform << answers.Values << qint32(answers.Failure)
        << qint32(answers.FailureValue);
    return bytes;
}

std::optional<TMediaInfoAnswers> DeserializeMediaInfoAnswers(const QByteArray& bytes) {
    TMediaInfoAnswers answers;
    QDataStream in(bytes);
    in.setVersion(QDataStream::Qt_6_0);
    qint32 failure = 0;
    in >> answers.Opened >> answers.Inform >> answers.Values >> failure >> answers.FailureValue;
    if (in.status() != QDataStream::Ok || !in.atEnd() || failure < 0 ||
        failure > qint32(TMediaInfoFailure::NoHelper))
        return std::nullopt;
    answers.Failure = TMediaInfoFailure(failure);
    return answers;
}

void ReadMediaInfo(const QString& fileName, const QString& libraryPath, TVideoFileInfo& info) {
    if (!Platform::IsRegularFile(libraryPath) || GetFileSizeSafe(fileName) == 0)
        return;
    ApplyMediaInfoAnswers(MediaInfoHelperProgram().isEmpty()
                              ? AskMediaInfo(fileName, libraryPath)
                              : AskMediaInfoHelper(fileName, libraryPath),
                          info);
}

QString MediaInfoVersion(const QString& libraryPath) {
    if (!Platform::IsRegularFile(libraryPath) || !LoadMediaInfoLibrary(libraryPath))
        return {};
    // Asked through a handle of its own: the library keeps the answer with the handle and frees
    // it with the handle, where an answer to no handle would be kept for ever.
    void* handle = Library.New();
    if (handle == nullptr)
        return {};
    const QString version = FromWide(Library.Option(handle, L"Info_Version", L""));
    Library.Delete(handle);
    return version;
}
