// The picture of the graphs window: the frequency axis with its ticks and labelled divisions, the
// horizontal grid with its value labels, the LPC envelope (red), the envelope peaks (green) and the
// half-sum mark (purple), the band limits around the first peak (yellow) and the FFT spectrum (blue).
//
// Coordinates are pixels of the client area, origin top left, y downward; the X axis lies at
// BaseY = H - 40. A frequency f is drawn at x = nearest(f / UnitatX x 100): one UnitatX per 100 pixels;
// an envelope value e at y = BaseY - nearest(e / UnitatY x 2); a spectrum value m at
// y = BaseY - nearest(m x 20 / UnitatY), the scale of the grid labels. A line leaves out its end point.
// A coordinate beyond what a picture can hold is clipped to +-kLimitPixel.
#pragma once

#include "EstatAnalisi.h"

#include <QPainter>
#include <QSize>

#include <cstdint>

namespace tessora {

// What the drawing reads from the window besides the analysis state.
struct OpcionsDibuixFFT {
    std::int32_t UnitatX = 1000; // value of one 100-pixel division of the X axis (> 0)
    float UnitatY = 1.0f;        // value of one 20-pixel step of the grid (> 0)
    bool VeureLPC = true;        // "Veure LPC": the envelope
    bool VeureMarquesLPC = true; // "Veure marques LPC": the peak marks and the half-sum mark
    bool VeureFFT = true;        // "Veure FFT": the spectrum
    char SeparadorDecimal = '.'; // of the peak heights
};

inline constexpr int kLimitPixel = 1000000;
inline constexpr int kMargeEixX = 40; // from the bottom of the client area to the X axis

// Draws over what `pintor` holds (nothing is erased) on a client area of size `client`, from the arrays
// and results of `estat`. The half-sum mark stands at PuntMeitatEnvolupant; whoever draws the picture
// also sets MigLPC from that point (the session does, for the graphs window).
void DibuixarFFT(QPainter& pintor, QSize client, const EstatAnalisi& estat, const OpcionsDibuixFFT& opcions);

} // namespace tessora
