#pragma once
// The look of the shell's windows: positions and sizes in twips (1440 an inch, so 15 a
// pixel at 96 dpi, scaled with the screen's logical DPI), colours as BGR values
// (&H00BBGGRR&).

#include <QColor>
#include <QRect>
#include <QSize>

#include <cstdint>

namespace quorvex {

int twipsToPixels(int twips);
QRect twipsRect(int left, int top, int width, int height);
QSize twipsSize(int width, int height);

constexpr QRgb bgrToRgb(std::uint32_t bgr)
{
    return qRgb(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

inline QColor bgrColor(std::uint32_t bgr) { return QColor(bgrToRgb(bgr)); }

// The colours of the shell's layouts, apart so that they clash with no window's own names.
namespace bgr {
constexpr std::uint32_t kLightYellow = 0x00C0FFFF;  // window backgrounds
constexpr std::uint32_t kLightBlue = 0x00FF8080;    // title bands
constexpr std::uint32_t kDarkBlue = 0x00C00000;
constexpr std::uint32_t kBlue = 0x00FF0000;
constexpr std::uint32_t kRed = 0x000000FF;
constexpr std::uint32_t kLightPeach = 0x00C0E0FF;
constexpr std::uint32_t kGrey = 0x00808080;
constexpr std::uint32_t kWhite = 0x00FFFFFF;
} // namespace bgr

} // namespace quorvex
