#pragma once

#include <QCursor>
#include <QIcon>
#include <QPixmap>
#include <QString>

// The pictures compiled into the program (ui.qrc), loaded unscaled.
namespace Pictures {

// Resource paths, for tests that read the files themselves.
inline constexpr const char* kWindowIcon = ":/pictures/app.ico";  // 32, 16 and 48 px
inline constexpr const char* kWelcome = ":/pictures/welcome.gif"; // GIF89a 154 × 298
inline constexpr const char* kBanner = ":/pictures/banner.gif";   // GIF89a 560 × 62
inline constexpr const char* kFinish = ":/pictures/finish.gif";   // GIF87a 154 × 312
inline constexpr const char* kHelp = ":/pictures/help.ico";       // 32 × 32
inline constexpr const char* kHand = ":/pictures/hand.cur";       // 32 × 32, two colours

QIcon windowIcon();
QPixmap welcome();
QPixmap banner();
QPixmap finish();
QPixmap help();

// The pointing hand over links, check boxes and the help icon; its hot spot
// (the finger tip) is read from the cursor file.
QCursor hand();

} // namespace Pictures
