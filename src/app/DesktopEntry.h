#pragma once

#include <QString>

// The desktop shortcut of the program: a desktop entry "Zorvane.desktop" in the user's desktop
// folder, following the freedesktop desktop-entry rules.

inline constexpr char16_t ShortcutFileName[] = u"Zorvane.desktop";

// An argument of an Exec line: double-quoted with ", `, $ and \ escaped, % doubled, then written
// as a desktop-entry string (its backslashes doubled), so that any folder name starts the program.
QString DesktopExecArgument(const QString& argument);

// The whole entry for the program at `exePath`.
QString DesktopEntryText(const QString& exePath, const QString& workDir, const QString& description,
                         const QString& iconPath);

enum class TShortcutResult { Created, AlreadyThere, NoDesktopFolder, Failed };

// Writes the entry into `desktopDir` (created when missing) unless an entry of that name is
// there already; an empty `desktopDir` means the user has none, and nothing is written.
TShortcutResult CreateDesktopShortcut(const QString& desktopDir, const QString& exePath,
                                      const QString& description, const QString& iconPath);
