#pragma once

#include <QString>

// What the program is and where it comes from.

// Address of the product's home page; the English encoder-missing message ends with it.
#define ZORVANE_HOME_PAGE_URL u"https://www.zorvane.net/"

inline constexpr char16_t ProductName[] = u"Zorvane";
inline constexpr char16_t ProductVersion[] = u"1.14";
inline constexpr char16_t DistributionArchive[] = u"Zorvane.zip";
inline constexpr char16_t HomePageUrl[] = ZORVANE_HOME_PAGE_URL;

// Versions of the tools the program is made for; shared copies are recognised by them.
inline constexpr char16_t FFmpegToolVersion[] = u"N-90708-g8daca7697b";
inline constexpr char16_t MediaInfoToolVersion[] = u"18.05.0.0";

// The window and application title, with the bitness of the running build.
QString ProductTitle();
// "64" on a 64-bit build, "32" on a 32-bit one.
QString BuildBits();
