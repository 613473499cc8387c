#pragma once

#include "encoding/EncoderSettings.h"

#include <QHash>
#include <QString>
#include <QStringList>

struct TAppStrings;

// What the encoder settings controls offer and when they are in force. The keys are the controls'
// names, so the window applies them by name.

// The items of the settings lists, in order.
QStringList AviVideoCodecItems(const TAppStrings& strings);
QStringList AviVideoThreadsItems(const TAppStrings& strings);
QStringList AviVideoBitrateItems(const TAppStrings& strings);
QStringList MpgVideoBitrateItems(const TAppStrings& strings);
QStringList VideoFPSItems(const TAppStrings& strings);
QStringList AviVideoAspectItems(const TAppStrings& strings);
QStringList MpgVideoItems(const TAppStrings& strings);
QStringList MpegVersionItems();
QStringList AudioCodecItems(const TAppStrings& strings);
QStringList AudioBitrateItems(const TAppStrings& strings);
QStringList AudioSamplingItems(const TAppStrings& strings);
QStringList AudioChannelsItems(const TAppStrings& strings);
QString AudioTrackAutoItem(const TAppStrings& strings);
QStringList InterlacingItems(const TAppStrings& strings);
QStringList RotateItems();
QStringList ConvertColorsItems();
QStringList OutputExistsItems(const TAppStrings& strings);
QStringList AfterConversionItems(const TAppStrings& strings);

// Enabled state of every settings control whose state depends on the settings.
QHash<QString, bool> EncoderControlsEnabled(const TEncoderSettings& s);
// Controls that are shown only for some settings (the H.264 threads list and its label).
QHash<QString, bool> EncoderControlsVisible(const TEncoderSettings& s);

// Brightness and saturation in tenths, as their labels show them: at most two decimals, trailing
// zeros dropped, the locale's decimal mark (-15 gives "-1.5", 10 gives "1").
QString TenthsText(int tenths);
