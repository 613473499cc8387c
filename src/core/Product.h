#pragma once

#include <QString>

// What the program is and where it comes from.

// Address of the product's home page; the English encoder-missing message ends with it.
#define ZORVANE_HOME_PAGE_URL u"https://www.zorvane.net/"

inline constexpr char16_t ProductName[] = u"Zorvane";
inline constexpr char16_t ProductVersion[] = u"1.14";
inline constexpr char16_t DistributionArchive[] = u"Zorvane.zip";
inline constexpr char16_t HomePageUrl[] = ZORVANE_HOME_PAGE_URL;
inline constexpr char16_t ReleaseDate[] = u"2018.07.02";
inline constexpr char16_t ProducerName[] = u"Ostrel Software";

// The web pages the program opens; all addresses of the program are here.
inline constexpr char16_t QuickStartUrl[] = ZORVANE_HOME_PAGE_URL u"quick-start/";
inline constexpr char16_t DonationUrl[] = ZORVANE_HOME_PAGE_URL u"donate/";
inline constexpr char16_t FacebookUrl[] = u"https://www.facebook.com/zorvane/";
inline constexpr char16_t TwitterUrl[] = u"https://twitter.com/zorvane/";
inline constexpr char16_t FourccInfoUrl[] = u"https://www.fourcc.org/codecs/";
inline constexpr char16_t FFmpegProjectUrl[] = u"https://ffmpeg.org/";
inline constexpr char16_t MediaInfoProjectUrl[] = u"https://mediaarea.net/en/MediaInfo";

// Versions of the tools the program is made for; shared copies are recognised by them.
inline constexpr char16_t FFmpegToolVersion[] = u"N-90708-g8daca7697b";
inline constexpr char16_t MediaInfoToolVersion[] = u"18.05.0.0";

// The window and application title, with the bitness of the running build.
QString ProductTitle();
// "64" on a 64-bit build, "32" on a 32-bit one.
QString BuildBits();
