#pragma once

#include <QLatin1String>

// Every section and key of the per-user settings store, so that writers and readers cannot
// drift apart. Each read passes a default and checks the text before using it.
//
// The store is QSettings with the application name kApplication: main() sets
// QCoreApplication::setApplicationName(kApplication) before any window is built, and a
// default-constructed QSettings then addresses it. Section = QSettings group.
namespace SettingsKeys
{

inline constexpr QLatin1String kApplication{"Orvantis Console"};

// Sections. Windows that persist their controls use their objectName() as the section.
inline constexpr QLatin1String kMainFormSection{"MainForm"};
inline constexpr QLatin1String kFileTransferFormSection{"FileTransferForm"};
inline constexpr QLatin1String kFileTransferSection{"FileTransfer"};
inline constexpr QLatin1String kTerminalSection{"Terminal"};
inline constexpr QLatin1String kEventLogSection{"EventLog"};

// Window place and size, in twips, as decimal text.
inline constexpr QLatin1String kTop{"Top"};
inline constexpr QLatin1String kLeft{"Left"};
inline constexpr QLatin1String kWidth{"Width"};
inline constexpr QLatin1String kHeight{"Height"};

// Terminal section: "True" while the terminal was showing when the program last ended.
inline constexpr QLatin1String kOpen{"Open"};
inline constexpr QLatin1String kTrue{"True"};
inline constexpr QLatin1String kFalse{"False"};

// FileTransfer section: folder in which the next "Send File..." chooser starts.
inline constexpr QLatin1String kLastUploadFolder{"LastUploadFolder"};

// Connection section: the device and rate of the last connection that worked, which the
// command line tries first.
inline constexpr QLatin1String kConnectionSection{"Connection"};
inline constexpr QLatin1String kDevice{"Device"};
inline constexpr QLatin1String kRate{"Rate"};
// "True" or "False": a lost port is reopened by itself ("Reconnect automatically").
inline constexpr QLatin1String kReconnect{"Reconnect"};

// Further keys (the download folder and the like) go here, next to their section.

} // namespace SettingsKeys
