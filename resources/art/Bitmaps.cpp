#include "Drawings.h"

namespace art {

namespace {

const Colour kBlack = Rgb(0x000000);

// The symbols on the control panel's buttons, centred on a 27-pixel square.
Shape Symbol(PanelSymbol symbol) {
    switch (symbol) {
        case PanelSymbol::Play:
            return Polygon({{10, 7}, {10, 20}, {20, 13.5}});
        case PanelSymbol::Pause:
            return Union(Rect(9, 8, 12, 19), Rect(15, 8, 18, 19));
        case PanelSymbol::Stop:
            return Rect(9, 9, 18, 18);
        case PanelSymbol::Next:
            return Union(Polygon({{8, 8}, {8, 19}, {16, 13.5}}), Rect(16, 8, 19, 19));
    }
    return Rect(0, 0, 0, 0);
}

}  // namespace

Canvas MoveBitmap(Chevron direction) {
    Canvas c(16, 17, Rgb(kFaceGrey));
    // A chevron three pixels thick whose arms climb one pixel per column, drawn pixel by pixel so that it
    // stays crisp at this size: columns 3..12, rows 5..11 of the 17.
    for (int d = 0; d <= 4; ++d) {
        const int rise = direction == Chevron::Down ? 4 - d : d;
        for (int t = 0; t < 3; ++t) {
            c.SetPixel(7 - d, 5 + rise + t, kBlack);
            c.SetPixel(8 + d, 5 + rise + t, kBlack);
        }
    }
    return c;
}

Canvas PanelButtonBitmap(PanelSymbol symbol) {
    Canvas c(27, 27, Rgb(kFaceGrey));
    // The outline is drawn without antialiasing: every pixel outside it stays exactly the face grey, which
    // loading maps to the system's face colour, so no grey fringe shows around the corners.
    c.Fill(RoundRect(0, 0, 27, 27, 6), Rgb(0x6E6E6E), false);
    c.Fill(RoundRect(1, 1, 26, 26, 5), VerticalGradient(1, Rgb(0xFBFBFB), 26, Rgb(0xC4C4C4)));
    // A light inner rim on the upper half reads as a raised face.
    c.Fill(Minus(RoundRect(1, 1, 26, 14, 5), RoundRect(2, 2, 25, 26, 4)), Rgb(0xFFFFFF, 0.8));
    c.Fill(Symbol(symbol), kBlack);
    return c;
}

}  // namespace art
